#pragma once
// Drives an Emulator byte by byte on its own line time, as the PC would: sends a frame,
// and collects what the logger sent back (echoes first, then any reply).
#include "sim/emulator.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qz::sim::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes frame(char letter, std::initializer_list<std::uint8_t> rest = {})
{
    Bytes f = {'$', '#', '$', std::uint8_t(letter)};
    f.insert(f.end(), rest);
    return f;
}

inline Bytes readFrame(unsigned address, std::uint8_t count)
{
    return frame('D', {std::uint8_t(address), std::uint8_t(address >> 8), count});
}

inline Bytes writeFrame(unsigned address, const Bytes& data)
{
    Bytes f = frame('H',
                    {std::uint8_t(address), std::uint8_t(address >> 8),
                     std::uint8_t(data.size() == 256 ? 0 : data.size())});
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

inline Bytes withChecksum(Bytes data)
{
    unsigned sum = 0;
    for (std::uint8_t b : data)
        sum += b;
    data.push_back(std::uint8_t(sum));
    data.push_back(std::uint8_t(sum >> 8));
    return data;
}

struct Driver {
    Emulator& logger;
    std::int64_t nowUs = 0;
    std::int64_t gapUs = 1000; // between two bytes sent

    // Sends the bytes gapUs apart, then waits waitUs and returns everything received.
    Bytes exchange(const Bytes& frame, std::int64_t waitUs = 1000000)
    {
        for (std::uint8_t b : frame) {
            logger.receive(b, nowUs);
            nowUs += gapUs;
        }
        return collect(waitUs);
    }
    Bytes collect(std::int64_t waitUs)
    {
        nowUs += waitUs;
        logger.advanceTo(nowUs);
        Bytes got(70000);
        got.resize(std::size_t(logger.read(got.data(), std::int64_t(got.size()), nowUs)));
        return got;
    }
    // The reply that follows the echo of the frame.
    Bytes reply(const Bytes& frame, std::int64_t waitUs = 1000000)
    {
        const Bytes all = exchange(frame, waitUs);
        if (all.size() < frame.size())
            return {};
        return Bytes(all.begin() + std::ptrdiff_t(frame.size()), all.end());
    }
};

} // namespace qz::sim::test
