#include "link/modem_dialer.h"

#include "link/deadline.h"

#include <algorithm>

namespace qz {

namespace {

constexpr char kCarriageReturn = '\r';

} // namespace

QByteArray dialCommand(const QString& number, bool pulse)
{
    return QByteArray(pulse ? "ATDP" : "ATDT") + number.trimmed().toLatin1() + kCarriageReturn;
}

bool isDialable(const QString& number)
{
    const QString n = number.trimmed();
    return std::all_of(n.begin(), n.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

ModemDialer::ModemDialer(LoggerProtocol& port) : protocol_(port), port_(port.port())
{}

ModemDialer::Attempt ModemDialer::sendOnce(const QByteArray& text)
{
    port_.purge();
    const Deadline attempt(port_.clock(), kAttemptLimitMs);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (attempt.passed())
            return Attempt::TimedOut;
        const auto byte = static_cast<std::uint8_t>(text[i]);
        port_.write(&byte, 1);
        // Each echo within the echo limit; the last one may take what is left of the
        // attempt.
        const bool last = i + 1 == text.size();
        const std::int64_t wait = last ? attempt.leftMs() : std::min(kEchoLimitMs, attempt.leftMs());
        if (port_.waitForBytes(1, wait) == 0)
            return Attempt::TimedOut;
        std::uint8_t echo = 0;
        if (port_.read(&echo, 1) != 1)
            return Attempt::TimedOut;
        if (echo != byte)
            return Attempt::WrongEcho;
    }
    return Attempt::Echoed;
}

void ModemDialer::letLateEchoesPass()
{
    const Deadline limit(port_.clock(), kAttemptLimitMs);
    while (!limit.passed()) {
        port_.purge();
        if (port_.waitForBytes(1, std::min(kEchoLimitMs, limit.leftMs())) == 0)
            return;
    }
    port_.purge();
}

LinkStatus ModemDialer::sendCommand(const QByteArray& text)
{
    if (!port_.isOpen())
        return LinkStatus::PortClosed;
    for (int attempt = 0; attempt < kCommandAttempts; ++attempt) {
        if (attempt > 0)
            letLateEchoesPass();
        switch (sendOnce(text)) {
        case Attempt::Echoed:
            return LinkStatus::Ok;
        case Attempt::WrongEcho:
            return LinkStatus::BadEcho;
        case Attempt::TimedOut:
            break;
        }
    }
    return LinkStatus::NoEcho;
}

LinkStatus ModemDialer::initModem(const QList<QByteArray>& commands)
{
    if (commands.isEmpty())
        return LinkStatus::Ok;
    if (const LinkStatus opened = protocol_.openPort(); opened != LinkStatus::Ok)
        return opened;
    LinkStatus status = LinkStatus::Ok;
    for (const QByteArray& command : commands) {
        status = sendCommand(command + kCarriageReturn);
        if (status != LinkStatus::Ok)
            break;
        port_.delay(kInitPauseMs);
    }
    port_.close();
    return status;
}

LinkStatus ModemDialer::dial(const QString& number, bool pulse)
{
    if (const LinkStatus opened = protocol_.openPort(); opened != LinkStatus::Ok)
        return opened;
    const LinkStatus sent = sendCommand(dialCommand(number, pulse));
    if (sent != LinkStatus::Ok)
        port_.close();
    return sent;
}

LinkStatus ModemDialer::takeCommands()
{
    if (const LinkStatus opened = protocol_.openPort(); opened != LinkStatus::Ok)
        return opened;
    port_.purge();
    writeRaw(QByteArray("AT\r"));
    QByteArray heard;
    const Deadline limit(port_.clock(), kAttemptLimitMs);
    bool answered = false;
    while (!answered && !limit.passed()) {
        if (port_.waitForBytes(1, std::min(kEchoLimitMs, limit.leftMs())) == 0)
            break;
        const std::uint16_t n = port_.bytesWaiting();
        QByteArray chunk(std::max<int>(n, 1), '\0');
        const std::int32_t got = port_.read(reinterpret_cast<std::uint8_t*>(chunk.data()),
                                            static_cast<std::uint16_t>(chunk.size()));
        heard += chunk.left(std::max<std::int32_t>(got, 0));
        answered = heard.contains("OK\r") || heard.contains("OK\n");
    }
    if (!answered)
        escapeAndHangUp();
    port_.purge();
    port_.close();
    return LinkStatus::Ok;
}

void ModemDialer::escapeAndHangUp()
{
    for (const QByteArray& text : {QByteArray("+++"), QByteArray("ATH0\r")}) {
        port_.delay(kGuardPauseMs);
        writeRaw(text);
        port_.delay(kGuardPauseMs);
    }
}

DialOutcome ModemDialer::call(const QList<QByteArray>& commands, const QString& number, bool pulse)
{
    // A number that cannot go into a dial command: nothing is sent at all.
    if (!isDialable(number))
        return DialOutcome::DialFailed;
    if (takeCommands() == LinkStatus::CannotOpen)
        return DialOutcome::CannotOpen;
    const LinkStatus init = initModem(commands);
    if (init == LinkStatus::CannotOpen)
        return DialOutcome::CannotOpen;
    if (init != LinkStatus::Ok)
        return DialOutcome::InitFailed;
    const LinkStatus dialed = dial(number, pulse);
    if (dialed == LinkStatus::CannotOpen)
        return DialOutcome::CannotOpen;
    if (dialed != LinkStatus::Ok)
        return DialOutcome::DialFailed;
    return startWaiting() == LinkStatus::Ok ? DialOutcome::Waiting : DialOutcome::CannotOpen;
}

LinkStatus ModemDialer::startWaiting(int ticks)
{
    // The port stays open from the dial on, so a quick answer is not lost in between.
    if (const LinkStatus opened = protocol_.openPort(); opened != LinkStatus::Ok)
        return opened;
    answer_.clear();
    remaining_ = ticks;
    waiting_ = true;
    return LinkStatus::Ok;
}

void ModemDialer::stopWaiting()
{
    waiting_ = false;
    answer_.clear();
    port_.close();
}

DialOutcome ModemDialer::poll()
{
    if (!waiting_)
        return DialOutcome::Waiting;
    const std::uint16_t n = port_.bytesWaiting();
    if (n == 0) {
        if (--remaining_ < 1) {
            stopWaiting();
            return DialOutcome::TimedOut;
        }
        return DialOutcome::Waiting;
    }
    QByteArray chunk(n, '\0');
    const std::int32_t got = port_.read(reinterpret_cast<std::uint8_t*>(chunk.data()), n);
    chunk.truncate(std::max<std::int32_t>(got, 0));
    const DialOutcome outcome = answer_.feed(chunk);
    if (outcome != DialOutcome::Waiting)
        stopWaiting();
    return outcome;
}

DialOutcome ModemDialer::waitForAnswer(const std::function<bool()>& cancelled)
{
    while (waiting_) {
        if (cancelled && cancelled())
            return DialOutcome::Cancelled;
        port_.waitForBytes(1, kTickMs);
        const DialOutcome outcome = poll();
        if (outcome != DialOutcome::Waiting)
            return outcome;
    }
    return DialOutcome::Waiting;
}

void ModemDialer::writeRaw(const QByteArray& text)
{
    port_.write(reinterpret_cast<const std::uint8_t*>(text.constData()),
                static_cast<std::uint16_t>(text.size()));
}

LinkStatus ModemDialer::hangUp()
{
    waiting_ = false;
    answer_.clear();
    if (const LinkStatus opened = protocol_.openPort(); opened != LinkStatus::Ok)
        return opened;
    escapeAndHangUp();
    const LinkStatus answered = sendCommand(QByteArray("AT\r"));
    port_.close();
    return answered;
}

} // namespace qz
