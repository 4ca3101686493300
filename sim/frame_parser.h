#pragma once
// The logger's command parser. A frame is "$#$", a command letter, and a payload whose
// length the letter fixes:
//   A, B, E, F, G: none; C: the 16-byte clock record; D: address low, high, count;
//   H: address low, high, count, then count data bytes (count 0 = 256).
// A byte that does not fit the prefix starts the search again (a '$' may begin a new
// frame). A half-received frame is forgotten when the line has been quiet for the pause,
// so a frame that the PC abandoned never swallows the start of the next one.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qz::sim {

struct Frame {
    char letter = 0;
    std::vector<std::uint8_t> payload; // the bytes after the four prefix characters
};

class FrameParser {
public:
    explicit FrameParser(std::int64_t pauseUs) : pauseUs_(pauseUs) {}

    // Takes one byte that arrived at atUs; returns the frame it completes, if any.
    std::optional<Frame> feed(std::uint8_t byte, std::int64_t atUs);

    // True while a frame has begun and is not complete.
    bool inFrame() const { return pos_ > 0; }
    // Position the next byte takes in the current frame (0 = a new frame would begin).
    int position() const { return pos_; }
    // Counts the frames begun so far (a '$' seen while no frame was open).
    std::int64_t framesBegun() const { return framesBegun_; }
    void reset();

    std::int64_t pauseUs() const { return pauseUs_; }
    void setPauseUs(std::int64_t us) { pauseUs_ = us; }

    // Where the byte given to the last feed sat: its index in its frame and the frame's
    // number (counted from 0 as framesBegun); index -1 for a byte outside any frame.
    int lastByteIndex() const { return lastIndex_; }
    std::int64_t lastFrameNumber() const { return framesBegun_ - 1; }

    // Payload length of a command letter (for H without its data bytes), or -1 when the
    // letter is not a command.
    static int fixedPayload(char letter);

private:
    int expectedLength() const; // whole frame, -1 while unknown

    std::int64_t pauseUs_;
    std::int64_t lastUs_ = 0;
    bool seenAny_ = false;
    int pos_ = 0;
    char letter_ = 0;
    std::vector<std::uint8_t> payload_;
    std::int64_t framesBegun_ = 0;
    int lastIndex_ = -1;
};

} // namespace qz::sim
