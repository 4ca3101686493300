// Frame builders: the exact bytes each command puts on the line.
#include "link/logger_frames.h"
#include "model/memory_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace qz {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct FrameCase {
    const char* name;
    std::uint16_t (*build)(std::uint8_t*);
    Bytes expected; // the bytes the builder writes
    std::uint16_t length;
};

std::uint16_t blocMax(std::uint8_t* f)
{
    return frames::readMemory(f, 65280, 128);
}
std::uint16_t bloc256(std::uint8_t* f)
{
    return frames::readMemory(f, 0x1234, 0);
}
std::uint16_t setBloc(std::uint8_t* f)
{
    return frames::writeMemory(f, mem::loggerBlockAddress(3), 128);
}
std::uint16_t calibration(std::uint8_t* f)
{
    return frames::readMemory(f, mem::kCalibration, frames::countByte(mem::kCalibrationSize));
}

TEST(Frames, EveryBuilderLaysItsBytesAndLength)
{
    const FrameCase cases[] = {
        {"reset", frames::reset, {0x24, 0x23, 0x24, 'A'}, 4},
        {"reserve", frames::reserve, {0x24, 0x23, 0x24, 'B'}, 4},
        {"set time", frames::setClock, {0x24, 0x23, 0x24, 'C'}, 20},
        {"ident", frames::readIdent, {0x24, 0x23, 0x24, 'D', 0x00, 0x00, 0x08}, 7},
        {"calibration", calibration, {0x24, 0x23, 0x24, 'D', 0x08, 0x00, 0x20}, 7},
        {"program", frames::readProgram, {0x24, 0x23, 0x24, 'D', 0x28, 0x00, 0x58}, 7},
        {"input table", frames::readInputTable, {0x24, 0x23, 0x24, 'D', 0x80, 0x00, 0x00}, 7},
        {"clock", frames::readClock, {0x24, 0x23, 0x24, 'E'}, 4},
        {"AC readings", frames::readReadingsAC, {0x24, 0x23, 0x24, 'F'}, 4},
        {"DC readings", frames::readReadingsDC, {0x24, 0x23, 0x24, 'G'}, 4},
        {"last block", blocMax, {0x24, 0x23, 0x24, 0x44, 0x00, 0xFF, 0x80}, 7},
        {"256 bytes", bloc256, {0x24, 0x23, 0x24, 'D', 0x34, 0x12, 0x00}, 7},
        {"write block 3", setBloc, {0x24, 0x23, 0x24, 'H', 0x00, 0x03, 0x80}, 7},
    };
    for (const auto& c : cases) {
        std::uint8_t frame[frames::kMaxFrame];
        std::fill(std::begin(frame), std::end(frame), 0xEE);
        EXPECT_EQ(c.build(frame), c.length) << c.name;
        EXPECT_EQ(Bytes(frame, frame + c.expected.size()), c.expected) << c.name;
        // Nothing is written past the builder's own bytes.
        EXPECT_EQ(frame[c.expected.size()], 0xEE) << c.name;
    }
}

TEST(Frames, BlockAddressesWrapAtSixteenBits)
{
    EXPECT_EQ(mem::loggerBlockAddress(0), 384);
    EXPECT_EQ(mem::loggerBlockAddress(507), 65280);
    EXPECT_EQ(mem::loggerBlockAddress(509), (384 + 128 * 509) % 65536);
}

TEST(Frames, ChecksumTestComparesTheWordAfterTheData)
{
    std::uint8_t reply[258];
    std::fill(reply, reply + 256, 0xFF);
    reply[256] = 0x00; // 256 x 0xFF = 0xFF00, low byte first
    reply[257] = 0xFF;
    EXPECT_TRUE(frames::checksumMatches(reply, 255));
    reply[256] = 0x01;
    EXPECT_FALSE(frames::checksumMatches(reply, 255));
    // No data bytes: the sum is 0.
    const std::uint8_t empty[2] = {0, 0};
    EXPECT_TRUE(frames::checksumMatches(empty, -1));
}

} // namespace
} // namespace qz
