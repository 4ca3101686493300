#pragma once
// What became of the link when an operation gave up on it, and its words for the user.
// Nothing here tells anyone: a job keeps the failure in its result, and the window or the
// command-line tool shows its message, once.
//
// A port that does not open is "Unable to open com port /dev/ttyUSB0: No such file or
// directory" (the port and the system's reason); a transaction that gave up on the logger
// is "Device Not Responding".
#include "link/link_status.h"
#include "platform/message.h"

#include <QString>

#include <functional>
#include <optional>

namespace qz {

class LoggerProtocol;

struct LinkFailure {
    LinkStatus status = LinkStatus::Ok;
    QString port;
    int osError = 0; // why the port did not open (0: no reason known)

    bool failed() const { return status != LinkStatus::Ok; }
};

// The message for a transaction that ended with status; empty for outcomes that tell the
// user nothing here (Ok, a cancel, a program the logger did not take, a port that did not
// open, whose message needs the port: see linkMessage).
QString failureText(LinkStatus status);

// Why a port did not open, in words: the system's text for its error number, plainer
// words for a path that is no serial port or a port another program holds; empty for 0.
QString openFailureReason(int osError);

// The message of a failure (the port's for CannotOpen); none for one that tells nothing.
std::optional<Message> linkMessage(const LinkFailure& failure);

// Watches the protocol's port while it lives, so that a port which does not open is known
// with the system's reason. An enclosing watch hears of it too. Where a failure is shown as
// it happens (the modem's steps), portFailed is called with it, the first time only.
class LinkWatch {
public:
    using PortFailed = std::function<void(const LinkFailure& failure)>;
    explicit LinkWatch(LoggerProtocol& protocol, PortFailed portFailed = {});
    ~LinkWatch();
    LinkWatch(const LinkWatch&) = delete;
    LinkWatch& operator=(const LinkWatch&) = delete;

    // The failure of a step that ended with status: the port, and the system's reason when
    // the port did not open.
    LinkFailure failure(LinkStatus status) const;

private:
    LoggerProtocol& protocol_;
    PortFailed portFailed_;
    bool failedOnce_ = false;
    int osError_ = 0;
    std::function<void(const QString&, int)> outer_;
};

} // namespace qz
