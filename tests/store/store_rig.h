#pragma once
// A store in a real SQLite file of a temporary folder or a real PostgreSQL database, and
// collections made from built memory images.
#include "model/image_reader.h"
#include "store/fleet_store.h"
#include "support/image_builder.h"
#include "support/print_qt.h"
#include "support/scratch_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {

// A store of the engine, open.
struct StoreRig : TestStore {
    FleetStore store;

    explicit StoreRig(Engine engine = Engine::Sqlite) : TestStore(engine)
    {
        const StoreResult r = open(store);
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
    }
    StoreResult open(FleetStore& s) const { return s.open(url()); }
};

// A collection of a whole memory image, as a first collection takes it.
inline CollectionEntry entryOf(const QByteArray& image, const QString& label, int usedBlocks)
{
    CollectionEntry e;
    e.label = label;
    e.hostTime = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9));
    e.loggerMs = (*civilSeconds(2026, 3, 5, 14, 7, 12)) * 1000;
    e.batteryVolts = 3.6;
    e.blocksRead = usedBlocks + 1;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.constData());
    e.header.assign(bytes, bytes + mem::kHeaderSize);
    const std::vector<std::uint8_t> all(bytes, bytes + image.size());
    const RecordLayout layout(ImageReader::header({bytes, mem::kHeaderSize}));
    e.harvested = harvestWhole(all, usedBlocks, 0, layout, nullptr, e.harvest) == WholeStatus::Taken;
    return e;
}

// Two inputs (logger inputs 3 and 6), a measurement a minute.
inline ImageBuilder twoInputs(int measurements, const char* serial = "0815")
{
    ImageBuilder b;
    b.serial(serial)
        .interval(1, 60)
        .start(26, 2, 27, 8, 0, 0)
        .input(2,
               {QStringLiteral("Cold room"),
                QStringLiteral("\xB0"
                               "C"),
                -40, 60, 10 * 256, 210 * 256})
        .input(5, {QStringLiteral("Door"), QString(), 0, 1, 0, 255 * 256})
        .measurements(measurements, [](int k, int input) { return std::uint8_t(k * 3 + input); });
    return b;
}

} // namespace qz::test
