// Reading a logger's header and clock for the configuration and readings commands.
#include "job_rig.h"
#include "jobs/device_read_job.h"
#include "model/memory_image.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(DeviceReadJob, FillsTheHeaderAndClockCopy)
{
    JobRig r;
    auto q = r.make();
    const DeviceReadResult d = deviceReadJob(*q, ConnectPolicy::Ask, r.progress);
    EXPECT_EQ(d.status, DeviceReadStatus::Read);
    EXPECT_TRUE(std::equal(d.image.begin(), d.image.begin() + mem::kHeaderSize, r.memory()));
    const auto clock = r.emulator.logger().clockRecord();
    EXPECT_EQ(d.image[mem::kClockInImage + mem::kRunState], clock[mem::kRunState]);
    EXPECT_EQ(d.image[mem::kClockInImage + mem::kClockMonth], clock[mem::kClockMonth]);
    EXPECT_TRUE(
        std::equal(d.clock.logger.begin(), d.clock.logger.end(), d.image.begin() + mem::kClockInImage))
        << "the clock read is kept with the host's time";
    EXPECT_TRUE(d.clock.read());
    EXPECT_EQ(r.progress.caption, "Connection...");
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 5, 10, 40, 90, 100}));
    EXPECT_EQ(r.progress.cancelEnabled, std::vector<bool>{false});
    EXPECT_TRUE(told(d).isEmpty());
    // The ping, the five reads and the battery.
    EXPECT_EQ(r.emulator.commands('E'), 2);
    EXPECT_EQ(r.emulator.commands('D'), 4);
    EXPECT_EQ(r.emulator.commands('G'), 1);
}

TEST(DeviceReadJob, WarnsOfALowBatteryOnly)
{
    struct Case {
        int count;
        bool silentReadings; // the battery read itself fails
        bool warns;
    } cases[] = {
        {168, false, true}, {169, false, false}, {0, false, false}, {183, false, false}, {120, true, false}};
    for (const auto& c : cases) {
        JobRig r;
        r.emulator.logger().sensors().setBatteryCount(c.count);
        auto q = r.make();
        if (c.silentReadings) {
            sim::Fault f;
            f.kind = sim::FaultKind::Silence;
            f.frame = 6; // the ping and the five reads answer, the readings do not
            f.frames = 0;
            r.emulator.addFault(f);
        }
        const DeviceReadResult d = deviceReadJob(*q, ConnectPolicy::Ask, r.progress);
        EXPECT_EQ(d.status, DeviceReadStatus::Read) << c.count;
        EXPECT_EQ(d.battery, c.silentReadings ? -1 : c.count) << c.count;
        Messages expected;
        if (c.silentReadings)
            expected << Message{"Device Not Responding", MessageSymbol::Warning};
        if (c.warns)
            expected << Message{"Low Battery \r  (< 3.3 V) ", MessageSymbol::Warning};
        EXPECT_EQ(messagesOf(d), expected) << c.count;
    }
}

TEST(DeviceReadJob, StopsAtTheFirstReadThatFails)
{
    JobRig r;
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = 3; // the ping, ident and calibration answer, the program read does not
    f.frames = 0;
    r.emulator.addFault(f);
    auto q = r.make();
    const DeviceReadResult d = deviceReadJob(*q, ConnectPolicy::Ask, r.progress);
    EXPECT_EQ(d.status, DeviceReadStatus::LinkFailed);
    EXPECT_EQ(told(d), QStringList{"Device Not Responding"});
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(r.emulator.commands('D'), 2);
}

TEST(DeviceReadJob, WithoutAnAnswerTheQuestionIsOpenAndYesReadsWithoutASecondPing)
{
    JobRig r;
    r.emulator.setSilent(true);
    auto q = r.make();
    const DeviceReadResult asked = deviceReadJob(*q, ConnectPolicy::Ask, r.progress);
    EXPECT_EQ(asked.status, DeviceReadStatus::NotConnected);
    EXPECT_EQ(told(asked), QStringList{"Please Connect The Quorvant"});
    EXPECT_TRUE(r.progress.positions.empty()) << "no reading began";
    r.emulator.setSilent(false);
    const std::int64_t pings = r.emulator.commands('E');
    const DeviceReadResult d = deviceReadJob(*q, ConnectPolicy::GoOn, r.progress);
    EXPECT_EQ(d.status, DeviceReadStatus::Read);
    EXPECT_EQ(r.emulator.commands('E'), pings + 1) << "the clock read of the image, no ping";
}

} // namespace
} // namespace qz::test
