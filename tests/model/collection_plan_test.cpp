// Which blocks a collection reads, and which measurement each record of them is.
#include "model/collection_plan.h"
#include "model/values.h"
#include "support/image_builder.h"
#include "support/print_qt.h"

#include <QDate>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

// A 60-block memory, 4 inputs (30 measurements a block), a measurement a minute.
constexpr int kRpb = 30;
const LoggerSeconds kOrigin = *civilSeconds(2026, 2, 27, 8, 0, 0);

QByteArray image(int firstBlock = -1)
{
    ImageBuilder b;
    b.interval(1, 60);
    for (int i = 0; i < 4; ++i)
        b.input(i, {QStringLiteral("In %1").arg(i), QStringLiteral("V"), 0, 10, 0, 255 * 256});
    b.measurements(1, [](int, int) { return std::uint8_t(0); });
    // A linear memory reports no used blocks; a ring that has wrapped, all of them.
    b.ring(firstBlock >= 0 ? 60 : 0, firstBlock >= 0 ? firstBlock : 0);
    return b.build();
}

ImageReader headerOf(const QByteArray& bytes)
{
    return ImageReader::header({reinterpret_cast<const std::uint8_t*>(bytes.constData()), mem::kHeaderSize});
}

BlockStamp stampAt(LoggerSeconds t)
{
    const QDate d = QDate::fromJulianDay(t / 86400 + 2440588);
    const int s = int(t % 86400);
    return {intToBcd(d.year() % 100), intToBcd(d.month()),   intToBcd(d.day()),
            intToBcd(s / 3600),       intToBcd(s / 60 % 60), intToBcd(s % 60)};
}

// The store's progress: the tail block, its records stored, the newest measurement.
CollectedUpTo upTo(int tail, int records, std::int64_t lastSeq)
{
    CollectedUpTo u;
    u.origin = kOrigin;
    u.lastSeq = lastSeq;
    u.tailBlock = tail;
    u.tailRecords = records;
    u.tailStamp = stampAt(kOrigin + (lastSeq - records) * 60);
    return u;
}

LoggerNow recordingAt(std::int64_t dueAfterLast, std::int64_t lastSeq)
{
    return {kOrigin + (lastSeq + dueAfterLast) * 60 + 20, std::uint8_t(mem::kRunRecording)};
}

std::vector<int> range(int from, int to)
{
    std::vector<int> r;
    for (int b = from; b <= to; ++b)
        r.push_back(b);
    return r;
}

TEST(CollectionPlan, ReadsOnlyTheBlocksThatHoldWhatTheStoreHasNot)
{
    const struct {
        const char* what;
        int firstBlock; // -1: linear
        std::optional<CollectedUpTo> known;
        LoggerNow now;
        PlanKind kind;
        std::vector<int> blocks;
        NothingNew why = NothingNew::NoMeasurement;
    } cases[] = {
        {"a recording the store does not know", -1, std::nullopt, recordingAt(5, 0), PlanKind::Whole, {}},
        {"waiting for a delayed start",
         -1,
         upTo(5, 10, 160),
         {kOrigin, std::uint8_t(mem::kRunWaiting)},
         PlanKind::Nothing,
         {},
         NothingNew::Waiting},
        {"stopped, and all of it stored",
         -1,
         [] {
             CollectedUpTo u = upTo(5, 10, 160);
             u.ended = true;
             return u;
         }(),
         {kOrigin, 0},
         PlanKind::Nothing,
         {},
         NothingNew::Ended},
        {"the clock says nothing new", -1, upTo(5, 10, 160), recordingAt(0, 160), PlanKind::Nothing, {}},
        {"the tail grew", -1, upTo(5, 10, 160), recordingAt(5, 160), PlanKind::Continue, {5}},
        {"the tail filled and two blocks followed",
         -1,
         upTo(5, 10, 160),
         recordingAt(20 + 30 + 1, 160),
         PlanKind::Continue,
         {5, 6, 7}},
        {"the tail was full, one block followed",
         -1,
         upTo(5, 30, 180),
         recordingAt(30, 180),
         PlanKind::Continue,
         {6}},
        {"a clock set back says nothing: up to the end", -1, upTo(5, 10, 160), recordingAt(-100, 160),
         PlanKind::Continue, range(5, 59)},
        {"stopped, not all stored: up to the end",
         -1,
         upTo(5, 10, 160),
         {kOrigin, 0},
         PlanKind::Continue,
         range(5, 59)},
        {"a linear memory whose last block is stored",
         -1,
         upTo(59, 30, 1800),
         recordingAt(3, 1800),
         PlanKind::Nothing,
         {},
         NothingNew::MemoryFull},
        {"a ring, up to the block being written", 10, upTo(3, 10, 100), recordingAt(200, 100),
         PlanKind::Continue, range(3, 9)},
        {"a ring, on round its end",
         2,
         upTo(58, 30, 1800),
         recordingAt(70, 1800),
         PlanKind::Continue,
         {59, 0, 1}},
        {"a ring that went round onto the tail",
         10,
         upTo(3, 10, 100),
         recordingAt(20 + 59 * 30 + 31, 100),
         PlanKind::Whole,
         {}},
        {"a ring up to date by its header", 10, upTo(9, 30, 300), recordingAt(5, 300), PlanKind::Nothing, {}},
        {"a ring up to date by its header, a lap on by the clock",
         10,
         upTo(9, 30, 300),
         recordingAt(40, 300),
         PlanKind::Whole,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = image(c.firstBlock);
        const CollectionPlan plan = planCollection(headerOf(bytes), c.now, c.known ? &*c.known : nullptr);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.blocks, c.blocks);
        if (c.kind == PlanKind::Nothing) {
            EXPECT_EQ(plan.why, c.why);
        }
    }
}

// A data block of the test memory: its stamp, records, and samples marking the measurement.
std::array<std::uint8_t, mem::kBlockSize> block(LoggerSeconds stamp, int records, std::int64_t firstSeq)
{
    std::array<std::uint8_t, mem::kBlockSize> b{};
    b.fill(0xFF);
    b[mem::kSampleBytes] = std::uint8_t(records * 4);
    const BlockStamp s = stampAt(stamp);
    std::copy(s.begin(), s.end(), b.begin() + mem::kBlockStamp);
    for (int k = 0; k < records; ++k)
        b[mem::kSamples + std::size_t(k) * 4] = std::uint8_t(firstSeq + k);
    return b;
}

TEST(CollectionPlan, BlocksAreTakenWhereTheRecordingSaysAndNowhereElse)
{
    const QByteArray bytes = image();
    const RecordLayout layout(headerOf(bytes));
    const CollectedUpTo known = upTo(5, 10, 160); // block 5 stamped at measurement 150
    const LoggerSeconds tailStamp = kOrigin + 150 * 60;
    {
        SCOPED_TRACE("the tail grown, then the next block");
        ContinueFit fit(layout, known);
        EXPECT_EQ(fit.add(5, block(tailStamp, 30, 151).data()), ContinueFit::Fit::Taken);
        EXPECT_EQ(fit.add(6, block(tailStamp + kRpb * 60, 4, 181).data()), ContinueFit::Fit::Taken);
        EXPECT_FALSE(fit.wantsMore());
        const Harvest h = fit.harvest();
        std::vector<std::int64_t> seqs;
        h.forEachRecord(4, [&](std::int64_t seq, const std::uint8_t* r) {
            EXPECT_EQ(r[0], std::uint8_t(seq));
            seqs.push_back(seq);
        });
        ASSERT_EQ(seqs.size(), 20u + 4u);
        EXPECT_EQ(seqs.front(), 161);
        EXPECT_EQ(seqs.back(), 184);
        EXPECT_EQ(h.upTo.lastSeq, 184);
        EXPECT_EQ(h.upTo.tailBlock, 6);
        EXPECT_EQ(h.upTo.tailRecords, 4);
    }
    {
        SCOPED_TRACE("the tail rewritten: another stamp");
        ContinueFit fit(layout, known);
        EXPECT_EQ(fit.add(5, block(tailStamp + 60, 30, 1).data()), ContinueFit::Fit::Moved);
    }
    {
        SCOPED_TRACE("the tail with fewer records than were stored");
        ContinueFit fit(layout, known);
        EXPECT_EQ(fit.add(5, block(tailStamp, 3, 151).data()), ContinueFit::Fit::Moved);
    }
    {
        SCOPED_TRACE("a block a ring's lap away");
        ContinueFit fit(layout, upTo(5, 30, 180));
        EXPECT_EQ(fit.add(6, block(tailStamp + (60 * kRpb + kRpb) * 60, 30, 1).data()),
                  ContinueFit::Fit::Moved);
    }
}

TEST(CollectionPlan, AWholeMemoryGoesOnFromTheStoreOrStartsANewRecording)
{
    // A ring of 60 blocks whose oldest is block 20, blocks stamped a block's time apart.
    const auto ring = [](std::int64_t oldestSeqBase) {
        std::vector<std::uint8_t> img(mem::kImageSize, 0);
        for (int j = 0; j < 60; ++j) {
            const int p = (20 + j) % 60;
            const std::int64_t base = oldestSeqBase + std::int64_t(j) * kRpb;
            const auto b = block(kOrigin + base * 60, j == 59 ? 12 : kRpb, base + 1);
            std::copy(b.begin(), b.end(), img.begin() + std::ptrdiff_t(mem::blockAddress(p)));
        }
        return img;
    };
    const QByteArray bytes = image(20);
    const RecordLayout layout(headerOf(bytes));
    {
        SCOPED_TRACE("a new recording: measured from its oldest block");
        Harvest h;
        ASSERT_EQ(harvestWhole(ring(1000), 60, 20, layout, nullptr, h), WholeStatus::Taken);
        EXPECT_TRUE(h.newRecording);
        EXPECT_EQ(h.origin, kOrigin + 1000 * 60);
        EXPECT_EQ(h.records(), 59 * kRpb + 12);
        EXPECT_EQ(h.upTo.lastSeq, 59 * kRpb + 12);
        EXPECT_EQ(h.upTo.tailBlock, 19);
    }
    {
        SCOPED_TRACE("the tail still held: placed by it, only what is new");
        // Stored up to measurement 1000 + 40 x 30 + 7, in block 0 (the 41st from the oldest).
        CollectedUpTo known = upTo(0, 7, 1000 + 40 * kRpb + 7);
        Harvest h;
        ASSERT_EQ(harvestWhole(ring(1000), 60, 20, layout, &known, h), WholeStatus::Taken);
        EXPECT_FALSE(h.newRecording);
        EXPECT_EQ(h.missing, 0);
        EXPECT_EQ(h.records(), (19 * kRpb + 12) - 7);
        EXPECT_EQ(h.blocks.front().seqBase + h.blocks.front().from, known.lastSeq + 1);
    }
    {
        SCOPED_TRACE("the tail overwritten: placed by the stamps, the rest a gap");
        CollectedUpTo known = upTo(20, 10, 500 + 10);
        Harvest h;
        ASSERT_EQ(harvestWhole(ring(1000), 60, 20, layout, &known, h), WholeStatus::Taken);
        EXPECT_EQ(h.missing, 1000 - 510);
        EXPECT_EQ(h.records(), 59 * kRpb + 12);
        h.forEachRecord(4,
                        [](std::int64_t seq, const std::uint8_t* r) { EXPECT_EQ(r[0], std::uint8_t(seq)); });
    }
    {
        SCOPED_TRACE("a linear memory without the tail: a recording started again");
        const QByteArray linear = image();
        std::vector<std::uint8_t> img(mem::kImageSize, 0);
        const auto b = block(kOrigin + 9000 * 60, 5, 1);
        std::copy(b.begin(), b.end(), img.begin() + std::ptrdiff_t(mem::blockAddress(0)));
        CollectedUpTo known = upTo(5, 10, 160);
        Harvest h;
        ASSERT_EQ(harvestWhole(img, 1, 0, RecordLayout(headerOf(linear)), &known, h), WholeStatus::Taken);
        EXPECT_TRUE(h.newRecording);
        EXPECT_EQ(h.origin, kOrigin + 9000 * 60);
        EXPECT_EQ(h.records(), 5);
    }
}

} // namespace
} // namespace qz::test
