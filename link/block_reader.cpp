#include "link/block_reader.h"

#include "link/logger_frames.h"
#include "model/memory_image.h"

#include <array>
#include <cstring>

namespace qz {

CheckedRead readArea(const AreaRead& read, std::uint8_t* out, std::size_t size, bool verified)
{
    if (!verified)
        return {read(out), true};
    using Buffer = std::array<std::uint8_t, frames::kMaxTransfer>;
    Buffer first{}, second{}, third{};
    const auto same = [size](const Buffer& a, const Buffer& b) {
        return std::memcmp(a.data(), b.data(), size) == 0;
    };
    if (const LinkStatus s = read(first.data()); s != LinkStatus::Ok)
        return {s, true};
    if (const LinkStatus s = read(second.data()); s != LinkStatus::Ok)
        return {s, true};
    if (same(first, second)) {
        std::memcpy(out, first.data(), size);
        return {};
    }
    if (const LinkStatus s = read(third.data()); s != LinkStatus::Ok)
        return {s, true};
    if (!same(third, first) && !same(third, second))
        return {LinkStatus::Ok, false};
    std::memcpy(out, third.data(), size);
    return {};
}

CheckedRead readBlock(LoggerProtocol& q, int block, std::uint8_t* out, bool verified)
{
    return readArea([&q, block](std::uint8_t* b) { return q.readDataBlock(block, b); }, out, mem::kBlockSize,
                    verified);
}

} // namespace qz
