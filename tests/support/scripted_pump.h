#pragma once
// An event pump that runs a test's action on a chosen call (for example a cancel).
#include "platform/event_pump.h"

#include <functional>

namespace qz::test {

class ScriptedPump final : public EventPump {
public:
    void processPending() override
    {
        ++calls_;
        if (action_ && calls_ == at_)
            action_();
    }
    void onCall(int n, std::function<void()> action)
    {
        at_ = n;
        action_ = std::move(action);
    }
    int calls() const { return calls_; }

private:
    int calls_ = 0;
    int at_ = -1;
    std::function<void()> action_;
};

} // namespace qz::test
