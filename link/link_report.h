#pragma once
// What a logger command tells the user about the link, in one place. A command makes one
// report for its protocol object and passes each transaction's status through ok() at the
// step where it gave up; the sequence stops there, so the user hears of a failure once.
//
// Today's wording: "Unable to open com port" at every attempt whose port did not open (the
// report watches the protocol for those), then "Device Not Responding" for the
// transaction that gave up.
#include "link/link_status.h"
#include "platform/prompt.h"

#include <QString>

#include <functional>

namespace qz {

class LoggerProtocol;

// The message for a transaction that ended with status; empty for outcomes that tell the
// user nothing (Ok, a cancel, a program the logger did not take).
QString failureText(LinkStatus status);

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
    // The watcher of an enclosing report, given back when this one ends.
    std::function<void(const QString&, int)> outer_;
};

} // namespace qz
