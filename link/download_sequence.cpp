#include "link/download_sequence.h"

#include "link/block_check.h"
#include "link/link_report.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/logger_date.h"
#include "model/memory_image.h"
#include "model/values.h"

#include <span>

namespace qz {

namespace {

std::uint8_t* blockAt(std::vector<std::uint8_t>& image, int k)
{
    return image.data() + mem::BlockAddress(k);
}

std::span<const std::uint8_t> stampOf(const std::vector<std::uint8_t>& image, int k)
{
    return {image.data() + mem::BlockAddress(k), mem::kBlockSize};
}

// Whether the block continues the date. A stamp or date that is no instant is warned of
// and taken as continuing, so one damaged stamp does not cut the recording short.
bool continues(const LoggerDate& date, std::span<const std::uint8_t> block, Prompt& prompt)
{
    switch (date.continuity(block)) {
    case StampContinuity::Continues:
        return true;
    case StampContinuity::Breaks:
        return false;
    case StampContinuity::ImpossibleDate:
        break;
    }
    prompt.tell(texts::measurementsDateError(), PromptSymbol::Warning);
    return true;
}

struct LoopResult {
    int accepted = 0;
    bool cancelled = false;
    bool linkFailed = false;
};

LoopResult readBlocks(LoggerProtocol& q, Progress& progress, LinkReport& report,
                      std::vector<std::uint8_t>& image, int blocks, bool ring, LoggerDate& date)
{
    LoopResult r;
    int i = 0;
    bool ok = true;
    do {
        if (!ring && i == 0) {
            // Block 0 starts the date chain: the day before its own stamp, so that it
            // continues it.
            std::uint8_t first[mem::kBlockSize];
            if (!report.ok(q.readDataBlock(0, first))) {
                r.linkFailed = true;
                break; // told once; do not ask the same silent logger again
            }
            if (isPlausibleBlock(first)) {
                date.setFromStamp(first);
                date.previousDay();
            }
        }
        progress.setPosition(blockBar(i));
        std::uint8_t* block = blockAt(image, i);
        r.linkFailed = !report.ok(q.readDataBlock(i, block));
        ok = !r.linkFailed && isPlausibleBlock(block);
        if (progress.cancelled()) {
            ok = false;
            r.cancelled = true;
        }
        const auto stamp = stampOf(image, i);
        if (ring) {
            if (ok) {
                if (!continues(date, stamp, report.prompt()))
                    date.setFromStamp(stamp);
                ++r.accepted;
                ++i;
            }
        } else if (ok && continues(date, stamp, report.prompt())) {
            date.setFromStamp(stamp);
            ++r.accepted;
            ++i;
        } else {
            ok = false;
        }
    } while (!r.linkFailed && i < blocks && ok && !r.cancelled);
    return r;
}

// The oldest plausible block of a ring memory; blocks that were not read (still zero) or
// whose stamp is no date take no part.
int oldestBlock(const std::vector<std::uint8_t>& image, int blocks)
{
    LoggerDate date;
    date.Year = 3000;
    double best = date.asDateTime();
    int first = 0;
    for (int j = 0; j < blocks; ++j) {
        const auto block = stampOf(image, j);
        if (!isPlausibleBlock(block.data()))
            continue;
        date.setFromStamp(block);
        double t = 0;
        if (date.tryAsDateTime(t) && t < best) {
            best = t;
            first = j;
        }
    }
    return first;
}

// The header areas, read in order; each runs only when the one before was answered.
bool readHeader(LoggerProtocol& q, Progress& progress, LinkReport& report, std::uint8_t* image)
{
    struct Step {
        int bar;
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
    };
    const Step steps[] = {
        {-1, &LoggerProtocol::readIdent, mem::kIdentification},
        {33, &LoggerProtocol::readCalibration, mem::kCalibration},
        {66, &LoggerProtocol::readProgram, mem::kProgram},
        {100, &LoggerProtocol::readInputTable, mem::kInputTable},
    };
    for (const Step& s : steps) {
        if (s.bar >= 0)
            progress.setPosition(s.bar);
        if (!report.ok((q.*s.read)(image + s.offset)))
            return false;
    }
    return true;
}

} // namespace

DownloadEnd downloadRecording(LoggerProtocol& q, Progress& progress, LinkReport& report,
                              const AcceptImage& accept)
{
    // Cleared, so that blocks which were never read hold nothing that looks recorded.
    std::vector<std::uint8_t> image(mem::kImageSize, 0);
    const ByteView view{image.data(), image.size()};
    LoggerDate date;
    progress.setCaption(texts::downloadingCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(true);

    const bool headerRead = readHeader(q, progress, report, image.data());
    const int blocks = MemoryBlocks(view.u16(mem::kDeviceCode));
    // A logger that has wrapped its ring reports a used-block count; the first block
    // read then never continues the date.
    const bool ring = view.u8(mem::kBlocksUsed) != 0;
    if (ring)
        date.Year = 9999;
    LoopResult loop;
    if (headerRead)
        loop = readBlocks(q, progress, report, image, blocks, ring, date);
    progress.setCancelEnabled(false);

    if (loop.cancelled)
        return DownloadEnd::Ended;
    if (!headerRead || loop.accepted < 1 || loop.linkFailed)
        return DownloadEnd::NothingUsable;

    const int count = ring ? blocks : loop.accepted;
    const int first = ring ? oldestBlock(image, blocks) : 0;
    view.setU16(mem::kBlocksUsed, static_cast<std::uint16_t>(count));
    view.setU16(mem::kFirstBlock, static_cast<std::uint16_t>(first));
    progress.setPosition(100);

    const ImageAcceptance a = accept ? accept(image) : ImageAcceptance{};
    if (a.initialized)
        return DownloadEnd::Accepted;
    if (a.measurementCount < 2) {
        report.prompt().tell(texts::tooFewMeasurements(), PromptSymbol::Error);
        return DownloadEnd::Ended;
    }
    return DownloadEnd::NothingUsable;
}

DownloadOutcome runDownload(LoggerProtocol& q, Progress& progress, Prompt& prompt,
                            const AcceptImage& accept)
{
    LinkReport report(q, prompt);
    if (q.ping() != LinkStatus::Ok && !report.confirmConnect())
        return DownloadOutcome::NotConnected;
    switch (downloadRecording(q, progress, report, accept)) {
    case DownloadEnd::Accepted:
        return DownloadOutcome::Accepted;
    case DownloadEnd::Ended:
        return DownloadOutcome::Ended;
    case DownloadEnd::NothingUsable:
        break;
    }
    prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
    return DownloadOutcome::Failed;
}

} // namespace qz
