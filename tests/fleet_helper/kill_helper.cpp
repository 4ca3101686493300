// A collector that stops in the middle of a logger's transaction, to be killed there:
//   fleet_kill_helper STORE_FILE
// It collects the fleet of tests/fleet/killed_fleet.h; once the first measurement rows of
// the full memory are written, it prints "writing" and waits.
#include "fleet/killed_fleet.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    qz::FleetStore store;
    QString error;
    if (!store
             .open(
                 *qz::StoreUrl::parse(QStringLiteral("sqlite:") + QString::fromLocal8Bit(argv[1]), {}, error))
             .ok())
        return 1;
    qz::test::KilledFleet fleet;
    store.onRowsWritten([](std::int64_t rows) {
        // The small logger's rows come first; the full memory's go past them.
        if (rows < 1000)
            return;
        std::puts("writing");
        std::fflush(stdout);
        for (;;)
            ::pause();
    });
    qz::collectFleet(fleet.fleet, store, fleet.setup);
    return 0;
}
