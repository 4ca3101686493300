#include "app_rig.h"

#include "app/ui/help_window.h"
#include "app/ui/status_image.h"
#include "app/ui/window_geometry.h"
#include "graph/ui/graph_window.h"
#include "model/ini_file.h"
#include "recording/recording_file.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <cctype>
#include <ostream>

namespace qz::test {

namespace {

struct MenuEntry {
    const char* name;
    const char* caption;
    int help;
};

const MenuEntry kEntries[] = {
    {"Open1", "&Open...", 19},
    {"Save1", "&Save", 15},
    {"SaveAs1", "Save &As...", 15},
    {"Close1", "&Close", 19},
    {"Print1", "&Print...", 19},
    {"PrintSetup1", "Print Set&up...", 19},
    {"meExport", "&Export", 16},
    {"Exit", "E&xit", 19},
    {"Copy1", "&Copy", 19},
    {"CoptTo1", "Copy &To", 19},
    {"Loggerinfos1", "Logger &infos", 14},
    {"Graph1", "&Graph", 13},
    {"Configutation1", "&Configuration", 8},
    {"Offload1", "&Download", 11},
    {"CurrentReading1", "Current &Reading", 10},
    {"Stop1", "&Stop", 12},
    {"Connect1", "Modem connection", -1},
    {"Disconnect1", "Modem disconnection", -1},
    {"Options1", "&Options...", 19},
    {"Cascade1", "&Cascade", 19},
    {"TileVertic1", "Tile &Vertically", -1},
    {"TileHorizontally1", "Tile &Horizontally", 19},
    {"ArrangeIcons1", "&Arrange Icons", 19},
    {"Minimizeallwindows1", "&Minimize all windows", 19},
    {"Closeallwindows1", "&Close all windows", -1},
    {"Contents1", "&Contents", 19},
    {"Search1", "&Search For Help on", 19},
    {"HowtouseHelp1", "&How to use Help", 19},
    {"About1", "&About", -1},
};

struct Tool {
    const char* name;
    const char* hint;
    int x;
};

const Tool kTools[] = {
    {"sbOpen", "Open", 10},
    {"sbSave", "Save", 45},
    {"sbPrint", "Print", 80},
    {"sbExport", "Export Data", 115},
    {"spDownload", "Download  Quorvant", 166},
    {"spStop", "Stop Quorvant", 202},
    {"sbConfig", "Config Quorvant", 237},
    {"spGraphic", "New Graph", 272},
    {"spInfos", "Recording info", 314},
    {"sprealtime", "Realtime", 352},
    {"SpeedButton2", "Help", 403},
    {"SpeedButton1", "Exit Quorvant", 458},
};

// Names of a menu's entries with "-" for separators.
QStringList layout(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        if (!a->property("windowEntry").toBool())
            out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return out;
}

// The commands that follow the presence of a graph window.
const char* const kDocumentCommands[] = {"Save1", "SaveAs1", "AddToGraph1", "Close1", "Print1", "meExport"};
const char* const kDocumentTools[] = {"sbSave", "sbPrint", "sbExport", "spGraphic", "spInfos"};

} // namespace

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, MenuEntriesCarryTheirCaptionsAndHelpContexts)
{
    EXPECT_EQ(form().windowTitle(), "Quorvant ZK Software / 32");
    for (const MenuEntry& e : kEntries) {
        SCOPED_TRACE(e.name);
        QAction* a = form().action(e.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), e.caption);
        EXPECT_EQ(a->property("helpContext").toInt(), e.help);
    }
}

TEST_F(MainWindowTest, MenusHaveTheirSeparatorsAndMnemonics)
{
    EXPECT_EQ(layout(form().menu("File")),
              QStringList({"Open1", "AddToGraph1", "Save1", "SaveAs1", "Close1", "-", "Print1", "PrintSetup1",
                           "-", "meExport", "-", "Exit"}));
    EXPECT_EQ(layout(form().menu("Help")),
              QStringList({"Contents1", "Search1", "HowtouseHelp1", "-", "About1"}));
    const QStringList tops = {"&File", "&Edit", "&View", "&Logger", "&Options", "&Window", "&Help"};
    for (const QString& caption : tops) {
        const QString key = QString(caption).remove('&');
        ASSERT_NE(form().menu(key), nullptr) << key.toStdString();
        EXPECT_EQ(form().menu(key)->title(), caption);
    }
}

TEST_F(MainWindowTest, ToolButtonsSitInTheirPlacesWithTheirHints)
{
    for (const Tool& t : kTools) {
        SCOPED_TRACE(t.name);
        QToolButton* b = form().toolButton(t.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), t.hint);
        EXPECT_EQ(b->geometry(), QRect(t.x, 10, 32, 32));
        EXPECT_FALSE(b->icon().isNull());
    }
}

TEST_F(MainWindowTest, DocumentCommandsFollowThePresenceOfGraphWindows)
{
    const auto expectDocumentCommands = [this](bool on) {
        for (const char* name : kDocumentCommands)
            EXPECT_EQ(form().action(name)->isEnabled(), on) << name;
        for (const char* name : kDocumentTools)
            EXPECT_EQ(form().toolButton(name)->isEnabled(), on) << name;
        for (const char* menu : {"Edit", "View", "Window"})
            EXPECT_EQ(form().menu(menu)->menuAction()->isEnabled(), on) << menu;
    };
    expectDocumentCommands(false);
    EXPECT_TRUE(form().action("Open1")->isEnabled());
    EXPECT_TRUE(form().action("PrintSetup1")->isEnabled());

    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    expectDocumentCommands(true);

    form().closeDocument();
    settle();
    EXPECT_TRUE(form().graphWindows().isEmpty());
    expectDocumentCommands(false);
}

TEST_F(MainWindowTest, OpenAsksForARecordingFileAndNumbersItsTitle)
{
    const QString name = writeRecording("cold.qrv", coldStoreImage());
    GraphWindow* graph = openThroughMenu(name);
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    const FileDialogRequest& r = dialogs_.requests[0];
    EXPECT_EQ(r.title, "Open");
    EXPECT_EQ(r.filter, "Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
    EXPECT_EQ(r.defaultExt, "qrv");
    EXPECT_TRUE(r.fileMustExist);
    EXPECT_TRUE(graph->isSaved());
    EXPECT_TRUE(graph->windowTitle().startsWith("cold.qrv - Cold store"))
        << graph->windowTitle().toStdString();
    EXPECT_TRUE(graph->windowTitle().endsWith(" #1  ")) << graph->windowTitle().toStdString();
    EXPECT_TRUE(prompt_.records().empty());
    // It fills the document area's width: a graph needs room.
    EXPECT_GE(graph->width(), form().mdiArea()->viewport()->width());
    EXPECT_EQ(graph->y(), 0);
}

struct OpenRefusal {
    const char* file;
    QByteArray content;
    QStringList messages;
};

void PrintTo(const OpenRefusal& c, std::ostream* os)
{
    *os << c.file;
}

class OpenRefusalTest : public AppTest, public ::testing::WithParamInterface<OpenRefusal> {};

TEST_P(OpenRefusalTest, LeavesNoWindowBehind)
{
    const OpenRefusal& c = GetParam();
    const QString name = c.content.isNull() ? QString() : writeFile(c.file, c.content);
    dialogs_.script({name});
    form().openFile();
    settle();
    EXPECT_EQ(prompt_.texts(), c.messages);
    for (const auto& r : prompt_.records())
        EXPECT_EQ(r.symbol, PromptSymbol::Error);
    EXPECT_TRUE(form().graphWindows().isEmpty());
    EXPECT_TRUE(form().mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(form().action("Save1")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenRefusalTest,
    ::testing::Values(OpenRefusal{"cancelled", QByteArray(), {}},
                      OpenRefusal{"cold.txt", coldStoreImage().file(), {"Not a file with the qrv extension"}},
                      OpenRefusal{"bad.qrv",
                                  QByteArray("NOTAFILE") + QByteArray(400, '\0'),
                                  {"Invalid data file ", "This file is not for a QuorvantZK"}},
                      OpenRefusal{"case.qrv",
                                  QByteArray("Quorvant") + coldStoreImage().file().mid(kFileSignatureSize),
                                  {"Invalid data file ", "This file is not for a QuorvantZK"}},
                      OpenRefusal{"short.qrv",
                                  QByteArray("QUORVANT") + QByteArray(100, '\x01'),
                                  {"Invalid data file ", "This file is not for a QuorvantZK"}},
                      OpenRefusal{"huge.qrv",
                                  QByteArray("QUORVANT") + QByteArray(70000, '\0'),
                                  {"Invalid data file ", "This file is not for a QuorvantZK"}},
                      OpenRefusal{"refused.qrv",
                                  coldStoreImage().deviceCode(kCodeRefused).file(),
                                  {"This file is not for a QuorvantZK"}}),
    [](const ::testing::TestParamInfo<OpenRefusal>& info) {
        return QString::fromLatin1(info.param.file).replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
    });

TEST_F(MainWindowTest, AFileThatDoesNotOpenIsToldOnceWithTheSystemsReason)
{
    const QString gone = scratch("gone.qrv");
    dialogs_.script({gone});
    form().openFile();
    settle();
    // The file is not blamed for not being there.
    EXPECT_EQ(prompt_.texts(), QStringList{"Cannot open " + gone + ": No such file or directory"});
    EXPECT_TRUE(form().graphWindows().isEmpty());
}

TEST_F(MainWindowTest, SaveAsWritesTheFileAndRetitlesTheWindow)
{
    GraphWindow* graph = openThroughMenu(writeRecording("cold.qrv", coldStoreImage()));
    ASSERT_NE(graph, nullptr);
    const QString target = scratch("copy.qrv");
    dialogs_.script({target});
    form().saveAs();
    ASSERT_EQ(dialogs_.requests.size(), 2u);
    const FileDialogRequest& r = dialogs_.requests[1];
    EXPECT_EQ(r.title, "Save File As");
    EXPECT_EQ(r.filter, "Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
    EXPECT_EQ(r.defaultExt, "qrv");
    EXPECT_EQ(r.initialName, "cold.qrv");
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(8), "QUORVANT");
    EXPECT_EQ(saved.size(), kFileSignatureSize + int(mem::blockAddress(3)));
    EXPECT_TRUE(graph->windowTitle().startsWith("copy.qrv - ")) << graph->windowTitle().toStdString();
    EXPECT_EQ(graph->fileName(), target);
}

TEST_F(MainWindowTest, AFailedSaveIsToldWithTheSystemsReasonAndChangesNothing)
{
    const QString opened = writeRecording("cold.qrv", coldStoreImage());
    GraphWindow* graph = openThroughMenu(opened);
    ASSERT_NE(graph, nullptr);
    const QString title = graph->windowTitle();
    const QString target = scratch("taken.qrv");
    ASSERT_TRUE(QDir().mkpath(target)); // a folder where the file should go
    dialogs_.script({target});
    form().saveAs();
    // Said once, with the system's reason.
    EXPECT_EQ(prompt_.texts(), QStringList{"Cannot write " + target + ": Is a directory"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_EQ(graph->fileName(), opened);
    EXPECT_EQ(graph->windowTitle(), title);
}

TEST_F(MainWindowTest, SaveRefusesAnotherExtensionAndWritesNothing)
{
    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    dialogs_.script({scratch("copy.dat")});
    form().save();
    EXPECT_EQ(dialogs_.requests.back().title, "Save");
    EXPECT_EQ(prompt_.texts(), QStringList({"Not a file with the qrv extension"}));
    EXPECT_FALSE(QFile::exists(scratch("copy.dat")));
}

TEST_F(MainWindowTest, CopiesOfOneRecordingAreNumberedAndRenumberedAfterAClose)
{
    for (const bool byCloseBox : {false, true}) {
        SCOPED_TRACE(byCloseBox ? "close box" : "Close command");
        GraphWindow* first = openThroughMenu(writeRecording("cold.qrv", coldStoreImage()));
        ASSERT_NE(first, nullptr);
        form().openGraphView();
        settle();
        ASSERT_EQ(form().graphWindows().size(), 2);
        GraphWindow* second = form().graphWindows().constFirst();
        EXPECT_NE(second, first);
        EXPECT_TRUE(second->isSaved());
        EXPECT_TRUE(first->windowTitle().endsWith(" #1  "));
        EXPECT_TRUE(second->windowTitle().endsWith(" #2  "));

        form().mdiArea()->setActiveSubWindow(first);
        if (byCloseBox)
            first->close();
        else
            form().closeDocument();
        settle();
        ASSERT_EQ(form().graphWindows().size(), 1);
        EXPECT_TRUE(second->windowTitle().endsWith(" #1  ")) << second->windowTitle().toStdString();
        form().closeAllWindows();
        settle();
    }
}

class UnsavedTest : public AppTest {
protected:
    GraphWindow* download()
    {
        const QByteArray image = coldStoreImage().build();
        const std::vector<std::uint8_t> bytes(image.begin(), image.end());
        EXPECT_EQ(form().acceptDownload(bytes), ImageUse::Shown);
        settle();
        return form().graphWindows().isEmpty() ? nullptr : form().graphWindows().constFirst();
    }
    QString question(GraphWindow* g) const
    {
        return "The record " + g->windowTitle() + "  has not been saved ,Close anyway ?";
    }
};

TEST_F(UnsavedTest, ADownloadIsTitledWithTheSerialNumberAndTheCopyNumber)
{
    GraphWindow* g = download();
    ASSERT_NE(g, nullptr);
    EXPECT_FALSE(g->isSaved());
    const QString when = QLocale().toString(clock_.localNow(), QLocale::ShortFormat);
    EXPECT_EQ(g->windowTitle(), "S/N:A123 - Cold store" + QString(20, ' ') + " #1   (" + when + " )");
}

TEST_F(UnsavedTest, TwoDownloadsInOneMinuteAreTwoRecordings)
{
    // A locale whose short time has no seconds: the two must not read as copies of one.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    GraphWindow* first = download();
    clock_.advance(20000);
    GraphWindow* second = download();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, first);
    EXPECT_EQ(first->windowTitle(),
              "S/N:A123 - Cold store" + QString(20, ' ') + " #1   (05.03.26 14:07:09 )");
    EXPECT_EQ(second->windowTitle(),
              "S/N:A123 - Cold store" + QString(20, ' ') + " #1   (05.03.26 14:07:29 )");
}

TEST_F(UnsavedTest, ClosingAnUnsavedDownloadAsksCloseAnyway)
{
    GraphWindow* g = download();
    ASSERT_NE(g, nullptr);
    const QString asked = question(g);
    prompt_.script({PromptAnswer::Cancel});
    g->close();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 1);
    ASSERT_EQ(prompt_.records().size(), 1u);
    EXPECT_EQ(prompt_.records()[0].text, asked);
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Confirmation);
    EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::SaveDiscardCancel);
    EXPECT_FALSE(g->isSaved());

    prompt_.script({PromptAnswer::Discard});
    g->close();
    settle();
    EXPECT_TRUE(form().graphWindows().isEmpty());
    EXPECT_EQ(prompt_.records().size(), 2u);
}

TEST_F(UnsavedTest, FileCloseAsksAsTheWindowsCloseBoxDoes)
{
    // Cancel keeps the window; Save saves and closes, unless the save dialog is cancelled;
    // Close without saving closes.
    const struct {
        const char* name;
        PromptAnswer answer;
        const char* file; // chosen in the save dialog ("" cancels it)
        bool closed;
    } cases[] = {
        {"cancel", PromptAnswer::Cancel, nullptr, false},
        {"save", PromptAnswer::Save, "kept.qrv", true},
        {"save cancelled", PromptAnswer::Save, "", false},
        {"discard", PromptAnswer::Discard, nullptr, true},
    };
    for (const auto& c : cases) {
        GraphWindow* g = download();
        ASSERT_NE(g, nullptr) << c.name;
        const QString asked = question(g);
        prompt_.clear();
        prompt_.script({c.answer});
        if (c.file)
            dialogs_.script({*c.file ? scratch(c.file) : QString()});
        form().action("Close1")->trigger();
        settle();
        ASSERT_EQ(prompt_.records().size(), 1u) << c.name;
        EXPECT_EQ(prompt_.records()[0].text, asked) << c.name;
        EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::SaveDiscardCancel) << c.name;
        EXPECT_EQ(form().graphWindows().isEmpty(), c.closed) << c.name;
        if (c.file && *c.file) {
            EXPECT_TRUE(QFile::exists(scratch(c.file))) << c.name;
        }
        if (!c.closed) {
            prompt_.script({PromptAnswer::Discard});
            form().closeAllWindows();
            settle();
        }
        ASSERT_TRUE(form().graphWindows().isEmpty()) << c.name;
    }
}

TEST_F(UnsavedTest, CloseAllWindowsAsksOnceAndKeepsARefusedWindow)
{
    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    GraphWindow* unsaved = download();
    ASSERT_NE(unsaved, nullptr);
    prompt_.script({PromptAnswer::Cancel});
    form().closeAllWindows();
    settle();
    EXPECT_EQ(prompt_.records().size(), 1u);
    ASSERT_EQ(form().graphWindows().size(), 1);
    EXPECT_EQ(form().graphWindows().constFirst(), unsaved);
}

TEST_F(UnsavedTest, ExitIsRefusedWhileTheUserKeepsAnUnsavedDownload)
{
    ASSERT_NE(download(), nullptr);
    prompt_.script({PromptAnswer::Cancel});
    EXPECT_FALSE(form().close());
    EXPECT_EQ(form().graphWindows().size(), 1);
    EXPECT_TRUE(form().isVisible());

    prompt_.script({PromptAnswer::Discard});
    EXPECT_TRUE(form().close());
    settle();
    EXPECT_TRUE(form().graphWindows().isEmpty());
    // Asked once: Close without saving marks the recording as not to be asked about again.
    EXPECT_EQ(prompt_.records().size(), 2u);
}

TEST_F(UnsavedTest, SavingADownloadProposesItsNameAndStartAndEndsTheQuestion)
{
    GraphWindow* g = download();
    ASSERT_NE(g, nullptr);
    dialogs_.script({scratch("field.qrv")});
    form().save();
    // The recording's name and the day it starts (blocks stamped 1 March 2005).
    EXPECT_EQ(dialogs_.requests.back().initialName, "Cold store 2005-03-01.qrv");
    EXPECT_EQ(form().statusImage()->note(), "Saved " + scratch("field.qrv"));
    EXPECT_TRUE(g->isSaved());
    EXPECT_TRUE(g->windowTitle().startsWith("field.qrv - Cold store")) << g->windowTitle().toStdString();
    form().closeAllWindows();
    settle();
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_TRUE(form().graphWindows().isEmpty());
}

TEST_F(MainWindowTest, TheDesktopsUsualKeysReachTheirCommands)
{
    const struct {
        const char* action;
        const char* key;
    } cases[] = {
        {"Open1", "Ctrl+O"}, {"Save1", "Ctrl+S"},  {"Print1", "Ctrl+P"},
        {"Copy1", "Ctrl+C"}, {"Close1", "Ctrl+W"}, {"Contents1", "F1"},
    };
    for (const auto& c : cases) {
        const QList<QKeySequence> keys = form().action(c.action)->shortcuts();
        EXPECT_TRUE(keys.contains(QKeySequence(QString::fromLatin1(c.key)))) << c.action << " " << c.key;
    }
}

TEST_F(MainWindowTest, TheFileMenuOffersTheFilesOpenedOrSavedLast)
{
    const QString cold = writeRecording("cold.qrv", coldStoreImage());
    const QString warm = writeRecording("warm.qrv", coldStoreImage());
    ASSERT_NE(openThroughMenu(cold), nullptr);
    ASSERT_NE(openThroughMenu(warm), nullptr);
    QMenu* file = form().menu("File");
    emit file->aboutToShow();
    QAction* first = file->findChild<QAction*>("Recent1");
    QAction* second = file->findChild<QAction*>("Recent2");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first->text().endsWith(QDir::toNativeSeparators(warm))) << first->text().toStdString();
    EXPECT_TRUE(second->text().endsWith(QDir::toNativeSeparators(cold))) << second->text().toStdString();
    EXPECT_EQ(layout(file).indexOf("Recent2") + 2, layout(file).indexOf("Exit")) << "above Exit";

    // Choosing one opens it again, and it becomes the first.
    form().closeAllWindows();
    settle();
    second->trigger();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 1);
    EXPECT_EQ(form().graphWindows().constFirst()->fileName(), cold);
    emit file->aboutToShow();
    EXPECT_TRUE(file->findChild<QAction*>("Recent1")->text().endsWith(QDir::toNativeSeparators(cold)));
    EXPECT_EQ(file->findChildren<QAction*>(QRegularExpression("^Recent")).size(), 2) << "each file once";
}

TEST_F(MainWindowTest, EscClosesTheHelpWindow)
{
    form().action("Contents1")->trigger();
    settle();
    HelpWindow* help = form().helpWindow();
    ASSERT_TRUE(help->isVisible());
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

TEST_F(MainWindowTest, ThePlaceOfTheWindowIsKeptAtCloseAndUsedWhereItCanBeSeen)
{
    const QString settings = catalogue_.filePath("QUORZK.INI");
    ASSERT_TRUE(IniFile::writeValue(settings, "Window", "Geometry", "10,20,600,400").ok());
    form();
    EXPECT_EQ(form().size(), QSize(600, 400));
    EXPECT_EQ(form().frameGeometry().topLeft(), QPoint(10, 20));
    form().resize(640, 420);
    form().close();
    const std::optional<QRect> kept = parseGeometry(IniFile::readValue(settings, "Window", "Geometry"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->size(), QSize(640, 420));
}

TEST_F(MainWindowTest, APlaceOnAScreenThatIsGoneIsNotUsed)
{
    ASSERT_TRUE(
        IniFile::writeValue(catalogue_.filePath("QUORZK.INI"), "Window", "Geometry", "5000,5000,600,400")
            .ok());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(form().frameGeometry().topLeft()));
    EXPECT_EQ(form().width(), 708);
}

TEST_F(MainWindowTest, CopyToWritesTheGraphAsABitmapWithItsOwnExtension)
{
    GraphWindow* g = openThroughMenu(writeRecording("cold.qrv", coldStoreImage()));
    ASSERT_NE(g, nullptr);
    dialogs_.script({scratch("graph.gif")});
    form().copyTo();
    EXPECT_EQ(prompt_.texts(), QStringList({"Not a file with the png extension"}));
    EXPECT_FALSE(QFile::exists(scratch("graph.gif")));
    const FileDialogRequest& r = dialogs_.requests.back();
    EXPECT_EQ(r.title, "Copy to");
    EXPECT_EQ(r.filter, "PNG files (*.png)|*.png|Bitmap files (*.bmp)|*.bmp");
    EXPECT_EQ(r.defaultExt, "png");
    EXPECT_EQ(r.type, 0) << "PNG first";
    EXPECT_EQ(r.initialName, "cold.png");
    // Either picture type, each written in its own format.
    for (const char* format : {"PNG", "BMP"}) {
        const QString name = scratch(QStringLiteral("graph.") + QString::fromLatin1(format).toLower());
        dialogs_.script({name});
        form().copyTo();
        QImage written(name, format);
        ASSERT_FALSE(written.isNull()) << format;
        EXPECT_EQ(written.size(), g->snapshot().size());
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
                  g->snapshot().convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(MainWindowTest, CopyToThatCannotWriteTellsWhyAndLeavesNoFileBehind)
{
    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    const QString folder = scratch("folder.bmp");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {scratch("missing/graph.bmp"), "No such file or directory"},
        {folder, "Is a directory"},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        dialogs_.script({c.path});
        form().copyTo();
        EXPECT_EQ(prompt_.texts(), QStringList{"Cannot write " + c.path + ": " + c.reason});
    }
    EXPECT_FALSE(QFileInfo::exists(scratch("missing")));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(MainWindowTest, SavingADownloadAnywayTakesOnlyARecordingFileName)
{
    const QByteArray image = coldStoreImage().build();
    const std::vector<std::uint8_t> bytes(image.begin(), image.end());
    dialogs_.script({scratch("memory.txt"), scratch("memory.qrv")});
    EXPECT_FALSE(form().saveDownloadAnyway(bytes));
    EXPECT_EQ(prompt_.texts(), QStringList({"Not a file with the qrv extension"}));
    EXPECT_FALSE(QFile::exists(scratch("memory.txt")));
    prompt_.clear();
    EXPECT_TRUE(form().saveDownloadAnyway(bytes));
    EXPECT_TRUE(prompt_.texts().isEmpty());
    EXPECT_TRUE(QFile::exists(scratch("memory.qrv")));
    EXPECT_EQ(dialogs_.requests.back().defaultExt, "qrv");
}

TEST_F(MainWindowTest, PrintAsksFirstWhileThePrintButtonPrintsAtOnce)
{
    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    QPrinter& printer = form().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto printTo = [&](const QString& name) { printer.setOutputFileName(scratch(name)); };

    dialogs_.printAnswer = false;
    dialogs_.printChoice = scratch("refused.pdf");
    form().print();
    EXPECT_EQ(dialogs_.prints, 1);
    EXPECT_FALSE(QFile::exists(scratch("refused.pdf")));

    dialogs_.printAnswer = true;
    dialogs_.printChoice = scratch("menu.pdf");
    form().print();
    EXPECT_EQ(dialogs_.prints, 2);
    EXPECT_GT(QFileInfo(scratch("menu.pdf")).size(), 1000);
    // The dialog proposed a file beside the recording, named after its window.
    EXPECT_EQ(QFileInfo(dialogs_.printProposed).absolutePath(),
              QFileInfo(scratch("cold.qrv")).absolutePath());
    EXPECT_TRUE(dialogs_.printProposed.endsWith(".pdf"));

    printTo("button.pdf");
    form().toolButton("sbPrint")->click();
    EXPECT_EQ(dialogs_.prints, 2);
    EXPECT_GT(QFileInfo(scratch("button.pdf")).size(), 1000);
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(MainWindowTest, ModemEntriesShowOnlyWithAModemInTheSettings)
{
    struct Case {
        const char* ini;
        bool visible;
    };
    const Case cases[] = {
        {"", false},
        {"[Modem]\r\nModemPresent=0\r\n", false},
        {"[Modem]\r\nModemPresent=1\r\n", true},
        {"[modem]\r\n modempresent = 1 \r\n", true},
        {"[Modem]\r\nModemPresent=yes\r\n", false},
    };
    form();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        QFile ini(ProgramFolder(folder()).settingsFile());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(c.ini);
        ini.close();
        emit form().menu("Logger")->aboutToShow();
        EXPECT_EQ(form().action("Connect1")->isVisible(), c.visible);
        EXPECT_EQ(form().action("Disconnect1")->isVisible(), c.visible);
        EXPECT_EQ(form().action("Connect1")->isEnabled(), c.visible) << "a hidden entry is disabled too";
    }
}

TEST(HelpWindow, OpensThePagesAtEachContextOfTheCommands)
{
    HelpWindow help(QStringLiteral(QUORZK_SOURCE_DIR "/data/help"));
    for (const int context : {4, 8, 10, 11, 12, 13, 14, 15, 16, 19}) {
        SCOPED_TRACE(context);
        ASSERT_TRUE(help.showContext(context));
        EXPECT_EQ(help.browser()->source().fragment(), QStringLiteral("ctx%1").arg(context));
        // Every context has its own anchor in the pages.
        EXPECT_TRUE(help.browser()->toHtml().contains(QStringLiteral("ctx%1").arg(context)));
    }
    EXPECT_TRUE(help.showContents());
}

TEST(HelpWindow, SaysSoWhenThePagesAreMissing)
{
    HelpWindow help(QStringLiteral("/nonexistent/help"));
    EXPECT_FALSE(help.showContext(19));
    EXPECT_TRUE(help.browser()->toPlainText().contains("help pages were not found"));
}

} // namespace qz::test
