#pragma once
// What the logger commands of the command-line tool share: the --port and --trace options,
// the lines behind port names (with the in-process simulated logger as "sim"), the wire
// trace, messages on standard error, and a progress line on a terminal.
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

// Options of a logger command. Unknown options are errors.
struct LinkOptions {
    QString port;
    QString output;
    QString trace; // wire trace file, empty for none
    bool yes = false;
    // The download's own options.
    bool verify = false;      // read every block twice
    bool keepPartial = false; // keep the blocks before a damaged block
    bool force = false;       // replace an existing output
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
    bool cancelled() override { return false; }

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
class CliLink {
public:
    explicit CliLink(const QString& tracePath = {});
    ~CliLink();
    std::unique_ptr<LoggerProtocol> open(const QString& port);
    Clock& clock() { return clock_; }
    // Writes the trace file (when there is one) once the command is done with the port.
    // False, after a message on standard error, when it cannot be written.
    bool saveTrace(const QString& command);

private:
    SystemClock clock_;
    std::unique_ptr<sim::Emulator> emulator_;
    std::unique_ptr<WireTrace> trace_;
    LineRegistry lines_;
};

} // namespace qz::cli
