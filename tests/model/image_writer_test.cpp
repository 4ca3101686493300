// The writer changes exactly the bytes of its field, and the reader over the same bytes
// reads back what was written.
#include "model/image_writer.h"

#include "locale_guard.h"
#include "model/real48.h"
#include "model_images.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace qz::test {
namespace {

// A header whose every byte is known (0xA5) apart from the fields the reader needs.
ImageBuilder knownHeader()
{
    return ImageBuilder()
        .fill(0, mem::kHeaderSize, 0xA5)
        .set16(mem::kDeviceCode, 485)
        .set8(mem::kInputCount, 3)
        .set8(mem::kInputMask, 0x07)
        .set8(mem::kSamplingPeriod, 2)
        .set16(mem::kSamplesPerInterval, 30);
}

class ImageWriterTest : public ::testing::Test {
protected:
    ImageWriterTest() : image(knownHeader()), before(image.bytes) {}

    // Addresses that changed since the start.
    std::vector<std::size_t> changed() const
    {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (before[i] != image.bytes[i])
                out.push_back(i);
        return out;
    }

    ReadImage image;
    ImageWriter writer{image.view()};
    const ImageReader& reader = image.reader;
    std::vector<std::uint8_t> before;
};

TEST_F(ImageWriterTest, HeaderSettersWriteTheirAddressesOnly)
{
    struct Case {
        const char* field;
        std::function<void(ImageWriter&)> set;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
    };
    const std::array<std::uint8_t, 6> stamp = {26, 3, 5, 14, 7, 9};
    const Case cases[] = {
        {"SamplingPeriod", [](auto& w) { w.setSamplingPeriod(10); }, {{97, 10}}},
        {"SamplingReload", [](auto& w) { w.setSamplingReload(11); }, {{98, 11}}},
        {"SamplesPerInterval", [](auto& w) { w.setSamplesPerInterval(0x1234); }, {{99, 0x34}, {100, 0x12}}},
        {"InputCount", [](auto& w) { w.setInputCount(5); }, {{103, 5}}},
        {"YearBits", [](auto& w) { w.setYearBits(0xC0); }, {{104, 0xC0}}},
        {"YearBcd", [](auto& w) { w.setYearBcd(27); }, {{105, 0x27}}},
        {"SamplingInterval", [](auto& w) { w.setSamplingInterval(4); }, {{106, 4}}},
        {"StopMode", [](auto& w) { w.setStopMode(0x0101); }, {{110, 1}, {111, 1}}},
        {"StartStamp",
         [&](auto& w) { w.setStartStamp(stamp); },
         {{112, 26}, {113, 3}, {114, 5}, {115, 14}, {116, 7}, {117, 9}}},
        {"BlocksUsed", [](auto& w) { w.setBlocksUsed(508); }, {{118, 0xFC}, {119, 1}}},
        {"FirstBlock", [](auto& w) { w.setFirstBlock(0x0102); }, {{120, 2}, {121, 1}}},
        {"ResetWord1", [](auto& w) { w.setResetWord1(0); }, {{122, 0}, {123, 0}}},
        {"ResetWord2", [](auto& w) { w.setResetWord2(0); }, {{124, 0}, {125, 0}}},
    };
    for (const Case& c : cases) {
        image.bytes = before;
        c.set(writer);
        std::vector<std::size_t> expected;
        for (auto [at, v] : c.bytes) {
            EXPECT_EQ(image.bytes[at], v) << c.field << " @" << at;
            if (before[at] != v)
                expected.push_back(at);
        }
        EXPECT_EQ(changed(), expected) << c.field;
    }
    // What was written reads back.
    image.bytes = before;
    writer.setStartStamp(stamp);
    writer.setStopMode(0x0101);
    writer.setBlocksUsed(17);
    writer.setFirstBlock(9);
    EXPECT_EQ(reader.startStamp(), stamp);
    EXPECT_EQ(reader.stopMode(), 0x0101);
    EXPECT_EQ(reader.blocksUsed(), 17);
    EXPECT_EQ(reader.firstBlock(), 9);
}

TEST_F(ImageWriterTest, InputMask)
{
    writer.setInputMask({0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(reader.inputMask(), 0);
    writer.setInputMask({1, 0, 1, 2, 0, 0, 0, 1}); // only 1 counts as set
    EXPECT_EQ(reader.inputMask(), 0x85);
    EXPECT_EQ(changed(), std::vector<std::size_t>{mem::kInputMask});
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(reader.isInputRecorded(i), i == 0 || i == 2 || i == 7) << i;
    EXPECT_FALSE(reader.isInputRecorded(8));
    EXPECT_FALSE(reader.isInputRecorded(-1));
}

TEST_F(ImageWriterTest, RecordNameWritesExactlyItsField)
{
    const QString fifty = QString(48, QLatin1Char('x')) + QStringLiteral("yz");
    writer.setRecordName(fifty);
    EXPECT_EQ(reader.recordName(), fifty);
    std::vector<std::size_t> expected;
    for (std::size_t a = mem::kRecordName; a < mem::kRecordName + 50; ++a)
        expected.push_back(a);
    EXPECT_EQ(changed(), expected);

    writer.setRecordName(QStringLiteral("Cold store 3"));
    EXPECT_EQ(reader.recordName(), QStringLiteral("Cold store 3"));
    EXPECT_EQ(image.bytes[mem::kRecordName + 12], 0);
    EXPECT_EQ(image.bytes[mem::kRecordName + 49], 0);
    EXPECT_EQ(image.bytes[mem::kRecordName + 50], before[mem::kRecordName + 50]);

    writer.setRecordName(fifty + QStringLiteral("TOO LONG"));
    EXPECT_EQ(reader.recordName(), fifty);
}

TEST_F(ImageWriterTest, InputTextsArePaddedCutAndSingleByte)
{
    struct Case {
        const char* name;
        const char* unit;
        QString nameBack;
        QString unitBack;
    };
    const Case cases[] = {
        {"T", "C", QStringLiteral("T"), QStringLiteral("C")},
        {"Outside temp", "kWh/m2", QStringLiteral("Outside t"), QStringLiteral("kWh/m")},
        {"Humidity", "%", QStringLiteral("Humidity"), QStringLiteral("%")},
    };
    for (const Case& c : cases) {
        writer.setInputName(4, QLatin1String(c.name));
        writer.setInputUnit(4, QLatin1String(c.unit));
        EXPECT_EQ(reader.inputName(4), c.nameBack);
        EXPECT_EQ(reader.inputUnit(4), c.unitBack);
    }
    const QString degrees = QString(QChar(0x00B0)) + QLatin1Char('C');
    writer.setInputUnit(4, degrees);
    EXPECT_EQ(image.bytes[mem::descriptorAddress(4) + mem::kInputUnit], 0xB0);
    EXPECT_EQ(reader.inputUnit(4), degrees);
    // Only input 4's descriptor changed.
    for (std::size_t a : changed()) {
        EXPECT_GE(a, mem::descriptorAddress(4));
        EXPECT_LT(a, mem::descriptorAddress(4) + mem::kScaleLow);
    }
    EXPECT_EQ(image.bytes[mem::descriptorAddress(1)], 0xA5);
    // Inputs outside 0..7 write nothing.
    writer.setInputName(8, QStringLiteral("Beyond"));
    writer.setInputUnit(-1, QStringLiteral("V"));
    for (std::size_t a : changed())
        EXPECT_LT(a, mem::descriptorAddress(4) + mem::kScaleLow);
}

TEST_F(ImageWriterTest, ScalesAndCalibration)
{
    EXPECT_TRUE(writer.setScaleLow(2, -40));
    EXPECT_TRUE(writer.setScaleHigh(2, 125.5));
    EXPECT_EQ(reader.scaleLow(2), -40);
    EXPECT_EQ(reader.scaleHigh(2), 125.5);
    {
        LocaleGuard english(LocaleGuard::english());
        EXPECT_EQ(reader.scaleLowText(2), QStringLiteral("-40"));
        EXPECT_EQ(reader.scaleHighText(2), QStringLiteral("125.5"));
    }
    EXPECT_FALSE(writer.setScaleHigh(2, 1e300));
    EXPECT_EQ(reader.scaleHigh(2), 125.5);
    EXPECT_EQ(real48ToDouble(&image.bytes[mem::descriptorAddress(2) + mem::kScaleLow]), -40);

    image.view().setU16(mem::calLowAddress(2), 0x1280); // 18.5 counts
    image.view().setU16(mem::calHighAddress(2), 0xF000); // 240 counts
    EXPECT_EQ(reader.calLow(2), 18.5);
    EXPECT_EQ(reader.calHigh(2), 240);
    EXPECT_EQ(reader.calLow(9), 0);
    EXPECT_EQ(reader.scaleLow(9), 0);
    EXPECT_FALSE(writer.setScaleLow(9, 1));
}

TEST_F(ImageWriterTest, SetInterval)
{
    struct Case {
        int samplingInterval;
        int seconds;
        int period;
        int samples;
    };
    const Case cases[] = {
        {2, 600, 2, 300}, {1, 90, 1, 90}, {10, 3600, 10, 360}, {3, 10, 3, 3}, {0, 600, 0, 0}};
    for (const Case& c : cases) {
        writer.setSamplingInterval(std::uint8_t(c.samplingInterval));
        writer.setInterval(c.seconds);
        EXPECT_EQ(image.bytes[mem::kSamplingPeriod], c.period) << c.seconds;
        EXPECT_EQ(image.bytes[mem::kSamplingReload], c.period) << c.seconds;
        EXPECT_EQ(reader.samplesPerInterval(), c.samples) << c.seconds;
    }
}

TEST(ImageWriterClock, ClockRecordSetters)
{
    std::vector<std::uint8_t> device(mem::kDeviceImageSize, 0);
    std::memset(device.data() + mem::kClockInImage, 0xEE, mem::kClockRecordSize);
    const std::uint8_t* clock = device.data() + mem::kClockInImage;
    ImageWriter writer = ImageWriter::deviceImage({device.data(), device.size()});
    writer.setClockControl(4);
    writer.setClockByte(1, 0);
    writer.setClockByte(2, 9);
    writer.setClockByte(3, 7);
    writer.setClockByte(4, 14);
    writer.setClockDay(15, 0xC0);
    writer.setClockByte(6, 3);
    writer.setClockByte(7, 0);
    writer.setRunState(0xB0);
    for (int i = 9; i <= 14; ++i)
        writer.setStartByte(i, i + 10);
    writer.setStartByte(15, 1);
    const std::uint8_t expected[16] = {4,    0,    0x09, 0x07, 0x14, 0xD5, 0x03, 0,
                                       0xB0, 0x19, 0x20, 0x21, 0x22, 0x23, 0x24, 0x01};
    EXPECT_EQ(std::memcmp(clock, expected, 16), 0);
    // Indexes outside their ranges are ignored.
    writer.setClockByte(5, 1);
    writer.setClockByte(8, 1);
    writer.setClockByte(0, 1);
    writer.setStartByte(8, 1);
    writer.setStartByte(16, 1);
    writer.setStartByte(-1, 1);
    EXPECT_EQ(std::memcmp(clock, expected, 16), 0);
    // The header is untouched.
    EXPECT_EQ(std::vector<std::uint8_t>(device.begin(), device.begin() + mem::kHeaderSize),
              std::vector<std::uint8_t>(mem::kHeaderSize, 0));
}

TEST(ImageWriterBuffers, DeviceImageKeepsHeaderAndClockApart)
{
    std::vector<std::uint8_t> device(mem::kDeviceImageSize, 0);
    ImageWriter writer = ImageWriter::deviceImage({device.data(), device.size()});
    writer.setResetWord2(0xFFFF);
    writer.setRunState(0xC2);
    writer.setInputName(7, QStringLiteral("Last"));
    EXPECT_EQ(device[mem::kResetWord2], 0xFF);
    EXPECT_EQ(device[mem::kClockInImage + mem::kRunState], 0xC2);
    EXPECT_EQ(device[mem::descriptorAddress(7)], 'L');

    // A writer over an image (or a header alone) has no clock record.
    std::vector<std::uint8_t> header(mem::kHeaderSize + 8, 0);
    ImageWriter(ByteView{header.data(), header.size()}).setRunState(0xC2);
    ImageWriter::deviceImage({header.data(), header.size()}).setRunState(0xC2);
    EXPECT_EQ(header, std::vector<std::uint8_t>(mem::kHeaderSize + 8, 0));
}

TEST(ImageWriterBuffers, ShortBufferIsNeverOverrun)
{
    // A header cut short in the middle of the program block.
    std::vector<std::uint8_t> shortHeader(100, 0x11);
    ImageWriter writer(ByteView{shortHeader.data(), shortHeader.size()});
    writer.setStopMode(0x0101);
    writer.setSamplesPerInterval(7); // address 99..100 is not whole
    writer.setInputName(0, QStringLiteral("ignored"));
    writer.setStartStamp({1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(writer.setScaleLow(0, 1));
    EXPECT_EQ(shortHeader, std::vector<std::uint8_t>(100, 0x11));
    writer.setSamplingPeriod(3); // address 97 is inside
    EXPECT_EQ(shortHeader[97], 3);

    ImageWriter unbound{ByteView{}};
    unbound.setRecordName(QStringLiteral("x"));
    unbound.setClockDay(5, 0);
    unbound.setInterval(60);
}

} // namespace
} // namespace qz::test
