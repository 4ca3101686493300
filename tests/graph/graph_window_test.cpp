#include "model/internal_messages.h"
#include "window_rig.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

namespace qz::test {
namespace {

// OneInput on a 400 x 300 paint box: plot 60..340 x 26..256, a measurement every 5
// pixels, level 0 raw 40..176.
const QPoint kInPlot(110, 100);

TEST_F(GraphWindowTest, ADragZoomsToTheRectanglesMeasurementsAndRange)
{
    Open(OneInput());
    const int draws = Box().drawCount();
    Drag({110, 56}, {160, 206});
    EXPECT_EQ(Level(), 1);
    EXPECT_EQ(View().first, 11);
    EXPECT_EQ(View().last, 21);
    EXPECT_NEAR(View().top[0], 158.26087, 1e-5);
    EXPECT_NEAR(View().bottom[0], 69.56522, 1e-5);
    EXPECT_EQ(Box().drawCount(), draws + 1);
    EXPECT_TRUE(prompt_.records().empty());
    // The footer starts at the new first measurement.
    EXPECT_FALSE(window_->isDragging());
}

struct NoZoomCase {
    const char* name;
    QPoint press;
    QPoint move;
    QPoint release;
};

void PrintTo(const NoZoomCase& c, std::ostream* os) { *os << c.name; }

class NoZoomTest : public GraphWindowTest, public ::testing::WithParamInterface<NoZoomCase> {};

TEST_P(NoZoomTest, LeavesTheLevelAndThePictureAlone)
{
    const NoZoomCase& c = GetParam();
    Open(OneInput());
    const int draws = Box().drawCount();
    Press(Qt::LeftButton, c.press);
    Move(c.move, Qt::LeftButton);
    Release(Qt::LeftButton, c.release);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(Box().drawCount(), draws);
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_FALSE(window_->isDragging());
    EXPECT_FALSE(Box().rubberBand());
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, NoZoomTest,
    ::testing::Values(NoZoomCase{"click", {110, 100}, {110, 100}, {110, 100}},
                      // The last drag position decides, not where the button goes up.
                      NoZoomCase{"along a column", {110, 50}, {110, 200}, {200, 200}},
                      NoZoomCase{"along a row", {110, 50}, {250, 50}, {250, 200}},
                      NoZoomCase{"pressed outside the plot", {30, 100}, {200, 200}, {200, 200}},
                      NoZoomCase{"pressed on the frame", {60, 100}, {200, 200}, {200, 200}}),
    [](const ::testing::TestParamInfo<NoZoomCase>& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ')
                ch = '_';
        return n;
    });

TEST_F(GraphWindowTest, ATooNarrowRectangleIsRefusedWithAMessage)
{
    Open(OneInput());
    Drag({110, 50}, {112, 200});
    EXPECT_EQ(Level(), 0);
    ASSERT_EQ(prompt_.records().size(), 1u);
    EXPECT_EQ(prompt_.records()[0].text, "Window too small ");
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::Ok);
}

TEST_F(GraphWindowTest, AnAxisWithoutTickRefusesTheLevelAndRedrawsTheLevelAbove)
{
    // Input 2 has no calibrated span and owns the right axis.
    Open(GraphRecording()
             .input(0, GraphInput("degC"))
             .input(1, GraphInput("bar", 0, 100, 100 * 256, 100 * 256))
             .measurements(57, [](int k, int i) { return std::uint8_t(i == 0 ? 50 + 2 * k : 90 + k % 3); }));
    const int draws = Box().drawCount();
    Drag({110, 56}, {160, 206});
    EXPECT_EQ(prompt_.texts(), QStringList{"Window too small "});
    EXPECT_EQ(Level(), 0);
    // Redrawn once the event loop runs.
    Settle();
    EXPECT_EQ(Box().drawCount(), draws + 1);
    EXPECT_EQ(View().last, 57);
}

TEST_F(GraphWindowTest, SixteenLevelsThenTheDeepestIsDrawnAgain)
{
    Open(OneInput());
    for (int level = 1; level <= 16; ++level) {
        Drag({61, 27}, {339, 255});
        ASSERT_EQ(Level(), level);
    }
    const ViewRecord deepest = View();
    const int draws = Box().drawCount();
    Drag({100, 50}, {200, 150});
    EXPECT_EQ(Level(), 16);
    EXPECT_EQ(View().first, deepest.first);
    EXPECT_EQ(View().last, deepest.last);
    EXPECT_EQ(Box().drawCount(), draws + 1);
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(GraphWindowTest, RightClickGoesBackOneLevel)
{
    Open(OneInput());
    Drag({110, 56}, {300, 206});
    const ViewRecord first = View();
    Drag({110, 56}, {160, 206});
    ASSERT_EQ(Level(), 2);
    int draws = Box().drawCount();
    Press(Qt::RightButton, kInPlot);
    Release(Qt::RightButton, kInPlot);
    EXPECT_EQ(Level(), 1);
    EXPECT_EQ(View().last, first.last);
    EXPECT_EQ(Box().drawCount(), draws + 1);
    // Anywhere on the box, also outside the plot.
    Press(Qt::RightButton, {5, 5});
    EXPECT_EQ(Level(), 0);
    // Two quick right clicks are two steps back.
    Drag({110, 56}, {300, 206});
    Drag({110, 56}, {160, 206});
    ASSERT_EQ(Level(), 2);
    Press(Qt::RightButton, kInPlot);
    Release(Qt::RightButton, kInPlot);
    QTest::mouseDClick(window_->paintBox(), Qt::RightButton, Qt::NoModifier, kInPlot);
    Release(Qt::RightButton, kInPlot);
    EXPECT_EQ(Level(), 0);
    EXPECT_FALSE(config_->isVisible());
    // At level 0 nothing happens.
    draws = Box().drawCount();
    Press(Qt::RightButton, kInPlot);
    EXPECT_EQ(Level(), 0);
    EXPECT_EQ(Box().drawCount(), draws);
}

TEST_F(GraphWindowTest, MovingOverThePlotReportsTheMeasurementToTheMainWindow)
{
    Open(ThreeInputs());
    // x 110 is measurement 1 + 80 x 50 div 280 = 15: raw 100, 185 and 80.
    Move(kInPlot);
    const QString when = QStringLiteral(" 12/03/01 14:35:00 ");
    EXPECT_EQ(window_->cursorValues(), QStringList({when, "39.0 ", "145 ", "31.5 "}));
    EXPECT_EQ(window_->cursorUnits(), QStringList({when, "degC", "%rH", "bar"}));
    EXPECT_EQ(status_.draws, 1);

    // Above the plot (x inside): the report is cleared, and still sent.
    Move({110, 10});
    EXPECT_TRUE(window_->cursorValues().isEmpty());
    EXPECT_TRUE(window_->cursorUnits().isEmpty());
    EXPECT_EQ(status_.draws, 2);
    // Beside the plot: the report stays as it is.
    Move(kInPlot);
    Move({20, 100});
    EXPECT_EQ(window_->cursorValues().size(), 4);
    EXPECT_EQ(status_.draws, 4);
}

TEST_F(GraphWindowTest, ShiftRightClickInTheTopRightCornerSwitchesTheDiagnosticReadout)
{
    Open(ThreeInputs());
    Drag({110, 56}, {300, 206}); // a level that the corner click must not take away
    ASSERT_EQ(Level(), 1);
    Press(Qt::RightButton, {398, 1}, Qt::ShiftModifier);
    EXPECT_TRUE(window_->diagnosticReadout());
    EXPECT_EQ(Level(), 1);
    // Level 1 spans measurements 15..69: x 61 is measurement 15.
    Move({61, 100});
    EXPECT_EQ(window_->cursorValues().mid(1), QStringList({"100 AD", "185 AD", "80 AD"}));

    Press(Qt::RightButton, {399, 0}, Qt::ShiftModifier);
    EXPECT_FALSE(window_->diagnosticReadout());
    Move({61, 101});
    EXPECT_EQ(window_->cursorValues().at(1), "39.0 ");

    // Outside the corner, or without Shift, it is a step back.
    Press(Qt::RightButton, {397, 1}, Qt::ShiftModifier);
    EXPECT_FALSE(window_->diagnosticReadout());
    EXPECT_EQ(Level(), 0);
}

TEST_F(GraphWindowTest, TheCursorLineWaitsHalfASecondAfterActivationAndAfterEveryDrawing)
{
    Open(OneInput());
    // Open() let the hold-off of its activation pass.
    Move(kInPlot);
    EXPECT_EQ(Box().cursorLine(), 110);

    window_->drawGraph();
    EXPECT_FALSE(Box().cursorLineShown());
    clock_.advance(kCursorHoldOffMs - 1);
    Move({120, 100});
    EXPECT_FALSE(Box().cursorLineShown());
    // The readout does not wait.
    EXPECT_EQ(window_->cursorValues().size(), 2);
    clock_.advance(1);
    Move({121, 100});
    EXPECT_EQ(Box().cursorLine(), 121);

    // Activated again (another window was active meanwhile): the hold-off starts again.
    auto* other = area_->addSubWindow(new QWidget);
    other->show();
    area_->setActiveSubWindow(other);
    EXPECT_FALSE(window_->isActive());
    area_->setActiveSubWindow(window_);
    ASSERT_TRUE(window_->isActive());
    Move({130, 100});
    EXPECT_NE(Box().cursorLine(), 130);
    clock_.advance(kCursorHoldOffMs);
    Move({131, 100});
    EXPECT_EQ(Box().cursorLine(), 131);
}

TEST_F(GraphWindowTest, TheCursorLineFollowsTheMouseInsideThePlotOnly)
{
    Open(OneInput());
    Move(kInPlot);
    ASSERT_EQ(Box().cursorLine(), 110);
    Move({339, 100});
    EXPECT_EQ(Box().cursorLine(), 339);
    // On the frame and outside it the line goes.
    for (const QPoint p : {QPoint(340, 100), QPoint(200, 26), QPoint(200, 256), QPoint(380, 280)}) {
        Move({200, 100});
        ASSERT_TRUE(Box().cursorLineShown());
        Move(p);
        EXPECT_FALSE(Box().cursorLineShown()) << p.x() << "," << p.y();
    }
    // Coming back at the column where it was shows it again.
    Move({200, 100});
    EXPECT_EQ(Box().cursorLine(), 200);
    // No line while a rectangle is drawn.
    Press(Qt::LeftButton, {150, 100});
    Move({180, 150}, Qt::LeftButton);
    EXPECT_FALSE(Box().cursorLineShown());
    Release(Qt::LeftButton, {180, 150});
}

struct KeyCase {
    Qt::KeyboardModifiers modifiers;
    bool lineStays;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << "modifiers 0x" << std::hex << int(c.modifiers); }

class CursorKeyTest : public GraphWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(CursorKeyTest, ExactlyAltOrCtrlTakesTheLineAway)
{
    Open(OneInput());
    Move(kInPlot);
    ASSERT_TRUE(Box().cursorLineShown());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, GetParam().modifiers);
    QApplication::sendEvent(window_, &key);
    EXPECT_EQ(Box().cursorLineShown(), GetParam().lineStays);
}

INSTANTIATE_TEST_SUITE_P(Keys, CursorKeyTest,
                         ::testing::Values(KeyCase{Qt::ControlModifier, false}, KeyCase{Qt::AltModifier, false},
                                           KeyCase{Qt::ControlModifier | Qt::ShiftModifier, true},
                                           KeyCase{Qt::ShiftModifier, true}, KeyCase{Qt::NoModifier, true}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             switch (int(info.param.modifiers)) {
                             case Qt::ControlModifier: return std::string("Ctrl");
                             case Qt::AltModifier: return std::string("Alt");
                             case Qt::ControlModifier | Qt::ShiftModifier: return std::string("CtrlShift");
                             case Qt::ShiftModifier: return std::string("Shift");
                             default: return std::string("None");
                             }
                         });

TEST_F(GraphWindowTest, AWindowThatIsNotActiveReadsNothingOut)
{
    Open(OneInput());
    auto* other = area_->addSubWindow(new QWidget);
    other->show();
    area_->setActiveSubWindow(other);
    ASSERT_FALSE(window_->isActive());
    clock_.advance(kCursorHoldOffMs);
    Move(kInPlot);
    EXPECT_TRUE(window_->cursorValues().isEmpty());
    EXPECT_FALSE(Box().cursorLineShown());
    EXPECT_EQ(status_.draws, 0);
}

TEST_F(GraphWindowTest, TheZoomRectangleIsHeldInsideTheFrameAndGoesWithTheButton)
{
    Open(OneInput());
    Press(Qt::LeftButton, {200, 100});
    EXPECT_TRUE(window_->isDragging());
    Move({390, 280}, Qt::LeftButton);
    ASSERT_TRUE(Box().rubberBand());
    EXPECT_EQ(*Box().rubberBand(), QRect(QPoint(200, 100), QPoint(340, 256)));
    // The readout follows the column also above the plot while dragging.
    Move({300, 5}, Qt::LeftButton);
    EXPECT_EQ(*Box().rubberBand(), QRect(QPoint(200, 26), QPoint(300, 100)));
    EXPECT_EQ(window_->cursorValues().size(), 2);
    Move({100, 200}, Qt::LeftButton);
    EXPECT_EQ(*Box().rubberBand(), QRect(QPoint(100, 100), QPoint(200, 200)));
    Release(Qt::LeftButton, {100, 200});
    EXPECT_FALSE(Box().rubberBand());
    EXPECT_EQ(Level(), 1);
}

TEST_F(GraphWindowTest, TheOverlaysAreDrawnOverThePictureNotIntoIt)
{
    Open(OneInput());
    const QImage before = Box().image();
    Move({200, 100});
    Press(Qt::LeftButton, {150, 60});
    Move({250, 200}, Qt::LeftButton);
    const QImage shown = Box().grab().toImage();
    // The picture itself (and so the clipboard copy) is untouched.
    EXPECT_EQ(Box().image(), before);
    EXPECT_EQ(window_->snapshot(), before);
    // On the screen: the dotted rectangle through both corners, in blue.
    const QColor blue(0, 0, 255);
    int onEdges = 0;
    for (int x = 150; x <= 250; ++x)
        onEdges += (shown.pixelColor(x, 60) == blue) + (shown.pixelColor(x, 200) == blue);
    EXPECT_GT(onEdges, 40);
    EXPECT_LT(onEdges, 200); // dotted, not solid
    Release(Qt::LeftButton, {250, 200});
}

TEST_F(GraphWindowTest, ADoubleClickOpensTheGraphicConfigurationForThisWindow)
{
    Open(ThreeInputs());
    DoubleClick(kInPlot);
    EXPECT_EQ(Level(), 0); // the clicks of a double click draw no rectangle
    ASSERT_TRUE(config_->isVisible());
    EXPECT_EQ(config_->windowTitle(), "ZK300 Graphic Configuration");
    EXPECT_EQ(config_->target(), window_);
    EXPECT_TRUE(config_->plotBox(2)->isChecked());
    EXPECT_FALSE(config_->plotBox(1)->isEnabled());
    EXPECT_TRUE(config_->leftBox(0)->isChecked());
    EXPECT_TRUE(config_->rightBox(2)->isChecked());
    EXPECT_EQ(config_->plotBox(0)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    config_->reject();
}

// Pixels of a colour inside the plot.
int CurvePixels(const QImage& img, const QColor& c)
{
    int n = 0;
    for (int y = 27; y < 256; ++y)
        for (int x = 61; x < 340; ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

TEST_F(GraphWindowTest, OkChangesTheDrawingAndCancelLeavesIt)
{
    Open(ThreeInputs());
    const QColor magenta(255, 0, 255); // input 3
    const DisplaySettings before = Rec().settings();
    ASSERT_GT(CurvePixels(Box().image(), magenta), 50);

    // Cancel after changes: nothing reaches the window.
    DoubleClick(kInPlot);
    config_->plotBox(2)->click();
    config_->autoScaleBox()->click();
    config_->findChild<QPushButton*>("CancelBtn")->click();
    Settle();
    EXPECT_FALSE(config_->isVisible());
    EXPECT_EQ(Rec().settings(), before);
    EXPECT_GT(CurvePixels(Box().image(), magenta), 50);
    // A new double click shows the window's settings again.
    DoubleClick(kInPlot);
    EXPECT_TRUE(config_->plotBox(2)->isChecked());
    EXPECT_TRUE(config_->autoScaleBox()->isChecked());

    // OK: input 3 hidden, the right axis moves to input 6, a new colour for input 1.
    colours_.answers.push_back(QColor(0, 0, 160));
    QTest::mousePress(config_->plotBox(0), Qt::RightButton);
    config_->plotBox(2)->click();
    config_->rightBox(5)->click();
    const int draws = Box().drawCount();
    config_->findChild<QPushButton*>("OKBtn")->click();
    EXPECT_FALSE(config_->isVisible());
    Settle(); // message 1033
    EXPECT_EQ(Box().drawCount(), draws + 1);
    EXPECT_FALSE(Rec().isInputDrawn(2));
    EXPECT_EQ(Rec().settings().rightAxisInput, 5);
    EXPECT_EQ(Rec().colours()[1], 0xA00000u);
    EXPECT_EQ(CurvePixels(Box().image(), magenta), 0);
    EXPECT_GT(CurvePixels(Box().image(), QColor(0, 0, 160)), 50);
    EXPECT_EQ(CurvePixels(Box().image(), QColor(255, 0, 0)), 0);
    // The readout follows: two columns.
    Reactivate();
    Move(kInPlot);
    EXPECT_EQ(window_->cursorValues().size(), 3);
}

TEST_F(GraphWindowTest, AutoScalingOffPlotsTheCalibratedRange)
{
    Open(OneInput());
    DoubleClick(kInPlot);
    config_->autoScaleBox()->click();
    config_->accept();
    Settle();
    EXPECT_FALSE(Rec().settings().autoScale);
    EXPECT_DOUBLE_EQ(View().top[0], 255);
    EXPECT_DOUBLE_EQ(View().bottom[0], 0);
}

TEST_F(GraphWindowTest, AResizeRightAfterTheProgramSizedTheWindowDrawsNothingTheNextDoes)
{
    Open(OneInput());
    const int draws = Box().drawCount();
    window_->setTopAndHeight(0, window_->height() + 20);
    Settle();
    EXPECT_EQ(Box().drawCount(), draws);
    window_->resize(window_->width() + 20, window_->height());
    Settle();
    EXPECT_EQ(Box().drawCount(), draws + 1);
    EXPECT_EQ(Box().image().size(), Box().size());
}

TEST_F(GraphWindowTest, EveryDrawingTellsALinkedInformationWindowWhichGoesWhenItCloses)
{
    Open(OneInput());
    int drawn = 0;
    QObject::connect(window_, &GraphWindow::graphDrawn, [&drawn] { ++drawn; });
    Drag({110, 56}, {160, 206});
    EXPECT_EQ(drawn, 1);
    Press(Qt::RightButton, kInPlot);
    EXPECT_EQ(drawn, 2);
    window_->redrawGraph();
    window_->redrawGraph();
    Settle();
    EXPECT_EQ(drawn, 3);

    auto* info = new GraphWindow(ProgramFolder(fixture_.Folder()), prompt_, clock_, nullptr);
    window_->setInformationWindow(info);
    EXPECT_EQ(window_->informationWindow(), info);
    SendInternal(window_, kMsgDetachInfoWindow);
    EXPECT_EQ(window_->informationWindow(), nullptr);
    delete info;
}

} // namespace
} // namespace qz::test
