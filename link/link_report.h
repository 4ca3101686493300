#pragma once
// What a logger command tells the user about the link, in one place. A command makes one
// report for its protocol object and passes each transaction's status through ok() at the
// step where it gave up; the sequence stops there, so the user hears of a failure once.
//
// A port that does not open is told at once, once per report, with its name and the
// system's reason ("Unable to open com port /dev/ttyUSB0: No such file or directory");
// a transaction that gave up on the logger is "Device Not Responding".
#include "link/link_status.h"
#include "platform/prompt.h"

#include <QString>

#include <functional>

namespace qz {

class LoggerProtocol;

// The message for a transaction that ended with status; empty for outcomes that tell the
// user nothing here (Ok, a cancel, a program the logger did not take, a port that did not
// open, which the report tells as it happens).
QString failureText(LinkStatus status);

// Why a port did not open, in words: the system's text for its error number, plainer
// words for a path that is no serial port or a port another program holds; empty for 0.
QString openFailureReason(int osError);

class LinkReport {
public:
    LinkReport(LoggerProtocol& protocol, Prompt& prompt);
    ~LinkReport();
    LinkReport(const LinkReport&) = delete;
    LinkReport& operator=(const LinkReport&) = delete;

    // True for Ok. Otherwise tells the failure's message (if it has one) and gives false.
    bool ok(LinkStatus status);
    // "Please Connect The Quorvant" (Yes and No): true for Yes.
    bool confirmConnect();
    Prompt& prompt() { return prompt_; }

private:
    void portDidNotOpen(const QString& port, int osError);

    LoggerProtocol& protocol_;
    Prompt& prompt_;
    bool openFailureTold_ = false;
    // The watcher of an enclosing report, given back when this one ends.
    std::function<void(const QString&, int)> outer_;
};

} // namespace qz
