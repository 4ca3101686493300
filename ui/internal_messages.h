#pragma once
// The program's internal window messages. Each travels as a custom event whose type is
// QEvent::User + (number - 1024), carrying the fixed signature values.
#include <QEvent>
#include <cstdint>

class QObject;

namespace qz {

inline constexpr int kInternalMessageBase = 1024;
inline constexpr int kMsgRenumberTitles = 1025; // graph window -> main window
inline constexpr int kMsgDrawStatus = 1026; // -> main window: draw the status line
inline constexpr int kMsgTimerTick = 1030; // one-second tick
inline constexpr int kMsgRedrawGraph = 1031; // graph window to itself (coalesced)
inline constexpr int kMsgDetachInfoWindow = 1032; // information window -> graph window
inline constexpr int kMsgApplyGraphicConfig = 1033; // graphic configuration -> graph window
inline constexpr int kMsgDialCancel = 1036; // dialing progress -> dialer

inline constexpr std::uint32_t kInternalWParam = 0xAA55;
inline constexpr std::uint32_t kInternalLParam = 0xA55A4B7C;

// The event type that carries message number `message`.
QEvent::Type internalEventType(int message);
// The message number of an event type, or 0 when it is no internal message.
int internalMessageOf(QEvent::Type type);

class InternalEvent final : public QEvent {
public:
    explicit InternalEvent(int message) : QEvent(internalEventType(message)), message_(message) {}
    int message() const { return message_; }
    std::uint32_t wParam() const { return kInternalWParam; }
    std::uint32_t lParam() const { return kInternalLParam; }
    // True when the event carries the signature values.
    bool hasSignature() const { return wParam() == kInternalWParam && lParam() == kInternalLParam; }

private:
    int message_;
};

// Deliver at once (QCoreApplication::sendEvent). A null window is ignored. Returns 0.
int sendInternal(QObject* window, int message);
// Queue for later delivery (QCoreApplication::postEvent). A null window is ignored.
// Returns 0.
int postInternal(QObject* window, int message);

} // namespace qz
