#include "model/collection_plan.h"

#include <algorithm>
#include <cstring>

namespace qz {

namespace {

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return a <= 0 ? 0 : (a + b - 1) / b;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

TakenBlock take(int physical, const std::uint8_t* block, std::int64_t seqBase, int from, int to)
{
    TakenBlock t;
    t.physical = physical;
    t.seqBase = seqBase;
    t.from = from;
    t.to = to;
    std::memcpy(t.bytes.data(), block, mem::kBlockSize);
    return t;
}

} // namespace

RecordingKey RecordingKey::of(const ImageReader& header)
{
    return {header.serialNumber(), header.startStamp(), header.interval(), header.inputMask(),
            header.inputCount()};
}

RecordLayout::RecordLayout(const ImageReader& header)
    : width(header.inputCount()), recordsPerBlock(header.recordsPerBlock()),
      blocks(std::clamp(header.memoryBlocks(), 1, mem::kMaxBlocks)), step(header.interval()),
      ring((header.blocksUsed() & 0xFF) != 0),
      firstBlock(header.firstBlock() < blocks ? header.firstBlock() : 0)
{}

int RecordLayout::recordsIn(const std::uint8_t* block) const
{
    return std::min(int(block[mem::kSampleBytes]) / width, recordsPerBlock);
}

CollectionPlan planCollection(const ImageReader& header, const LoggerNow& now, const CollectedUpTo* known)
{
    CollectionPlan plan;
    if (now.runState == mem::kRunWaiting) {
        plan.why = NothingNew::Waiting;
        return plan;
    }
    const RecordLayout layout(header);
    const int rpb = layout.recordsPerBlock;
    if (!known || layout.step <= 0 || known->tailBlock < 0 || known->tailBlock >= layout.blocks) {
        plan.kind = PlanKind::Whole;
        return plan;
    }
    const bool recording = now.runState == mem::kRunRecording;
    if (!recording && known->ended) {
        plan.why = NothingNew::Ended;
        return plan;
    }
    const int tail = known->tailBlock;
    const int stored = std::clamp(known->tailRecords, 0, rpb);
    const bool tailFull = stored == rpb;
    const int next = tailFull ? tail + 1 : tail;

    // Measurements taken since the last one stored, by the logger's clock: only a recording
    // logger's clock says that.
    std::optional<std::int64_t> due;
    if (recording && now.clock)
        due = floorDiv(*now.clock - known->origin, layout.step) - known->lastSeq;
    // A clock behind the last measurement stored has been set back: it tells nothing.
    if (due && *due < 0)
        due.reset();
    if (due && *due == 0) {
        plan.why = NothingNew::NoMeasurement;
        return plan;
    }
    // Blocks that hold those measurements, from `next` on.
    std::optional<std::int64_t> wanted;
    if (due)
        wanted = tailFull ? ceilDiv(*due, rpb) : 1 + ceilDiv(*due - (rpb - stored), rpb);

    if (!layout.ring) {
        if (next >= layout.blocks) {
            plan.why = recording ? NothingNew::MemoryFull : NothingNew::Ended;
            return plan;
        }
        const std::int64_t last =
            wanted ? std::min<std::int64_t>(layout.blocks - 1, next + *wanted - 1) : layout.blocks - 1;
        plan.kind = PlanKind::Continue;
        for (std::int64_t b = next; b <= last; ++b)
            plan.blocks.push_back(int(b));
        return plan;
    }

    // A ring: the block being written is the one before the oldest.
    const int current = (layout.firstBlock + layout.blocks - 1) % layout.blocks;
    // The tail block is written over once the logger comes round to it again.
    const std::int64_t room = std::int64_t(rpb - stored) + std::int64_t(layout.blocks - 1) * rpb;
    if (due && *due > room + rpb) {
        plan.kind = PlanKind::Whole;
        return plan;
    }
    if (tailFull && tail == current) {
        // Up to date by the header; a clock that says a whole block more means a lap.
        if (due && *due > rpb)
            plan.kind = PlanKind::Whole;
        else
            plan.why = recording ? NothingNew::NoMeasurement : NothingNew::Ended;
        return plan;
    }
    const int span = (current - next % layout.blocks + layout.blocks) % layout.blocks + 1;
    plan.kind = PlanKind::Continue;
    for (int i = 0; i < span; ++i)
        plan.blocks.push_back((next + i) % layout.blocks);
    return plan;
}

// ---- harvest ----------------------------------------------------------------------------

std::int64_t Harvest::records() const
{
    std::int64_t n = 0;
    for (const TakenBlock& b : blocks)
        n += b.count();
    return n;
}

void Harvest::forEachRecord(int width, const std::function<void(std::int64_t, const std::uint8_t*)>& f) const
{
    for (const TakenBlock& b : blocks)
        for (int k = b.from; k <= b.to; ++k)
            f(b.seqBase + k, b.bytes.data() + mem::kSamples + std::size_t(k - 1) * std::size_t(width));
}

ContinueFit::ContinueFit(const RecordLayout& layout, const CollectedUpTo& known)
    : layout_(layout), known_(known)
{
    harvest_.origin = known.origin;
    harvest_.lastSeqBefore = known.lastSeq;
    harvest_.upTo = known;
    lastFull_ = known.tailRecords >= layout.recordsPerBlock;
    lastSeqBase_ = known.lastSeq - known.tailRecords;
    lastStamp_ = stampSeconds(known.tailStamp);
}

ContinueFit::Fit ContinueFit::add(int physical, const std::uint8_t* block)
{
    const int records = layout_.recordsIn(block);
    const BlockStamp stamp = stampOf(block);
    const std::optional<LoggerSeconds> at = stampSeconds(stamp);
    std::int64_t seqBase = 0;
    int from = 1;
    if (first_ && !lastFull_) {
        // The tail again: the same block, grown.
        if (physical != known_.tailBlock || stamp != known_.tailStamp || records < known_.tailRecords)
            return Fit::Moved;
        seqBase = lastSeqBase_;
        from = known_.tailRecords + 1;
    } else {
        if (!lastFull_)
            return Fit::Moved; // nothing follows a block that is not full
        // A block a ring's lap away, or rewritten since, lies far from the next place.
        const std::int64_t blockSpan = std::int64_t(layout_.recordsPerBlock) * layout_.step;
        if (at && lastStamp_ && std::llabs(*at - (*lastStamp_ + blockSpan)) > blockSpan / 2)
            return Fit::Moved;
        seqBase = lastSeqBase_ + layout_.recordsPerBlock;
    }
    first_ = false;
    if (records >= from)
        harvest_.blocks.push_back(take(physical, block, seqBase, from, records));
    lastSeqBase_ = seqBase;
    lastFull_ = records >= layout_.recordsPerBlock;
    if (at)
        lastStamp_ = at;
    harvest_.upTo.lastSeq = seqBase + records;
    harvest_.upTo.tailBlock = physical;
    harvest_.upTo.tailStamp = stamp;
    harvest_.upTo.tailRecords = records;
    return Fit::Taken;
}

WholeStatus harvestWhole(const std::vector<std::uint8_t>& image, int used, int first,
                         const RecordLayout& layout, const CollectedUpTo* known, Harvest& out)
{
    out = Harvest{};
    const auto blockAt = [&](int j) -> const std::uint8_t* {
        const int p = (first + j) % layout.blocks;
        return image.size() >= mem::blockAddress(p + 1) ? image.data() + mem::blockAddress(p) : nullptr;
    };
    used = std::clamp(used, 0, layout.blocks);
    while (used > 0 && !blockAt(used - 1))
        --used;
    if (used == 0)
        return WholeStatus::Empty;
    const int rpb = layout.recordsPerBlock;

    // Where logical block 0 lies in the known recording: by the tail block when the memory
    // still holds it as stored, else (a ring that went on) by its stamp.
    std::optional<std::int64_t> base0;
    if (known && layout.step > 0) {
        for (int j = 0; j < used && !base0; ++j) {
            const std::uint8_t* b = blockAt(j);
            if ((first + j) % layout.blocks == known->tailBlock && stampOf(b) == known->tailStamp
                && layout.recordsIn(b) >= known->tailRecords)
                base0 = known->lastSeq - known->tailRecords - std::int64_t(j) * rpb;
        }
        const auto at = stampSeconds(stampOf(blockAt(0)));
        if (!base0 && layout.ring && at && *at >= known->origin)
            base0 = (*at - known->origin + layout.step / 2) / layout.step;
    }
    if (base0) {
        out.origin = known->origin;
        out.lastSeqBefore = known->lastSeq;
        out.upTo = *known;
    } else {
        const auto at = stampSeconds(stampOf(blockAt(0)));
        if (!at)
            return WholeStatus::NoOrigin;
        out.newRecording = true;
        out.origin = *at;
        base0 = 0;
    }

    std::optional<std::int64_t> firstTaken;
    for (int j = 0; j < used; ++j) {
        const std::uint8_t* b = blockAt(j);
        const int records = layout.recordsIn(b);
        const std::int64_t seqBase = *base0 + std::int64_t(j) * rpb;
        const int from = int(std::clamp<std::int64_t>(out.lastSeqBefore - seqBase + 1, 1, rpb + 1));
        if (records >= from) {
            out.blocks.push_back(take((first + j) % layout.blocks, b, seqBase, from, records));
            if (!firstTaken)
                firstTaken = seqBase + from;
        }
        if (seqBase + records > out.upTo.lastSeq || out.newRecording) {
            out.upTo.lastSeq = seqBase + records;
            out.upTo.tailBlock = (first + j) % layout.blocks;
            out.upTo.tailStamp = stampOf(b);
            out.upTo.tailRecords = records;
        }
    }
    out.upTo.origin = out.origin;
    out.upTo.ended = false;
    if (firstTaken && *firstTaken > out.lastSeqBefore + 1 && !out.newRecording)
        out.missing = *firstTaken - out.lastSeqBefore - 1;
    return WholeStatus::Taken;
}

} // namespace qz
