// The ring of data blocks as the reader walks it: physical blocks, record counts,
// samples of every record width, record times and the battery text.
#include "model/image_reader.h"

#include "locale_guard.h"
#include "model/logger_date.h"
#include "model_images.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <random>

namespace qz::test {
namespace {

TEST(RecordRing, PhysicalBlock)
{
    struct Case {
        std::uint16_t code;
        int first;
        int logical;
        int physical;
    };
    const Case cases[] = {
        {485, 500, 7, 507},  {485, 500, 8, 0},  {485, 500, 507, 499}, {485, 0, 0, 0},
        {485, 0, 507, 507},  {485, 0, 508, -1}, {485, 0, -1, -1},     {1, 100, 30, 6}, // 124 blocks
        {0, 59, 1, 0}, // 60 blocks
        {485, 508, 3, 3}, // a first block beyond the ring reads as 0
        {485, 0xFFFF, 3, 3},
    };
    for (const Case& c : cases) {
        const ReadImage image(header(c.code, 1).ring(1, c.first));
        EXPECT_EQ(image.reader.physicalBlock(c.logical), c.physical)
            << c.code << " first " << c.first << " j " << c.logical;
    }
}

TEST(RecordRing, RecordCount)
{
    struct Case {
        int inputs;
        int used;
        int first;
        std::vector<int> sampleBytes;
        int count;
        const char* what;
    };
    const Case cases[] = {
        {1, 0, 0, {120, 120}, 0, "nothing used"},
        {1, 2, 0, {120, 57}, 177, "linear"},
        {3, 2, 0, {120, 30}, 50, "three inputs"},
        {7, 2, 0, {119, 119}, 34, "seven inputs"},
        {2, 1, 0, {255}, 60, "a block claiming more than 120 bytes"},
        {7, 1, 0, {120}, 17, "never more records than a block holds"},
    };
    for (const Case& c : cases) {
        ImageBuilder b = header(485, c.inputs).ring(c.used, c.first);
        for (std::size_t k = 0; k < c.sampleBytes.size(); ++k)
            b.block(int(k), c.sampleBytes[k]);
        EXPECT_EQ(ReadImage(b).reader.recordCount(), c.count) << c.what;
    }
}

TEST(RecordRing, BlocksUsedBeyondTheMemoryIsClamped)
{
    ImageBuilder b = header(0, 1).ring(0xFFFF, 0); // 60 blocks of memory
    for (int k = 0; k < mem::kMaxBlocks; ++k)
        b.block(k, 120);
    const ReadImage image(b);
    EXPECT_EQ(image.reader.usedBlocks(), 60);
    EXPECT_EQ(image.reader.recordCount(), 60 * 120);
}

TEST(RecordRing, ImageSmallerThanTheMemoryLimitsTheRing)
{
    ImageBuilder b = header(485, 1).ring(508, 0).markSamples(10);
    for (int k = 0; k < 508; ++k)
        b.block(k, 120);
    const std::size_t size = mem::blockAddress(10) + 50; // ten whole blocks and a piece
    const ReadImage image(b, size);
    const ImageReader& d = image.reader;
    EXPECT_EQ(d.memoryBlocks(), 508);
    EXPECT_EQ(d.ringBlocks(), 10);
    EXPECT_EQ(d.recordCount(), 1200);
    EXPECT_EQ(d.sample(0, 1200), ImageBuilder::mark(9, 119));
    EXPECT_EQ(d.sample(0, 1201), 0);
    EXPECT_FALSE(d.block(10).bound());
    EXPECT_TRUE(d.block(9).bound());
}

TEST(RecordRing, SamplesFollowRecordWidthAndOffset)
{
    struct Case {
        int inputs;
        int n;
        int input;
        int block;
        int position;
        const char* what;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 0, "first sample"},
        {1, 121, 0, 1, 0, "one byte records: next block"},
        {3, 41, 0, 1, 0, "three inputs: record 41 opens block 1"},
        {3, 41, 2, 1, 2, "third input of record 41"},
        {3, 40, 1, 0, 118, "last record of block 0 fills byte 127"},
        {7, 17, 6, 0, 118, "seven inputs: record 17 ends at byte 126"},
        {7, 18, 0, 1, 0, "seven inputs: byte 127 is skipped"},
        {8, 16, 7, 1, 7, "eight inputs"},
        {5, 25, 4, 1, 4, "five inputs"},
    };
    for (const Case& c : cases) {
        const ReadImage image(header(485, c.inputs).ring(3, 0).markSamples(3));
        EXPECT_EQ(image.reader.sample(c.input, c.n), ImageBuilder::mark(c.block, c.position)) << c.what;
    }
}

TEST(RecordRing, SamplesFollowTheRing)
{
    const ReadImage image(header(485, 2).ring(508, 500).markSamples(508));
    const ImageReader& d = image.reader;
    EXPECT_EQ(d.sample(0, 1), ImageBuilder::mark(500, 0));
    EXPECT_EQ(d.sample(0, 8 * 60 + 1), ImageBuilder::mark(0, 0)); // logical block 8
    EXPECT_EQ(d.sample(0, 8 * 60), ImageBuilder::mark(507, 118));
    EXPECT_EQ(d.sample(0, 508 * 60), ImageBuilder::mark(499, 118));
    EXPECT_EQ(d.sample(1, 508 * 60), ImageBuilder::mark(499, 119));
}

TEST(RecordRing, SamplesOutsideTheImageReadAsZero)
{
    const ReadImage image(
        header(485, 3).ring(508, 0).fill(mem::kHeaderSize, mem::kImageSize - mem::kHeaderSize, 0xCC));
    const ImageReader& d = image.reader;
    EXPECT_EQ(d.sample(0, 0), 0);
    EXPECT_EQ(d.sample(0, -5), 0);
    EXPECT_EQ(d.sample(0, 508 * 40), 0xCC);
    EXPECT_EQ(d.sample(0, 508 * 40 + 1), 0);
    EXPECT_EQ(d.sample(0, INT32_MAX), 0);
    EXPECT_EQ(d.sample(3, 1), 0); // beyond a three-byte record
    EXPECT_EQ(d.sample(-1, 1), 0);
    EXPECT_EQ(d.sample(8, 1), 0);
}

TEST(RecordRing, ReaderKeepsTheCountItWasMadeWith)
{
    ReadImage image(header(485, 3).ring(2, 0).markSamples(2));
    image.bytes[mem::kInputCount] = 1;
    EXPECT_EQ(image.reader.sample(0, 41), ImageBuilder::mark(1, 0)); // still three-byte records
    const ImageReader again(ConstByteView{image.bytes.data(), image.bytes.size()});
    EXPECT_EQ(again.sample(0, 41), ImageBuilder::mark(0, 40));
}

TEST(RecordRing, RecordTimes)
{
    struct Case {
        int period;
        int samples;
        int n;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {1, 90, 1, "05/03/26", "14:01:30"},    {1, 90, 2, "05/03/26", "14:03:00"},
        {2, 1800, 1, "05/03/26", "15:00:00"},  {1, 3600, 3, "05/03/26", "17:00:00"},
        {10, 3600, 1, "05/03/26", "15:00:00"}, // 10 hours: still one-hour steps
        {1, 60, 600, "06/03/26", "00:00:00"}, // past midnight
        {1, 1, 0, "05/03/26", "14:00:00"},
    };
    for (const Case& c : cases) {
        const ReadImage image(header(485, 1, c.period, c.samples)
                                  .ring(3, 1)
                                  .block(1, 120, {0x26, 0x03, 0x05, 0x14, 0x00, 0x00}) // the oldest block
                                  .block(0, 120, {0x26, 0x03, 0x09, 0x00, 0x00, 0x00}));
        const ImageReader& d = image.reader;
        EXPECT_EQ(d.recordDateText(c.n), QLatin1String(c.date)) << c.samples << " " << c.n;
        EXPECT_EQ(d.recordTimeText(c.n), QLatin1String(c.time)) << c.samples << " " << c.n;
    }
}

TEST(RecordRing, RecordTimeOfALongRecordingStaysOnTheSecond)
{
    const ReadImage image(
        header(485, 1, 1, 7).ring(508, 0).block(0, 120, {0x99, 0x12, 0x31, 0x23, 0x59, 0x59}));
    const ImageReader& d = image.reader;
    const int last = 508 * 120;
    LoggerDate expected;
    expected.Year = 1999;
    expected.Month = 12;
    expected.Day = 31;
    expected.Hour = 23;
    expected.Min = 59;
    expected.Sec = 59;
    for (int n = 1; n <= last; ++n)
        expected.addInterval(7);
    EXPECT_EQ(d.recordDateText(last), expected.dateText());
    EXPECT_EQ(d.recordTimeText(last), expected.timeText());
}

TEST(RecordRing, RecordTimeRounded)
{
    const ReadImage image(
        header(485, 1, 1, 90).ring(1, 0).block(0, 120, {0x26, 0x03, 0x05, 0x14, 0x00, 0x00}));
    const ImageReader& d = image.reader;
    LoggerDate limit;
    limit.Year = 2026;
    limit.Month = 3;
    limit.Day = 5;
    limit.Hour = 16;
    LoggerDate expected = limit;
    expected.Hour = 15;
    // Record 1 is 14:01:30; the next full hour 15:00 lies before the limit.
    EXPECT_DOUBLE_EQ(d.recordDateTimeRounded(1, 2, limit.asDateTime()), expected.asDateTime());
}

TEST(RecordRing, ImpossibleStampGivesDayZero)
{
    const ReadImage image(header(485, 1).ring(1, 0).block(0, 120, {0x26, 0x13, 0x45, 0x99, 0x99, 0x99}));
    EXPECT_EQ(image.reader.recordDateTime(1), 0.0);
    EXPECT_EQ(image.reader.recordDateText(1), QStringLiteral("30/12/99"));
}

TEST(RecordRing, BatteryText)
{
    LocaleGuard english(LocaleGuard::english());
    struct Case {
        int used;
        int first;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "-"},          {1, 0, "-"}, {2, 0, "3.3 V"}, // block 0: count 168 -> 3.296 V
        {3, 0, "3.32 V"}, // block 1: count 169
        {3, 507, "3.3 V"}, // logical 1 of a wrapped ring is physical 0
        {2, 507, "-0.153 V"}, // physical 507 has count 0
    };
    for (const Case& c : cases) {
        const ReadImage image(
            header(485, 1).ring(c.used, c.first).block(0, 120, {}, 168).block(1, 120, {}, 169));
        EXPECT_EQ(image.reader.batteryText(), QLatin1String(c.text)) << c.used << " " << c.first;
    }
    LocaleGuard german(LocaleGuard::german());
    const ReadImage image(header(485, 1).ring(3, 0).block(1, 120, {}, 169));
    EXPECT_EQ(image.reader.batteryText(), QStringLiteral("3,32 V"));
}

// Random headers over random images: every accessor must stay inside the buffer
// (the sanitizer build checks it) and answer within its limits.
TEST(RecordRing, AnyImageIsReadSafely)
{
    std::mt19937 random(2026);
    for (int round = 0; round < 200; ++round) {
        const std::size_t size = round % 4 == 0 ? std::size_t(random() % mem::kImageSize) : mem::kImageSize;
        std::vector<std::uint8_t> bytes(size);
        for (auto& b : bytes)
            b = std::uint8_t(random());
        const ImageReader d(ConstByteView{bytes.data(), bytes.size()});
        const int count = d.recordCount();
        EXPECT_LE(count, d.ringBlocks() * d.recordsPerBlock());
        for (int input = -1; input <= 8; ++input) {
            (void)d.inputName(input);
            (void)d.scaleLowText(input);
            (void)d.calHigh(input);
            for (int n : {0, 1, count / 2, count, count + 1, 508 * 120 + 1})
                (void)d.sample(input, n);
        }
        (void)d.batteryText();
        (void)d.recordDateText(count);
        (void)d.recordTimeText(count);
        (void)d.recordDateTimeRounded(count, round % 5, 0);
    }
}

} // namespace
} // namespace qz::test
