#pragma once
// ModemDialer: a telephone modem on the logger's port, driven with AT commands. It sends
// each command byte by byte and checks the modem's echo, initialises the modem, dials,
// reads the modem's result words while the call is set up, and hangs up. It works on a
// protocol object that the caller owns (the port of the communication options) and
// tells the user nothing: the command that dials decides what is shown
// (dialOutcomeText).
//
//   ModemDialer dialer(protocol);
//   DialOutcome o = dialer.call(init.commands, number, pulse);   // Waiting: dialed
//   if (o == DialOutcome::Waiting) o = dialer.waitForAnswer(cancelled);
//   ... logger commands with the modem timings ...
//   dialer.hangUp();
#include "link/dial_outcome.h"
#include "link/logger_protocol.h"
#include "link/modem_answer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace qz {

// "ATDT" (or "ATDP") and the number without its surrounding blanks, then a carriage return.
QByteArray dialCommand(const QString& number, bool pulse);
// Whether the trimmed number can go into a dial command: printable ASCII only (a control
// character would end the command early and start another).
bool isDialable(const QString& number);

class ModemDialer {
public:
    static constexpr int kCommandAttempts = 4;
    static constexpr std::int64_t kEchoLimitMs = 2000;
    static constexpr std::int64_t kAttemptLimitMs = 10000;
    static constexpr std::int64_t kInitPauseMs = 500;
    // The modem's guard time around "+++" is one second; the pause leaves a margin for
    // bytes still on the wire and a timer that fires early, or the escape is missed.
    static constexpr std::int64_t kGuardPauseMs = 1200;
    static constexpr int kAnswerTicks = 60;
    static constexpr std::int64_t kTickMs = 1000;

    explicit ModemDialer(LoggerProtocol& port);

    // Sends text on the open port, each byte echoed within 2 s and the whole within 10 s;
    // up to four attempts when the time runs out. BadEcho at once for an echo that
    // differs: the rest of the command (its carriage return) is not sent, so the modem
    // never carries out a damaged command. NoEcho after the last attempt.
    LinkStatus sendCommand(const QByteArray& text);
    // Opens the port, sends each command (a carriage return added) with a 500 ms pause
    // after each, and closes the port again. The first refused command ends it.
    LinkStatus initModem(const QList<QByteArray>& commands);
    // Sends the dial command; the port stays open for the wait.
    LinkStatus dial(const QString& number, bool pulse);
    // Whether the modem takes commands: "AT" written, and "OK" among what comes back before
    // the line is quiet for the echo limit. A modem left on a call (its command killed)
    // passes the "AT" on to the logger instead; it is escaped with "+++" and hung up
    // ("ATH0") before anything else is sent. Ok when it answered "OK" or was hung up.
    LinkStatus takeCommands();
    // takeCommands, initModem, dial and startWaiting: Waiting when the modem is dialing.
    // A number isDialable refuses sends nothing (DialFailed).
    DialOutcome call(const QList<QByteArray>& commands, const QString& number, bool pulse);

    // Begins the wait for the result word: ticks silent polls before the time-out.
    LinkStatus startWaiting(int ticks = kAnswerTicks);
    // One tick of the wait: reads what the modem sent. A result word counts once its line
    // has ended (CR or LF), whatever pieces it came in; RING and other lines are passed
    // over. A tick without a byte counts toward the time-out, a tick with bytes does not.
    // Any outcome but Waiting ends the wait.
    DialOutcome poll();
    // Ends the wait and closes the port.
    void stopWaiting();
    bool isWaiting() const { return waiting_; }
    // The wait without a timer: sleeps on the line up to a tick (a byte ends the sleep
    // early), then polls. Cancelled (the wait still on, for hangUp) when asked to stop.
    DialOutcome waitForAnswer(const std::function<bool()>& cancelled = {});

    // Ends a call: "+++" and "ATH0" written with a pause before and after each, then "AT"
    // sent with its echo check; the port is closed at the end. Ok when the modem echoed
    // the "AT".
    LinkStatus hangUp();

private:
    enum class Attempt {
        Echoed,
        WrongEcho,
        TimedOut
    };
    Attempt sendOnce(const QByteArray& text);
    // After an attempt that ran out of time: a late echo of it must not pass for the next
    // attempt's, so wait until the line has been quiet for the echo limit.
    void letLateEchoesPass();
    void writeRaw(const QByteArray& text);
    // "+++" and "ATH0" with the guard pause before and after each, no echo checked.
    void escapeAndHangUp();

    LoggerProtocol& protocol_;
    SerialPort& port_;
    ModemAnswerReader answer_;
    int remaining_ = 0;
    bool waiting_ = false;
};

} // namespace qz
