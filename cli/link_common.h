#pragma once
// What the logger commands of the command-line tool share: the --port and --trace options,
// the lines behind port names (with the in-process simulated logger as "sim"), the wire
// trace, a call through a telephone modem (--dial), messages on standard error, and a
// progress line on a terminal.
#include "link/line_registry.h"
#include "link/logger_protocol.h"
#include "link/wire_trace.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/prompt.h"

#include <QStringList>

#include <memory>

namespace qz::sim {
class Emulator;
}

namespace qz::cli {

class InterruptGuard;

// A call through a telephone modem on the port: --dial NUMBER [--pulse] [--init FILE.mdm].
struct DialOptions {
    QString number; // empty: no modem, the logger is on the cable
    bool pulse = false;
    QString initFile;
    QString error;
    bool wanted() const { return !number.isEmpty(); }
};
// Takes the modem options out of args (every logger command accepts them).
DialOptions takeDialOptions(QStringList& args);
// How the modem options read in a command's usage line.
inline const char* dialUsage()
{
    return "[--dial NUMBER [--pulse] [--init FILE.mdm]]";
}

// Options of a logger command. Unknown options are errors.
struct LinkOptions {
    QString port;
    QString output;
    QString trace; // wire trace file, empty for none
    bool yes = false;
    // The download's own options.
    bool verify = false; // read every block twice
    bool keepPartial = false; // keep the blocks before a damaged block
    bool force = false; // replace an existing output
    DialOptions dial;
    bool ok = false;
    QString error;
};
// download: the command writes a recording (--output and the download's own options).
LinkOptions parseLinkOptions(const QStringList& args, bool download);

// Messages go to standard error exactly as the program shows them; questions are
// answered No unless the user said --yes.
class StderrPrompt final : public Prompt {
public:
    explicit StderrPrompt(bool yes) : yes_(yes) {}
    PromptAnswer ask(const QString& text, PromptSymbol symbol, PromptButtons buttons) override;

private:
    bool yes_;
};

// A one-line progress display on standard error, drawn only when that is a terminal.
class TerminalProgress final : public Progress {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    void setCaption(const QString& caption) override;
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    void setCancelEnabled(bool) override {}
    void setText(const QString& text) override;
    // Ctrl-C while a guard lives (a modem call) ends the command between two steps.
    bool cancelled() override;

private:
    void draw();
    bool tty_;
    bool drawn_ = false;
    QString caption_;
    int maximum_ = 100;
    int position_ = 0;
    int blocks_ = 0;
    QString text_;
};

// The program's lines: platform devices, and "sim" for a simulated logger holding a
// recording, served in this process; with a trace file, every line writes into the trace.
// With a modem call, call() dials before the command, every protocol object then has the
// modem timings, and the modem is hung up when the command ends (saveTrace, or the end of
// this object after an early return); Ctrl-C meanwhile ends the command, not the program.
class CliLink {
public:
    explicit CliLink(const QString& tracePath = {}, DialOptions dial = {});
    ~CliLink();
    // Without a modem call: true. Otherwise initialises the modem, dials and waits for its
    // answer; false, after the dialer's message on standard error, unless it connected.
    bool call(const QString& port);
    std::unique_ptr<LoggerProtocol> open(const QString& port);
    Clock& clock() { return clock_; }
    // Hangs up a modem call, then writes the trace file (when there is one) once the
    // command is done with the port. False, after a message on standard error, when it
    // cannot be written.
    bool saveTrace(const QString& command);

private:
    void hangUp();

    SystemClock clock_;
    DialOptions dial_;
    QString callPort_; // the port of a call to hang up; empty when there is none
    std::unique_ptr<InterruptGuard> interrupt_;
    std::unique_ptr<sim::Emulator> emulator_;
    std::unique_ptr<WireTrace> trace_;
    LineRegistry lines_;
};

} // namespace qz::cli
