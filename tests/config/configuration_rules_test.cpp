// The configuration's rules: the interval fields and limits, what an accepted
// configuration stores, and the recording duration.
#include "config/configuration_rules.h"
#include "model/image_reader.h"
#include "model/memory_image.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>

namespace qz {

inline void PrintTo(IntervalCheck c, std::ostream* os)
{
    switch (c) {
    case IntervalCheck::Ok:
        *os << "ok";
        return;
    case IntervalCheck::TooLong:
        *os << "too long";
        return;
    case IntervalCheck::NotMultiple:
        *os << "not a multiple";
        return;
    }
}

namespace test {
namespace {

using Image = std::array<std::uint8_t, mem::kDeviceImageSize>;

// A device image with recognisable bytes everywhere, so a test sees every byte that a
// store changes.
Image patterned()
{
    Image image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(i * 13 + 7);
    image[mem::kDeviceCode] = 101;
    image[mem::kDeviceCode + 1] = 0;
    return image;
}

ByteView view(Image& image)
{
    return {image.data(), image.size()};
}

TEST(IntervalField, LeavingAFieldCompletesAndLimitsIt)
{
    struct Case {
        const char* text;
        int max;
        const char* becomes;
    } cases[] = {
        {"", 60, "00"},   {"", 59, "00"},   {"7", 59, "07"},  {"5", 60, "05"},  {"75", 60, "60"},
        {"60", 60, "60"}, {"60", 59, "59"}, {"99", 59, "59"}, {"59", 59, "59"}, {"08", 59, "08"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(intervalFieldExit(c.text, c.max), c.becomes) << '"' << c.text << "\" max " << c.max;
}

TEST(IntervalLimits, OneSecondToOneHourInStepsOfTheSamplingInterval)
{
    struct Case {
        int seconds;
        int sampling;
        IntervalCheck check;
        const char* message;
    } cases[] = {
        {1, 1, IntervalCheck::Ok, ""},
        {3600, 1, IntervalCheck::Ok, ""}, // 60 min 00 s
        {3601, 1, IntervalCheck::TooLong, "The interval cannot be greater than 60 minutes"},
        {60 * 60 + 59, 1, IntervalCheck::TooLong, "The interval cannot be greater than 60 minutes"},
        {0, 1, IntervalCheck::NotMultiple, "The interval must be a multiple of 1 sec"},
        {45, 30, IntervalCheck::NotMultiple, "The interval must be a multiple of 30 sec"},
        {90, 30, IntervalCheck::Ok, ""},
    };
    for (const auto& c : cases) {
        const IntervalCheck got = checkInterval(c.seconds, c.sampling);
        EXPECT_EQ(got, c.check) << c.seconds << " s";
        EXPECT_EQ(intervalRefusal(got, QString::number(c.sampling)), c.message) << c.seconds << " s";
    }
}

TEST(StoreConfiguration, WritesTheProgramFieldsAndNothingElse)
{
    Image image = patterned();
    const Image before = image;
    ConfigurationEntry entry;
    entry.intervalSeconds = 90;
    entry.comment = QStringLiteral("North wall");
    entry.stop = StopChoice::Cyclic;
    ASSERT_EQ(storeConfiguration(view(image), entry), IntervalCheck::Ok);

    Image expected = before;
    expected[mem::kSamplingInterval] = 1;
    expected[mem::kSamplingPeriod] = 1;
    expected[mem::kSamplingReload] = 1;
    expected[mem::kSamplesPerInterval] = 90;
    expected[mem::kSamplesPerInterval + 1] = 0;
    const QByteArray name = QByteArray("North wall").leftJustified(50, ' ');
    std::copy(name.begin(), name.end(), expected.begin() + mem::kRecordName);
    expected[mem::kStopMode] = 0;
    expected[mem::kStopMode + 1] = 0;
    // BlocksUsed, FirstBlock and the two reset words.
    std::fill(expected.begin() + mem::kBlocksUsed, expected.begin() + mem::kResetWord2 + 2, 0);
    for (std::size_t i = 0; i < image.size(); ++i)
        EXPECT_EQ(image[i], expected[i]) << "byte " << i;
}

TEST(StoreConfiguration, ARefusedIntervalStoresOnlyTheSamplingInterval)
{
    for (int seconds : {0, 3601}) {
        Image image = patterned();
        const Image before = image;
        ConfigurationEntry entry;
        entry.intervalSeconds = seconds;
        entry.comment = QStringLiteral("never stored");
        entry.stop = StopChoice::MemoryFull;
        EXPECT_NE(storeConfiguration(view(image), entry), IntervalCheck::Ok) << seconds;
        for (std::size_t i = 0; i < image.size(); ++i) {
            const std::uint8_t want = i == mem::kSamplingInterval ? 1 : before[i];
            EXPECT_EQ(image[i], want) << seconds << " s, byte " << i;
        }
    }
}

TEST(StoreConfiguration, StopModeAndComment)
{
    struct Case {
        StopChoice stop;
        unsigned mode;
    } cases[] = {
        {StopChoice::MemoryFull, 0x0101}, {StopChoice::Cyclic, 0x0000}, {StopChoice::Unchanged, 0x4321}};
    for (const auto& c : cases) {
        Image image = patterned();
        view(image).setU16(mem::kStopMode, 0x4321);
        ConfigurationEntry entry;
        entry.intervalSeconds = 60;
        entry.stop = c.stop;
        entry.comment = QString(60, QLatin1Char('x')); // longer than the field
        ASSERT_EQ(storeConfiguration(view(image), entry), IntervalCheck::Ok);
        const ImageReader reader = ImageReader::deviceImage(ConstByteView{image.data(), image.size()});
        EXPECT_EQ(reader.stopMode(), c.mode) << int(c.stop);
        EXPECT_EQ(reader.recordName(), QString(50, QLatin1Char('x')));
        EXPECT_EQ(reader.interval(), 60);
    }
    EXPECT_EQ(commentField(QStringLiteral("ab")), QStringLiteral("ab").leftJustified(50, QLatin1Char(' ')));
}

TEST(RecordingDuration, BlocksTimesSamplesTimesIntervalOverInputs)
{
    struct Case {
        int blocks;
        int inputs;
        int interval;
        const char* text;
    } cases[] = {
        {508, 1, 60, "42 Days  8 Hours  0 Min"},
        {124, 8, 1, "0 Days  0 Hours  31 Min"},
        {124, 0, 1, "0 Days  4 Hours  8 Min"}, // an input count of 0 counts as 1
        {124, 9, 1, "0 Days  4 Hours  8 Min"},
        {60, 3, 3600, "100 Days  0 Hours  0 Min"},
        {508, 1, 3600, "2540 Days  0 Hours  0 Min"},
        {60, 7, 1, "0 Days  0 Hours  17 Min"}, // 1028 s: the 8 s left over are dropped
    };
    for (const auto& c : cases)
        EXPECT_EQ(recordingDurationText(recordingSeconds(c.blocks, c.inputs, c.interval)), c.text)
            << c.blocks << " blocks, " << c.inputs << " inputs, " << c.interval << " s";

    // From an image: the memory size of the device code, its inputs and interval.
    Image image{};
    view(image).setU16(mem::kDeviceCode, 0xE0); // 508 blocks
    image[mem::kInputCount] = 1;
    image[mem::kSamplingPeriod] = 1;
    view(image).setU16(mem::kSamplesPerInterval, 60);
    EXPECT_EQ(recordingDurationText(ConstByteView{image.data(), image.size()}), "42 Days  8 Hours  0 Min");
}

} // namespace
} // namespace test
} // namespace qz
