#include "recording/complete_blocks.h"

#include "model/image_reader.h"
#include "model/image_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qz {

CompleteBlocks keepCompleteBlocks(ByteView image, int heldBlocks)
{
    const ImageReader reader(image);
    CompleteBlocks result;
    result.declared = reader.usedBlocks();

    int bestStart = 0;
    int runStart = 0;
    int runLength = 0;
    for (int j = 0; j < result.declared; ++j) {
        if (reader.physicalBlock(j) >= heldBlocks) {
            runLength = 0;
            continue;
        }
        if (runLength++ == 0)
            runStart = j;
        if (runLength > result.kept) {
            result.kept = runLength;
            bestStart = runStart;
        }
    }
    if (result.kept == result.declared)
        return result;

    std::vector<std::uint8_t> kept(std::size_t(result.kept) * mem::kBlockSize);
    for (int n = 0; n < result.kept; ++n) {
        const ConstByteView block = reader.block(reader.physicalBlock(bestStart + n));
        std::copy_n(block.data, mem::kBlockSize, kept.begin() + std::ptrdiff_t(n * mem::kBlockSize));
    }
    const ByteView data = image.part(mem::blockAddress(0));
    std::fill_n(data.data, data.size, std::uint8_t(0));
    std::copy(kept.begin(), kept.end(), data.data);
    ImageWriter writer(image);
    writer.setBlocksUsed(std::uint16_t(result.kept));
    writer.setFirstBlock(0);
    return result;
}

} // namespace qz
