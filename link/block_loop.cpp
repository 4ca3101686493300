#include "link/block_loop.h"

#include "link/block_reader.h"
#include "model/block_check.h"
#include "model/memory_image.h"

#include <span>

namespace qz {

namespace {

bool isDate(std::span<const std::uint8_t> stamp)
{
    LoggerDate own;
    own.setFromStamp(stamp);
    double t = 0;
    return own.tryAsDateTime(t);
}

} // namespace

BlockLoopEnd BlockLoop::run(std::vector<std::uint8_t>& image)
{
    BlockLoopEnd end;
    LoggerDate date;
    for (int i = 0; i < blocks; ++i) {
        progress.block(i, blocks);
        std::uint8_t* block = image.data() + mem::blockAddress(i);
        BlockJudgement j;
        for (int attempt = 0; attempt < LoggerProtocol::kAttempts; ++attempt) {
            const CheckedRead got = readBlock(protocol, i, block, verify);
            if (got.status != LinkStatus::Ok) {
                end.link = got.status;
                return end; // do not ask the same silent logger again
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
        if (!isDate(stamp) && end.impossibleDates++ == 0)
            end.firstImpossibleDate = i;
        // A linear memory is one chain of dates; where a ring begins is found afterwards.
        if (!ring)
            date.setFromStamp(stamp);
        ++end.taken;
    }
    return end;
}

} // namespace qz
