#include "jobs/download_job.h"

#include "link/block_loop.h"
#include "link/block_reader.h"
#include "link/download_progress.h"
#include "model/block_check.h"
#include "model/byte_view.h"
#include "model/image_reader.h"
#include "model/logger_date.h"
#include "model/values.h"

namespace qz {

namespace {

// Declares the recording's blocks in the image and judges it as the graph window will.
void finish(DownloadResult& r, const DeviceCatalog& catalog, Decision saveUnknownModel)
{
    const DeclaredBlocks d = declareBlocks(r.image.data() + mem::kHeaderSize, r.ring, r.taken, r.blocks);
    const ByteView view{r.image.data(), r.image.size()};
    view.setU16(mem::kBlocksUsed, static_cast<std::uint16_t>(d.used));
    view.setU16(mem::kFirstBlock, static_cast<std::uint16_t>(d.first));
    r.model = catalog.lookUp(r.deviceCode);
    if (!r.model.accepted) {
        // The logger's memory is not lost for a catalogue that does not know its model.
        r.status = DownloadStatus::UnknownModel;
        r.question = saveUnknownModel == Decision::Ask ? Question::SaveUnknownModel : Question::None;
        r.saveAsItIs = saveUnknownModel == Decision::Yes;
        return;
    }
    const bool shown = ImageReader(ConstByteView{r.image.data(), r.image.size()}).recordCount() >= 2;
    r.status = shown ? DownloadStatus::Read : DownloadStatus::TooFewMeasurements;
}

enum class HeaderRead {
    Done,
    LinkFailed,
    Unsteady
};

// The header areas, read in order (verified as the blocks are: the calibration and the
// scales make the values); each runs only when the one before was answered.
HeaderRead readHeader(LoggerProtocol& q, DownloadProgress& progress, bool verify, std::uint8_t* image,
                      LinkStatus& failed)
{
    struct Step {
        int step; // of the bar, before the area is read
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
        std::size_t size;
    };
    const Step steps[] = {
        {0, &LoggerProtocol::readIdent, mem::kIdentification, mem::kIdentificationSize},
        {1, &LoggerProtocol::readCalibration, mem::kCalibration, mem::kCalibrationSize},
        {2, &LoggerProtocol::readProgram, mem::kProgram, mem::kProgramSize},
        {3, &LoggerProtocol::readInputTable, mem::kInputTable, mem::kInputTableSize},
    };
    for (const Step& s : steps) {
        progress.header(s.step);
        const auto read = [&q, &s](std::uint8_t* out) { return (q.*s.read)(out); };
        const CheckedRead got = readArea(read, image + s.offset, s.size, verify);
        if (got.status != LinkStatus::Ok) {
            failed = got.status;
            return HeaderRead::LinkFailed;
        }
        if (!got.steady)
            return HeaderRead::Unsteady;
    }
    return HeaderRead::Done;
}

} // namespace

DownloadResult downloadJob(LoggerProtocol& q, const DownloadPolicy& policy, const DeviceCatalog& catalog,
                           Progress& progress)
{
    DownloadResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, policy.connect, watch, r)) {
        r.status =
            r.question == Question::Connect ? DownloadStatus::NotConnected : DownloadStatus::LinkFailed;
        return r;
    }
    // Cleared, so that blocks which were never read hold nothing that looks recorded.
    r.image.assign(mem::kImageSize, 0);
    const ByteView view{r.image.data(), r.image.size()};
    DownloadProgress shown(progress, q.port().clock());
    shown.begin();

    LinkStatus failed = LinkStatus::Ok;
    if (const HeaderRead h = readHeader(q, shown, policy.verify, r.image.data(), failed);
        h != HeaderRead::Done) {
        progress.setCancelEnabled(false);
        r.status = h == HeaderRead::Unsteady ? DownloadStatus::UnsteadyHeader : DownloadStatus::LinkFailed;
        r.link = watch.failure(failed);
        return r;
    }
    r.deviceCode = view.u16(mem::kDeviceCode);
    r.blocks = memoryBlocks(r.deviceCode);
    // A logger that has wrapped its ring reports a used-block count.
    r.ring = view.u8(mem::kBlocksUsed) != 0;
    BlockLoop loop{q, shown};
    loop.verify = policy.verify;
    loop.ring = r.ring;
    loop.blocks = r.blocks;
    const BlockLoopEnd end = loop.run(r.image);
    progress.setCancelEnabled(false);
    r.taken = end.taken;
    if (end.impossibleDates > 0)
        r.findings << Finding{FindingKind::ImpossibleDate, end.impossibleDates, end.firstImpossibleDate};

    if (end.cancelled) {
        r.status = DownloadStatus::Cancelled;
        return r;
    }
    if (end.link != LinkStatus::Ok) {
        r.status = DownloadStatus::LinkFailed;
        r.link = watch.failure(end.link);
        return r;
    }
    if (end.unsteady >= 0) {
        r.status = DownloadStatus::UnsteadyBlock;
        r.block = end.unsteady;
        return r;
    }
    if (end.damaged >= 0) {
        r.block = end.damaged;
        r.status = DownloadStatus::Damaged;
        // Nothing before block 0 to keep.
        if (end.taken == 0 || policy.keepPartial == Decision::No)
            return r;
        if (policy.keepPartial == Decision::Ask) {
            r.question = Question::KeepPartial;
            return r;
        }
        addFinding(r.findings, FindingKind::DamagedBlock, end.damaged);
    }
    if (end.taken < 1) {
        r.status = DownloadStatus::NothingUsable;
        return r;
    }
    shown.end();
    finish(r, catalog, policy.saveUnknownModel);
    return r;
}

DownloadResult keepPartRead(const DownloadResult& asked, const DeviceCatalog& catalog,
                            Decision saveUnknownModel)
{
    DownloadResult r = asked;
    r.findings.clear();
    r.question = Question::None;
    if (asked.question != Question::KeepPartial || r.taken < 1)
        return r;
    finish(r, catalog, saveUnknownModel);
    return r;
}

} // namespace qz
