#include "ui/internal_messages.h"
#include "window_rig.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
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
    open(oneInput());
    const int draws = box().drawCount();
    drag({110, 56}, {160, 206});
    EXPECT_EQ(level(), 1);
    EXPECT_EQ(view().first, 11);
    EXPECT_EQ(view().last, 21);
    EXPECT_NEAR(view().top[0], 158.26087, 1e-5);
    EXPECT_NEAR(view().bottom[0], 69.56522, 1e-5);
    EXPECT_EQ(box().drawCount(), draws + 1);
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

void PrintTo(const NoZoomCase& c, std::ostream* os)
{
    *os << c.name;
}

class NoZoomTest : public GraphWindowTest, public ::testing::WithParamInterface<NoZoomCase> {};

TEST_P(NoZoomTest, LeavesTheLevelAndThePictureAlone)
{
    const NoZoomCase& c = GetParam();
    open(oneInput());
    const int draws = box().drawCount();
    press(Qt::LeftButton, c.press);
    move(c.move, Qt::LeftButton);
    release(Qt::LeftButton, c.release);
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(box().drawCount(), draws);
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_FALSE(window_->isDragging());
    EXPECT_FALSE(box().rubberBand());
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

TEST_F(GraphWindowTest, ATooNarrowRectangleIsRefusedOnTheStatusLine)
{
    open(oneInput());
    QStringList notes;
    QObject::connect(window_, &DocumentWindow::statusNote, [&](const QString& n) { notes << n; });
    drag({110, 50}, {112, 200});
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(notes, QStringList{"Window too small "});
    EXPECT_TRUE(prompt_.records().empty()) << "a slip of the mouse raises no box";
}

TEST_F(GraphWindowTest, AnAxisWithoutTickRefusesTheLevelAndRedrawsTheLevelAbove)
{
    // Input 2 has no calibrated span and owns the right axis.
    open(graphRecording()
             .input(0, graphInput("degC"))
             .input(1, graphInput("bar", 0, 100, 100 * 256, 100 * 256))
             .measurements(57, [](int k, int i) { return std::uint8_t(i == 0 ? 50 + 2 * k : 90 + k % 3); }));
    const int draws = box().drawCount();
    QStringList notes;
    QObject::connect(window_, &DocumentWindow::statusNote, [&](const QString& n) { notes << n; });
    drag({110, 56}, {160, 206});
    EXPECT_EQ(notes, QStringList{"Window too small "});
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_EQ(level(), 0);
    // Redrawn once the event loop runs.
    settle();
    EXPECT_EQ(box().drawCount(), draws + 1);
    EXPECT_EQ(view().last, 57);
}

TEST_F(GraphWindowTest, SixteenLevelsThenTheDeepestIsDrawnAgain)
{
    open(oneInput());
    for (int depth = 1; depth <= 16; ++depth) {
        drag({61, 27}, {339, 255});
        ASSERT_EQ(level(), depth);
    }
    const ViewRecord deepest = view();
    const int draws = box().drawCount();
    drag({100, 50}, {200, 150});
    EXPECT_EQ(level(), 16);
    EXPECT_EQ(view().first, deepest.first);
    EXPECT_EQ(view().last, deepest.last);
    EXPECT_EQ(box().drawCount(), draws + 1);
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(GraphWindowTest, RightClickGoesBackOneLevel)
{
    open(oneInput());
    drag({110, 56}, {300, 206});
    const ViewRecord first = view();
    drag({110, 56}, {160, 206});
    ASSERT_EQ(level(), 2);
    int draws = box().drawCount();
    press(Qt::RightButton, kInPlot);
    release(Qt::RightButton, kInPlot);
    EXPECT_EQ(level(), 1);
    EXPECT_EQ(view().last, first.last);
    EXPECT_EQ(box().drawCount(), draws + 1);
    // Anywhere on the box, also outside the plot.
    press(Qt::RightButton, {5, 5});
    EXPECT_EQ(level(), 0);
    // Two quick right clicks are two steps back.
    drag({110, 56}, {300, 206});
    drag({110, 56}, {160, 206});
    ASSERT_EQ(level(), 2);
    press(Qt::RightButton, kInPlot);
    release(Qt::RightButton, kInPlot);
    QTest::mouseDClick(window_->paintBox(), Qt::RightButton, Qt::NoModifier, kInPlot);
    release(Qt::RightButton, kInPlot);
    EXPECT_EQ(level(), 0);
    EXPECT_FALSE(config_->isVisible());
    // At level 0 nothing happens.
    draws = box().drawCount();
    press(Qt::RightButton, kInPlot);
    EXPECT_EQ(level(), 0);
    EXPECT_EQ(box().drawCount(), draws);
}

TEST_F(GraphWindowTest, MovingOverThePlotReportsTheMeasurementToTheMainWindow)
{
    open(threeInputs());
    // x 110 is measurement 1 + 80 x 50 div 280 = 15: raw 100, 185 and 80.
    move(kInPlot);
    const QString when = QStringLiteral(" 12/03/01 14:35:00 ");
    EXPECT_EQ(window_->cursorValues(), QStringList({when, "39.0 ", "145 ", "31.5 "}));
    EXPECT_EQ(window_->cursorUnits(), QStringList({when, "degC", "%rH", "bar"}));
    EXPECT_EQ(status_.draws, 1);

    // Above the plot (x inside): the report is cleared, and still sent.
    move({110, 10});
    EXPECT_TRUE(window_->cursorValues().isEmpty());
    EXPECT_TRUE(window_->cursorUnits().isEmpty());
    EXPECT_EQ(status_.draws, 2);
    // Beside the plot: the report stays as it is.
    move(kInPlot);
    move({20, 100});
    EXPECT_EQ(window_->cursorValues().size(), 4);
    EXPECT_EQ(status_.draws, 4);
}

TEST_F(GraphWindowTest, AMouseMoveReadsNoFile)
{
    // The readout unit of the settings file is read when the recording is made; a settings
    // file changed, damaged or gone afterwards changes nothing until the next open. A move
    // that read the file would pay a disk access on every pixel.
    const QString settings =
        fixture_.writeFile(QStringLiteral("QUORZK.INI"), "[Device 224]\r\nPrimUnit38=mV\r\n");
    open(threeInputs());
    move(kInPlot);
    const QStringList before = window_->cursorValues();
    ASSERT_EQ(before.value(1), QStringLiteral("39.0 mV"));
    const struct {
        const char* what;
        QByteArray content; // null: the file is removed
    } cases[] = {
        {"another unit", "[Device 224]\r\nPrimUnit38=kV\r\n"},
        {"no unit", "[Device 224]\r\n"},
        {"not a text file", QByteArray("\xFF\xFE\0\x01", 4)},
        {"removed", QByteArray()},
    };
    for (const auto& c : cases) {
        if (c.content.isNull())
            ASSERT_TRUE(QFile::remove(settings)) << c.what;
        else
            fixture_.writeFile(QStringLiteral("QUORZK.INI"), c.content);
        move({120, 100});
        move(kInPlot);
        EXPECT_EQ(window_->cursorValues(), before) << c.what;
    }
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(GraphWindowTest, ShiftRightClickInTheTopRightCornerSwitchesTheDiagnosticReadout)
{
    open(threeInputs());
    drag({110, 56}, {300, 206}); // a level that the corner click must not take away
    ASSERT_EQ(level(), 1);
    press(Qt::RightButton, {398, 1}, Qt::ShiftModifier);
    EXPECT_TRUE(window_->diagnosticReadout());
    EXPECT_EQ(level(), 1);
    // Level 1 spans measurements 15..69: x 61 is measurement 15.
    move({61, 100});
    EXPECT_EQ(window_->cursorValues().mid(1), QStringList({"100 AD", "185 AD", "80 AD"}));

    press(Qt::RightButton, {399, 0}, Qt::ShiftModifier);
    EXPECT_FALSE(window_->diagnosticReadout());
    move({61, 101});
    EXPECT_EQ(window_->cursorValues().at(1), "39.0 ");

    // Outside the corner, or without Shift, it is a step back.
    press(Qt::RightButton, {397, 1}, Qt::ShiftModifier);
    EXPECT_FALSE(window_->diagnosticReadout());
    EXPECT_EQ(level(), 0);
}

TEST_F(GraphWindowTest, TheCursorLineWaitsHalfASecondAfterActivationAndAfterEveryDrawing)
{
    open(oneInput());
    // open() let the hold-off of its activation pass.
    move(kInPlot);
    EXPECT_EQ(box().cursorLine(), 110);

    window_->drawGraph();
    EXPECT_FALSE(box().cursorLineShown());
    clock_.advance(kCursorHoldOffMs - 1);
    move({120, 100});
    EXPECT_FALSE(box().cursorLineShown());
    // The readout does not wait.
    EXPECT_EQ(window_->cursorValues().size(), 2);
    clock_.advance(1);
    move({121, 100});
    EXPECT_EQ(box().cursorLine(), 121);

    // Activated again (another window was active meanwhile): the hold-off starts again.
    auto* other = area_->addSubWindow(new QWidget);
    other->show();
    area_->setActiveSubWindow(other);
    EXPECT_FALSE(window_->isActive());
    area_->setActiveSubWindow(window_);
    ASSERT_TRUE(window_->isActive());
    move({130, 100});
    EXPECT_NE(box().cursorLine(), 130);
    clock_.advance(kCursorHoldOffMs);
    move({131, 100});
    EXPECT_EQ(box().cursorLine(), 131);
}

TEST_F(GraphWindowTest, TheCursorLineFollowsTheMouseInsideThePlotOnly)
{
    open(oneInput());
    move(kInPlot);
    ASSERT_EQ(box().cursorLine(), 110);
    move({339, 100});
    EXPECT_EQ(box().cursorLine(), 339);
    // On the frame and outside it the line goes.
    for (const QPoint p : {QPoint(340, 100), QPoint(200, 26), QPoint(200, 256), QPoint(380, 280)}) {
        move({200, 100});
        ASSERT_TRUE(box().cursorLineShown());
        move(p);
        EXPECT_FALSE(box().cursorLineShown()) << p.x() << "," << p.y();
    }
    // Coming back at the column where it was shows it again.
    move({200, 100});
    EXPECT_EQ(box().cursorLine(), 200);
    // No line while a rectangle is drawn.
    press(Qt::LeftButton, {150, 100});
    move({180, 150}, Qt::LeftButton);
    EXPECT_FALSE(box().cursorLineShown());
    release(Qt::LeftButton, {180, 150});
}

struct KeyCase {
    Qt::KeyboardModifiers modifiers;
    bool lineStays;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << "modifiers 0x" << std::hex << int(c.modifiers);
}

class CursorKeyTest : public GraphWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(CursorKeyTest, ExactlyAltOrCtrlTakesTheLineAway)
{
    open(oneInput());
    move(kInPlot);
    ASSERT_TRUE(box().cursorLineShown());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, GetParam().modifiers);
    QApplication::sendEvent(window_, &key);
    EXPECT_EQ(box().cursorLineShown(), GetParam().lineStays);
}

INSTANTIATE_TEST_SUITE_P(Keys, CursorKeyTest,
                         ::testing::Values(KeyCase{Qt::ControlModifier, false},
                                           KeyCase{Qt::AltModifier, false},
                                           KeyCase{Qt::ControlModifier | Qt::ShiftModifier, true},
                                           KeyCase{Qt::ShiftModifier, true}, KeyCase{Qt::NoModifier, true}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             switch (int(info.param.modifiers)) {
                             case Qt::ControlModifier:
                                 return std::string("Ctrl");
                             case Qt::AltModifier:
                                 return std::string("Alt");
                             case Qt::ControlModifier | Qt::ShiftModifier:
                                 return std::string("CtrlShift");
                             case Qt::ShiftModifier:
                                 return std::string("Shift");
                             default:
                                 return std::string("None");
                             }
                         });

TEST_F(GraphWindowTest, AWindowThatIsNotActiveReadsNothingOut)
{
    open(oneInput());
    auto* other = area_->addSubWindow(new QWidget);
    other->show();
    area_->setActiveSubWindow(other);
    ASSERT_FALSE(window_->isActive());
    clock_.advance(kCursorHoldOffMs);
    move(kInPlot);
    EXPECT_TRUE(window_->cursorValues().isEmpty());
    EXPECT_FALSE(box().cursorLineShown());
    EXPECT_EQ(status_.draws, 0);
}

TEST_F(GraphWindowTest, TheZoomRectangleIsHeldInsideTheFrameAndGoesWithTheButton)
{
    open(oneInput());
    press(Qt::LeftButton, {200, 100});
    EXPECT_TRUE(window_->isDragging());
    move({390, 280}, Qt::LeftButton);
    ASSERT_TRUE(box().rubberBand());
    EXPECT_EQ(*box().rubberBand(), QRect(QPoint(200, 100), QPoint(340, 256)));
    // The readout follows the column also above the plot while dragging.
    move({300, 5}, Qt::LeftButton);
    EXPECT_EQ(*box().rubberBand(), QRect(QPoint(200, 26), QPoint(300, 100)));
    EXPECT_EQ(window_->cursorValues().size(), 2);
    move({100, 200}, Qt::LeftButton);
    EXPECT_EQ(*box().rubberBand(), QRect(QPoint(100, 100), QPoint(200, 200)));
    release(Qt::LeftButton, {100, 200});
    EXPECT_FALSE(box().rubberBand());
    EXPECT_EQ(level(), 1);
}

TEST_F(GraphWindowTest, TheOverlaysAreDrawnOverThePictureNotIntoIt)
{
    open(oneInput());
    const QImage before = box().image();
    move({200, 100});
    press(Qt::LeftButton, {150, 60});
    move({250, 200}, Qt::LeftButton);
    const QImage shown = box().grab().toImage();
    // The picture itself (and so the clipboard copy) is untouched.
    EXPECT_EQ(box().image(), before);
    EXPECT_EQ(window_->snapshot(), before);
    // On the screen: the dotted rectangle through both corners, in blue.
    const QColor blue(0, 0, 255);
    int onEdges = 0;
    for (int x = 150; x <= 250; ++x)
        onEdges += (shown.pixelColor(x, 60) == blue) + (shown.pixelColor(x, 200) == blue);
    EXPECT_GT(onEdges, 40);
    EXPECT_LT(onEdges, 200); // dotted, not solid
    release(Qt::LeftButton, {250, 200});
}

TEST_F(GraphWindowTest, ADoubleClickOpensTheGraphicConfigurationForThisWindow)
{
    open(threeInputs());
    doubleClick(kInPlot);
    EXPECT_EQ(level(), 0); // the clicks of a double click draw no rectangle
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
int curvePixels(const QImage& img, const QColor& c)
{
    int n = 0;
    for (int y = 27; y < 256; ++y)
        for (int x = 61; x < 340; ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

TEST_F(GraphWindowTest, OkChangesTheDrawingAndCancelLeavesIt)
{
    open(threeInputs());
    const QColor magenta(255, 0, 255); // input 3
    const DisplaySettings before = rec().settings();
    ASSERT_GT(curvePixels(box().image(), magenta), 50);

    // Cancel after changes: nothing reaches the window.
    doubleClick(kInPlot);
    config_->plotBox(2)->click();
    config_->autoScaleBox()->click();
    config_->findChild<QPushButton*>("CancelBtn")->click();
    settle();
    EXPECT_FALSE(config_->isVisible());
    EXPECT_EQ(rec().settings(), before);
    EXPECT_GT(curvePixels(box().image(), magenta), 50);
    // A new double click shows the window's settings again.
    doubleClick(kInPlot);
    EXPECT_TRUE(config_->plotBox(2)->isChecked());
    EXPECT_TRUE(config_->autoScaleBox()->isChecked());

    // OK: input 3 hidden, the right axis moves to input 6, a new colour for input 1.
    colours_.answers.push_back(QColor(0, 0, 160));
    QTest::mousePress(config_->plotBox(0), Qt::RightButton);
    config_->plotBox(2)->click();
    config_->rightBox(5)->click();
    const int draws = box().drawCount();
    config_->findChild<QPushButton*>("OKBtn")->click();
    EXPECT_FALSE(config_->isVisible());
    settle(); // message 1033
    EXPECT_EQ(box().drawCount(), draws + 1);
    EXPECT_FALSE(rec().isInputDrawn(2));
    EXPECT_EQ(rec().settings().rightAxisInput, 5);
    EXPECT_EQ(rec().colours()[1], 0xA00000u);
    EXPECT_EQ(curvePixels(box().image(), magenta), 0);
    EXPECT_GT(curvePixels(box().image(), QColor(0, 0, 160)), 50);
    EXPECT_EQ(curvePixels(box().image(), QColor(255, 0, 0)), 0);
    // The readout follows: two columns.
    reactivate();
    move(kInPlot);
    EXPECT_EQ(window_->cursorValues().size(), 3);
}

TEST_F(GraphWindowTest, AutoScalingOffPlotsTheCalibratedRange)
{
    open(oneInput());
    doubleClick(kInPlot);
    config_->autoScaleBox()->click();
    config_->accept();
    settle();
    EXPECT_FALSE(rec().settings().autoScale);
    EXPECT_DOUBLE_EQ(view().top[0], 255);
    EXPECT_DOUBLE_EQ(view().bottom[0], 0);
}

TEST_F(GraphWindowTest, AResizeRightAfterTheProgramSizedTheWindowDrawsNothingTheNextDoes)
{
    open(oneInput());
    const int draws = box().drawCount();
    window_->setTopAndHeight(0, window_->height() + 20);
    settle();
    EXPECT_EQ(box().drawCount(), draws);
    window_->resize(window_->width() + 20, window_->height());
    settle();
    EXPECT_EQ(box().drawCount(), draws + 1);
    EXPECT_EQ(box().image().size(), box().size());
}

TEST_F(GraphWindowTest, EveryDrawingTellsALinkedInformationWindowWhichGoesWhenItCloses)
{
    open(oneInput());
    int drawn = 0;
    QObject::connect(window_, &GraphWindow::graphDrawn, [&drawn] { ++drawn; });
    drag({110, 56}, {160, 206});
    EXPECT_EQ(drawn, 1);
    press(Qt::RightButton, kInPlot);
    EXPECT_EQ(drawn, 2);
    window_->redrawGraph();
    window_->redrawGraph();
    settle();
    EXPECT_EQ(drawn, 3);

    auto* info = new GraphWindow(prompt_, clock_, nullptr);
    window_->setInformationWindow(info);
    EXPECT_EQ(window_->informationWindow(), info);
    sendInternal(window_, kMsgDetachInfoWindow);
    EXPECT_EQ(window_->informationWindow(), nullptr);
    delete info;
}

TEST_F(GraphWindowTest, AnUnsavedRecordingAsksBeforeItsWindowCloses)
{
    const struct {
        bool saved;
        PromptAnswer answer;
        bool saves; // what the save the window asks for comes to
        bool canClose;
        bool asked;
        int saveAsked;
    } cases[] = {
        {true, PromptAnswer::Cancel, false, true, false, 0},
        {false, PromptAnswer::Cancel, false, false, true, 0},
        {false, PromptAnswer::Discard, false, true, true, 0},
        {false, PromptAnswer::Save, true, true, true, 1},
        {false, PromptAnswer::Save, false, false, true, 1}, // the save was cancelled
    };
    for (const auto& c : cases) {
        open(oneInput());
        window_->childTitle(1);
        window_->setSaved(c.saved);
        int saveAsked = 0;
        window_->setSaveHandler([&](GraphWindow&) {
            ++saveAsked;
            return c.saves;
        });
        prompt_.clear();
        prompt_.script({c.answer});
        EXPECT_EQ(window_->mayClose(), c.canClose);
        EXPECT_EQ(window_->isSaved(), c.canClose);
        EXPECT_EQ(saveAsked, c.saveAsked);
        ASSERT_EQ(prompt_.records().size(), c.asked ? 1u : 0u);
        if (c.asked) {
            ASSERT_TRUE(window_->view().caption().startsWith(QStringLiteral("S/N:4711 - ")));
            EXPECT_EQ(prompt_.records()[0].text,
                      QStringLiteral("The record ") + window_->view().caption()
                          + QStringLiteral("  has not been saved ,Close anyway ?"));
            EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Confirmation);
            EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::SaveDiscardCancel);
        }
        delete window_;
        window_ = nullptr;
    }
}

TEST_F(GraphWindowTest, SavingNamesTheWindowsRecordingOnlyWhenTheFileIsWritten)
{
    open(oneInput());
    window_->setSaved(false);
    const QString folder = fixture_.folder() + QStringLiteral("/taken.qrv");
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(window_->save(folder).ok());
    EXPECT_FALSE(window_->isSaved());
    EXPECT_TRUE(window_->fileName().isEmpty());

    const QString path = fixture_.folder() + QStringLiteral("/saved.qrv");
    ASSERT_TRUE(window_->save(path).ok());
    EXPECT_TRUE(window_->isSaved());
    EXPECT_EQ(window_->fileName(), path);
    EXPECT_EQ(window_->data().fileName(), path);
    // The view stays as it was: the same level and colours.
    EXPECT_EQ(window_->view().colours(), testColours());
}

TEST_F(GraphWindowTest, TwoWindowsOfOneRecordingShareItAndZoomApart)
{
    open(oneInput());
    GraphWindow* first = window_;
    auto* second = new GraphWindow(prompt_, clock_, config_.get());
    area_->addSubWindow(second);
    second->show();
    second->showRecording(first->view().primary(), true);
    EXPECT_EQ(&second->data(), &first->data());
    area_->setActiveSubWindow(first);
    settle();
    clock_.advance(kCursorHoldOffMs);
    drag({110, 56}, {160, 206});
    EXPECT_EQ(first->view().currentLevel(), 1);
    EXPECT_EQ(second->view().currentLevel(), 0);
}

} // namespace
} // namespace qz::test
