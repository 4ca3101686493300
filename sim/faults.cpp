#include "sim/faults.h"

namespace qz::sim {

void FaultPlan::add(const Fault& f, std::int64_t frameBase)
{
    armed_.push_back({f, frameBase + (f.frame < 0 ? 0 : f.frame)});
}

bool FaultPlan::covers(const Armed& a, std::int64_t frameNumber)
{
    if (frameNumber < a.first)
        return false;
    return a.fault.frames <= 0 || frameNumber < a.first + a.fault.frames;
}

bool FaultPlan::silent(std::int64_t frameNumber) const
{
    for (const Armed& a : armed_)
        if (a.fault.kind == FaultKind::Silence && covers(a, frameNumber))
            return true;
    return false;
}

bool FaultPlan::ignored(std::int64_t frameNumber) const
{
    for (const Armed& a : armed_)
        if (a.fault.kind == FaultKind::Ignored && covers(a, frameNumber))
            return true;
    return false;
}

ByteFaults FaultPlan::forByte(std::int64_t frameNumber, int byteIndex) const
{
    ByteFaults r;
    if (byteIndex < 0)
        return r;
    for (const Armed& a : armed_) {
        if (!covers(a, frameNumber))
            continue;
        switch (a.fault.kind) {
        case FaultKind::NoEcho:
            r.noEcho = r.noEcho || byteIndex >= a.fault.byte;
            break;
        case FaultKind::WrongEcho:
            r.wrongEcho = r.wrongEcho || byteIndex == a.fault.byte;
            break;
        case FaultKind::Silence:
            r.silent = true;
            break;
        case FaultKind::SlowEcho:
            r.echoDelayUs += a.fault.delayUs;
            break;
        default:
            break;
        }
    }
    return r;
}

ReplyFaults FaultPlan::forReply(std::int64_t frameNumber) const
{
    ReplyFaults r;
    for (const Armed& a : armed_) {
        if (!covers(a, frameNumber))
            continue;
        if (a.fault.kind == FaultKind::BadChecksum)
            r.badChecksum = true;
        else if (a.fault.kind == FaultKind::PairedBitErrors)
            r.pairedAt = a.fault.byte + int(frameNumber - a.first);
        else if (a.fault.kind == FaultKind::ShortReply)
            r.withheld += a.fault.withheld < 0 ? 0 : a.fault.withheld;
    }
    return r;
}

void applyPairedBitErrors(std::uint8_t* data, int count, int at)
{
    if (at < 0 || at + 1 >= count)
        return;
    const unsigned differ = unsigned(data[at] ^ data[at + 1]);
    if (differ == 0)
        return;
    // One bit set in one byte and clear in the other: flipping it in both keeps the sum.
    const std::uint8_t bit = std::uint8_t(differ & (~differ + 1));
    data[at] ^= bit;
    data[at + 1] ^= bit;
}

void ByteErrors::set(double rate, std::uint64_t seed)
{
    rate_ = rate < 0 ? 0 : (rate > 1 ? 1 : rate);
    state_ = seed;
    hits_ = 0;
}

std::uint64_t ByteErrors::next()
{
    // splitmix64: small, fast and the same on every platform.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint8_t ByteErrors::apply(std::uint8_t byte)
{
    if (rate_ <= 0.0)
        return byte;
    const std::uint64_t r = next();
    const double u = double(r >> 11) * (1.0 / 9007199254740992.0);
    if (u >= rate_)
        return byte;
    ++hits_;
    return std::uint8_t(byte ^ (1u << (r & 7)));
}

} // namespace qz::sim
