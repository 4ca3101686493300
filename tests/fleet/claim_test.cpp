// Several collectors sharing one PostgreSQL store: a logger another collector has claimed is
// skipped and said so, a claim ends with the attempt, and a collector that began before
// another collected a logger reads only what the other left.
#include "fleet_rig.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

sim::MemoryPreset running(int blocks)
{
    sim::MemoryPreset p;
    p.deviceCode = 485;
    p.content = sim::Content::Linear;
    p.blocks = blocks;
    p.running = true;
    return p;
}

class SharedStore : public ::testing::Test {
protected:
    void SetUp() override { QUORZK_SKIP_WITHOUT_POSTGRES(Engine::Postgres); }
};

TEST_F(SharedStore, ALoggerAnotherCollectorHasIsSkippedSaidSoAndLeftUnread)
{
    FleetRig rig(Engine::Postgres);
    sim::Emulator& a = rig.add(QStringLiteral("A"), running(3));
    rig.add(QStringLiteral("B"), running(4));
    // Another collector (its own connection) is collecting A.
    FleetStore other;
    ASSERT_TRUE(other.open(rig.url()).ok());
    ASSERT_EQ(other.claim(QStringLiteral("SIMA")), ClaimStatus::Granted);

    const FleetReport r = rig.collect();
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_TRUE(r.rows[0].skipped);
    EXPECT_FALSE(r.rows[0].ok);
    EXPECT_EQ(r.rows[0].serial, QStringLiteral("SIMA"));
    EXPECT_EQ(r.rows[0].outcome, QStringLiteral("skipped: another collector is collecting it"));
    EXPECT_EQ(FleetRig::blockReads(a), 0);
    EXPECT_TRUE(r.rows[1].ok);
    EXPECT_EQ(r.exitCode(), 0); // the other collector does A
    // The other collector records its own attempt; this one records none of A.
    EXPECT_EQ(rig.number(QStringLiteral("SELECT COUNT(*) FROM collection_v WHERE logger_label = 'A'")), 0);
    // This collector's claim of B ended with its attempt.
    EXPECT_EQ(other.claim(QStringLiteral("SIMB")), ClaimStatus::Granted);
    other.release(QStringLiteral("SIMB"));

    other.release(QStringLiteral("SIMA"));
    const FleetReport after = rig.collect();
    EXPECT_TRUE(after.rows[0].ok);
    EXPECT_EQ(after.rows[0].newMeasurements, a.logger().recorder().records() * 8);
}

// A second collector that read the store's progress before the first collected the logger
// takes the logger's progress again once it has it: nothing is read twice.
TEST_F(SharedStore, ACollectorThatBeganEarlierReadsOnlyWhatTheOtherLeft)
{
    FleetRig rig(Engine::Postgres);
    sim::Emulator& a = rig.add(QStringLiteral("A"), running(6));
    FleetStore second;
    ASSERT_TRUE(second.open(rig.url()).ok());
    InlineJobRunner secondRunner;
    FleetCollectionSetup setup = rig.setup;
    setup.runner = &secondRunner;
    secondRunner.hold();
    FleetReport secondReport;
    FleetRun late(rig.fleet, second, setup,
                  {{}, {}, [&secondReport](const FleetReport& r) { secondReport = r; }});
    ASSERT_TRUE(late.start()); // its progress read: nothing yet

    const FleetReport first = rig.collect();
    ASSERT_TRUE(first.rows[0].ok);
    a.clearFrameLog();
    secondRunner.release();
    ASSERT_FALSE(late.running());
    ASSERT_EQ(secondReport.rows.size(), 1u);
    EXPECT_TRUE(secondReport.rows[0].ok) << secondReport.rows[0].outcome.toStdString();
    EXPECT_EQ(secondReport.rows[0].newMeasurements, 0);
    EXPECT_EQ(FleetRig::blockReads(a), 0);
    EXPECT_EQ(rig.number(QStringLiteral("SELECT SUM(measurements) FROM recording")),
              a.logger().recorder().records() * 8);
}

TEST(FleetStoreClaims, AStoreOfOneMachineGrantsEveryClaim)
{
    TestStore database(Engine::Sqlite);
    FleetStore one, two;
    ASSERT_TRUE(one.open(database.url()).ok());
    ASSERT_TRUE(two.open(database.url()).ok());
    EXPECT_EQ(one.claim(QStringLiteral("0815")), ClaimStatus::Granted);
    EXPECT_EQ(two.claim(QStringLiteral("0815")), ClaimStatus::Granted);
}

} // namespace
} // namespace qz::test
