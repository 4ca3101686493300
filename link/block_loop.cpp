#include "link/block_loop.h"

#include "link/block_reader.h"
#include "link/download_sequence.h"
#include "link/link_texts.h"
#include "model/block_check.h"
#include "model/memory_image.h"

#include <span>

namespace qz {

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
        std::uint8_t* block = image.data() + mem::blockAddress(i);
        BlockJudgement j;
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
            j = judgeBlock(block, i, ring, date);
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
