// The graph window's wheel, drag and Home, recording files dropped on it, and the readout
// of several recordings.
#include "graph/view_memory.h"
#include "window_rig.h"

#include <QApplication>
#include <QCheckBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

namespace qz::test {
namespace {

class WindowNavigationTest : public GraphWindowTest {
protected:
    void wheel(QPoint at, int angle, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* box = window_->paintBox();
        QWheelEvent e(at, box->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &e);
    }
    QRect plotRect() const
    {
        const GraphLayout& l = window_->paintBox()->layout();
        return QRect(QPoint(l.left, l.top), QPoint(l.right - 1, l.bottom - 1));
    }
};

TEST_F(WindowNavigationTest, TheWheelZoomsTheTimeAndWithCtrlTheValues)
{
    open(oneInput(), QSize(400, 300), true);
    const QPoint mid = plotRect().center();
    const TimeWindow whole = rec().currentWindow();
    const int draws = box().drawCount();
    wheel(mid, 120); // one notch towards the user's screen: closer
    EXPECT_EQ(level(), 1);
    EXPECT_NEAR(rec().currentWindow().span(), whole.span() * 0.8, 1e-6);
    EXPECT_EQ(box().drawCount(), draws + 1);
    wheel(mid, -240); // back out: all of it
    EXPECT_EQ(rec().currentWindow(), whole);

    const UnitRange before = rec().unitRanges(level()).front();
    wheel(mid, 120, Qt::ControlModifier);
    const UnitRange after = rec().unitRanges(level()).front();
    EXPECT_NEAR(after.high - after.low, (before.high - before.low) * 0.8, 1e-9);
    EXPECT_EQ(rec().currentWindow(), whole);
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(WindowNavigationTest, TheMiddleButtonOrShiftAndTheLeftButtonMoveThePicture)
{
    open(oneInput(), QSize(400, 300), true);
    const QPoint mid = plotRect().center();
    wheel(mid, 240);
    for (const auto& [button, mods] : {std::pair{Qt::MiddleButton, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       std::pair{Qt::LeftButton, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        const TimeWindow before = rec().currentWindow();
        const int levelBefore = level();
        press(button, mid, mods);
        move(mid + QPoint(30, 0), button);
        release(button, mid + QPoint(30, 0));
        // Earlier instants come in from the left; no rectangle, no new level.
        EXPECT_LT(rec().currentWindow().from, before.from);
        EXPECT_NEAR(rec().currentWindow().span(), before.span(), 1e-6);
        EXPECT_EQ(level(), levelBefore);
        EXPECT_FALSE(window_->isDragging());
        EXPECT_FALSE(box().rubberBand());
    }
}

TEST_F(WindowNavigationTest, HomeShowsAllAgain)
{
    open(oneInput(), QSize(400, 300), true);
    drag({110, 56}, {300, 206});
    wheel(plotRect().center(), 120);
    ASSERT_GE(level(), 1);
    QTest::keyClick(window_, Qt::Key_Home);
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(view().last, 57);
}

TEST_F(WindowNavigationTest, RecordingFilesDroppedOnTheGraphAreHandedOn)
{
    open(oneInput(), QSize(400, 300), true);
    QSignalSpy dropped(window_, &GraphWindow::recordingsDropped);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/b.qrv")),
                  QUrl::fromLocalFile(QStringLiteral("/data/c.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/data/D.QRV"))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->paintBox(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->paintBox(), &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), QStringList({"/data/b.qrv", "/data/D.QRV"}));

    // Other files are not taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/c.txt"))});
    QDragEnterEvent refused(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_->paintBox(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(WindowNavigationTest, TheReadoutShowsEachRecordingUnderTheCursor)
{
    open(oneInput(), QSize(400, 300), true); // 14:21 to 15:17
    // A second run from 14:50, one measurement every two minutes: raw 200 - k.
    const auto second =
        RecordingData::fromImage(graphRecording()
                                     .interval(1, 120)
                                     .start(1, 3, 12, 14, 50, 0)
                                     .input(0, graphInput("degC"))
                                     .measurements(40, [](int k, int) { return std::uint8_t(200 - k); })
                                     .build(),
                                 0, fixture_.programFolder());
    ASSERT_TRUE(window_->addRecording(second.data));
    EXPECT_EQ(level(), 0);
    const GraphLayout& l = box().layout();
    const TimeWindow& w = rec().currentWindow();
    const auto xOf = [&](int h, int m) {
        const double t = (QDate(1899, 12, 30).daysTo(QDate(2001, 3, 12))) * 86400.0 + h * 3600 + m * 60;
        return l.left + int(std::lround((t - w.from) * l.width() / w.span()));
    };
    // At 15:00 both measured: A's measurement 40 (raw 130), B's 5 (raw 195).
    move({xOf(15, 0), 100});
    EXPECT_EQ(window_->cursorValues().value(0), " 12/03/01 15:00:00 ");
    EXPECT_EQ(window_->cursorValues().value(1), "51.0 ");
    ASSERT_EQ(window_->overlayReadouts().size(), 1u);
    const GraphWindow::OverlayReadout& b = window_->overlayReadouts().front();
    EXPECT_EQ(b.values, QStringList({" 12/03/01 15:00:00 ", "76.5 "}));
    EXPECT_EQ(b.units.value(1), "degC");
    ASSERT_EQ(b.colours.size(), 1u);
    EXPECT_EQ(b.colours[0], rec().curveColour({1, 0}));

    // At 15:40 only B measured: A's columns stay empty.
    move({xOf(15, 40), 100});
    // The instant of the pixel column, within the few seconds one column spans.
    ASSERT_EQ(window_->cursorValues().size(), 2);
    EXPECT_TRUE(window_->cursorValues()[0].startsWith(" 12/03/01 15:3")
                || window_->cursorValues()[0].startsWith(" 12/03/01 15:40"));
    EXPECT_EQ(window_->cursorValues()[1], "");
    EXPECT_EQ(window_->overlayReadouts().size(), 1u);
    // Before 14:50 only A.
    move({xOf(14, 30), 100});
    EXPECT_TRUE(window_->overlayReadouts().empty());
}

TEST_F(WindowNavigationTest, TheGraphIsShownAsItWasLeft)
{
    const QString settings = fixture_.writeFile(QStringLiteral("QUORZK.INI"), "[Files]\r\n");
    open(threeInputs(), QSize(400, 300), true);
    window_->setSettingsFile(settings);
    config_->setUp(rec().data().reader(), rec().settings(), rec().colours());
    config_->setTarget(window_);
    config_->plotBox(2)->click();
    config_->gridBox()->click();
    config_->ownScalesBox()->click();
    config_->accept();
    settle();
    ASSERT_FALSE(rec().settings().grid);
    IniFile file;
    ASSERT_TRUE(file.load(settings));
    EXPECT_EQ(file.value(viewSection(rec().data()), QStringLiteral("Inputs")), "1,6");

    // The same recording in a new window: as it was left.
    const std::shared_ptr<const RecordingData> same = rec().primary();
    window_->setSettingsFile(settings);
    window_->showRecording(same, true);
    EXPECT_FALSE(rec().settings().grid);
    EXPECT_TRUE(rec().settings().ownScales);
    EXPECT_FALSE(rec().isInputDrawn(2));
    EXPECT_TRUE(rec().isInputDrawn(5));
}

} // namespace
} // namespace qz::test
