#pragma once
// Faults the emulator can be asked to show, so that every failure path of the port and
// the transactions can be driven on purpose.
//
// Frames are numbered as the logger's parser begins them, counted from the moment the
// fault is added: frame 0 is the next frame that begins. A fault covers `frames`
// consecutive frames from `frame` on (0 = every frame from there on). Bytes are numbered
// inside their frame from 0 (the first '$').
#include <cstdint>
#include <vector>

namespace qz::sim {

enum class FaultKind {
    NoEcho, // bytes from `byte` on are received and parsed but not echoed
    WrongEcho, // the echo of byte `byte` is the complement of the byte received
    BadChecksum, // the reply's checksum is one more than the sum
    ShortReply, // the last `withheld` bytes of the reply are never sent
    Silence, // the frame is neither echoed nor carried out
    SlowEcho, // every echo of the frame leaves `delayUs` late (the reply follows it)
    Ignored, // the frame is echoed as usual but not carried out (a write that does
        // not stick, a command the logger drops)
    // Two bit errors in the reply that the checksum cannot see: data bytes byte + k and
    // byte + k + 1 (k: the frame's place in the fault, so that no two replies are hit
    // alike) exchange the lowest bit in which they differ; bytes that are equal stay.
    PairedBitErrors,
};

struct Fault {
    FaultKind kind = FaultKind::NoEcho;
    std::int64_t frame = 0;
    std::int64_t frames = 1;
    int byte = 0;
    int withheld = 1;
    std::int64_t delayUs = 0;
};

// What the faults say about one byte the logger received.
struct ByteFaults {
    bool silent = false;
    bool noEcho = false;
    bool wrongEcho = false;
    std::int64_t echoDelayUs = 0;
};

// What the faults say about the reply to a frame.
struct ReplyFaults {
    bool badChecksum = false;
    int withheld = 0;
    int pairedAt = -1; // the first data byte of the pair hit by paired bit errors
};

// Applies paired bit errors at data bytes at and at + 1 of a reply of count data bytes.
void applyPairedBitErrors(std::uint8_t* data, int count, int at);

class FaultPlan {
public:
    // frameBase: the number of frames the parser has begun so far.
    void add(const Fault& f, std::int64_t frameBase);
    void clear() { armed_.clear(); }
    bool empty() const { return armed_.empty(); }

    ByteFaults forByte(std::int64_t frameNumber, int byteIndex) const;
    ReplyFaults forReply(std::int64_t frameNumber) const;
    bool silent(std::int64_t frameNumber) const;
    bool ignored(std::int64_t frameNumber) const;

private:
    struct Armed {
        Fault fault;
        std::int64_t first; // absolute frame number
    };
    static bool covers(const Armed& a, std::int64_t frameNumber);

    std::vector<Armed> armed_;
};

// Random byte errors on what the logger sends: each byte is hit with the given
// probability and then has one bit flipped. The sequence depends only on the seed.
class ByteErrors {
public:
    void set(double rate, std::uint64_t seed);
    double rate() const { return rate_; }
    std::uint8_t apply(std::uint8_t byte);
    std::int64_t hits() const { return hits_; }

private:
    std::uint64_t next();

    double rate_ = 0.0;
    std::uint64_t state_ = 0;
    std::int64_t hits_ = 0;
};

} // namespace qz::sim
