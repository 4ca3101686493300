#include "sim/emulator.h"

#include "link/logger_frames.h"
#include "model/memory_image.h"

#include <algorithm>
#include <cmath>

namespace qz::sim {

Emulator::Emulator(const EmulatorOptions& options)
    : options_(options), logger_(options.clock, options.seed), parser_(options.parserPauseUs),
      modem_(options.modem)
{
    if (!(options_.timeSpeed > 0))
        options_.timeSpeed = 1.0;
}

void Emulator::setTimeSpeed(double speed)
{
    if (speed > 0)
        options_.timeSpeed = speed;
}

void Emulator::advanceTo(std::int64_t lineUs)
{
    if (lineUs <= lineUs_)
        return;
    std::int64_t step = lineUs - lineUs_;
    if (options_.timeSpeed != 1.0) {
        const double d = double(step) * options_.timeSpeed + elapsedCarry_;
        step = std::int64_t(std::floor(d));
        elapsedCarry_ = d - double(step);
    }
    lineUs_ = lineUs;
    logger_.advance(logger_.elapsedUs() + step);
}

void Emulator::setLineTime(std::int64_t lineUs)
{
    lineUs_ = lineUs;
    lastOutUs_ = std::max(lastOutUs_, lineUs);
}

std::int64_t Emulator::commands(char letter) const
{
    const auto it = commands_.find(letter);
    return it == commands_.end() ? 0 : it->second;
}

void Emulator::queueOut(std::uint8_t byte, std::int64_t atUs)
{
    std::int64_t at = std::max(atUs, lastOutUs_);
    if (options_.paced)
        at = toPc_.send(at);
    lastOutUs_ = at;
    ++bytesOut_;
    out_.push_back({errors_.apply(byte), at});
}

void Emulator::receive(std::uint8_t byte, std::int64_t sentUs)
{
    std::int64_t at = options_.paced ? toLogger_.send(sentUs) : sentUs;
    at = std::max(at, lineUs_);
    advanceTo(at);
    ++bytesIn_;
    if (!modem_.enabled()) {
        toLogger(byte, at, 0);
        return;
    }
    std::vector<ModemFront::Output> said;
    int cancelled = 0;
    std::string pluses;
    const bool pass = modem_.receive(byte, at, said, cancelled, pluses);
    if (cancelled > 0) { // the escape was cancelled: take back its "OK", not yet sent
        for (; cancelled > 0 && !out_.empty(); --cancelled)
            out_.pop_back();
        lastOutUs_ = out_.empty() ? at : out_.back().atUs;
    }
    if (modem_.takeAbortedDial()) { // the call's rings and result, not yet due, never come
        while (!out_.empty() && out_.back().atUs > at)
            out_.pop_back();
        lastOutUs_ = out_.empty() ? at : std::max(at, out_.back().atUs);
    }
    for (const ModemFront::Output& o : said)
        for (char c : o.text)
            queueOut(std::uint8_t(c), o.atUs);
    if (!pass)
        return;
    const std::int64_t latency = modem_.latencyUs();
    for (char c : pluses)
        toLogger(std::uint8_t(c), at + latency, latency);
    toLogger(byte, at + latency, latency);
}

void Emulator::toLogger(std::uint8_t byte, std::int64_t at, std::int64_t outDelayUs)
{
    if (silent_)
        return;
    const std::optional<Frame> frame = parser_.feed(byte, at);
    const std::int64_t number = parser_.lastFrameNumber();
    const ByteFaults bf = faults_.forByte(number, parser_.lastByteIndex());
    if (bf.silent)
        return;
    const std::int64_t outAt = at + bf.echoDelayUs + outDelayUs;
    if (!bf.noEcho)
        queueOut(bf.wrongEcho ? std::uint8_t(~byte) : byte, outAt);
    if (frame)
        carryOut(*frame, outAt, number);
}

void Emulator::carryOut(const Frame& f, std::int64_t atUs, std::int64_t frameNumber)
{
    const bool ignored = faults_.ignored(frameNumber);
    if (keepLog_) {
        LoggedFrame logged{f.letter, 0, 0, !ignored, f.payload};
        if ((f.letter == 'D' || f.letter == 'H') && f.payload.size() >= 3) {
            logged.address = std::uint16_t(f.payload[0] | f.payload[1] << 8);
            logged.count = f.payload[2] == 0 ? frames::kMaxTransfer : f.payload[2];
            logged.data.erase(logged.data.begin(), logged.data.begin() + 3);
        }
        log_.push_back(logged);
    }
    if (ignored)
        return;
    ++commands_[f.letter];
    ++commandsTotal_;
    std::uint8_t* m = logger_.memory();
    switch (f.letter) {
    case 'A':
        logger_.reset();
        break;
    case 'C':
        logger_.writeClockRecord(f.payload.data());
        break;
    case 'D': {
        const unsigned address = f.payload[0] | unsigned(f.payload[1]) << 8;
        const int count = f.payload[2] == 0 ? frames::kMaxTransfer : f.payload[2];
        std::uint8_t data[frames::kMaxTransfer];
        for (int i = 0; i < count; ++i)
            data[i] = m[(address + unsigned(i)) % mem::kLoggerMemorySize];
        reply(data, count, atUs, frameNumber);
        break;
    }
    case 'E': {
        const ClockRecord r = logger_.clockRecord();
        reply(r.data(), int(r.size()), atUs, frameNumber);
        break;
    }
    case 'F':
    case 'G': {
        const Readings r = logger_.readings();
        reply(r.data(), int(r.size()), atUs, frameNumber);
        break;
    }
    case 'H': {
        const unsigned address = f.payload[0] | unsigned(f.payload[1]) << 8;
        for (std::size_t i = 3; i < f.payload.size(); ++i)
            m[(address + unsigned(i - 3)) % mem::kLoggerMemorySize] = f.payload[i];
        break;
    }
    default: // 'B': reserved
        break;
    }
}

void Emulator::reply(const std::uint8_t* data, int count, std::int64_t atUs, std::int64_t frameNumber)
{
    const ReplyFaults rf = faults_.forReply(frameNumber);
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += data[i];
    if (rf.badChecksum)
        sum += 1;
    std::uint8_t bytes[frames::kMaxTransfer + frames::kChecksumSize];
    std::copy(data, data + count, bytes);
    applyPairedBitErrors(bytes, count, rf.pairedAt);
    bytes[count] = std::uint8_t(sum);
    bytes[count + 1] = std::uint8_t(sum >> 8);
    const int total = std::max(0, count + 2 - rf.withheld);
    for (int i = 0; i < total; ++i)
        queueOut(bytes[i], atUs);
}

std::int64_t Emulator::available(std::int64_t nowUs) const
{
    // Arrival times only grow, so count from the front.
    std::int64_t n = 0;
    for (const Pending& p : out_) {
        if (p.atUs > nowUs)
            break;
        ++n;
    }
    return n;
}

std::int64_t Emulator::arrivalOf(std::int64_t n) const
{
    if (n < 1 || n > std::int64_t(out_.size()))
        return -1;
    return out_[std::size_t(n - 1)].atUs;
}

std::int64_t Emulator::read(std::uint8_t* out, std::int64_t max, std::int64_t nowUs)
{
    std::int64_t n = 0;
    while (n < max && !out_.empty() && out_.front().atUs <= nowUs) {
        out[n++] = out_.front().byte;
        out_.pop_front();
    }
    return n;
}

void Emulator::purge(std::int64_t nowUs)
{
    while (!out_.empty() && out_.front().atUs <= nowUs)
        out_.pop_front();
}

} // namespace qz::sim
