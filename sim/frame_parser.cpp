#include "sim/frame_parser.h"

#include "link/logger_frames.h"
#include "model/memory_image.h"

namespace qz::sim {

namespace {
constexpr std::array<std::uint8_t, 3> kPrefix = {'$', '#', '$'};
}

int FrameParser::fixedPayload(char letter)
{
    switch (letter) {
    case 'A':
    case 'B':
    case 'E':
    case 'F':
    case 'G':
        return 0;
    case 'C':
        return int(mem::kClockRecordSize);
    case 'D':
    case 'H':
        return 3;
    default:
        return -1;
    }
}

void FrameParser::reset()
{
    pos_ = 0;
    letter_ = 0;
    payload_.clear();
}

int FrameParser::expectedLength() const
{
    const int fixed = fixedPayload(letter_);
    if (letter_ != 'H')
        return 4 + fixed;
    if (payload_.size() < 3)
        return -1;
    const int count = payload_[2] == 0 ? frames::kMaxTransfer : payload_[2];
    return frames::kMemoryHeader + count;
}

std::optional<Frame> FrameParser::feed(std::uint8_t byte, std::int64_t atUs)
{
    if (seenAny_ && pos_ > 0 && atUs - lastUs_ >= pauseUs_)
        reset();
    seenAny_ = true;
    lastUs_ = atUs;
    lastIndex_ = pos_;

    if (pos_ < 3) {
        if (byte == kPrefix[std::size_t(pos_)]) {
            if (pos_ == 0)
                ++framesBegun_;
            ++pos_;
        } else {
            // "$$" or "$#$$": the latest '$' may begin the frame.
            reset();
            lastIndex_ = -1;
            if (byte == '$') {
                ++framesBegun_;
                pos_ = 1;
                lastIndex_ = 0;
            }
        }
        return std::nullopt;
    }
    if (pos_ == 3) {
        if (fixedPayload(char(byte)) < 0) {
            reset();
            lastIndex_ = -1;
            if (byte == '$') {
                ++framesBegun_;
                pos_ = 1;
                lastIndex_ = 0;
            }
            return std::nullopt;
        }
        letter_ = char(byte);
        pos_ = 4;
    } else {
        payload_.push_back(byte);
        ++pos_;
    }
    const int length = expectedLength();
    if (length >= 0 && pos_ >= length) {
        Frame f{letter_, std::move(payload_)};
        reset();
        return f;
    }
    return std::nullopt;
}

} // namespace qz::sim
