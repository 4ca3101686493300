#include "app_rig.h"

#include "app/ui/document_dialogs.h"

#include "graph/ui/graph_window.h"
#include "ui/internal_messages.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <QToolButton>

namespace qz::test {

using WindowCommandsTest = AppTest;

TEST_F(WindowCommandsTest, CopyPutsTheDrawingAsShownOnTheClipboard)
{
    GraphWindow* g = openThroughMenu(writeRecording("cold.qrv", coldStoreImage()));
    ASSERT_NE(g, nullptr);
    QGuiApplication::clipboard()->clear();
    form().copy();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              g->snapshot().convertToFormat(QImage::Format_RGB32));
    // Something was drawn: not every pixel is white.
    EXPECT_NE(
        copied.convertToFormat(QImage::Format_RGB32).pixel(copied.width() / 2, copied.height() / 2)
            | copied.convertToFormat(QImage::Format_RGB32).pixel(copied.width() / 3, copied.height() / 3),
        0u);
}

TEST_F(WindowCommandsTest, APrintThatCannotBeginIsReported)
{
    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    QPrinter& printer = form().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/nonexistent/folder/graph.pdf");
    form().printNow();
    EXPECT_EQ(prompt_.texts(), QStringList({"Unable to print on /nonexistent/folder/graph.pdf"}));
}

class PrintTest : public AppTest {
protected:
    // A downloaded recording: its title begins with "S/N:".
    GraphWindow* downloaded()
    {
        const QByteArray image = coldStoreImage().build();
        EXPECT_EQ(form().acceptDownload(std::vector<std::uint8_t>(image.begin(), image.end())),
                  ImageUse::Shown);
        settle();
        return form().graphWindows().isEmpty() ? nullptr : form().graphWindows().constFirst();
    }
    static bool isPdf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
    }
    // No printer chosen, as on a machine without printers.
    void noPrinter()
    {
        QPrinter& printer = form().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString());
    }
};

TEST_F(PrintTest, TheButtonWithoutAPrinterPrintsToAPdfFileNamedWithoutSeparators)
{
    GraphWindow* g = downloaded();
    ASSERT_NE(g, nullptr);
    ASSERT_TRUE(g->windowTitle().startsWith("S/N:"));
    noPrinter();
    const QString pdf = scratch("graph.pdf");
    dialogs_.script({pdf});
    form().toolButton("sbPrint")->click();
    settle();
    EXPECT_TRUE(prompt_.texts().isEmpty()) << prompt_.texts().join('|').toStdString();
    EXPECT_TRUE(isPdf(pdf));
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    const FileDialogRequest& asked = dialogs_.requests.back();
    EXPECT_EQ(asked.defaultExt, "pdf");
    EXPECT_TRUE(asked.initialName.endsWith(".pdf"));
    EXPECT_FALSE(asked.initialName.contains('/')) << asked.initialName.toStdString();
    EXPECT_TRUE(asked.initialName.startsWith("S-N:")) << asked.initialName.toStdString();
    // The print dialog proposes its file from the document name, which has no separator either.
    EXPECT_FALSE(form().printer().docName().contains('/'));

    // Cancelled, nothing is printed and nothing told.
    dialogs_.script({QString()});
    form().printNow();
    EXPECT_TRUE(prompt_.texts().isEmpty());
}

TEST_F(PrintTest, AFailedPrintLeavesTheNextPrintsWorking)
{
    ASSERT_NE(downloaded(), nullptr);
    noPrinter();
    const QString bad = scratch("missing/graph.pdf");
    dialogs_.script({bad});
    form().printNow();
    EXPECT_EQ(prompt_.texts(), QStringList({"Unable to print on " + bad}));

    // File, Print to a PDF file, then the button again.
    prompt_.clear();
    const QString viaMenu = scratch("menu.pdf");
    dialogs_.printChoice = viaMenu;
    form().action("Print1")->trigger();
    EXPECT_EQ(dialogs_.prints, 1);
    EXPECT_TRUE(isPdf(viaMenu));
    const QString again = scratch("again.pdf");
    form().printer().setOutputFileName(again);
    form().printNow();
    EXPECT_TRUE(isPdf(again));
    EXPECT_TRUE(prompt_.texts().isEmpty()) << prompt_.texts().join('|').toStdString();
}

TEST(ProposedFileName, PathSeparatorsOfTheTitleBecomeDashes)
{
    const struct {
        const char* title;
        const char* ext;
        const char* name;
    } cases[] = {
        {"S/N:4938 - Cold store #1   (12/03/01 14:20:00 )", "pdf",
         "S-N:4938 - Cold store #1   (12-03-01 14:20:00 ).pdf"},
        {"cold.qrv - Cold store #1", "", "cold.qrv - Cold store #1"},
        {"a\\b", "bmp", "a-b.bmp"},
        {"  ", "pdf", "graph.pdf"},
        {"..", "pdf", "graph.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(proposedFileName(QString::fromLatin1(c.title), QString::fromLatin1(c.ext)),
                  QString::fromLatin1(c.name));
}

TEST_F(WindowCommandsTest, TheCommandLinePlotDrawsWhatTheGraphWindowShows)
{
    const QString cli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");
    if (!QFile::exists(cli))
        GTEST_SKIP() << "quorzk-cli is not built";
    // A recording of a model that the installed catalogue knows, as the tool reads it.
    const QString file = writeFile("cold.qrv", [] {
        QFile f(QStringLiteral(QUORZK_SOURCE_DIR "/tests/recording/golden/cold_store.qrv"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }());
    GraphWindow* g = openThroughMenu(file);
    ASSERT_NE(g, nullptr);
    const QImage shown = g->snapshot().convertToFormat(QImage::Format_RGB32);
    const QString png = scratch("cold.png");
    QProcess plot;
    plot.start(cli,
               {"plot", file, "--output", png, "--size",
                QString::number(shown.width()) + "x" + QString::number(shown.height())});
    ASSERT_TRUE(plot.waitForFinished(60000));
    ASSERT_EQ(plot.exitCode(), 0) << plot.readAllStandardError().toStdString() << " " << file.toStdString();
    const QImage drawn = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), shown.size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += drawn.pixel(x, y) != shown.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(WindowCommandsTest, PrintSetupUsesThePlatformDialog)
{
    form().action("PrintSetup1")->trigger();
    EXPECT_EQ(dialogs_.setups, 1);
}

TEST_F(WindowCommandsTest, MinimizeAllAndTheWindowListReachEveryWindow)
{
    ASSERT_NE(openThroughMenu(writeRecording("a.qrv", coldStoreImage())), nullptr);
    ASSERT_NE(openThroughMenu(writeRecording("b.qrv", coldStoreImage())), nullptr);
    form().minimizeAllWindows();
    for (GraphWindow* g : form().graphWindows())
        EXPECT_TRUE(g->isMinimized());

    QMenu* window = form().menu("Window");
    emit window->aboutToShow();
    QStringList listed;
    for (QAction* a : window->actions())
        if (a->property("windowEntry").toBool() && !a->isSeparator())
            listed << a->text();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_TRUE(listed[0].startsWith("&1 a.qrv - Cold store"));
    EXPECT_TRUE(listed[1].startsWith("&2 b.qrv - Cold store"));
    // Showing the menu again lists the windows once.
    emit window->aboutToShow();
    int entries = 0;
    for (QAction* a : window->actions())
        entries += a->property("windowEntry").toBool() && !a->isSeparator();
    EXPECT_EQ(entries, 2);
}

TEST_F(WindowCommandsTest, TilingSharesTheDocumentAreaWithoutOverlap)
{
    ASSERT_NE(openThroughMenu(writeRecording("a.qrv", coldStoreImage())), nullptr);
    ASSERT_NE(openThroughMenu(writeRecording("b.qrv", coldStoreImage())), nullptr);
    for (const char* command : {"TileVertic1", "TileHorizontally1"}) {
        SCOPED_TRACE(command);
        form().action(command)->trigger();
        const auto graphs = form().graphWindows();
        const QRect a = graphs[0]->geometry();
        const QRect b = graphs[1]->geometry();
        EXPECT_FALSE(a.intersects(b));
        EXPECT_TRUE(form().mdiArea()->viewport()->rect().contains(a.united(b)));
    }
}

// Counts the internal messages a graph window receives.
class TickCounter final : public QObject {
public:
    int ticks = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        ticks += internalMessageOf(e->type()) == kMsgTimerTick;
        return false;
    }
};

TEST_F(WindowCommandsTest, TheTimerTicksTheActiveGraphWindowOnly)
{
    GraphWindow* first = openThroughMenu(writeRecording("a.qrv", coldStoreImage()));
    GraphWindow* second = openThroughMenu(writeRecording("b.qrv", coldStoreImage()));
    ASSERT_TRUE(first && second);
    TickCounter a, b;
    first->installEventFilter(&a);
    second->installEventFilter(&b);
    form().mdiArea()->setActiveSubWindow(second);
    QTimer* timer = form().findChild<QTimer*>("SysTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    settle();
    EXPECT_EQ(a.ticks, 0);
    EXPECT_EQ(b.ticks, 1);
}

} // namespace qz::test
