#include "jobs/collect_job.h"

#include "jobs/collect_texts.h"
#include "jobs/logger_presence.h"
#include "link/block_loop.h"
#include "link/block_reader.h"
#include "link/download_progress.h"
#include "link/link_texts.h"
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

bool isDate(std::span<const std::uint8_t> block)
{
    LoggerDate own;
    own.setFromStamp(block);
    double t = 0;
    return own.tryAsDateTime(t);
}

class Collection {
public:
    Collection(LoggerProtocol& q, const CollectPolicy& policy, Progress& progress, CollectResult& r)
        : q_(q), policy_(policy), progress_(progress), r_(r), watch_(q)
    {}

    void run(const DeviceCatalog& catalog);

private:
    bool readHeader();
    // False when the memory must be read whole instead.
    bool readContinue(const std::vector<int>& blocks, const RecordLayout& layout, const CollectedUpTo& known);
    void readWhole(const RecordLayout& layout, const std::optional<CollectedUpTo>& known);
    // Counts the read; false (with the result's status set) when it failed.
    bool judged(const JudgedBlock& b, int block);
    void keep(const CollectedUpTo& known);

    LoggerProtocol& q_;
    const CollectPolicy& policy_;
    Progress& progress_;
    CollectResult& r_;
    LinkWatch watch_;
};

bool Collection::readHeader()
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
        const CheckedRead got = readArea(read, header.data() + a.offset, a.size, policy_.verify);
        if (got.status != LinkStatus::Ok) {
            r_.link = watch_.failure(got.status);
            return false;
        }
        if (!got.steady) {
            r_.status = CollectStatus::UnsteadyHeader;
            return false;
        }
    }
    r_.header = std::move(header);
    return true;
}

bool Collection::judged(const JudgedBlock& b, int block)
{
    ++r_.blocksRead;
    if (b.status != LinkStatus::Ok) {
        r_.status = b.status == LinkStatus::Cancelled ? CollectStatus::Cancelled : CollectStatus::LinkFailed;
        r_.link = watch_.failure(b.status);
        return false;
    }
    if (!b.steady) {
        r_.status = CollectStatus::UnsteadyBlock;
        r_.block = block;
        return false;
    }
    if (b.judgement.kind == BlockKind::Damaged) {
        r_.status = CollectStatus::Damaged;
        r_.block = block;
        return false;
    }
    return true;
}

void Collection::keep(const CollectedUpTo& known)
{
    r_.harvest = Harvest{};
    r_.harvest.origin = known.origin;
    r_.harvest.lastSeqBefore = known.lastSeq;
    r_.harvest.upTo = known;
    r_.harvested = true;
}

bool Collection::readContinue(const std::vector<int>& blocks, const RecordLayout& layout,
                              const CollectedUpTo& known)
{
    ContinueFit fit(layout, known);
    // The chain of dates goes on from the tail's stamp, as the download's from the block
    // before.
    LoggerDate date;
    std::array<std::uint8_t, mem::kBlockSize> tail{};
    std::copy(known.tailStamp.begin(), known.tailStamp.end(), tail.begin() + mem::kBlockStamp);
    date.setFromStamp(tail);
    std::array<std::uint8_t, mem::kBlockSize> block{};
    progress_.setMaximum(int(blocks.size()));
    int done = 0;
    for (int p : blocks) {
        if (progress_.cancelled()) {
            r_.status = CollectStatus::Cancelled;
            break;
        }
        const JudgedBlock b = readJudged(q_, p, block.data(), policy_.verify, layout.ring, date);
        progress_.setPosition(++done);
        if (!judged(b, p))
            break;
        // The tail erased is a recording started again over it.
        const bool erased = b.judgement.kind == BlockKind::Erased;
        if (erased ? fit.expectsTail() : fit.add(p, block.data()) == ContinueFit::Fit::Moved)
            return false;
        if (erased)
            break;
        const std::span<const std::uint8_t> stamp{block.data(), block.size()};
        if (!isDate(stamp))
            addFinding(r_.findings, FindingKind::ImpossibleDate, p);
        if (!layout.ring)
            date.setFromStamp(stamp);
        if (!fit.wantsMore())
            break;
    }
    r_.harvest = fit.harvest();
    r_.harvested = true;
    r_.read = PlanKind::Continue;
    return true;
}

void Collection::readWhole(const RecordLayout& layout, const std::optional<CollectedUpTo>& known)
{
    r_.read = PlanKind::Whole;
    r_.findings.clear();
    // As the download reads it: cleared, so that blocks which were never read hold nothing
    // that looks recorded, then the same block loop.
    std::vector<std::uint8_t> image(mem::kImageSize, 0);
    std::copy(r_.header.begin(), r_.header.end(), image.begin());
    DownloadProgress shown(progress_, q_.port().clock());
    BlockLoop loop{q_, shown};
    loop.verify = policy_.verify;
    loop.ring = layout.ring;
    loop.blocks = layout.blocks;
    const BlockLoopEnd end = loop.run(image);
    // The loop reads the block that ends the recording too.
    r_.blocksRead += end.taken + (end.taken < layout.blocks && !end.cancelled ? 1 : 0);
    if (end.impossibleDates > 0)
        r_.findings << Finding{FindingKind::ImpossibleDate, end.impossibleDates, end.firstImpossibleDate};
    if (end.cancelled) {
        r_.status = CollectStatus::Cancelled;
        return;
    }
    if (end.link != LinkStatus::Ok) {
        r_.status = CollectStatus::LinkFailed;
        r_.link = watch_.failure(end.link);
    } else if (end.unsteady >= 0) {
        r_.status = CollectStatus::UnsteadyBlock;
        r_.block = end.unsteady;
    } else if (end.damaged >= 0) {
        r_.status = CollectStatus::Damaged;
        r_.block = end.damaged;
    }
    const DeclaredBlocks d =
        declareBlocks(image.data() + mem::kHeaderSize, layout.ring, end.taken, layout.blocks);
    Harvest h;
    switch (harvestWhole(image, d.used, d.first, layout, known ? &*known : nullptr, h)) {
    case WholeStatus::Taken:
        r_.harvest = h;
        r_.harvested = true;
        break;
    case WholeStatus::Empty:
        if (known) // nothing in use any more: the store's progress stands
            keep(*known);
        break;
    case WholeStatus::NoOrigin:
        if (r_.status == CollectStatus::Collected)
            r_.status = CollectStatus::NoOrigin;
        break;
    }
}

void Collection::run(const DeviceCatalog& catalog)
{
    if (!loggerIsThere(q_, ConnectPolicy::Require, watch_, r_))
        return;
    if (!readHeader())
        return;
    const ImageReader header = ImageReader::header({r_.header.data(), r_.header.size()});
    r_.deviceCode = header.deviceCode();
    if (policy_.claim && !policy_.claim(header.serialNumber())) {
        r_.status = CollectStatus::Skipped;
        return;
    }
    // Its memory is not read for a model the catalogue does not know.
    if (!catalog.lookUp(r_.deviceCode).accepted) {
        r_.status = CollectStatus::UnknownModel;
        return;
    }
    if (header.interval() <= 0) {
        r_.status = CollectStatus::NoInterval;
        return;
    }
    r_.status = CollectStatus::Collected;
    const RecordLayout layout(header);
    const std::optional<CollectedUpTo> known =
        policy_.collected ? policy_.collected(RecordingKey::of(header)) : std::nullopt;
    LoggerNow now;
    if (const std::optional<std::int64_t> ms = r_.loggerMs())
        now.clock = *ms / 1000;
    now.runState = r_.clock.runState();
    const CollectionPlan plan = planCollection(header, now, known ? &*known : nullptr);
    r_.why = plan.why;
    switch (plan.kind) {
    case PlanKind::Nothing:
        if (known)
            keep(*known);
        break;
    case PlanKind::Continue:
        if (!readContinue(plan.blocks, layout, *known)) {
            r_.harvest = Harvest{};
            readWhole(layout, known);
        }
        break;
    case PlanKind::Whole:
        readWhole(layout, known);
        break;
    }
    // A logger that has stopped records nothing more into this recording: once all of it is
    // stored, later collections read none of its blocks.
    const bool stopped = now.runState != mem::kRunRecording && now.runState != mem::kRunWaiting;
    if (r_.harvested && r_.status == CollectStatus::Collected)
        r_.harvest.upTo.ended = stopped;
}

} // namespace

int CollectResult::batteryCount() const
{
    if (!harvested || harvest.blocks.empty())
        return -1;
    return harvest.blocks.back().bytes[mem::kBatteryCount];
}

std::optional<std::int64_t> CollectResult::loggerMs() const
{
    if (!clock.read())
        return std::nullopt;
    return clockRecordMs(clock.logger.data(), clock.host.date().year());
}

CollectResult collectJob(LoggerProtocol& protocol, const CollectPolicy& policy, const DeviceCatalog& catalog,
                         Progress& progress)
{
    CollectResult r;
    Collection(protocol, policy, progress, r).run(catalog);
    return r;
}

QString collectOutcome(const CollectResult& r)
{
    switch (r.status) {
    case CollectStatus::Collected:
        return QStringLiteral("ok");
    case CollectStatus::LinkFailed:
        if (const std::optional<Message> m = linkMessage(r.link))
            return m->text;
        return texts::deviceNotResponding();
    case CollectStatus::Cancelled:
        return texts::collectionCancelled();
    case CollectStatus::UnknownModel:
        return texts::modelNotCollected(r.deviceCode);
    case CollectStatus::NoInterval:
        return texts::noInterval();
    case CollectStatus::UnsteadyHeader:
        return texts::unsteadyHeaderRead();
    case CollectStatus::UnsteadyBlock:
        return texts::unsteadyBlockRead(r.block);
    case CollectStatus::Damaged:
        return texts::damagedBlockRead(r.block);
    case CollectStatus::NoOrigin:
        return texts::noOrigin();
    case CollectStatus::Skipped:
        return texts::collectedElsewhere();
    }
    return {};
}

} // namespace qz
