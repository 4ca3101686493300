#include "cli/link_common.h"

#include "cli/interrupt.h"
#include "link/link_failure.h"
#include "link/modem_dialer.h"
#include "link/modem_init.h"
#include "sim/stored_logger.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace qz::cli {

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
    case PromptButtons::SaveDiscardCancel:
        answer = PromptAnswer::Cancel; // nothing is lost without the user's word
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

CliLink::CliLink(const LinkOptions& options) : dial_(options.dial)
{
    if (!options.trace.isEmpty()) {
        trace_ = std::make_unique<WireTrace>(options.trace, clock_);
        trace_->onWriteFailed([command = options.command, path = options.trace](const QString& reason) {
            QTextStream(stderr) << "quorzk-cli " << command << ": cannot write " << path << ": " << reason
                                << "\n";
        });
        lines_.setTrace(trace_.get());
    }
    // The simulated logger the program's "Simulated logger" also is, kept between commands.
    simulated_ = std::make_unique<sim::StoredLogger>(sim::StoredLogger::defaultStateFile(), clock_);
    simulated_->onWarning([command = options.command](const QString& text) {
        QTextStream(stderr) << "quorzk-cli " << command << ": " << text << "\n";
    });
    if (options.simReset)
        simulated_->resetAtNextOpen();
    lines_.addNamed(LineRegistry::simulatedPortName(), [this] { return simulated_->makeLine(); });
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

bool CliLink::finish()
{
    hangUp();
    if (!trace_)
        return true;
    trace_->endExchange();
    return trace_->failure().isEmpty();
}

} // namespace qz::cli
