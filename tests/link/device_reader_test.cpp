// Reading a logger's header and clock for the configuration and readings commands.
#include "emulator_rig.h"
#include "link/device_reader.h"
#include "model/memory_image.h"
#include "support/scripted_pump.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(ReadDeviceImage, FillsTheHeaderAndClockCopy)
{
    EmulatorRig r;
    ScriptedPump pump;
    auto q = r.make();
    std::uint8_t image[mem::kDeviceImageSize] = {};
    EXPECT_TRUE(readDeviceImage(*q, image, r.progress, pump, r.prompt));
    EXPECT_TRUE(std::equal(image, image + mem::kHeaderSize, r.memory()));
    const auto clock = r.emulator.logger().clockRecord();
    EXPECT_EQ(image[mem::kClockInImage + mem::kRunState], clock[mem::kRunState]);
    EXPECT_EQ(image[mem::kClockInImage + mem::kClockMonth], clock[mem::kClockMonth]);
    EXPECT_EQ(r.progress.caption, "Connection...");
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 5, 10, 40, 90, 100}));
    EXPECT_EQ(r.progress.cancelEnabled, std::vector<bool>{false});
    EXPECT_EQ(pump.calls(), 6);
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST(ReadDeviceImage, WarnsOfALowBatteryOnly)
{
    struct Case {
        int count;
        bool silentReadings; // the battery read itself fails
        bool warns;
    } cases[] = {
        {168, false, true}, {169, false, false}, {0, false, false}, {183, false, false}, {120, true, false}};
    for (const auto& c : cases) {
        EmulatorRig r;
        r.emulator.logger().sensors().setBatteryCount(c.count);
        ScriptedPump pump;
        auto q = r.make();
        std::uint8_t image[mem::kDeviceImageSize] = {};
        if (c.silentReadings) {
            sim::Fault f;
            f.kind = sim::FaultKind::Silence;
            f.frame = 5; // the five reads answer, the readings do not
            f.frames = 0;
            r.emulator.addFault(f);
        }
        EXPECT_TRUE(readDeviceImage(*q, image, r.progress, pump, r.prompt)) << c.count;
        QStringList expected;
        if (c.silentReadings)
            expected << "Device Not Responding";
        if (c.warns)
            expected << "Low Battery \r  (< 3.3 V) ";
        EXPECT_EQ(r.prompt.texts(), expected) << c.count;
        if (c.warns) {
            EXPECT_EQ(r.prompt.records().back().symbol, PromptSymbol::Warning);
        }
    }
}

TEST(ReadDeviceImage, StopsAtTheFirstReadThatFails)
{
    EmulatorRig r;
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = 2; // ident and calibration answer, the program read does not
    f.frames = 0;
    r.emulator.addFault(f);
    ScriptedPump pump;
    auto q = r.make();
    std::uint8_t image[mem::kDeviceImageSize] = {};
    EXPECT_FALSE(readDeviceImage(*q, image, r.progress, pump, r.prompt));
    EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(r.emulator.commands('D'), 2);
}

} // namespace
} // namespace qz::test
