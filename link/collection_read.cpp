#include "link/collection_read.h"

#include "link/block_reader.h"
#include "model/block_check.h"
#include "model/logger_date.h"

#include <span>

namespace qz {

namespace {

// One block read, judged as the download judges it: a damaged one is read again, up to a
// transaction's attempts (a line error heals, damaged memory does not).
struct JudgedBlock {
    LinkStatus status = LinkStatus::Ok;
    bool steady = true;
    BlockJudgement judgement;
};

JudgedBlock readJudged(LoggerProtocol& q, int block, std::uint8_t* out, bool verify, bool ring,
                       LoggerDate& date)
{
    JudgedBlock got;
    for (int attempt = 0; attempt < LoggerProtocol::kAttempts; ++attempt) {
        const CheckedRead r = readBlock(q, block, out, verify);
        got.status = r.status;
        got.steady = r.steady;
        if (r.status != LinkStatus::Ok || !r.steady)
            return got;
        got.judgement = judgeBlock(out, block, ring, date);
        if (got.judgement.kind != BlockKind::Damaged)
            break;
    }
    return got;
}

class Reader {
public:
    Reader(LoggerProtocol& q, Progress& progress, const CollectionOptions& options, LoggerRead& r)
        : q_(q), progress_(progress), options_(options), r_(r)
    {}

    void run();

private:
    bool readHeader();
    // False when the memory must be read whole instead.
    bool readContinue(const std::vector<int>& blocks, const RecordLayout& layout, const CollectedUpTo& known);
    void readWhole(const RecordLayout& layout, const std::optional<CollectedUpTo>& known);
    // Counts the read; false (with the result's end set) when the read failed.
    bool judged(const JudgedBlock& b, int block);
    void noteDate(StampContinuity c, int block);

    LoggerProtocol& q_;
    Progress& progress_;
    const CollectionOptions& options_;
    LoggerRead& r_;
};

bool Reader::readHeader()
{
    struct Area {
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
        std::size_t size;
    };
    static constexpr Area areas[] = {
        {&LoggerProtocol::readIdent, mem::kIdentification, mem::kIdentificationSize},
        {&LoggerProtocol::readCalibration, mem::kCalibration, mem::kCalibrationSize},
        {&LoggerProtocol::readProgram, mem::kProgram, mem::kProgramSize},
        {&LoggerProtocol::readInputTable, mem::kInputTable, mem::kInputTableSize},
    };
    std::vector<std::uint8_t> header(mem::kHeaderSize, 0);
    for (const Area& a : areas) {
        const auto read = [this, &a](std::uint8_t* out) { return (q_.*a.read)(out); };
        const CheckedRead got = readArea(read, header.data() + a.offset, a.size, options_.verify);
        if (got.status != LinkStatus::Ok) {
            r_.end = ReadEnd::LinkFailed;
            r_.link = got.status;
            return false;
        }
        if (!got.steady) {
            r_.end = ReadEnd::Unsteady;
            return false;
        }
    }
    r_.header = std::move(header);
    return true;
}

bool Reader::judged(const JudgedBlock& b, int block)
{
    ++r_.blocksRead;
    if (b.status != LinkStatus::Ok) {
        r_.end = b.status == LinkStatus::Cancelled ? ReadEnd::Cancelled : ReadEnd::LinkFailed;
        r_.link = b.status;
        return false;
    }
    if (!b.steady) {
        r_.end = ReadEnd::Unsteady;
        r_.block = block;
        return false;
    }
    if (b.judgement.kind == BlockKind::Damaged) {
        r_.end = ReadEnd::Damaged;
        r_.block = block;
        return false;
    }
    return true;
}

void Reader::noteDate(StampContinuity c, int block)
{
    if (c != StampContinuity::ImpossibleDate)
        return;
    if (r_.impossibleDates++ == 0)
        r_.firstImpossibleDate = block;
}

bool Reader::readContinue(const std::vector<int>& blocks, const RecordLayout& layout,
                          const CollectedUpTo& known)
{
    ContinueFit fit(layout, known);
    LoggerDate date;
    std::array<std::uint8_t, mem::kBlockSize> tail{};
    std::copy(known.tailStamp.begin(), known.tailStamp.end(), tail.begin() + mem::kBlockStamp);
    date.setFromStamp(tail);
    std::array<std::uint8_t, mem::kBlockSize> block{};
    progress_.setMaximum(int(blocks.size()));
    int done = 0;
    for (int p : blocks) {
        if (progress_.cancelled()) {
            r_.end = ReadEnd::Cancelled;
            break;
        }
        const JudgedBlock b = readJudged(q_, p, block.data(), options_.verify, layout.ring, date);
        progress_.setPosition(++done);
        if (!judged(b, p))
            break;
        // The tail erased is a recording started again over it.
        const bool moved = b.judgement.kind == BlockKind::Erased
            ? fit.expectsTail()
            : fit.add(p, block.data()) == ContinueFit::Fit::Moved;
        if (moved) {
            r_.harvest = fit.harvest();
            return false;
        }
        if (b.judgement.kind == BlockKind::Erased)
            break;
        const std::span<const std::uint8_t> stamp{block.data(), block.size()};
        const StampContinuity c = layout.ring ? date.continuity(stamp) : b.judgement.continuity;
        noteDate(c, p);
        if (!layout.ring || c == StampContinuity::Breaks)
            date.setFromStamp(stamp);
        if (!fit.wantsMore())
            break;
    }
    r_.harvest = fit.harvest();
    r_.harvested = true;
    r_.read = PlanKind::Continue;
    return true;
}

void Reader::readWhole(const RecordLayout& layout, const std::optional<CollectedUpTo>& known)
{
    r_.read = PlanKind::Whole;
    // Cleared, so that blocks which were never read hold nothing that looks recorded.
    std::vector<std::uint8_t> image(mem::kImageSize, 0);
    std::copy(r_.header.begin(), r_.header.end(), image.begin());
    LoggerDate date;
    if (layout.ring)
        date.Year = 9999; // the first block of a ring never continues the date
    progress_.setMaximum(layout.blocks);
    int taken = 0;
    for (int i = 0; i < layout.blocks; ++i) {
        if (progress_.cancelled()) {
            r_.end = ReadEnd::Cancelled;
            break;
        }
        std::uint8_t* block = image.data() + mem::blockAddress(i);
        const JudgedBlock b = readJudged(q_, i, block, options_.verify, layout.ring, date);
        progress_.setPosition(i + 1);
        if (!judged(b, i) || b.judgement.kind == BlockKind::Erased)
            break;
        const std::span<const std::uint8_t> stamp{block, mem::kBlockSize};
        const StampContinuity c = layout.ring ? date.continuity(stamp) : b.judgement.continuity;
        noteDate(c, i);
        if (!layout.ring || c == StampContinuity::Breaks)
            date.setFromStamp(stamp);
        ++taken;
    }
    if (r_.end == ReadEnd::Cancelled)
        return;
    const DeclaredBlocks d =
        declareBlocks(image.data() + mem::kHeaderSize, layout.ring, taken, layout.blocks);
    Harvest h;
    switch (harvestWhole(image, d.used, d.first, layout, known ? &*known : nullptr, h)) {
    case WholeStatus::Taken:
        r_.harvest = h;
        r_.harvested = true;
        break;
    case WholeStatus::Empty:
        if (known) { // nothing in use any more: the store's progress stands
            r_.harvest.origin = known->origin;
            r_.harvest.lastSeqBefore = known->lastSeq;
            r_.harvest.upTo = *known;
            r_.harvested = true;
        }
        break;
    case WholeStatus::NoOrigin:
        if (r_.end == ReadEnd::Read)
            r_.end = ReadEnd::NoOrigin;
        break;
    }
}

void Reader::run()
{
    Clock& clock = q_.port().clock();
    const LinkStatus ping = q_.readClock(r_.clockRecord.data());
    r_.hostTime = clock.localNow();
    if (ping != LinkStatus::Ok) {
        r_.end = ping == LinkStatus::CannotOpen ? ReadEnd::LinkFailed : ReadEnd::NotAnswering;
        r_.link = ping;
        return;
    }
    r_.loggerMs = clockRecordMs(r_.clockRecord.data(), r_.hostTime.date().year());
    if (!readHeader())
        return;
    const ImageReader header = ImageReader::header({r_.header.data(), r_.header.size()});
    if (options_.acceptsModel && !options_.acceptsModel(header.deviceCode())) {
        r_.end = ReadEnd::ModelRefused;
        return;
    }
    if (header.interval() <= 0) {
        r_.end = ReadEnd::NoInterval;
        return;
    }
    const RecordLayout layout(header);
    const std::optional<CollectedUpTo> known =
        options_.collected ? options_.collected(RecordingKey::of(header)) : std::nullopt;
    LoggerNow now;
    if (r_.loggerMs)
        now.clock = *r_.loggerMs / 1000;
    now.runState = r_.clockRecord[mem::kRunState];
    const CollectionPlan plan = planCollection(header, now, known ? &*known : nullptr);
    r_.why = plan.why;
    switch (plan.kind) {
    case PlanKind::Nothing:
        if (known) {
            r_.harvest.origin = known->origin;
            r_.harvest.lastSeqBefore = known->lastSeq;
            r_.harvest.upTo = *known;
            r_.harvested = true;
        }
        break;
    case PlanKind::Continue:
        if (readContinue(plan.blocks, layout, *known))
            break;
        r_.harvest = {};
        readWhole(layout, known);
        break;
    case PlanKind::Whole:
        readWhole(layout, known);
        break;
    }
    // A logger that has stopped records nothing more into this recording: once all of it is
    // stored, later collections read none of its blocks.
    const bool stopped = now.runState != mem::kRunRecording && now.runState != mem::kRunWaiting;
    if (r_.harvested && r_.end == ReadEnd::Read)
        r_.harvest.upTo.ended = stopped;
}

} // namespace

int LoggerRead::batteryCount() const
{
    if (!harvested || harvest.blocks.empty())
        return -1;
    return harvest.blocks.back().bytes[mem::kBatteryCount];
}

LoggerRead readForStore(LoggerProtocol& protocol, Progress& progress, const CollectionOptions& options)
{
    LoggerRead r;
    Reader(protocol, progress, options, r).run();
    return r;
}

} // namespace qz
