// The store in a real SQLite file and a real PostgreSQL database: its schema and version, the
// two views other tools read, the uniqueness of a measurement, and two writers at once.
#include "store_rig.h"

#include "recording/scaling.h"
#include "store/store_image.h"

#include <QFile>
#include <QSqlRecord>
#include <gtest/gtest.h>

#include <thread>

namespace qz::test {
namespace {

QStringList columnsOf(StoreRig& rig, const QString& view)
{
    QStringList names;
    const QSqlRecord r = rig.db().record(view);
    for (int i = 0; i < r.count(); ++i)
        names << r.fieldName(i);
    return names;
}

// A time of a view as text: SQLite's is text, PostgreSQL's a timestamp.
QString timeText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss"));
    return v.toString();
}

class Store : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override { QUORZK_SKIP_WITHOUT_POSTGRES(GetParam()); }
};

int blocksFor(int measurements)
{
    return (measurements + 59) / 60;
}

TEST_P(Store, ANewFileGetsTheSchemaItsVersionAndTheTwoViewsWithTheirColumns)
{
    StoreRig rig(GetParam());
    EXPECT_EQ(rig.number(QStringLiteral("SELECT version FROM store_version")), 1);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM store_version")), 1);
    if (GetParam() == Engine::Sqlite) {
        QString mode;
        rig.query(QStringLiteral("PRAGMA journal_mode"),
                  [&mode](QSqlQuery& q) { mode = q.value(0).toString(); });
        EXPECT_EQ(mode, QStringLiteral("wal"));
    } else { // the engine's own types, for the tools that read the views
        QStringList types;
        rig.query(QStringLiteral("SELECT table_name || '.' || column_name || ' ' || data_type FROM "
                                 "information_schema.columns WHERE column_name IN ('time', 'host_time', "
                                 "'logger_time', 'value', 'drift_s') ORDER BY 1"),
                  [&types](QSqlQuery& q) { types << q.value(0).toString(); });
        EXPECT_EQ(types,
                  QStringList({"collection.drift_s double precision", "collection_v.drift_s double precision",
                               "collection_v.host_time timestamp without time zone",
                               "collection_v.logger_time timestamp without time zone",
                               "measurement_v.time timestamp without time zone",
                               "measurement_v.value double precision"}));
    }
    EXPECT_EQ(columnsOf(rig, QStringLiteral("measurement_v")),
              QStringList({"logger_serial", "logger_label", "recording_id", "input", "input_name", "unit",
                           "time", "value"}));
    EXPECT_EQ(columnsOf(rig, QStringLiteral("collection_v")),
              QStringList({"logger_serial", "logger_label", "host_time", "logger_time", "drift_s",
                           "battery_v", "blocks_read", "new_measurements", "outcome"}));
    // Opened again: nothing to do, the same version.
    FleetStore again;
    EXPECT_TRUE(rig.open(again).ok());
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM store_version")), 1);
}

TEST_P(Store, AStoreOfANewerVersionOrNoStoreAtAllIsRefusedAndLeftAsItIs)
{
    StoreRig rig(GetParam());
    rig.exec(QStringLiteral("UPDATE store_version SET version = 7"));
    FleetStore newer;
    const StoreResult r = rig.open(newer);
    EXPECT_EQ(r.status, StoreStatus::NewerSchema);
    EXPECT_EQ(r.message,
              QStringLiteral("The store %1 was written by a newer quorzk (schema version 7; this "
                             "one knows 1)")
                  .arg(rig.url().text()));
    EXPECT_EQ(rig.number(QStringLiteral("SELECT version FROM store_version")), 7);
    if (GetParam() != Engine::Sqlite)
        return;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    FleetStore text;
    QString error;
    const StoreResult refused = text.open(*StoreUrl::parse(QStringLiteral("sqlite:") + path, {}, error));
    EXPECT_EQ(refused.status, StoreStatus::CannotOpen);
    EXPECT_TRUE(refused.message.startsWith(QStringLiteral("Cannot open the store sqlite:") + path + ": "))
        << refused.message.toStdString();
    EXPECT_EQ(QFile(path).size(), 4096);
}

TEST_P(Store, AMeasurementIsStoredOnceWhateverWritesItAgain)
{
    StoreRig rig(GetParam());
    const CollectionEntry e = entryOf(twoInputs(100).build(), QStringLiteral("Cold room"), blocksFor(100));
    const SavedCollection first = rig.store.save(e);
    ASSERT_TRUE(first.result.ok()) << first.result.message.toStdString();
    EXPECT_EQ(first.newMeasurements, 200);
    const SavedCollection second = rig.store.save(e);
    ASSERT_TRUE(second.result.ok());
    EXPECT_EQ(second.newMeasurements, 0);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement_v")), 200);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT measurements FROM recording")), 200);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM collection")), 2);
    // The schema itself refuses a second row for a recording and time.
    EXPECT_FALSE(
        rig.tryQuery(QStringLiteral("INSERT INTO measurement (recording_id, time_s, s3) SELECT recording_id, "
                                    "time_s, 0 FROM measurement LIMIT 1"),
                     [](QSqlQuery&) {}));
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement")), 100);
}

TEST_P(Store, TheMeasurementViewNamesInputsAsOnTheLoggerWithTheirFullValueAndLocalTime)
{
    StoreRig rig(GetParam());
    const QByteArray image = twoInputs(3).build();
    ASSERT_TRUE(rig.store.save(entryOf(image, QStringLiteral("Cold room"), 1)).result.ok());
    const ImageReader reader(
        ConstByteView{reinterpret_cast<const std::uint8_t*>(image.constData()), std::size_t(image.size())});
    const Conversion c =
        makeConversion(reader.scaleLow(2), reader.scaleHigh(2), reader.calLow(2), reader.calHigh(2));
    int rows = 0;
    rig.query(QStringLiteral("SELECT logger_serial, logger_label, input, input_name, unit, time, value FROM "
                             "measurement_v ORDER BY time, input"),
              [&](QSqlQuery& q) {
                  const int k = rows / 2 + 1;
                  const bool cold = rows % 2 == 0;
                  EXPECT_EQ(q.value(0).toString(), QStringLiteral("0815"));
                  EXPECT_EQ(q.value(1).toString(), QStringLiteral("Cold room"));
                  EXPECT_EQ(q.value(2).toInt(), cold ? 3 : 6);
                  EXPECT_EQ(q.value(3).toString(),
                            cold ? QStringLiteral("Cold room") : QStringLiteral("Door"));
                  EXPECT_EQ(q.value(4).toString(), cold ? QStringLiteral("\u00B0C") : QString());
                  EXPECT_EQ(timeText(q.value(5)), QStringLiteral("2026-02-27T08:0%1:00").arg(k));
                  if (cold) { // not rounded for display
                      EXPECT_DOUBLE_EQ(q.value(6).toDouble(), double(c.physical(reader.sample(2, k))));
                  }
                  ++rows;
              });
    EXPECT_EQ(rows, 6);
}

TEST_P(Store, TwoWritersOnOneFileWaitForEachOtherAndStoreEachMeasurementOnce)
{
    StoreRig rig(GetParam());
    const std::vector<CollectionEntry> entries = {
        entryOf(twoInputs(700, "0001").build(), QStringLiteral("One"), blocksFor(700)),
        entryOf(twoInputs(500, "0002").build(), QStringLiteral("Two"), blocksFor(500)),
    };
    std::vector<QString> failures(2);
    const auto writer = [&](int w) {
        FleetStore store;
        if (!rig.open(store).ok()) {
            failures[std::size_t(w)] = QStringLiteral("not opened");
            return;
        }
        for (int round = 0; round < 10; ++round)
            for (const CollectionEntry& e : entries)
                if (const SavedCollection s = store.save(e); !s.result.ok())
                    failures[std::size_t(w)] = s.result.message;
    };
    std::thread a(writer, 0), b(writer, 1);
    a.join();
    b.join();
    EXPECT_EQ(failures[0], QString());
    EXPECT_EQ(failures[1], QString());
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement_v")), 2 * (700 + 500));
    EXPECT_EQ(rig.number(QStringLiteral("SELECT SUM(measurements) FROM recording")), 2 * (700 + 500));
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM collection")), 40);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM recording")), 2);
    if (GetParam() == Engine::Sqlite) {
        QString check;
        rig.query(QStringLiteral("PRAGMA integrity_check"),
                  [&check](QSqlQuery& q) { check = q.value(0).toString(); });
        EXPECT_EQ(check, QStringLiteral("ok"));
    }
}

TEST_P(Store, ReadsBackLoggersRecordingsAndARangeOfMeasurements)
{
    StoreRig rig(GetParam());
    ASSERT_TRUE(rig.store.save(entryOf(twoInputs(100).build(), QStringLiteral("Cold room"), 2)).result.ok());
    CollectionEntry failed;
    failed.label = QStringLiteral("Cold room");
    failed.hostTime = QDateTime(QDate(2026, 3, 5), QTime(15, 0, 0));
    failed.outcome = QStringLiteral("Device Not Responding");
    ASSERT_TRUE(rig.store.save(failed).result.ok());

    std::vector<LoggerSummary> loggers;
    ASSERT_TRUE(rig.store.loggers(loggers).ok());
    ASSERT_EQ(loggers.size(), 1u);
    EXPECT_EQ(loggers[0].serial, QStringLiteral("0815"));
    EXPECT_EQ(loggers[0].outcome, QStringLiteral("Device Not Responding"));
    EXPECT_EQ(loggers[0].lastHostTime, QDateTime(QDate(2026, 3, 5), QTime(15, 0, 0)));
    EXPECT_EQ(loggers[0].batteryVolts, 3.6); // the newest known
    EXPECT_EQ(loggers[0].measurements, 200);
    // A ring: full of what is not collected once it comes round to the 41st measurement of
    // the second block, the newest stored (measurement 100): 20 + 59 x 60 measurements on.
    EXPECT_EQ(loggers[0].memoryFull, *civilSeconds(2026, 2, 27, 8, 0, 0) + (100 + 20 + 59 * 60) * 60);

    std::vector<StoredRecording> recordings;
    ASSERT_TRUE(rig.store.recordingsOf(QStringLiteral("Cold room"), recordings).ok());
    ASSERT_EQ(recordings.size(), 1u);
    ASSERT_TRUE(rig.store.recordingsOf(QStringLiteral("0815"), recordings).ok());
    ASSERT_EQ(recordings.size(), 1u);
    ASSERT_EQ(recordings[0].inputs.size(), 2u);
    EXPECT_EQ(recordings[0].inputs[0].input, 2);
    EXPECT_EQ(recordings[0].inputs[1].input, 5);
    std::vector<std::pair<LoggerSeconds, std::array<int, 8>>> rows;
    const LoggerSeconds start = *civilSeconds(2026, 2, 27, 8, 0, 0);
    ASSERT_TRUE(rig.store
                    .measurements(recordings[0], start + 10 * 60, start + 12 * 60,
                                  [&rows](LoggerSeconds t, const std::array<int, 8>& raw) {
                                      rows.emplace_back(t, raw);
                                  })
                    .ok());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].first, start + 600);
    EXPECT_EQ(rows[0].second[2], 10 * 3 + 2);
    EXPECT_EQ(rows[0].second[5], 10 * 3 + 5);
    EXPECT_EQ(rows[0].second[0], -1);

    // A label two loggers carried names neither.
    ASSERT_TRUE(
        rig.store.save(entryOf(twoInputs(5, "0816").build(), QStringLiteral("Cold room"), 1)).result.ok());
    rig.query(QStringLiteral("UPDATE logger SET label = 'Cold room'"), [](QSqlQuery&) {});
    const StoreResult twice = rig.store.recordingsOf(QStringLiteral("Cold room"), recordings);
    EXPECT_EQ(twice.message,
              QStringLiteral(
                  "The label Cold room names several loggers (serial numbers 0815, 0816): give the serial "
                  "number"));
}

TEST_P(Store, AMemoryThatStopsWhenFullIsFullAfterItsLastBlock)
{
    StoreRig rig(GetParam());
    const QByteArray image = twoInputs(100).set16(mem::kStopMode, std::uint16_t(mem::kStopWhenFull)).build();
    ASSERT_TRUE(rig.store.save(entryOf(image, QStringLiteral("Cold room"), 2)).result.ok());
    std::vector<LoggerSummary> loggers;
    ASSERT_TRUE(rig.store.loggers(loggers).ok());
    ASSERT_EQ(loggers.size(), 1u);
    // 60 blocks of 60 measurements, a minute apart.
    EXPECT_EQ(loggers[0].memoryFull, *civilSeconds(2026, 2, 27, 8, 0, 0) + 60 * 60 * 60);
}

// A stored range as the image the graph draws: all of it when the memory holds it, each
// input's extremes of each stretch when it does not, and never across a gap.
TEST_P(Store, ARangeIsDrawnFromItsNewestRunWithEveryInputsExtremes)
{
    StoreRig rig(GetParam());
    // 4 800 measurements a minute apart: more than a 60-block memory of 60 a block holds.
    const auto sample = [](int k, int input) { return std::uint8_t(input == 2 ? (k % 97) : 255 - k % 89); };
    CollectionEntry big = entryOf(twoInputs(1, "0815").build(), QStringLiteral("Cold room"), 1);
    big.harvest.blocks.clear();
    for (int first = 0; first < 4800; first += 60) {
        TakenBlock b;
        b.seqBase = first;
        b.to = 60;
        for (int k = 0; k < 60; ++k) {
            b.bytes[mem::kSamples + std::size_t(2 * k)] = sample(first + k + 1, 2);
            b.bytes[mem::kSamples + std::size_t(2 * k + 1)] = sample(first + k + 1, 5);
        }
        big.harvest.blocks.push_back(b);
    }
    big.harvest.upTo.lastSeq = 4800;
    ASSERT_TRUE(rig.store.save(big).result.ok());
    std::vector<StoredRecording> recordings;
    ASSERT_TRUE(rig.store.recordingsOf(QStringLiteral("0815"), recordings).ok());
    const LoggerSeconds start = *civilSeconds(2026, 2, 27, 8, 0, 0);

    const StoredImage small = storedImage(rig.store, recordings[0], start + 60, start + 600);
    ASSERT_TRUE(small.error.isEmpty()) << small.error.toStdString();
    EXPECT_EQ(small.perRecord, 1);
    EXPECT_EQ(small.measurements, 10);
    const ImageReader drawn(ConstByteView{reinterpret_cast<const std::uint8_t*>(small.image.constData()),
                                          std::size_t(small.image.size())});
    ASSERT_EQ(drawn.recordCount(), 10);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(drawn.sample(2, k), sample(k, 2));
        EXPECT_DOUBLE_EQ(drawn.recordDateTime(k), drawn.recordDateTime(1) + (k - 1) / 1440.0);
    }

    const StoredImage whole = storedImage(rig.store, recordings[0], start, start + 4800 * 60);
    ASSERT_TRUE(whole.error.isEmpty());
    EXPECT_GT(whole.perRecord, 1);
    const ImageReader all(ConstByteView{reinterpret_cast<const std::uint8_t*>(whole.image.constData()),
                                        std::size_t(whole.image.size())});
    EXPECT_LE(all.recordCount(), 60 * 60);
    int low = 255, high = 0;
    for (int k = 1; k <= all.recordCount(); ++k) {
        low = std::min<int>(low, all.sample(5, k));
        high = std::max<int>(high, all.sample(5, k));
    }
    EXPECT_EQ(low, 255 - 88);
    EXPECT_EQ(high, 255);

    // A gap: only the run after it is drawn.
    rig.query(QStringLiteral("DELETE FROM measurement WHERE time_s BETWEEN %1 AND %2")
                  .arg(start + 300)
                  .arg(start + 420),
              [](QSqlQuery&) {});
    const StoredImage cut = storedImage(rig.store, recordings[0], start + 60, start + 900);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.first, start + 480);
    EXPECT_EQ(cut.measurements, 8);
}

INSTANTIATE_TEST_SUITE_P(Engines, Store, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

} // namespace
} // namespace qz::test
