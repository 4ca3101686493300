#pragma once
// A small scripted logger on a line of its own, for the link's unit tests: it echoes every
// byte, answers reads from a 64 KiB memory and a clock record, applies writes, and has a
// few faults on demand. Time is the virtual clock's: a wait that nothing ends moves it on.
#include "link/line_backend.h"
#include "support/virtual_clock.h"

#include <array>
#include <climits>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace qz::test {

struct FakeLoggerState {
    std::array<std::uint8_t, 65536> memory{};
    std::array<std::uint8_t, 16> clock{};
    std::array<std::uint8_t, 9> readings{};

    // Faults, counted in frames begun (a frame begins with its first '$').
    int silentFrames = 0; // frames that get no echo at all
    int wrongEchoIndex = -1; // frame byte whose echo is changed...
    int wrongEchoFrames = 0; // ...in this many frames
    int badChecksumReplies = 0; // replies whose sum is off by one
    int silentReplies = 0; // reads echoed but not answered
    int noLastEchoFrames = 0; // frames whose last byte is not echoed
    bool refuseOpen = false;
    bool ignoreWrites = false; // memory writes are echoed but change nothing
    int echoDelayMs = 0;

    // What the logger saw.
    std::vector<std::vector<std::uint8_t>> frames; // every complete frame
    int framesBegun = 0;
    int opens = 0;
    int resets = 0;
};

class FakeLoggerLine final : public LineBackend {
public:
    FakeLoggerLine(FakeLoggerState& state, VirtualClock& clock) : s_(state), clock_(clock) {}

    bool open(const QString&) override
    {
        ++s_.opens;
        if (s_.refuseOpen || open_)
            return false;
        open_ = true;
        return true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool raiseDtr() override { return false; } // like a pseudo-terminal

    std::int64_t write(const std::uint8_t* data, std::int64_t count) override
    {
        for (std::int64_t i = 0; i < count; ++i)
            take(data[i]);
        return count;
    }
    std::int64_t bytesWaiting() override { return available(); }
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override
    {
        if (available() >= count)
            return available();
        const std::int64_t until = clock_.tickMs() + timeoutMs;
        if (std::int64_t(rx_.size()) >= count && rx_[count - 1].at <= until) {
            clock_.advance(rx_[count - 1].at - clock_.tickMs());
            return available();
        }
        clock_.advance(timeoutMs);
        return available();
    }
    std::int64_t read(std::uint8_t* data, std::int64_t count) override
    {
        std::int64_t n = 0;
        while (n < count && !rx_.empty() && rx_.front().at <= clock_.tickMs()) {
            data[n++] = rx_.front().byte;
            rx_.pop_front();
        }
        return n;
    }
    void purge() override
    {
        while (!rx_.empty() && rx_.front().at <= clock_.tickMs())
            rx_.pop_front();
    }

private:
    struct Timed {
        std::int64_t at;
        std::uint8_t byte;
    };

    std::int64_t available() const
    {
        std::int64_t n = 0;
        for (const auto& t : rx_) {
            if (t.at > clock_.tickMs())
                break;
            ++n;
        }
        return n;
    }
    void send(std::uint8_t b, std::int64_t delay = 0) { rx_.push_back({clock_.tickMs() + delay, b}); }
    void reply(const std::uint8_t* data, int n)
    {
        if (s_.silentReplies > 0) {
            --s_.silentReplies;
            return;
        }
        std::uint16_t sum = 0;
        for (int i = 0; i < n; ++i) {
            send(data[i], s_.echoDelayMs);
            sum = static_cast<std::uint16_t>(sum + data[i]);
        }
        if (s_.badChecksumReplies > 0) {
            --s_.badChecksumReplies;
            ++sum;
        }
        send(static_cast<std::uint8_t>(sum & 0xFF), s_.echoDelayMs);
        send(static_cast<std::uint8_t>(sum >> 8), s_.echoDelayMs);
    }

    void take(std::uint8_t b)
    {
        // A pause forgets a half-received frame, as the logger's parser does.
        if (!frame_.empty() && clock_.tickMs() - last_ > 200)
            frame_.clear();
        last_ = clock_.tickMs();
        if (frame_.empty()) {
            if (b != '$')
                return;
            ++s_.framesBegun;
            silent_ = s_.silentFrames > 0 ? (--s_.silentFrames, true) : false;
            wrong_ = s_.wrongEchoFrames > 0 ? (--s_.wrongEchoFrames, true) : false;
            noLast_ = s_.noLastEchoFrames > 0 ? (--s_.noLastEchoFrames, true) : false;
        }
        const int index = int(frame_.size());
        frame_.push_back(b);
        const int need = frameLength();
        const bool complete = need > 0 && int(frame_.size()) == need;
        if (!silent_ && !(complete && noLast_)) {
            const bool change = wrong_ && index == s_.wrongEchoIndex;
            send(change ? std::uint8_t(b ^ 0x5A) : b, s_.echoDelayMs);
        }
        if (index < 3 && b != "$#$"[index]) {
            frame_.clear();
            return;
        }
        if (complete) {
            s_.frames.push_back(frame_);
            if (!silent_)
                act();
            frame_.clear();
        }
    }

    int frameLength() const
    {
        if (frame_.size() < 4)
            return 0;
        switch (frame_[3]) {
        case 'A':
        case 'B':
        case 'E':
        case 'F':
        case 'G':
            return 4;
        case 'C':
            return 20;
        case 'D':
            return 7;
        case 'H':
            return frame_.size() < 7 ? 0 : 7 + (frame_[6] == 0 ? 256 : frame_[6]);
        default:
            return -1;
        }
    }

    void act()
    {
        const std::uint16_t address = std::uint16_t(frame_.size() >= 6 ? frame_[4] | (frame_[5] << 8) : 0);
        switch (frame_[3]) {
        case 'A':
            ++s_.resets;
            break;
        case 'C':
            std::copy(frame_.begin() + 4, frame_.end(), s_.clock.begin());
            break;
        case 'D': {
            const int n = frame_[6] == 0 ? 256 : frame_[6];
            std::vector<std::uint8_t> data(n);
            for (int i = 0; i < n; ++i)
                data[i] = s_.memory[std::uint16_t(address + i)];
            reply(data.data(), n);
            break;
        }
        case 'E':
            reply(s_.clock.data(), 16);
            break;
        case 'F':
        case 'G':
            reply(s_.readings.data(), 9);
            break;
        case 'H':
            if (s_.ignoreWrites)
                break;
            for (std::size_t i = 7; i < frame_.size(); ++i)
                s_.memory[std::uint16_t(address + i - 7)] = frame_[i];
            break;
        default:
            break;
        }
    }

    FakeLoggerState& s_;
    VirtualClock& clock_;
    bool open_ = false;
    std::deque<Timed> rx_;
    std::vector<std::uint8_t> frame_;
    std::int64_t last_ = 0;
    bool silent_ = false;
    bool wrong_ = false;
    bool noLast_ = false;
};

} // namespace qz::test
