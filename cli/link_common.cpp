#include "cli/link_common.h"

#include "cli/interrupt.h"
#include "link/link_failure.h"
#include "link/modem_dialer.h"
#include "link/modem_init.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace qz::cli {

DialOptions takeDialOptions(QStringList& args)
{
    DialOptions d;
    QStringList rest;
    bool dialGiven = false;
    bool extrasGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--dial" && hasValue) {
            dialGiven = true;
            d.number = args[++i].trimmed();
        } else if (a == "--init" && hasValue) {
            extrasGiven = true;
            d.initFile = args[++i];
        } else if (a == "--pulse") {
            extrasGiven = true;
            d.pulse = true;
        } else {
            rest << a;
        }
    }
    args = rest;
    if (dialGiven && (d.number.isEmpty() || !isDialable(d.number)))
        d.error = QStringLiteral("--dial needs a telephone number of printable characters");
    else if (extrasGiven && !dialGiven)
        d.error = QStringLiteral("--pulse and --init go with --dial NUMBER");
    else if (!d.initFile.isEmpty() && !isModemInitFile(d.initFile))
        d.error = QStringLiteral("--init: Not a file with the mdm extension");
    return d;
}

LinkOptions parseLinkOptions(const QStringList& given, bool download)
{
    LinkOptions o;
    QStringList args = given;
    o.dial = takeDialOptions(args);
    if (!o.dial.error.isEmpty()) {
        o.error = o.dial.error;
        return o;
    }
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

TerminalProgress::TerminalProgress() : tty_(::isatty(STDERR_FILENO) == 1)
{}

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

bool TerminalProgress::cancelled()
{
    return interruptRequested();
}

void TerminalProgress::draw()
{
    if (!tty_)
        return;
    const int width = 30;
    const int filled = std::clamp(position_, 0, maximum_) * width / maximum_;
    // Where the operation stands when it says so, else the count of its steps.
    const QString status = text_.isEmpty() ? QString::number(blocks_) + QStringLiteral(" steps") : text_;
    QTextStream(stderr) << "\r" << caption_ << " [" << QString(filled, '#') << QString(width - filled, ' ')
                        << "] " << status << "\x1b[K";
    drawn_ = true;
}

CliLink::CliLink(const QString& tracePath, DialOptions dial) : dial_(std::move(dial))
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
            sim::loadMemory(emulator_->logger(), preset);
        }
        return std::make_unique<sim::EmulatorLine>(*emulator_, clock_);
    });
}

CliLink::~CliLink()
{
    hangUp();
}

bool CliLink::call(const QString& port)
{
    if (!dial_.wanted())
        return true;
    StderrPrompt prompt(false);
    const ModemInit init = readModemInit(dial_.initFile);
    if (!init.ok) {
        prompt.tell(modemInitMessage(dial_.initFile, init), PromptSymbol::Error);
        return false;
    }
    interrupt_ = std::make_unique<InterruptGuard>();
    auto modem = std::make_unique<LoggerProtocol>(LinkSettings{port, true}, lines_.make(port), clock_);
    const LinkWatch watch(*modem, [&prompt](const LinkFailure& f) { prompt.tell(*linkMessage(f)); });
    ModemDialer dialer(*modem);
    DialOutcome outcome = dialer.call(init.commands, dial_.number, dial_.pulse);
    if (outcome == DialOutcome::Waiting) {
        // From the dial on, the modem may be off-hook: whatever comes next, hang up.
        callPort_ = port;
        outcome = dialer.waitForAnswer([] { return interruptRequested(); });
    }
    // A busy line, no carrier or no dial tone leave the modem on-hook.
    if (outcome == DialOutcome::Busy || outcome == DialOutcome::NoCarrier
        || outcome == DialOutcome::NoDialTone)
        callPort_.clear();
    const QString text = dialOutcomeText(outcome);
    if (!text.isEmpty()) {
        const bool refused = outcome == DialOutcome::InitFailed || outcome == DialOutcome::DialFailed;
        prompt.tell(text, refused ? PromptSymbol::Error : PromptSymbol::Information);
    }
    return outcome == DialOutcome::Connected;
}

void CliLink::hangUp()
{
    if (!callPort_.isEmpty()) {
        auto modem =
            std::make_unique<LoggerProtocol>(LinkSettings{callPort_, true}, lines_.make(callPort_), clock_);
        StderrPrompt prompt(false);
        const LinkWatch watch(*modem, [&prompt](const LinkFailure& f) { prompt.tell(*linkMessage(f)); });
        ModemDialer(*modem).hangUp();
        callPort_.clear();
    }
    interrupt_.reset();
}

std::unique_ptr<LoggerProtocol> CliLink::open(const QString& port)
{
    return std::make_unique<LoggerProtocol>(LinkSettings{port, dial_.wanted()}, lines_.make(port), clock_);
}

bool CliLink::saveTrace(const QString& command)
{
    hangUp();
    if (!trace_)
        return true;
    const QString reason = trace_->save();
    if (reason.isEmpty())
        return true;
    QTextStream(stderr) << "quorzk-cli " << command << ": cannot write " << trace_->path() << ": " << reason
                        << "\n";
    return false;
}

} // namespace qz::cli
