#include "cli/link_common.h"

#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace qz::cli {

LinkOptions parseLinkOptions(const QStringList& args, bool download)
{
    LinkOptions o;
    const bool wantsOutput = download;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            o.port = args[++i];
        } else if (a == "--trace" && hasValue) {
            o.trace = args[++i];
        } else if (a == "--output" && download && hasValue) {
            o.output = args[++i];
        } else if (a == "--yes" && download) {
            o.yes = true;
        } else if (a == "--verify" && download) {
            o.verify = true;
        } else if (a == "--keep-partial" && download) {
            o.keepPartial = true;
        } else if (a == "--force" && download) {
            o.force = true;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
            return o;
        }
    }
    if (o.port.isEmpty())
        o.error = QStringLiteral("--port PORT is required (a device such as /dev/ttyUSB0, or sim)");
    else if (wantsOutput && o.output.isEmpty())
        o.error = QStringLiteral("--output FILE.qrv is required");
    o.ok = o.error.isEmpty();
    return o;
}

PromptAnswer StderrPrompt::ask(const QString& text, PromptSymbol, PromptButtons buttons)
{
    QTextStream err(stderr);
    PromptAnswer answer = PromptAnswer::Ok;
    switch (buttons) {
    case PromptButtons::Ok:
        break;
    case PromptButtons::OkCancel:
        answer = yes_ ? PromptAnswer::Ok : PromptAnswer::Cancel;
        break;
    case PromptButtons::YesNo:
    case PromptButtons::YesNoCancel:
        answer = yes_ ? PromptAnswer::Yes : PromptAnswer::No;
        break;
    }
    // A message box breaks its lines at '\r'; on a terminal that would overwrite the line.
    err << QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')) << "\n";
    return answer;
}

TerminalProgress::TerminalProgress() : tty_(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress()
{
    if (drawn_)
        QTextStream(stderr) << "\n";
}

void TerminalProgress::setCaption(const QString& caption)
{
    caption_ = caption;
    blocks_ = 0;
    text_.clear();
    draw();
}

void TerminalProgress::setMaximum(int maximum)
{
    maximum_ = maximum > 0 ? maximum : 100;
}

void TerminalProgress::setPosition(int position)
{
    position_ = position;
    ++blocks_;
    draw();
}

void TerminalProgress::setText(const QString& text)
{
    text_ = text;
    draw();
}

void TerminalProgress::draw()
{
    if (!tty_)
        return;
    const int width = 30;
    const int filled = std::clamp(position_, 0, maximum_) * width / maximum_;
    // Where the operation stands when it says so, else the count of its steps.
    const QString status = text_.isEmpty() ? QString::number(blocks_) + QStringLiteral(" steps") : text_;
    QTextStream(stderr) << "\r" << caption_ << " [" << QString(filled, '#')
                        << QString(width - filled, ' ') << "] " << status << "\x1b[K";
    drawn_ = true;
}

CliLink::CliLink(const QString& tracePath)
{
    if (!tracePath.isEmpty()) {
        trace_ = std::make_unique<WireTrace>(tracePath, clock_);
        lines_.setTrace(trace_.get());
    }
    lines_.addNamed(LineRegistry::simulatedPortName(), [this] {
        // Made on first use: a logger holding a recording of a third of its memory.
        if (!emulator_) {
            emulator_ = std::make_unique<sim::Emulator>();
            sim::MemoryPreset preset;
            preset.deviceCode = 485;
            preset.content = sim::Content::Linear;
            sim::LoadMemory(emulator_->logger(), preset);
        }
        return std::make_unique<sim::EmulatorLine>(*emulator_, clock_);
    });
}

CliLink::~CliLink() = default;

std::unique_ptr<LoggerProtocol> CliLink::open(const QString& port)
{
    return std::make_unique<LoggerProtocol>(LinkSettings{port, false}, lines_.make(port), clock_);
}

bool CliLink::saveTrace(const QString& command)
{
    if (!trace_)
        return true;
    const QString reason = trace_->save();
    if (reason.isEmpty())
        return true;
    QTextStream(stderr) << "quorzk-cli " << command << ": cannot write " << trace_->path() << ": "
                        << reason << "\n";
    return false;
}

} // namespace qz::cli
