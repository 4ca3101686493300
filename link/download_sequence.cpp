#include "link/download_sequence.h"

#include "link/link_texts.h"
#include "model/logger_date.h"
#include "model/values.h"

#include <cstring>
#include <span>

namespace qz {

namespace {

constexpr int kHeader = 384;
constexpr int kBlock = 128;

std::span<const std::uint8_t> blockAt(const std::vector<std::uint8_t>& image, int k)
{
    return {image.data() + kHeader + kBlock * k, kBlock};
}

void putWord(std::vector<std::uint8_t>& image, int address, int value)
{
    image[address] = static_cast<std::uint8_t>(value & 0xFF);
    image[address + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

struct LoopResult {
    int accepted = 0;
    bool cancelled = false;
};

LoopResult readBlocks(LoggerProtocol& q, Progress& progress, Prompt& prompt,
                      std::vector<std::uint8_t>& image, int blocks, bool ring, LoggerDate& date)
{
    LoopResult r;
    int i = 0;
    bool ok = true;
    do {
        if (!ring && i == 0) {
            // Block 0 starts the date chain: the day before its own stamp, so that it
            // continues it.
            std::uint8_t first[kBlock];
            if (q.GetDataBloc(0, first) && LoggerProtocol::CheckData(first)) {
                date.SetFromStamp(first);
                date.PreviousDay();
            }
            if (q.NotResponding())
                break; // told once already; do not ask the same silent logger again
        }
        progress.setPosition(BlockBar(i));
        std::uint8_t* block = image.data() + kHeader + kBlock * i;
        q.GetDataBloc(i, block);
        ok = !q.NotResponding() && LoggerProtocol::CheckData(block);
        if (progress.cancelled()) {
            ok = false;
            r.cancelled = true;
        }
        const auto stamp = blockAt(image, i);
        if (ring) {
            if (ok) {
                if (!date.IsContinuation(stamp, prompt))
                    date.SetFromStamp(stamp);
                ++r.accepted;
                ++i;
            }
        } else if (ok && date.IsContinuation(stamp, prompt)) {
            date.SetFromStamp(stamp);
            ++r.accepted;
            ++i;
        } else {
            ok = false;
        }
    } while (!q.NotResponding() && i < blocks && ok && !r.cancelled);
    return r;
}

// The oldest plausible block of a ring memory; blocks that were not read (still zero) or
// whose stamp is no date take no part.
int oldestBlock(const std::vector<std::uint8_t>& image, int blocks)
{
    LoggerDate date;
    date.Year = 3000;
    double best = date.AsDateTime();
    int first = 0;
    for (int j = 0; j < blocks; ++j) {
        const auto block = blockAt(image, j);
        if (!LoggerProtocol::CheckData(block.data()))
            continue;
        date.SetFromStamp(block);
        double t = 0;
        if (date.TryAsDateTime(t) && t < best) {
            best = t;
            first = j;
        }
    }
    return first;
}

enum class Result { Nothing, Accepted, Ended };

Result download(LoggerProtocol& q, Progress& progress, Prompt& prompt, const AcceptImage& accept)
{
    // Cleared, so that blocks which were never read hold nothing that looks recorded.
    std::vector<std::uint8_t> image(kDownloadImageSize, 0);
    LoggerDate date;
    progress.setCaption(texts::downloadingCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(true);

    q.ReadIdent(image.data());
    const int blocks = MemoryBlocks(static_cast<std::uint16_t>(image[6] | (image[7] << 8)));
    if (!q.NotResponding()) {
        progress.setPosition(33);
        q.ReadCalibration(image.data() + 8);
    }
    if (!q.NotResponding()) {
        progress.setPosition(66);
        q.ReadProgram(image.data() + 40);
    }
    if (!q.NotResponding()) {
        progress.setPosition(100);
        q.ReadInputTable(image.data() + 128);
    }
    // A logger that has wrapped its ring reports a used-block count; the first block
    // read then never continues the date.
    const bool ring = image[118] != 0;
    if (ring)
        date.Year = 9999;
    LoopResult loop;
    if (!q.NotResponding())
        loop = readBlocks(q, progress, prompt, image, blocks, ring, date);
    progress.setCancelEnabled(false);

    if (loop.cancelled)
        return Result::Ended;
    if (loop.accepted < 1 || q.NotResponding())
        return Result::Nothing;

    const int count = ring ? blocks : loop.accepted;
    const int first = ring ? oldestBlock(image, blocks) : 0;
    putWord(image, 118, count);
    putWord(image, 120, first);
    progress.setPosition(100);

    const ImageAcceptance a = accept ? accept(image) : ImageAcceptance{};
    if (a.initialized)
        return Result::Accepted;
    if (a.measurementCount < 2) {
        prompt.tell(texts::tooFewMeasurements(), PromptSymbol::Error);
        return Result::Ended;
    }
    return Result::Nothing;
}

} // namespace

bool GetDloadData(LoggerProtocol& q, Progress& progress, Prompt& prompt, const AcceptImage& accept)
{
    return download(q, progress, prompt, accept) != Result::Nothing;
}

DownloadOutcome RunDownload(LoggerProtocol& q, Progress& progress, Prompt& prompt,
                            const AcceptImage& accept)
{
    if (!q.Ping() && !q.ConfirmConnect())
        return DownloadOutcome::NotConnected;
    switch (download(q, progress, prompt, accept)) {
    case Result::Accepted:
        return DownloadOutcome::Accepted;
    case Result::Ended:
        return DownloadOutcome::Ended;
    case Result::Nothing:
        break;
    }
    prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
    return DownloadOutcome::Failed;
}

} // namespace qz
