// Collecting emulated loggers into a real SQLite file and a real PostgreSQL database: only what is new is read, each
// measurement is stored once at its time, a restart starts a new recording, a ring that
// overwrote measurements leaves a gap and nothing invented, and one failing logger does not
// stop the others.
#include "fleet_rig.h"

#include "model/values.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

// A plant-room logger (8 inputs, every minute, 15 measurements a block), recording.
sim::MemoryPreset linearRunning(int blocks = 12)
{
    sim::MemoryPreset p;
    p.deviceCode = 485;
    p.content = sim::Content::Linear;
    p.blocks = blocks; // the last one half full: 7 of 15
    p.running = true;
    return p;
}

// A 60-block cyclic logger (4 inputs, every minute, 30 measurements a block) that has gone
// round its ring once and 22 blocks more.
sim::MemoryPreset ringRunning()
{
    sim::MemoryPreset p;
    p.deviceCode = 0;
    p.content = sim::Content::Wrapped;
    p.blocks = 22;
    p.intervalSeconds = 60;
    p.running = true;
    return p;
}

qint64 stored(FleetRig& rig)
{
    return rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement_v"));
}

class FleetCollection : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override { QUORZK_SKIP_WITHOUT_POSTGRES(GetParam()); }
};

TEST_P(FleetCollection, FirstCollectionReadsWhatADownloadReadsAndStoresEveryMeasurementAtItsTime)
{
    FleetRig rig(GetParam());
    sim::Emulator& e = rig.add(QStringLiteral("Plant room"), linearRunning());
    const FleetReport report = rig.collect();
    ASSERT_EQ(report.rows.size(), 1u);
    EXPECT_EQ(report.rows[0].outcome, QStringLiteral("ok"));
    EXPECT_EQ(report.exitCode(), 0);
    const std::int64_t records = e.logger().recorder().records();
    EXPECT_EQ(report.rows[0].newMeasurements, records * 8);
    EXPECT_EQ(stored(rig), records * 8);
    // As a download: every block in use, then the erased one that ends the recording.
    EXPECT_EQ(FleetRig::blockReads(e), 12 + 1);
    EXPECT_EQ(checkAgainstSensors(rig, QStringLiteral("Plant room"), 8), records);
    // The first measurement lies one interval after the recording's start.
    EXPECT_EQ(
        rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement_v WHERE time = '2026-02-27T08:01:00'")),
        8);
}

// After the first collection the logger records on; the second collection reads the tail
// block again (it has grown) and the blocks after it, as far as the logger's clock says.
TEST_P(FleetCollection, LaterCollectionsReadOnlyTheBlocksWithNewMeasurements)
{
    const struct {
        const char* what;
        std::int64_t seconds; // recorded between the two collections
        int blockReads;
        std::int64_t newRecords;
    } cases[] = {
        {"nothing new", 0, 0, 0},
        {"the partly filled block grew", 3 * 60, 1, 3},
        {"it filled and two blocks followed", 30 * 60, 3, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FleetRig rig(GetParam());
        sim::Emulator& e = rig.add(QStringLiteral("Plant room"), linearRunning());
        rig.collect();
        const qint64 before = stored(rig);
        rig.run(c.seconds);
        const FleetReport second = rig.collect();
        EXPECT_EQ(second.rows[0].outcome, QStringLiteral("ok"));
        EXPECT_EQ(FleetRig::blockReads(e), c.blockReads);
        EXPECT_EQ(second.rows[0].blocksRead, c.blockReads);
        EXPECT_EQ(second.rows[0].newMeasurements, c.newRecords * 8);
        EXPECT_EQ(stored(rig), before + c.newRecords * 8);
        EXPECT_EQ(checkAgainstSensors(rig, QStringLiteral("Plant room"), 8), e.logger().recorder().records());
    }
}

TEST_P(FleetCollection, CollectingAgainAfterTheBlockBoundaryReadsOnlyTheNewBlock)
{
    FleetRig rig(GetParam());
    sim::Emulator& e = rig.add(QStringLiteral("Plant room"), linearRunning());
    rig.run(8 * 60); // the half-full block fills: 15 of 15
    rig.collect();
    rig.run(15 * 60); // exactly one more block
    const FleetReport r = rig.collect();
    EXPECT_EQ(FleetRig::blockReads(e), 1);
    EXPECT_EQ(r.rows[0].newMeasurements, 15 * 8);
}

TEST_P(FleetCollection, ARestartedLoggerStartsANewRecordingAndTheOldOneKeepsItsRows)
{
    const struct {
        const char* what;
        bool newProgram; // configured again (a new start stamp), or only started again
    } cases[] = {{"configured again", true}, {"started again with its old program", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FleetRig rig(GetParam());
        sim::Emulator& e = rig.add(QStringLiteral("Plant room"), linearRunning());
        rig.collect();
        const qint64 first = stored(rig);
        rig.run(5 * 60); // recorded, but lost to the restart
        sim::Logger& logger = e.logger();
        logger.stop();
        if (c.newProgram) {
            sim::MemoryPreset again = linearRunning();
            again.start = logger.clock();
            sim::writeHeader(logger.memory(), again);
        }
        logger.startRecording();
        rig.run(20 * 60);
        const FleetReport r = rig.collect();
        EXPECT_EQ(r.rows[0].outcome, QStringLiteral("ok"));
        EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM recording")), 2);
        EXPECT_EQ(r.rows[0].newMeasurements, 20 * 8);
        EXPECT_EQ(stored(rig), first + 20 * 8);
        EXPECT_EQ(rig.number(QStringLiteral("SELECT measurements FROM recording ORDER BY origin_s LIMIT 1")),
                  first);
        EXPECT_EQ(checkAgainstSensors(rig, QStringLiteral("Plant room"), 8), first / 8 + 20);
    }
}

TEST_P(FleetCollection, ARingCollectedInTimeLosesNothing)
{
    FleetRig rig(GetParam());
    sim::Emulator& e = rig.add(QStringLiteral("Cold store"), ringRunning());
    const FleetReport first = rig.collect();
    EXPECT_EQ(first.rows[0].outcome, QStringLiteral("ok"));
    EXPECT_EQ(FleetRig::blockReads(e), 60); // a wrapped ring is read whole, as a download reads it
    const qint64 before = stored(rig);
    rig.run(10 * 3600); // 600 measurements: 20 blocks, the ring not yet round
    const FleetReport second = rig.collect();
    EXPECT_EQ(second.rows[0].outcome, QStringLiteral("ok"));
    EXPECT_EQ(second.rows[0].newMeasurements, 600 * 4);
    EXPECT_EQ(second.rows[0].missing, 0);
    EXPECT_EQ(FleetRig::blockReads(e), 21); // the grown tail and 20 blocks after it
    EXPECT_EQ(stored(rig), before + 600 * 4);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM gap")), 0);
    EXPECT_EQ(checkAgainstSensors(rig, QStringLiteral("Cold store"), 4), stored(rig) / 4);
}

TEST_P(FleetCollection, ARingThatOverwroteMeasurementsRecordsTheGapAndInventsNothing)
{
    FleetRig rig(GetParam());
    sim::Emulator& e = rig.add(QStringLiteral("Cold store"), ringRunning());
    rig.collect();
    const qint64 before = stored(rig);
    const qint64 lastBefore = rig.number(QStringLiteral("SELECT MAX(time_s) FROM measurement"));
    rig.run(40 * 3600); // 2400 measurements: more than the ring's 1800
    const FleetReport r = rig.collect();
    EXPECT_EQ(r.rows[0].outcome, QStringLiteral("ok"));
    EXPECT_EQ(FleetRig::blockReads(e), 60);
    // The memory holds 59 full blocks and the one being written.
    const std::int64_t held = 59 * 30 + e.logger().recorder().recordsInBlock();
    const std::int64_t lost = 2400 - held;
    EXPECT_EQ(r.rows[0].missing, lost * 4);
    EXPECT_EQ(r.rows[0].newMeasurements, held * 4);
    EXPECT_EQ(stored(rig), before + held * 4);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT missing FROM gap")), lost * 4);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT after_s FROM gap")), lastBefore);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT before_s - after_s FROM gap")), (lost + 1) * 60);
    EXPECT_EQ(
        rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement WHERE time_s > (SELECT after_s FROM gap) "
                                  "AND time_s < (SELECT before_s FROM gap)")),
        0);
    EXPECT_EQ(checkAgainstSensors(rig, QStringLiteral("Cold store"), 4), stored(rig) / 4);
}

TEST_P(FleetCollection, OneLoggerOfThreeNotAnsweringIsAFailedAttemptAndTheOthersAreCollected)
{
    FleetRig rig(GetParam());
    rig.add(QStringLiteral("A"), linearRunning(3));
    rig.add(QStringLiteral("B"), linearRunning(4)).setSilent(true);
    rig.add(QStringLiteral("C"), linearRunning(5));
    const FleetReport r = rig.collect();
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_TRUE(r.rows[0].ok);
    EXPECT_FALSE(r.rows[1].ok);
    EXPECT_EQ(r.rows[1].outcome, QStringLiteral("Device Not Responding"));
    EXPECT_TRUE(r.rows[2].ok);
    EXPECT_EQ(r.exitCode(), 1);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM collection_v")), 3);
    EXPECT_EQ(rig.number(QStringLiteral(
                  "SELECT COUNT(*) FROM collection_v WHERE logger_label = 'B' AND outcome = "
                  "'Device Not Responding' AND new_measurements = 0 AND logger_serial IS NULL")),
              1);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(DISTINCT logger_label) FROM measurement_v")), 2);
}

TEST_P(FleetCollection, ADamagedBlockIsAFailedAttemptThatKeepsTheBlocksBeforeIt)
{
    FleetRig rig(GetParam());
    sim::MemoryPreset p = linearRunning(12);
    p.damagedBlock = 6;
    rig.add(QStringLiteral("Damaged"), p);
    rig.add(QStringLiteral("Sound"), linearRunning(3));
    const FleetReport r = rig.collect();
    EXPECT_EQ(r.rows[0].outcome, QStringLiteral("Block 6 of the logger's memory is damaged"));
    EXPECT_FALSE(r.rows[0].ok);
    EXPECT_EQ(r.rows[0].newMeasurements, 6 * 15 * 8);
    EXPECT_TRUE(r.rows[1].ok);
    // The next collection reads from the damaged block on again.
    const FleetReport again = rig.collect();
    EXPECT_EQ(again.rows[0].outcome, QStringLiteral("Block 6 of the logger's memory is damaged"));
    EXPECT_EQ(again.rows[0].newMeasurements, 0);
}

TEST_P(FleetCollection, TheAttemptKeepsTheClockPairAndTheBattery)
{
    FleetRig rig(GetParam());
    sim::Emulator& e = rig.add(QStringLiteral("Plant room"), linearRunning());
    e.logger().sensors().setBatteryCount(183);
    // The logger's clock 42 s ahead of the host's.
    const QDateTime host = rig.clock.localNow();
    const sim::CivilTime h{host.date().year(),
                           host.date().month(),
                           host.date().day(),
                           host.time().hour(),
                           host.time().minute(),
                           host.time().second(),
                           0};
    e.logger().setClock(sim::usToCivil(sim::civilToUs(h) + 42 * sim::kUsPerSecond));
    const FleetReport r = rig.collect();
    ASSERT_TRUE(r.rows[0].driftSeconds.has_value());
    EXPECT_NEAR(*r.rows[0].driftSeconds, 42, 1);
    EXPECT_NEAR(*r.rows[0].batteryVolts, adcToVolts(183), 1e-9);
    QSqlQuery q(rig.db());
    ASSERT_TRUE(
        q.exec(QStringLiteral("SELECT logger_serial, logger_label, host_time, logger_time, drift_s, "
                              "battery_v, blocks_read, new_measurements, outcome FROM collection_v")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("SIMA"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("Plant room"));
    EXPECT_TRUE(q.value(2).toDateTime().isValid());
    EXPECT_NEAR(q.value(4).toDouble(), 42, 1);
    EXPECT_EQ(q.value(6).toInt(), 13);
    EXPECT_EQ(q.value(8).toString(), QStringLiteral("ok"));
}

TEST_P(FleetCollection, ALoggerOfAModelTheCatalogueDoesNotKnowIsRefusedBeforeItsMemoryIsRead)
{
    FleetRig rig(GetParam());
    sim::MemoryPreset p;
    p.deviceCode = 293; // "Type=XY" in the rig's catalogue
    sim::Emulator& e = rig.add(QStringLiteral("Pump"), p);
    const FleetReport r = rig.collect();
    EXPECT_EQ(r.rows[0].outcome, QStringLiteral("This device is not a QuorvantZK (device code 293)"));
    EXPECT_FALSE(r.rows[0].ok);
    EXPECT_EQ(FleetRig::blockReads(e), 0);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM collection_v WHERE logger_serial = 'SIMA'")),
              1);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM measurement")), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, FleetCollection, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         engineName);

} // namespace
} // namespace qz::test
