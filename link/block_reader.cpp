#include "link/block_reader.h"

#include "model/memory_image.h"

#include <cstring>

namespace qz {

namespace {

bool same(const std::uint8_t* a, const std::uint8_t* b)
{
    return std::memcmp(a, b, mem::kBlockSize) == 0;
}

} // namespace

BlockRead readBlock(LoggerProtocol& q, int block, std::uint8_t* out, bool verified)
{
    if (!verified)
        return {q.readDataBlock(block, out), true};
    std::uint8_t first[mem::kBlockSize];
    std::uint8_t second[mem::kBlockSize];
    if (const LinkStatus s = q.readDataBlock(block, first); s != LinkStatus::Ok)
        return {s, true};
    if (const LinkStatus s = q.readDataBlock(block, second); s != LinkStatus::Ok)
        return {s, true};
    if (same(first, second)) {
        std::memcpy(out, first, mem::kBlockSize);
        return {};
    }
    std::uint8_t third[mem::kBlockSize];
    if (const LinkStatus s = q.readDataBlock(block, third); s != LinkStatus::Ok)
        return {s, true};
    if (!same(third, first) && !same(third, second))
        return {LinkStatus::Ok, false};
    std::memcpy(out, third, mem::kBlockSize);
    return {};
}

} // namespace qz
