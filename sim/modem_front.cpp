#include "sim/modem_front.h"

#include <algorithm>
#include <cctype>

namespace qz::sim {

std::string ModemFront::result(const std::string& word) const
{
    return options_.lineEnd + word + options_.lineEnd;
}

void ModemFront::say(const std::string& word, std::int64_t atUs, std::vector<Output>& out) const
{
    if (options_.pieceGapUs <= 0) {
        out.push_back({result(word), atUs});
        return;
    }
    out.push_back({options_.lineEnd, atUs});
    out.push_back({word, atUs + options_.pieceGapUs});
    out.push_back({options_.lineEnd, atUs + 2 * options_.pieceGapUs});
}

std::int64_t ModemFront::echoDelay()
{
    const bool slow = options_.slowEchoes < 0 || echoes_ < options_.slowEchoes;
    ++echoes_;
    return slow ? options_.echoDelayUs : 0;
}

void ModemFront::settle(std::int64_t atUs)
{
    if (mode_ == Mode::Dialing && atUs >= dialDoneUs_)
        mode_ = dialConnects_ ? Mode::Data : Mode::Command;
    if (escapeAtUs_ >= 0 && atUs >= escapeAtUs_) {
        mode_ = Mode::Command;
        escapeAtUs_ = -1;
        pluses_ = 0;
        line_.clear();
    }
}

bool ModemFront::online(std::int64_t atUs)
{
    settle(atUs);
    return mode_ == Mode::Data;
}

void ModemFront::command(const std::string& raw, std::int64_t atUs, std::vector<Output>& out)
{
    std::string upper = raw;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    const auto at = upper.find("AT");
    if (at == std::string::npos)
        return;
    const std::string cmd = upper.substr(at);
    if (cmd.rfind("ATD", 0) == 0) {
        mode_ = Mode::Dialing;
        dialDoneUs_ = atUs + options_.dialUs;
        dialConnects_ = options_.result == DialResult::Connect;
        const int rings = std::max(0, options_.rings);
        for (int i = 0; i < rings; ++i)
            say("RING", dialDoneUs_ - std::int64_t(rings - i) * 1000000, out);
        switch (options_.result) {
        case DialResult::Connect:
            say(options_.connectText, dialDoneUs_, out);
            break;
        case DialResult::Busy:
            say("BUSY", dialDoneUs_, out);
            break;
        case DialResult::NoCarrier:
            say("NO CARRIER", dialDoneUs_, out);
            break;
        case DialResult::NoDialTone:
            say("NO DIALTONE", dialDoneUs_, out);
            break;
        case DialResult::NoAnswer:
            break;
        }
        return;
    }
    mode_ = Mode::Command; // ATH0, ATZ, AT&F, AT ...: answered, and on-hook
    say("OK", atUs, out);
}

bool ModemFront::receive(std::uint8_t byte, std::int64_t atUs, std::vector<Output>& out, int& cancelled,
                         std::string& releasedPluses)
{
    cancelled = 0;
    settle(atUs);
    const std::int64_t quiet = atUs - lastUs_;
    lastUs_ = atUs;

    if (mode_ == Mode::Data) {
        if (escapeAtUs_ >= 0 || pluses_ > 0) {
            // Inside the guard time after "+++", or within a run of pluses.
            if (byte == '+' && pluses_ < 3 && escapeAtUs_ < 0) {
                if (++pluses_ == 3) {
                    escapeAtUs_ = atUs + options_.guardUs;
                    const std::string ok = result("OK");
                    out.push_back({ok, escapeAtUs_});
                    escapeOkBytes_ = int(ok.size());
                }
                return false;
            }
            cancelled = escapeAtUs_ >= 0 ? escapeOkBytes_ : 0;
            releasedPluses.assign(std::size_t(pluses_), '+');
            escapeAtUs_ = -1;
            pluses_ = 0;
            return true;
        }
        if (byte == '+' && quiet >= options_.guardUs) {
            pluses_ = 1;
            return false;
        }
        return true;
    }

    const std::int64_t echoAt = atUs + echoDelay();
    out.push_back({std::string(1, char(byte)), echoAt}); // the modem's echo
    if (mode_ == Mode::Dialing) {
        // Any key aborts a call being set up.
        mode_ = Mode::Command;
        abortedDial_ = true;
        say("NO CARRIER", echoAt, out);
        return false;
    }
    if (byte == '\r') {
        command(line_, echoAt, out);
        line_.clear();
    } else if (byte != '\n' && line_.size() < 256) {
        line_.push_back(char(byte));
    }
    return false;
}

} // namespace qz::sim
