#include "ui/internal_messages.h"

#include <QCoreApplication>
#include <QObject>
#include <gtest/gtest.h>

#include <vector>

namespace qz {
namespace {

// Keeps every internal message it receives.
class Receiver : public QObject {
public:
    struct Seen {
        int message;
        std::uint32_t wParam;
        std::uint32_t lParam;
    };
    std::vector<Seen> seen;

protected:
    bool event(QEvent* e) override
    {
        if (internalMessageOf(e->type()) != 0) {
            auto* m = static_cast<InternalEvent*>(e);
            seen.push_back({m->message(), m->wParam(), m->lParam()});
            return true;
        }
        return QObject::event(e);
    }
};

TEST(InternalMessages, NumbersMapToDistinctEventTypes)
{
    const int numbers[] = {kMsgRenumberTitles,   kMsgDrawStatus,         kMsgTimerTick, kMsgRedrawGraph,
                           kMsgDetachInfoWindow, kMsgApplyGraphicConfig, kMsgDialCancel};
    for (int n : numbers) {
        EXPECT_EQ(internalEventType(n), QEvent::Type(QEvent::User + n - 1024)) << n;
        EXPECT_EQ(internalMessageOf(internalEventType(n)), n);
    }
    EXPECT_EQ(internalMessageOf(QEvent::User), 0);
    EXPECT_EQ(internalMessageOf(QEvent::Timer), 0);
    EXPECT_EQ(kInternalWParam, 0xAA55u);
    EXPECT_EQ(kInternalLParam, 0xA55A4B7Cu);
}

TEST(InternalMessages, SendDeliversAtOncePostAfterTheQueueRuns)
{
    Receiver r;
    EXPECT_EQ(sendInternal(&r, kMsgDrawStatus), 0);
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].message, kMsgDrawStatus);
    EXPECT_EQ(r.seen[0].wParam, 0xAA55u);
    EXPECT_EQ(r.seen[0].lParam, 0xA55A4B7Cu);

    EXPECT_EQ(postInternal(&r, kMsgRedrawGraph), 0);
    EXPECT_EQ(postInternal(&r, kMsgRedrawGraph), 0);
    EXPECT_EQ(r.seen.size(), 1u);
    // The redraw request is coalesced by removing the further ones still queued.
    QCoreApplication::removePostedEvents(&r, internalEventType(kMsgRedrawGraph));
    QCoreApplication::sendPostedEvents(&r);
    EXPECT_EQ(r.seen.size(), 1u);

    postInternal(&r, kMsgTimerTick);
    QCoreApplication::sendPostedEvents(&r);
    ASSERT_EQ(r.seen.size(), 2u);
    EXPECT_EQ(r.seen[1].message, kMsgTimerTick);

    EXPECT_EQ(sendInternal(nullptr, kMsgTimerTick), 0);
    EXPECT_EQ(postInternal(nullptr, kMsgTimerTick), 0);
}

} // namespace
} // namespace qz
