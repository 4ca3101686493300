#include "link/block_reader.h"

#include "link/logger_frames.h"
#include "model/memory_image.h"

#include <array>
#include <cstring>

namespace qz {

namespace {

// A reply that came damaged may come whole next time; silence or a closed port will not.
bool worthAnotherRead(LinkStatus s)
{
    return s == LinkStatus::BadEcho || s == LinkStatus::ShortReply || s == LinkStatus::BadChecksum;
}

} // namespace

CheckedRead readArea(const AreaRead& read, std::uint8_t* out, std::size_t size, bool verified)
{
    if (!verified)
        return {read(out), true, 1};
    using Buffer = std::array<std::uint8_t, frames::kMaxTransfer>;
    std::array<Buffer, kVerifiedReads> got{};
    int kept = 0;
    CheckedRead r;
    r.status = LinkStatus::Ok;
    while (r.reads < kVerifiedReads) {
        ++r.reads;
        Buffer& next = got[std::size_t(kept)];
        if (const LinkStatus s = read(next.data()); s != LinkStatus::Ok) {
            r.status = s;
            if (!worthAnotherRead(s))
                return r;
            continue;
        }
        for (int k = 0; k < kept; ++k) {
            if (std::memcmp(got[std::size_t(k)].data(), next.data(), size) == 0) {
                std::memcpy(out, next.data(), size);
                r.status = LinkStatus::Ok;
                return r;
            }
        }
        ++kept;
    }
    // Replies came, but no two alike: the line damages more than a sum can see. Fewer than
    // two replies is a read that failed, told as such.
    if (kept >= 2) {
        r.status = LinkStatus::Ok;
        r.steady = false;
    }
    return r;
}

CheckedRead readBlock(LoggerProtocol& q, int block, std::uint8_t* out, bool verified)
{
    return readArea([&q, block](std::uint8_t* b) { return q.readDataBlock(block, b); }, out, mem::kBlockSize,
                    verified);
}

} // namespace qz
