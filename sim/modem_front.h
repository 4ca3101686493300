#pragma once
// A telephone modem in front of the logger, so that the dialer is tested against
// something that answers like a modem. It starts on-hook in command mode:
// - every byte is echoed; a line ends with CR (LF is ignored) and is a command from its
//   first "AT" on (either case); text before it is dropped, lines without "AT" get no
//   answer;
// - "ATD..." (ATDT, ATDP) dials: after the dial time the modem answers with the chosen
//   result, preceded by the chosen number of "RING"s one second apart; CONNECT puts it in
//   data mode, the other results leave it in command mode, "no answer" sends nothing;
// - any other AT command (ATH0 and "AT" included) answers "OK" and hangs up;
// - in data mode bytes pass to the logger and back, each way late by the line latency;
//   "+++" with a second of silence before and after (the guard time) returns to command
//   mode with "OK"; a byte inside the guard time cancels the escape and the pluses go to
//   the logger.
// Results are framed as a modem does: CR LF, the word, CR LF (the ending is an option).
#include <cstdint>
#include <string>
#include <vector>

namespace qz::sim {

enum class DialResult {
    Connect,
    Busy,
    NoCarrier,
    NoDialTone,
    NoAnswer
};

struct ModemOptions {
    bool enabled = false;
    DialResult result = DialResult::Connect;
    int rings = 0;
    std::int64_t dialUs = 3000000; // from the dial command to the result
    std::int64_t guardUs = 1000000; // silence around "+++"
    std::int64_t latencyUs = 40000; // each way, in data mode
    std::string connectText = "CONNECT 19200";
    std::string lineEnd = "\r\n";
    std::int64_t pieceGapUs = 0; // > 0: a result in three pieces this far apart
    std::int64_t echoDelayUs = 0; // how late a slow echo comes (command mode)
    int slowEchoes = 0; // how many echoes are slow, from the first; -1: all
};

class ModemFront {
public:
    struct Output {
        std::string text;
        std::int64_t atUs;
    };

    explicit ModemFront(const ModemOptions& options = {}) : options_(options) {}
    bool enabled() const { return options_.enabled; }
    const ModemOptions& options() const { return options_; }

    // A byte from the PC at atUs. Returns true when it goes on to the logger (data mode);
    // what the modem itself sends (echoes, results) is appended to out. cancelled is set
    // to the number of bytes of an "OK" already queued that must be taken back.
    bool receive(std::uint8_t byte, std::int64_t atUs, std::vector<Output>& out, int& cancelled,
                 std::string& releasedPluses);

    // True once after a byte aborted a call being set up: its rings and result, queued
    // for later, are never sent.
    bool takeAbortedDial()
    {
        const bool aborted = abortedDial_;
        abortedDial_ = false;
        return aborted;
    }

    bool online(std::int64_t atUs);
    std::int64_t latencyUs() const { return options_.latencyUs; }

private:
    void settle(std::int64_t atUs);
    void command(const std::string& line, std::int64_t atUs, std::vector<Output>& out);
    std::string result(const std::string& word) const;
    // A result word as the modem sends it at atUs: whole, or in pieces.
    void say(const std::string& word, std::int64_t atUs, std::vector<Output>& out) const;
    std::int64_t echoDelay();

    enum class Mode {
        Command,
        Dialing,
        Data
    };
    ModemOptions options_;
    Mode mode_ = Mode::Command;
    std::string line_;
    std::int64_t lastUs_ = -(1LL << 40);
    std::int64_t dialDoneUs_ = 0;
    bool dialConnects_ = false;
    int pluses_ = 0;
    std::int64_t escapeAtUs_ = -1; // command mode from here, unless cancelled
    int escapeOkBytes_ = 0;
    int echoes_ = 0;
    bool abortedDial_ = false;
};

} // namespace qz::sim
