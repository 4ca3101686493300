// The status line shows the readout of the active graph window as the mouse moves over
// it, and the graphic configuration that a double click opens changes graph and status.
#include "app/ui/help_window.h"
#include "app/ui/status_image.h"
#include "app_rig.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "graph/ui/graphic_config_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace qz::test {
namespace {

class StatusLineTest : public AppTest {
protected:
    // A cold store recording, open, active, past its cursor hold-off.
    GraphWindow* openActive()
    {
        GraphWindow* graph = openThroughMenu(writeRecording("cold.qrv", coldStoreImage()));
        if (!graph)
            return nullptr;
        form().activateWindow();
        form().mdiArea()->setActiveSubWindow(graph);
        settle();
        clock_.advance(kCursorHoldOffMs);
        return graph;
    }
    static void move(GraphWindow* graph, QPoint at)
    {
        QWidget* box = graph->paintBox();
        QMouseEvent e(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }
    // Inside the plot at its left edge: measurement 1.
    static QPoint firstColumn(GraphWindow* graph)
    {
        const GraphLayout& l = graph->paintBox()->layout();
        return {l.left + 1, (l.top + l.bottom) / 2};
    }
};

TEST_F(StatusLineTest, ShowsTheMeasurementUnderTheMouseInTheInputsColours)
{
    GraphWindow* graph = openActive();
    ASSERT_TRUE(graph);
    ASSERT_TRUE(graph->isActive());
    StatusImage* status = form().statusImage();
    ASSERT_TRUE(status->isCleared());

    // Measurement 1, one recording step (44 s) after the stamp 01/03/05 14:07:09: Air raw
    // 21, Door raw 22, Floor raw 25.
    move(graph, firstColumn(graph));
    const StatusReadout& shown = status->readout();
    EXPECT_EQ(shown.texts, QStringList({" 01/03/05 14:07:53 ", "-32.0 ", "8.5 ", "-30.0 "}));
    EXPECT_EQ(shown.units,
              QStringList({" 01/03/05 14:07:53 ",
                           QString::fromLatin1("\xb0"
                                               "C"),
                           "%",
                           QString::fromLatin1("\xb0"
                                               "C")}));
    EXPECT_EQ(shown.colours, graph->colours());
    EXPECT_FALSE(status->isCleared());
    // A time column, then one column per drawn input: Air, Door and Floor.
    EXPECT_EQ(status->columns().size(), 3);
    const QImage line = status->image();
    bool greenSeen = false; // Door's default colour
    for (int x = status->columns()[1]; x < status->columns()[2]; ++x)
        for (int y = 0; y < line.height(); ++y)
            greenSeen |= line.pixelColor(x, y) == QColor(0, 128, 0);
    EXPECT_TRUE(greenSeen);
    // The columns are narrow: the tooltip names each input beside its value.
    EXPECT_EQ(status->toolTip().split('\n'),
              QStringList(
                  {"01/03/05 14:07:53", "1 Air: -32.0 \u00b0C", "2 Door: 8.5 %", "5 Floor: -30.0 \u00b0C"}));

    // Above the plot the report is cleared, and so is the status line.
    move(graph, {firstColumn(graph).x(), 5});
    EXPECT_TRUE(status->isCleared());
}

class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(StatusLineTest, RedrawingTheStatusLineOnARepaintAsksForNoFurtherRepaint)
{
    // The main window draws the status line again on each of its repaints; that must
    // not make it repaint once more, and so on for ever.
    GraphWindow* graph = openActive();
    ASSERT_TRUE(graph);
    move(graph, firstColumn(graph));
    settle();
    PaintCounter formPaints, status;
    form().installEventFilter(&formPaints);
    form().statusImage()->installEventFilter(&status);
    form().update();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_LE(formPaints.paints, 1);
    EXPECT_EQ(status.paints, 0);
    EXPECT_FALSE(form().statusImage()->isCleared());
}

TEST_F(StatusLineTest, ADoubleClickConfiguresTheGraphAndItsStatusColumns)
{
    GraphWindow* graph = openActive();
    ASSERT_TRUE(graph);
    QWidget* box = graph->paintBox();
    const QPoint at = firstColumn(graph);
    QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, at);
    GraphicConfigDialog* config = form().graphicConfig();
    ASSERT_TRUE(config->isVisible());
    EXPECT_EQ(config->target(), graph);
    EXPECT_EQ(config->windowTitle(), "ZK300 Graphic Configuration");

    // Door (input 2) hidden, its colour chosen anew on the way.
    dialogs_.colours.push_back(QColor(200, 100, 0));
    QTest::mousePress(config->plotBox(1), Qt::RightButton);
    config->plotBox(1)->click();
    config->findChild<QPushButton*>("OKBtn")->click();
    settle();
    EXPECT_FALSE(graph->isInputDrawn(1));
    EXPECT_EQ(graph->colours()[2], 0x0064C8u);

    form().activateWindow();
    settle();
    move(graph, at);
    EXPECT_EQ(form().statusImage()->readout().texts.mid(1), QStringList({"-32.0 ", "-30.0 "}));
    EXPECT_EQ(form().statusImage()->columns().size(), 2);
}

TEST_F(StatusLineTest, TheGraphicConfigurationFollowsTheWindowThatOpenedItLast)
{
    GraphWindow* first = openActive();
    ASSERT_TRUE(first);
    GraphWindow* second = openThroughMenu(writeRecording("other.qrv", coldStoreImage()));
    ASSERT_TRUE(second);
    for (GraphWindow* g : {first, second}) {
        QTest::mouseDClick(g->paintBox(), Qt::LeftButton, Qt::NoModifier, firstColumn(g));
        QTest::mouseRelease(g->paintBox(), Qt::LeftButton, Qt::NoModifier, firstColumn(g));
    }
    GraphicConfigDialog* config = form().graphicConfig();
    EXPECT_EQ(config->target(), second);
    config->autoScaleBox()->click();
    config->accept();
    settle();
    EXPECT_FALSE(second->view().settings().autoScale);
    EXPECT_TRUE(first->view().settings().autoScale);
}

TEST_F(StatusLineTest, TheGraphicConfigurationsHelpOpensThePageOnExaminingAGraph)
{
    ASSERT_TRUE(QDir(folder()).mkpath("help"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/help/index.html"),
                            folder() + "/help/index.html"));
    form().graphicConfig()->findChild<QPushButton*>("HelpBtn")->click();
    ASSERT_TRUE(form().helpWindow()->isVisible());
    EXPECT_EQ(form().helpWindow()->browser()->source().fragment(), "ctx19");
    EXPECT_TRUE(form().helpWindow()->browser()->toPlainText().contains("Double-click the graph"));
}

} // namespace
} // namespace qz::test
