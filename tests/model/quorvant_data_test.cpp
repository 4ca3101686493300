#include "model/quorvant_data.h"

#include "image_fixture.h"
#include "locale_guard.h"
#include "support/print_qt.h"
#include "model/memory_image.h"
#include "model/real48.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace qz {
namespace {

using test::ImageFixture;

class QuorvantDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.header(485, 3, 2, 30);
        std::memset(fixture.bytes.data(), 0xA5, mem::kHeaderSize); // every byte known
        fixture.header(485, 3, 2, 30);
        data.BindImage(fixture.bytes.data(), fixture.bytes.size());
        data.BindRecord();
        before = fixture.bytes;
    }
    // Addresses that changed since SetUp.
    std::vector<std::size_t> Changed() const
    {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (before[i] != fixture.bytes[i])
                out.push_back(i);
        return out;
    }

    ImageFixture fixture;
    TQuorvantData data{ProgramFolder(QString())};
    std::vector<std::uint8_t> before;
};

TEST_F(QuorvantDataTest, HeaderSettersWriteTheirAddressesOnly)
{
    struct Case {
        const char* field;
        std::function<void(TQuorvantData&)> set;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
    };
    const std::uint8_t stamp[6] = {26, 3, 5, 14, 7, 9};
    const Case cases[] = {
        {"SamplingPeriod", [](auto& d) { d.SetSamplingPeriod(10); }, {{97, 10}}},
        {"SamplingReload", [](auto& d) { d.SetSamplingReload(11); }, {{98, 11}}},
        {"SamplesPerInterval", [](auto& d) { d.SetSamplesPerInterval(0x1234); }, {{99, 0x34}, {100, 0x12}}},
        {"InputCount", [](auto& d) { d.SetInputCount(5); }, {{103, 5}}},
        {"YearBits", [](auto& d) { d.SetYearBits(0xC0); }, {{104, 0xC0}}},
        {"YearBcd", [](auto& d) { d.SetYearBcd(27); }, {{105, 0x27}}},
        {"SamplingInterval", [](auto& d) { d.SetSamplingInterval(4); }, {{106, 4}}},
        {"StopMode", [](auto& d) { d.SetStopMode(0x0101); }, {{110, 1}, {111, 1}}},
        {"StartStamp", [&](auto& d) { d.SetStartStamp(stamp); },
         {{112, 26}, {113, 3}, {114, 5}, {115, 14}, {116, 7}, {117, 9}}},
        {"BlocksUsed", [](auto& d) { d.SetBlocksUsed(508); }, {{118, 0xFC}, {119, 1}}},
        {"FirstBlock", [](auto& d) { d.SetFirstBlock(0x0102); }, {{120, 2}, {121, 1}}},
        {"ResetWord1", [](auto& d) { d.SetResetWord1(0); }, {{122, 0}, {123, 0}}},
        {"ResetWord2", [](auto& d) { d.SetResetWord2(0); }, {{124, 0}, {125, 0}}},
    };
    for (const Case& c : cases) {
        SetUp();
        c.set(data);
        std::vector<std::size_t> expected;
        for (auto [at, v] : c.bytes) {
            EXPECT_EQ(fixture.bytes[at], v) << c.field << " @" << at;
            if (before[at] != v)
                expected.push_back(at);
        }
        EXPECT_EQ(Changed(), expected) << c.field;
    }
}

TEST_F(QuorvantDataTest, HeaderGetters)
{
    fixture.bytes[2] = 'Z'; fixture.bytes[3] = '0'; fixture.bytes[4] = '4'; fixture.bytes[5] = '2';
    fixture.u16(mem::kSamplesPerInterval, 45);
    fixture.u8(mem::kSamplingPeriod, 2);
    fixture.u8(mem::kSamplingInterval, 3);
    fixture.u16(mem::kStopMode, 0x0101);
    fixture.u16(mem::kBlocksUsed, 17);
    fixture.u16(mem::kFirstBlock, 9);
    EXPECT_EQ(data.GetSerialNumber(), QStringLiteral("Z042"));
    EXPECT_EQ(data.GetDeviceCode(), 485);
    EXPECT_EQ(data.GetDeviceCodeText(), QStringLiteral("485"));
    EXPECT_EQ(data.GetMemoryBlocks(), 508);
    EXPECT_EQ(data.GetSamplesPerInterval(), 45);
    EXPECT_EQ(data.GetSamplingPeriod(), 2);
    EXPECT_EQ(data.GetSamplingInterval(), 3);
    EXPECT_EQ(data.GetInterval(), 90);
    EXPECT_EQ(data.GetStopMode(), 0x0101);
    EXPECT_EQ(data.GetBlocksUsed(), 17);
    EXPECT_EQ(data.GetFirstBlock(), 9);
    std::uint8_t stamp[6];
    data.GetStartStamp(stamp);
    EXPECT_EQ(std::memcmp(stamp, &fixture.bytes[mem::kStartStamp], 6), 0);
    EXPECT_EQ(TQuorvantData::FirstInput(), 0);
    EXPECT_EQ(TQuorvantData::LastInput(), 7);
}

TEST_F(QuorvantDataTest, MemoryBlocksAreKeptFromTheFirstCode)
{
    EXPECT_EQ(data.GetMemoryBlocks(), 508);
    fixture.u16(mem::kDeviceCode, 1);
    EXPECT_EQ(data.GetMemoryBlocks(), 508);
    TQuorvantData fresh{ProgramFolder(QString())};
    fresh.BindHeader(fixture.bytes.data(), mem::kHeaderSize);
    EXPECT_EQ(fresh.GetMemoryBlocks(), 124);

    // Bound to another logger's image, the object follows that logger's memory.
    ImageFixture other;
    other.header(101, 1);
    data.BindImage(other.bytes.data(), other.bytes.size());
    EXPECT_EQ(data.GetMemoryBlocks(), 252);
}

TEST_F(QuorvantDataTest, InputCountOutsideOneToEightReadsAsOne)
{
    struct Case { std::uint8_t stored; int count; int perBlock; };
    const Case cases[] = {{0, 1, 120}, {9, 1, 120}, {255, 1, 120}, {1, 1, 120}, {2, 2, 60},
                          {3, 3, 40}, {4, 4, 30}, {5, 5, 24}, {6, 6, 20}, {7, 7, 17}, {8, 8, 15}};
    for (const Case& c : cases) {
        fixture.u8(mem::kInputCount, c.stored);
        EXPECT_EQ(data.GetInputCount(), c.count) << int(c.stored);
        data.BindRecord();
        EXPECT_EQ(data.RecordsPerBlock(), c.perBlock) << int(c.stored);
    }
}

TEST_F(QuorvantDataTest, InputMask)
{
    const std::uint8_t none[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    data.SetInputMask(none);
    EXPECT_EQ(data.GetInputMask(), 0);
    const std::uint8_t some[8] = {1, 0, 1, 2, 0, 0, 0, 1}; // only 1 counts as set
    data.SetInputMask(some);
    EXPECT_EQ(data.GetInputMask(), 0x85);
    EXPECT_EQ(Changed(), std::vector<std::size_t>{mem::kInputMask});
    for (int i = 0; i < 8; ++i) {
        data.CurrentInput = i;
        EXPECT_EQ(data.IsInputEnabled(), i == 0 || i == 2 || i == 7) << i;
    }
    data.CurrentInput = 8;
    EXPECT_FALSE(data.IsInputEnabled());
    data.CurrentInput = -1;
    EXPECT_FALSE(data.IsInputEnabled());
}

TEST_F(QuorvantDataTest, RecordNameWritesExactlyItsField)
{
    const QString fifty = QString(48, QLatin1Char('x')) + QStringLiteral("yz");
    data.SetRecordName(fifty);
    EXPECT_EQ(data.GetRecordName(), fifty);
    std::vector<std::size_t> expected;
    for (std::size_t a = mem::kRecordName; a < mem::kRecordName + 50; ++a)
        expected.push_back(a);
    EXPECT_EQ(Changed(), expected);

    data.SetRecordName(QStringLiteral("Cold store 3"));
    EXPECT_EQ(data.GetRecordName(), QStringLiteral("Cold store 3"));
    EXPECT_EQ(fixture.bytes[mem::kRecordName + 12], 0);
    EXPECT_EQ(fixture.bytes[mem::kRecordName + 49], 0);
    EXPECT_EQ(fixture.bytes[mem::kRecordName + 50], before[mem::kRecordName + 50]);

    data.SetRecordName(fifty + QStringLiteral("TOO LONG"));
    EXPECT_EQ(data.GetRecordName(), fifty);
}

TEST_F(QuorvantDataTest, InputTextsArePaddedCutAndSingleByte)
{
    struct Case { const char* name; const char* unit; QString nameBack; QString unitBack; };
    const Case cases[] = {
        {"T", "C", QStringLiteral("T"), QStringLiteral("C")},
        {"Outside temp", "kWh/m2", QStringLiteral("Outside t"), QStringLiteral("kWh/m")},
        {"Humidity", "%", QStringLiteral("Humidity"), QStringLiteral("%")},
    };
    for (const Case& c : cases) {
        data.CurrentInput = 4;
        data.SetInputName(QLatin1String(c.name));
        data.SetInputUnit(QLatin1String(c.unit));
        EXPECT_EQ(data.GetInputName(), c.nameBack);
        EXPECT_EQ(data.GetInputUnit(), c.unitBack);
    }
    const QString degrees = QString(QChar(0x00B0)) + QLatin1Char('C');
    data.SetInputUnit(degrees);
    EXPECT_EQ(fixture.bytes[mem::DescriptorAddress(4) + mem::kInputUnit], 0xB0);
    EXPECT_EQ(data.GetInputUnit(), degrees);
    // Only input 4's descriptor changed.
    for (std::size_t a : Changed()) {
        EXPECT_GE(a, mem::DescriptorAddress(4));
        EXPECT_LT(a, mem::DescriptorAddress(4) + mem::kScaleLow);
    }
    data.CurrentInput = 1;
    EXPECT_EQ(fixture.bytes[mem::DescriptorAddress(1)], 0xA5);
}

TEST_F(QuorvantDataTest, ScalesAndCalibration)
{
    data.CurrentInput = 2;
    EXPECT_TRUE(data.SetScaleLow(-40));
    EXPECT_TRUE(data.SetScaleHigh(125.5));
    EXPECT_EQ(data.GetScaleLow(), -40);
    EXPECT_EQ(data.GetScaleHigh(), 125.5);
    {
        test::LocaleGuard english(test::LocaleGuard::English());
        EXPECT_EQ(data.GetScaleLowText(), QStringLiteral("-40"));
        EXPECT_EQ(data.GetScaleHighText(), QStringLiteral("125.5"));
    }
    EXPECT_FALSE(data.SetScaleHigh(1e300));
    EXPECT_EQ(data.GetScaleHigh(), 125.5);
    EXPECT_EQ(Real48ToDouble(&fixture.bytes[mem::DescriptorAddress(2) + mem::kScaleLow]), -40);

    fixture.u16(mem::kCalLow + 4, 0x1280);   // 18.5 counts
    fixture.u16(mem::kCalHigh + 4, 0xF000);  // 240 counts
    EXPECT_EQ(data.GetCalLow(), 18.5);
    EXPECT_EQ(data.GetCalHigh(), 240);
    data.CurrentInput = 9;
    EXPECT_EQ(data.GetCalLow(), 0);
    EXPECT_EQ(data.GetScaleLow(), 0);
    EXPECT_FALSE(data.SetScaleLow(1));
}

TEST_F(QuorvantDataTest, SetInterval)
{
    struct Case { int samplingInterval; int seconds; int period; int samples; };
    const Case cases[] = {{2, 600, 2, 300}, {1, 90, 1, 90}, {10, 3600, 10, 360}, {3, 10, 3, 3},
                          {0, 600, 0, 0}};
    for (const Case& c : cases) {
        data.SetSamplingInterval(std::uint8_t(c.samplingInterval));
        data.SetInterval(c.seconds);
        EXPECT_EQ(fixture.bytes[mem::kSamplingPeriod], c.period) << c.seconds;
        EXPECT_EQ(fixture.bytes[mem::kSamplingReload], c.period) << c.seconds;
        EXPECT_EQ(data.GetSamplesPerInterval(), c.samples) << c.seconds;
    }
}

TEST(QuorvantDataClock, ClockRecordSetters)
{
    std::uint8_t clock[16];
    std::memset(clock, 0xEE, sizeof clock);
    TQuorvantData data{ProgramFolder(QString())};
    data.SetClockView(clock, sizeof clock);
    data.SetClockYearBits(0xC0);
    data.SetClockControl(4);
    data.SetClockByte(1, 0);
    data.SetClockByte(2, 9);
    data.SetClockByte(3, 7);
    data.SetClockByte(4, 14);
    data.SetClockDay(15);
    data.SetClockByte(6, 3);
    data.SetClockByte(7, 0);
    data.SetRunState(0xB0);
    for (int i = 9; i <= 14; ++i)
        data.SetStartByte(i, i + 10);
    data.SetStartByte(15, 1);
    const std::uint8_t expected[16] = {4, 0, 0x09, 0x07, 0x14, 0xD5, 0x03, 0, 0xB0,
                                       0x19, 0x20, 0x21, 0x22, 0x23, 0x24, 0x01};
    EXPECT_EQ(std::memcmp(clock, expected, 16), 0);
    // Indexes outside their ranges are ignored.
    data.SetClockByte(5, 1);
    data.SetClockByte(8, 1);
    data.SetClockByte(0, 1);
    data.SetStartByte(8, 1);
    data.SetStartByte(16, 1);
    EXPECT_EQ(std::memcmp(clock, expected, 16), 0);
}

TEST(QuorvantDataBinding, DeviceImageKeepsHeaderAndClockApart)
{
    std::vector<std::uint8_t> image(mem::kDeviceImageSize, 0);
    TQuorvantData data{ProgramFolder(QString())};
    data.BindDeviceImage(image.data(), image.size());
    data.SetResetWord2(0xFFFF);
    data.SetRunState(0xC2);
    data.CurrentInput = 7;
    data.SetInputName(QStringLiteral("Last"));
    EXPECT_EQ(image[mem::kResetWord2], 0xFF);
    EXPECT_EQ(image[mem::kClockInImage + mem::kRunState], 0xC2);
    EXPECT_EQ(image[mem::DescriptorAddress(7)], 'L');
    EXPECT_FALSE(data.HasImage());

    // Without room for the clock record the clock setters write nothing.
    std::vector<std::uint8_t> header(mem::kHeaderSize + 8, 0);
    data.BindDeviceImage(header.data(), header.size());
    data.SetRunState(0xC2);
    EXPECT_EQ(header, std::vector<std::uint8_t>(mem::kHeaderSize + 8, 0));
}

TEST(QuorvantDataBinding, UnboundAndShortViewsStayInside)
{
    TQuorvantData unbound{ProgramFolder(QString())};
    EXPECT_EQ(unbound.GetDeviceCode(), 0);
    EXPECT_EQ(unbound.GetRecordName(), QString());
    EXPECT_EQ(unbound.GetInputCount(), 1);
    EXPECT_EQ(unbound.GetSample(1), 0);
    EXPECT_EQ(unbound.GetRecordCount(), 0);
    EXPECT_EQ(unbound.GetBatteryText(), QStringLiteral("-"));
    unbound.SetRecordName(QStringLiteral("x"));
    unbound.SetClockDay(5);

    // A header cut short in the middle of the program block.
    std::vector<std::uint8_t> shortHeader(100, 0x11);
    TQuorvantData data{ProgramFolder(QString())};
    data.BindHeader(shortHeader.data(), shortHeader.size());
    EXPECT_EQ(data.GetDeviceCode(), 0x1111);
    EXPECT_EQ(data.GetSamplesPerInterval(), 0);   // address 99..100 is not whole
    EXPECT_EQ(data.GetSamplingPeriod(), 0x11);    // address 97 is
    EXPECT_EQ(data.GetInputName(), QString());
    data.SetStopMode(0x0101);
    data.SetInputName(QStringLiteral("ignored"));
    EXPECT_EQ(shortHeader, std::vector<std::uint8_t>(100, 0x11));
}

} // namespace
} // namespace qz
