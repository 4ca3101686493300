#pragma once
// Tells the user of a command's link as the windows and the command-line tool do: a port
// that does not open once, when it happens, with its reason; a transaction that gave up with
// its message at the step where the command stops.
#include "link/link_failure.h"
#include "link/logger_protocol.h"
#include "platform/prompt.h"

namespace qz::test {

class LinkTeller {
public:
    LinkTeller(LoggerProtocol& protocol, Prompt& prompt)
        : prompt_(prompt), watch_(protocol, [this](const LinkFailure& f) { tellOpen(f); })
    {}

    // True for Ok; otherwise tells the failure's message (if it has one) and gives false.
    bool ok(LinkStatus status)
    {
        if (status == LinkStatus::Ok)
            return true;
        const LinkFailure f = watch_.failure(status);
        if (status == LinkStatus::CannotOpen)
            tellOpen(LinkFailure{status, f.port, 0});
        else if (const std::optional<Message> m = linkMessage(f))
            prompt_.tell(*m);
        return false;
    }

private:
    void tellOpen(const LinkFailure& f)
    {
        if (openTold_)
            return;
        openTold_ = true;
        prompt_.tell(*linkMessage(f));
    }

    Prompt& prompt_;
    bool openTold_ = false;
    LinkWatch watch_;
};

} // namespace qz::test
