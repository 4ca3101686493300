#pragma once
// "Process pending messages" during long sequences, so windows stay alive.
namespace qz {

class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processPending() = 0;
};

// The program's pump: QCoreApplication::processEvents.
class QtEventPump final : public EventPump {
public:
    void processPending() override;
};

class NullEventPump final : public EventPump {
public:
    void processPending() override {}
};

} // namespace qz
