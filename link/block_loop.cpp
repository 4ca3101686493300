#include "link/block_loop.h"

#include "link/block_check.h"
#include "link/block_reader.h"
#include "link/download_sequence.h"
#include "link/link_texts.h"
#include "model/memory_image.h"

#include <span>

namespace qz {

namespace {

enum class BlockKind { Recorded, Erased, Damaged };

struct Judgement {
    BlockKind kind = BlockKind::Damaged;
    StampContinuity continuity = StampContinuity::Continues;
};

// What block i holds, against the date of the block before it (linear) or on its own
// (ring). Block 0 of a linear memory starts the date chain: the day before its own stamp.
Judgement judge(const std::uint8_t* block, int i, bool ring, LoggerDate& date)
{
    if (isErasedBlock(block))
        return {BlockKind::Erased};
    if (!isPlausibleBlock(block))
        return {BlockKind::Damaged};
    if (ring)
        return {BlockKind::Recorded};
    const std::span<const std::uint8_t> stamp{block, mem::kBlockSize};
    if (i == 0) {
        date.setFromStamp(stamp);
        date.previousDay();
    }
    const StampContinuity c = date.continuity(stamp);
    return {c == StampContinuity::Breaks ? BlockKind::Damaged : BlockKind::Recorded, c};
}

} // namespace

BlockLoopEnd BlockLoop::run(std::vector<std::uint8_t>& image)
{
    BlockLoopEnd end;
    LoggerDate date;
    // The first block of a ring never continues the date.
    if (ring)
        date.Year = 9999;
    Prompt& prompt = report.prompt();
    for (int i = 0; i < blocks; ++i) {
        progress.block(i, blocks);
        std::uint8_t* block = image.data() + mem::BlockAddress(i);
        Judgement j;
        for (int attempt = 0; attempt < LoggerProtocol::kAttempts; ++attempt) {
            const CheckedRead got = readBlock(protocol, i, block, verify);
            if (!report.ok(got.status)) {
                end.linkFailed = true;
                return end; // told once; do not ask the same silent logger again
            }
            if (!got.steady) {
                end.unsteady = i;
                return end;
            }
            j = judge(block, i, ring, date);
            if (j.kind != BlockKind::Damaged)
                break;
        }
        if (progress.cancelled()) {
            end.cancelled = true;
            return end;
        }
        if (j.kind == BlockKind::Erased)
            return end;
        if (j.kind == BlockKind::Damaged) {
            end.damaged = i;
            return end;
        }
        const std::span<const std::uint8_t> stamp{block, mem::kBlockSize};
        // A stamp that is no instant is warned of and taken, so that one impossible date
        // does not cut the recording short.
        const StampContinuity c = ring ? date.continuity(stamp) : j.continuity;
        if (c == StampContinuity::ImpossibleDate)
            prompt.tell(texts::measurementsDateError(), PromptSymbol::Warning);
        // A ring's date only serves that warning; a linear one is the chain itself.
        if (!ring || c == StampContinuity::Breaks)
            date.setFromStamp(stamp);
        ++end.taken;
    }
    return end;
}

} // namespace qz
