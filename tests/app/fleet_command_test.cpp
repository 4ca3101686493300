// Logger, Fleet: one Fleet window over the store of the options, collecting through the
// program's own ports, whose double click opens a graph window like any other.
#include "app_rig.h"
#include "fleet/fleet_settings.h"
#include "fleet/ui/fleet_window.h"
#include "graph/ui/graph_window.h"

#include <QAction>
#include <QFile>
#include <QTableWidget>

namespace qz::test {
namespace {

class FleetCommandTest : public SimulatedLoggerTest {};

TEST_F(FleetCommandTest, TheFleetWindowCollectsThroughTheProgramsPortAndOpensAGraphWindow)
{
    sim::MemoryPreset p;
    p.deviceCode = 485;
    p.blocks = 3;
    p.running = true;
    load(p);
    const QString fleetFile = scratch(QStringLiteral("fleet.ini"));
    QFile f(fleetFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Store]\nUrl=sqlite:" + scratch(QStringLiteral("fleet.sqlite")).toUtf8()
            + "\n[Logger Freezer]\nPort=sim\nVerify=0\n");
    f.close();
    FleetSettings settings;
    settings.fleetFile = fleetFile;
    ASSERT_TRUE(settings.save(ProgramFolder(folder()).settingsFile()).ok());

    form().action("Fleet1")->trigger();
    const auto fleetWindows = [this] {
        QList<FleetWindow*> found;
        for (DocumentWindow* d : form().documentWindows())
            if (auto* w = qobject_cast<FleetWindow*>(d))
                found << w;
        return found;
    };
    ASSERT_EQ(fleetWindows().size(), 1);
    FleetWindow* w = fleetWindows().constFirst();
    ASSERT_EQ(w->table()->rowCount(), 1);
    w->collectNow();
    settle();
    ASSERT_FALSE(w->collecting());
    EXPECT_EQ(w->table()->item(0, FleetWindow::Outcome)->text(), QStringLiteral("ok"))
        << w->message().toStdString();
    EXPECT_EQ(w->table()->item(0, FleetWindow::Model)->text(), QStringLiteral("ZK-485 Octo"));

    const int graphsBefore = int(form().graphWindows().size());
    w->openRow(0);
    ASSERT_EQ(int(form().graphWindows().size()), graphsBefore + 1) << w->message().toStdString();
    EXPECT_EQ(form().graphWindows().constLast()->measurementCount(), logger_.logger().recorder().records());

    // The command again shows the same window; once it is closed, a new one.
    form().action("Fleet1")->trigger();
    ASSERT_EQ(fleetWindows().size(), 1);
    EXPECT_EQ(fleetWindows().constFirst(), w);
    w->close();
    settle();
    EXPECT_TRUE(fleetWindows().isEmpty());
    form().action("Fleet1")->trigger();
    ASSERT_EQ(fleetWindows().size(), 1);
    EXPECT_EQ(fleetWindows().constFirst()->table()->item(0, FleetWindow::Outcome)->text(),
              QStringLiteral("ok"));
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
}

} // namespace
} // namespace qz::test
