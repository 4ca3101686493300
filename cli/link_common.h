#pragma once
// What the logger commands of the command-line tool share: their options (link_options.h),
// the lines behind port names (with the in-process simulated logger as "sim"), the wire
// trace, a call through a telephone modem (--dial), messages on standard error, and a
// progress line on a terminal.
#include "cli/link_options.h"
#include "link/line_registry.h"
#include "link/logger_protocol.h"
#include "link/wire_trace.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/prompt.h"

#include <QStringList>

#include <memory>

namespace qz::sim {
class StoredLogger;
}

namespace qz::cli {

class InterruptGuard;

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

// The program's lines: platform devices, and "sim" for the simulated logger the program
// also offers, served in this process and kept between commands (sim/stored_logger.h);
// with a trace file, every line writes into the trace, and a trace file that cannot be
// written is told once on standard error while the command goes on. With a modem call, call() dials before the command, every protocol
// object then has the modem timings, and the modem is hung up when the command ends
// (finish, or the end of this object after an early return); Ctrl-C meanwhile ends the
// command, not the program.
class CliLink {
public:
    explicit CliLink(const LinkOptions& options);
    ~CliLink();
    // Without a modem call: true. Otherwise initialises the modem, dials and waits for its
    // answer; false, after the dialer's message on standard error, unless it connected.
    bool call(const QString& port);
    std::unique_ptr<LoggerProtocol> open(const QString& port);
    Clock& clock() { return clock_; }
    // Once the command is done with the port: hangs up a modem call and writes the trace's
    // last exchange. False when the trace could not be written.
    bool finish();

private:
    void hangUp();

    SystemClock clock_;
    DialOptions dial_;
    QString callPort_; // the port of a call to hang up; empty when there is none
    std::unique_ptr<InterruptGuard> interrupt_;
    std::unique_ptr<WireTrace> trace_;
    std::unique_ptr<sim::StoredLogger> simulated_;
    LineRegistry lines_;
};

} // namespace qz::cli
