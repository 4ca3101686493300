// The information window: the text of its graph window's zoom level, refreshed when the
// graph is drawn again, printed, copied and saved as text, and gone with its graph window.
#include "app/ui/information_window.h"
#include "app/ui/status_image.h"
#include "app_rig.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "ui/text_print.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <ostream>

namespace qz::test {
namespace {

class InformationWindowTest : public AppTest {
protected:
    // A cold store recording, open, active, past its cursor hold-off.
    GraphWindow* openActive(const QString& name = QStringLiteral("cold.qrv"))
    {
        GraphWindow* graph = openThroughMenu(writeRecording(name, coldStoreImage()));
        if (graph)
            activate(graph);
        return graph;
    }
    void activate(QMdiSubWindow* window)
    {
        form().activateWindow();
        form().mdiArea()->setActiveSubWindow(window);
        settle();
        clock_.advance(1000);
    }
    QList<InformationWindow*> infoWindows()
    {
        QList<InformationWindow*> out;
        for (DocumentWindow* w : form().documentWindows())
            if (auto* info = qobject_cast<InformationWindow*>(w))
                out << info;
        return out;
    }
    // Logger infos through its tool button; the information window it shows.
    InformationWindow* loggerInfos()
    {
        form().toolButton("spInfos")->click();
        settle();
        return qobject_cast<InformationWindow*>(form().activeDocument());
    }
    static QStringList textOf(const GraphWindow* g) { return informationLines(g->data(), g->view().range()); }
    // A rectangle dragged across the middle third of the plot.
    static void dragZoom(GraphWindow* g)
    {
        QWidget* box = g->paintBox();
        const GraphLayout& l = g->paintBox()->layout();
        const int w = l.right - l.left;
        const QPoint from(l.left + w / 3, l.top + 5);
        const QPoint to(l.left + 2 * w / 3, l.bottom - 5);
        QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, box->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(box, &move);
        QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, to);
        settle();
    }
    static void rightClick(GraphWindow* g)
    {
        const GraphLayout& l = g->paintBox()->layout();
        const QPoint at((l.left + l.right) / 2, (l.top + l.bottom) / 2);
        QTest::mousePress(g->paintBox(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(g->paintBox(), Qt::RightButton, Qt::NoModifier, at);
        settle();
    }
};

TEST_F(InformationWindowTest, ShowsTheActiveGraphsTextUnderItsCaption)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    InformationWindow* info = loggerInfos();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->objectName(), "MDIinfos");
    EXPECT_EQ(info->lines(), textOf(g));
    EXPECT_EQ(info->lines().size(), 14);
    EXPECT_EQ(info->memo()->toPlainText(), textOf(g).join('\n'));
    EXPECT_TRUE(info->lines()[0].startsWith("Record Name        : Cold store"));
    // Its title tells it from its graph in the Window menu.
    EXPECT_EQ(info->windowTitle(), g->windowTitle().trimmed() + " - information");
    EXPECT_EQ(g->informationWindow(), info);
    EXPECT_EQ(info->dataWindow(), g);
    EXPECT_EQ(info->fileName(), g->fileName());
    EXPECT_TRUE(info->isSaved());
    // Read-only text in a fixed-pitch face, 15 pixels high, not wrapped.
    EXPECT_TRUE(info->memo()->isReadOnly());
    EXPECT_EQ(info->memo()->font().pixelSize(), 15);
    EXPECT_TRUE(QFontInfo(info->memo()->font()).fixedPitch());
    EXPECT_EQ(info->memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
    // The status line has nothing to show for it.
    EXPECT_TRUE(form().statusImage()->isCleared());
}

TEST_F(InformationWindowTest, TheTextFollowsTheZoomOfItsGraph)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    InformationWindow* info = loggerInfos();
    ASSERT_NE(info, nullptr);
    const QStringList whole = info->lines();
    EXPECT_EQ(whole[11], "# Measurements     : 100");

    // Wide enough for every input's column, as far as the document area goes.
    QScrollBar* across = info->memo()->horizontalScrollBar();
    settle();
    EXPECT_TRUE(across->maximum() == 0 || info->width() >= form().mdiArea()->viewport()->width())
        << info->width() << " of " << form().mdiArea()->viewport()->width();
    EXPECT_GT(info->width(), 435) << "wider than a new document window";
    EXPECT_EQ(across->value(), 0);

    activate(g);
    dragZoom(g);
    ASSERT_EQ(g->view().currentLevel(), 1);
    // Drawn again at the new level: the information follows without a command, seen from
    // where it was seen before.
    EXPECT_EQ(info->lines(), textOf(g));
    EXPECT_EQ(across->value(), 0);
    EXPECT_NE(info->lines()[11], whole[11]);
    const ViewRecord& v = g->view().currentView();
    EXPECT_EQ(info->lines()[11], "# Measurements     : " + QString::number(v.last - v.first + 1));
    // What does not depend on the view stays.
    for (int line : {0, 1, 2, 6, 7, 12})
        EXPECT_EQ(info->lines()[line], whole[line]) << line;

    rightClick(g);
    ASSERT_EQ(g->view().currentLevel(), 0);
    EXPECT_EQ(info->lines(), whole);
}

TEST_F(InformationWindowTest, LoggerInfosRefreshesAndRaisesFromTheGraphOnly)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    InformationWindow* info = loggerInfos();
    ASSERT_NE(info, nullptr);
    const QStringList whole = info->lines();
    // A view change that draws nothing yet: only the command shows it.
    g->view().showLevel(1, 10, 19);

    // With the information window active the command does nothing.
    ASSERT_EQ(form().activeDocument(), info);
    form().action("Loggerinfos1")->trigger();
    settle();
    EXPECT_EQ(info->lines(), whole);
    EXPECT_EQ(infoWindows().size(), 1);

    // With its graph window active it fills the same window again and brings it up.
    activate(g);
    ASSERT_EQ(form().activeDocument(), g);
    EXPECT_EQ(loggerInfos(), info);
    EXPECT_EQ(infoWindows().size(), 1);
    EXPECT_EQ(info->lines()[11], "# Measurements     : 10");
    EXPECT_EQ(form().activeDocument(), info);
}

TEST_F(InformationWindowTest, AMinimisedInformationWindowIsRestored)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    InformationWindow* info = loggerInfos();
    ASSERT_NE(info, nullptr);
    info->showMinimized();
    activate(g);
    ASSERT_TRUE(info->isMinimized());
    EXPECT_EQ(loggerInfos(), info);
    EXPECT_FALSE(info->isMinimized());
    EXPECT_TRUE(info->isVisible());
}

TEST_F(InformationWindowTest, EachGraphWindowHasItsOwn)
{
    GraphWindow* first = openActive(QStringLiteral("first.qrv"));
    InformationWindow* firstInfo = loggerInfos();
    GraphWindow* second = openActive(QStringLiteral("second.qrv"));
    InformationWindow* secondInfo = loggerInfos();
    ASSERT_NE(firstInfo, nullptr);
    ASSERT_NE(secondInfo, nullptr);
    EXPECT_NE(firstInfo, secondInfo);
    EXPECT_EQ(firstInfo->dataWindow(), first);
    EXPECT_EQ(secondInfo->dataWindow(), second);
    EXPECT_EQ(secondInfo->windowTitle(), second->windowTitle().trimmed() + " - information");
}

enum class GraphClose {
    CloseCommand,
    CloseBox,
    CloseAllWindows
};

const char* nameOf(GraphClose c)
{
    const char* names[] = {"CloseCommand", "CloseBox", "CloseAllWindows"};
    return names[int(c)];
}

void PrintTo(GraphClose c, std::ostream* os)
{
    *os << nameOf(c);
}

class GraphCloseTest : public InformationWindowTest, public ::testing::WithParamInterface<GraphClose> {};

TEST_P(GraphCloseTest, TakesItsInformationWindowAlong)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    ASSERT_NE(loggerInfos(), nullptr);
    activate(g);
    switch (GetParam()) {
    case GraphClose::CloseCommand:
        form().closeDocument();
        break;
    case GraphClose::CloseBox:
        g->close();
        break;
    case GraphClose::CloseAllWindows:
        form().closeAllWindows();
        break;
    }
    settle();
    EXPECT_TRUE(form().documentWindows().isEmpty());
    EXPECT_TRUE(form().mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(form().toolButton("spInfos")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Ways, GraphCloseTest,
                         ::testing::Values(GraphClose::CloseCommand, GraphClose::CloseBox,
                                           GraphClose::CloseAllWindows),
                         [](const ::testing::TestParamInfo<GraphClose>& info) {
                             return std::string(nameOf(info.param));
                         });

TEST_F(InformationWindowTest, ClosingItAloneLeavesTheGraphAndTheNextCommandMakesAFreshOne)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    QPointer<InformationWindow> info = loggerInfos();
    ASSERT_NE(info, nullptr);
    info->close();
    settle();
    EXPECT_TRUE(info.isNull());
    EXPECT_EQ(g->informationWindow(), nullptr);
    ASSERT_EQ(form().graphWindows().size(), 1);
    activate(g);
    InformationWindow* fresh = loggerInfos();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(g->informationWindow(), fresh);
    EXPECT_EQ(fresh->lines(), textOf(g));
}

TEST_F(InformationWindowTest, AnExitTakenBackKeepsItBoundToItsGraph)
{
    // An unsaved download with its information window; the user answers No at exit.
    const QByteArray image = coldStoreImage().build();
    ASSERT_EQ(form().acceptDownload(std::vector<std::uint8_t>(image.begin(), image.end())), ImageUse::Shown);
    settle();
    GraphWindow* g = form().graphWindows().constFirst();
    activate(g);
    InformationWindow* info = loggerInfos();
    ASSERT_NE(info, nullptr);
    prompt_.script({PromptAnswer::No});
    EXPECT_FALSE(form().close());
    settle();
    ASSERT_EQ(infoWindows().size(), 1);
    EXPECT_EQ(g->informationWindow(), info);
    EXPECT_EQ(info->dataWindow(), g);

    // So it still goes with its graph window.
    activate(g);
    prompt_.script({PromptAnswer::Discard});
    g->close();
    settle();
    EXPECT_TRUE(form().documentWindows().isEmpty());
}

TEST_F(InformationWindowTest, CopyToProposesTheNameItWasGivenWithTxtAndWritesTheText)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    InformationWindow* info = loggerInfos();
    ASSERT_NE(info, nullptr);
    // The graph's recording saved under another name later: the window keeps its own.
    dialogs_.script({scratch("renamed.qrv")});
    form().saveAs();
    activate(info);
    ASSERT_EQ(form().activeDocument(), info);

    const QString target = scratch("infos.txt");
    dialogs_.script({target});
    form().copyTo();
    const FileDialogRequest& r = dialogs_.requests.back();
    EXPECT_EQ(r.title, "Copy to");
    EXPECT_EQ(r.filter, "Text files (*.txt)|*.txt");
    EXPECT_EQ(r.defaultExt, "txt");
    EXPECT_EQ(r.initialName, "cold.txt");
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), (textOf(g).join('\n') + '\n').toUtf8());
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();

    // Another extension is refused; a file that cannot be written is told with the reason.
    dialogs_.script({scratch("infos.csv"), scratch("missing/infos.txt")});
    form().copyTo();
    form().copyTo();
    EXPECT_EQ(prompt_.texts(),
              QStringList({"Not a file with the txt extension",
                           "Cannot write " + scratch("missing/infos.txt") + ": No such file or directory"}));
    EXPECT_FALSE(QFile::exists(scratch("infos.csv")));
}

TEST_F(InformationWindowTest, CopyPutsTheTextOnTheClipboard)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    ASSERT_NE(loggerInfos(), nullptr);
    QGuiApplication::clipboard()->clear();
    form().copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), textOf(g).join('\n'));
}

// The text of a PDF file, or an empty string without pdftotext.
QString pdfText(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(InformationWindowTest, PrintPrintsTheTextAndSaveActsOnTheGraph)
{
    GraphWindow* g = openActive();
    ASSERT_NE(g, nullptr);
    ASSERT_NE(loggerInfos(), nullptr);
    QPrinter& printer = form().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    dialogs_.printChoice = scratch("infos.pdf");
    form().print();
    ASSERT_TRUE(QFile::exists(scratch("infos.pdf")));
    const QString text = pdfText(scratch("infos.pdf"));
    if (!text.isEmpty()) {
        EXPECT_TRUE(text.contains("Record Name        : Cold store")) << text.toStdString();
        EXPECT_TRUE(text.contains("# Measurements     : 100")) << text.toStdString();
    }
    // Save acts on the recording, through the graph window, which comes to the front.
    dialogs_.script({scratch("saved.qrv")});
    form().save();
    EXPECT_EQ(form().activeDocument(), g);
    EXPECT_TRUE(QFile::exists(scratch("saved.qrv")));
}

TEST(TextPrint, ALongTextGoesOnToNewPagesInTheScreenFontsSizeOnPaper)
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(dir.filePath("long.pdf"));
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("line %1").arg(i, 3, 10, QLatin1Char('0'));
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(15);
    EXPECT_DOUBLE_EQ(printFont(font).pointSizeF(), 11.25);
    ASSERT_TRUE(printLines(printer, lines, font));
    const QString text = pdfText(dir.filePath("long.pdf"));
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    // Every line once, in order, over several pages (form feeds between them).
    qsizetype at = 0;
    for (const QString& line : lines) {
        const qsizetype found = text.indexOf(line, at);
        ASSERT_GE(found, 0) << line.toStdString();
        at = found + line.size();
    }
    const qsizetype pages = text.count(QLatin1Char('\f'));
    EXPECT_GE(pages, 3);
    EXPECT_LE(pages, 5);
}

} // namespace
} // namespace qz::test
