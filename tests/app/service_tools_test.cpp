// The main window's service tools on the simulated logger: the memory panel behind the
// access code, its logger and file layers, and the raw memory dump.
#include "app_rig.h"

#include "app/ui/diagnostic_panel.h"
#include "app/ui/options_dialog.h"
#include "app/ui/password_dialog.h"
#include "graph/ui/graph_window.h"
#include "link/line_registry.h"
#include "model/memory_image.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

namespace qz::test {

namespace {

const QString kCode = QStringLiteral("407391");
const Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// Answers the next modal password dialog: types the text and presses OK, or presses
// Cancel for no text. The flag tells whether a dialog was there to answer.
std::shared_ptr<bool> answerPassword(std::optional<QString> typed)
{
    auto seen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [seen, typed] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Please enter password");
        EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);
        if (typed) {
            dialog->passwordEdit()->setText(*typed);
            dialog->findChild<QPushButton*>("OKBtn")->click();
        } else {
            dialog->findChild<QPushButton*>("CancelBtn")->click();
        }
    });
    return seen;
}

class ServiceTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        lines_.addNamed(LineRegistry::simulatedPortName(),
                        [this] { return std::make_unique<sim::EmulatorLine>(logger_, clock_); });
        form().options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
        load({.deviceCode = 0x00, .content = sim::Content::Linear, .blocks = 12});
    }
    void load(const sim::MemoryPreset& preset) { sim::loadMemory(logger_.logger(), preset); }

    QWidget* area() { return form().mdiArea()->viewport(); }
    DiagnosticPanel* panel() { return form().diagnosticPanel(); }
    QPushButton* button(const char* name) { return panel()->findChild<QPushButton*>(name); }
    QStringList memoLines() { return panel()->memo()->toPlainText().split('\n'); }
    // Ctrl + Shift + right button on the empty document area, answering a password
    // dialog if one comes; whether one came.
    bool gesture(std::optional<QString> typed = std::nullopt)
    {
        const auto seen = answerPassword(typed);
        QTest::mouseClick(area(), Qt::RightButton, kCtrlShift, QPoint(5, 5));
        settle();
        return *seen;
    }
    void openPanel()
    {
        ASSERT_TRUE(gesture(kCode));
        ASSERT_TRUE(panel()->isVisible());
    }
    // The panel's line for sixteen bytes of the logger at address.
    QString loggerLine(int address)
    {
        QString line = QString::asprintf(" %04X ", address);
        for (int i = 0; i < 16; ++i)
            line += QString::asprintf(" %02X", logger_.logger().memory()[(address + i) % 65536]);
        return line;
    }

    sim::Emulator logger_;
};

TEST_F(ServiceTest, ThePanelIsHiddenAtStartInTheDocumentAreasPlace)
{
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(form().mdiArea()->isVisible());
    EXPECT_EQ(panel()->objectName(), "Panel2");
    EXPECT_EQ(panel()->memo()->objectName(), "Memo1");
    EXPECT_TRUE(panel()->memo()->isReadOnly());
    EXPECT_EQ(panel()->memo()->toPlainText(), "");
    EXPECT_EQ(panel()->loggerAddressBox()->text(), "0000");
    EXPECT_EQ(panel()->fileAddressBox()->text(), "0000");
    const struct {
        const char* name;
        const char* caption;
    } buttons[] = {{"Button1", "OK"}, {"Button2", "+"}, {"Button3", "-"}, {"Button4", "Rtc"},
                   {"Button5", "OK"}, {"Button6", "+"}, {"Button7", "-"}};
    for (const auto& b : buttons) {
        ASSERT_NE(button(b.name), nullptr) << b.name;
        EXPECT_EQ(button(b.name)->text(), b.caption) << b.name;
    }
    EXPECT_EQ(button("Button2")->font().pixelSize(), 24);
    EXPECT_EQ(button("Button4")->font().pixelSize(), 13);
}

TEST_F(ServiceTest, TheGestureAsksForTheCodeAndOnlyTheRightOneShowsThePanel)
{
    const struct {
        const char* name;
        std::optional<QString> typed;
        bool shown;
    } cases[] = {
        {"the code", kCode, true},
        {"the code and more", kCode + "99x", true},
        {"five digits", kCode.left(5), false},
        {"a wrong digit", "407392", false},
        {"nothing", QString(), false},
        {"Cancel", std::nullopt, false},
    };
    for (const auto& c : cases) {
        form().setDiagnosticPanelVisible(false);
        EXPECT_TRUE(gesture(c.typed)) << c.name;
        EXPECT_EQ(panel()->isVisible(), c.shown) << c.name;
        EXPECT_EQ(form().mdiArea()->isVisible(), !c.shown) << c.name;
        EXPECT_TRUE(prompt_.records().empty()) << c.name << ": a wrong code is not told";
    }
}

TEST_F(ServiceTest, TheGestureHidesAVisiblePanelWithoutAQuestion)
{
    openPanel();
    // On the panel itself, and on its memo.
    const auto seen = answerPassword(std::nullopt);
    QTest::mouseClick(panel(), Qt::RightButton, kCtrlShift, QPoint(1, 1));
    settle();
    EXPECT_FALSE(*seen);
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(form().mdiArea()->isVisible());

    openPanel();
    QTest::mouseClick(panel()->memo()->viewport(), Qt::RightButton, kCtrlShift, QPoint(5, 5));
    settle();
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(ServiceTest, OtherClicksOnTheDocumentAreaDoNothing)
{
    const Qt::KeyboardModifiers others[] = {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier};
    for (const Qt::KeyboardModifiers m : others) {
        const auto seen = answerPassword(kCode);
        QTest::mouseClick(area(), Qt::RightButton, m, QPoint(5, 5));
        settle();
        EXPECT_FALSE(*seen) << int(m);
    }
    const auto seen = answerPassword(kCode);
    QTest::mouseClick(area(), Qt::LeftButton, kCtrlShift, QPoint(5, 5));
    settle();
    EXPECT_FALSE(*seen);
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(ServiceTest, ADoubleClickOnTheMemoHidesThePanel)
{
    openPanel();
    QTest::mouseDClick(panel()->memo()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    settle();
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(form().mdiArea()->isVisible());
    EXPECT_TRUE(dialogs_.requests.empty()) << "the memo's double click is no raw dump";
}

TEST_F(ServiceTest, TheLayerButtonsSwapTheLoggerAndFileLayers)
{
    openPanel();
    EXPECT_FALSE(panel()->fileLayerInFront());
    button("BitBtn1")->click();
    EXPECT_TRUE(panel()->fileLayerInFront());
    EXPECT_TRUE(button("Button5")->isVisible());
    EXPECT_FALSE(button("Button1")->isVisible());
    button("BitBtn2")->click();
    EXPECT_FALSE(panel()->fileLayerInFront());
}

TEST_F(ServiceTest, TheLoggerLayerStepsThroughTheLoggersMemory)
{
    openPanel();
    panel()->loggerAddressBox()->setText("0180");
    button("Button1")->click();
    QStringList want;
    for (int a = 0x0180; a < 0x0200; a += 16)
        want << loggerLine(a);
    EXPECT_EQ(memoLines(), want);
    EXPECT_EQ(panel()->loggerAddressBox()->text(), "0180");

    const struct {
        const char* button;
        const char* box;
        int address;
    } steps[] = {{"Button2", "0200", 0x0200}, {"Button3", "0180", 0x0180}, {"Button3", "0100", 0x0100},
                 {"Button3", "0080", 0x0080}, {"Button3", "0000", 0x0000}, {"Button3", "FF80", 0xFF80},
                 {"Button2", "0000", 0x0000}};
    for (const auto& s : steps) {
        button(s.button)->click();
        EXPECT_EQ(panel()->loggerAddressBox()->text(), s.box);
        const QStringList lines = memoLines();
        ASSERT_EQ(lines.size(), 8) << s.box;
        EXPECT_EQ(lines.first(), loggerLine(s.address)) << s.box;
        EXPECT_EQ(lines.last(), loggerLine(s.address + 112)) << s.box;
    }
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ServiceTest, ATextThatIsNotHexadecimalReadsAddressZero)
{
    openPanel();
    panel()->loggerAddressBox()->setText("zz");
    button("Button1")->click();
    EXPECT_EQ(panel()->loggerAddressBox()->text(), "0");
    EXPECT_EQ(memoLines().first(), loggerLine(0));
}

TEST_F(ServiceTest, RtcAppendsTheClockUnderWhatTheMemoHolds)
{
    openPanel();
    button("Button1")->click();
    button("Button4")->click();
    button("Button4")->click();
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], loggerLine(0));
    for (int i : {8, 9}) {
        EXPECT_TRUE(lines[i].startsWith("RTC->  04 ")) << lines[i].toStdString();
        EXPECT_EQ(lines[i].size(), 6 + 16 * 3) << lines[i].toStdString();
    }
}

TEST_F(ServiceTest, AFailedReadShowsNoStaleBytes)
{
    openPanel();
    button("Button1")->click();
    ASSERT_EQ(memoLines().size(), 8);
    logger_.setSilent(true);
    button("Button2")->click();
    EXPECT_EQ(memoLines(), QStringList{"Device Not Responding: no bytes at 0080"});
    EXPECT_TRUE(prompt_.records().empty());
    // The clock read tells the user, as every logger command does; the memo stays.
    button("Button4")->click();
    EXPECT_EQ(prompt_.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(memoLines().size(), 1);
}

TEST_F(ServiceTest, TheLoggerButtonsWaitForARunningLoggerCommand)
{
    openPanel();
    std::int64_t framesBefore = -1;
    std::int64_t framesAfter = -1;
    pump_.onCall(3, [&] {
        framesBefore = logger_.commands();
        button("Button1")->click();
        button("Button2")->click();
        button("Button4")->click();
        framesAfter = logger_.commands();
    });
    form().download();
    EXPECT_GE(framesBefore, 0);
    EXPECT_EQ(framesAfter, framesBefore) << "no panel read while the download runs";
    EXPECT_EQ(panel()->memo()->toPlainText(), "");
    EXPECT_EQ(panel()->loggerAddressBox()->text(), "0080") << "the box still steps";
    EXPECT_FALSE(form().commandBusy());
}

// --- The file layer -------------------------------------------------------------------

class FileLayerTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        QByteArray image;
        for (int i = 0; i < 0x200; ++i)
            image.append(char(i & 0xFF));
        file_ = writeFile("memory.qrv", "QUORVANT" + image);
        openPanel();
        button("BitBtn1")->click();
    }
    void choose(const QString& name)
    {
        dialogs_.script({name});
        button("BitBtn3")->click();
    }
    QString box() { return panel()->fileAddressBox()->text(); }
    // The panel's line for sixteen bytes of the test file's image at address.
    static QString fileLine(int address)
    {
        QString line = QString::asprintf(" %04X ", address);
        for (int i = 0; i < 16; ++i)
            line += QString::asprintf(" %02X", (address + i) & 0xFF);
        return line;
    }

    QString file_;
};

TEST_F(FileLayerTest, ChoosingAFileDumpsItsImageFromTheBoxsAddress)
{
    panel()->fileAddressBox()->setText("80");
    choose(file_);
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    const FileDialogRequest& r = dialogs_.requests.front();
    EXPECT_EQ(r.title, "Open");
    EXPECT_EQ(r.filter, "Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
    EXPECT_EQ(r.defaultExt, "qrv");
    EXPECT_TRUE(r.fileMustExist);
    EXPECT_EQ(panel()->fileName(), file_);
    EXPECT_EQ(box(), "0080");
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines.first(), fileLine(0x80));
    EXPECT_EQ(lines.last(), fileLine(0xF0));
}

TEST_F(FileLayerTest, PlusAndMinusFollowTheFileAddressRules)
{
    choose(file_);
    const struct {
        const char* typed; // nullptr: the box as the step before left it
        const char* button;
        const char* box;
        QString first; // first memo line
    } steps[] = {
        {"0040", "Button7", "0000", fileLine(0x0000)},
        {nullptr, "Button6", "0080", fileLine(0x0080)},
        {"0180", "Button6", "0200", "End of file after 0 bytes"},
        {"FF80", "Button6", "10000", "End of file after 0 bytes"},
        {nullptr, "Button6", "0000", fileLine(0x0000)},
        {"20000", "Button5", "20000", fileLine(0x0000)},
        {"1C0", "Button5", "01C0", fileLine(0x01C0)},
    };
    for (const auto& s : steps) {
        if (s.typed)
            panel()->fileAddressBox()->setText(s.typed);
        button(s.button)->click();
        EXPECT_EQ(box(), s.box) << s.box;
        EXPECT_EQ(memoLines().first(), s.first) << s.box;
    }
    // 1C0: the file's last 64 bytes, then where it ended.
    EXPECT_EQ(memoLines().size(), 5);
    EXPECT_EQ(memoLines().last(), "End of file after 64 bytes");
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(FileLayerTest, RefusalsAreToldAndChangeNothing)
{
    // Before a file is chosen the buttons do nothing.
    button("Button5")->click();
    button("Button6")->click();
    EXPECT_EQ(box(), "0000");
    EXPECT_EQ(panel()->memo()->toPlainText(), "");

    const QString text = writeFile("memory.txt", "QUORVANT");
    choose(text);
    EXPECT_EQ(prompt_.texts(), QStringList{"Not a file with the qrv extension"});
    EXPECT_EQ(prompt_.records().back().symbol, PromptSymbol::Error);
    EXPECT_TRUE(panel()->fileName().isEmpty());

    choose(file_);
    prompt_.clear();
    panel()->fileAddressBox()->setText("12G4");
    button("Button6")->click();
    EXPECT_EQ(prompt_.texts(), QStringList{"'12G4' is not a hexadecimal address"});
    EXPECT_EQ(box(), "12G4");
    EXPECT_EQ(memoLines().first(), fileLine(0)) << "the previous dump stays";

    // A file that went away since it was chosen: nothing happens.
    prompt_.clear();
    ASSERT_TRUE(QFile::remove(file_));
    panel()->fileAddressBox()->setText("0080");
    button("Button5")->click();
    EXPECT_EQ(box(), "0080");
    EXPECT_TRUE(prompt_.records().empty());
}

// --- The raw memory dump --------------------------------------------------------------

TEST_F(ServiceTest, ADoubleClickOnTheDocumentAreaAsksFirst)
{
    // A double click on the background is easily made: No reads nothing and asks no file.
    prompt_.script({PromptAnswer::No});
    QTest::mouseDClick(area(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    settle();
    EXPECT_EQ(prompt_.texts(),
              QStringList{"Raw memory download\rRead the whole memory of the logger into a "
                          "file, for service ?"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Confirmation);
    EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(dialogs_.requests.empty());
    EXPECT_EQ(logger_.commands(), 0);
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ServiceTest, ADoubleClickOnTheDocumentAreaAsksWhereAndWritesTheWholeMemory)
{
    dialogs_.script({scratch("dump.qrv")});
    prompt_.script({PromptAnswer::Yes});
    QTest::mouseDClick(area(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    settle();
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    const FileDialogRequest& r = dialogs_.requests.front();
    EXPECT_EQ(r.filter, "Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|");
    EXPECT_EQ(r.defaultExt, "qrv");
    EXPECT_EQ(QFileInfo(r.initialName).fileName(), "debug.qrv");
    QFile f(scratch("dump.qrv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray got = f.readAll();
    ASSERT_EQ(got.size(), 8072);
    EXPECT_TRUE(got
                == "QUORVANT" + QByteArray(reinterpret_cast<const char*>(logger_.logger().memory()), 8064));
    EXPECT_EQ(prompt_.records().size(), 1u)
        << "the question only: " << prompt_.texts().join("|").toStdString();
    EXPECT_TRUE(form().graphWindows().isEmpty()) << "the documents are not touched";
    EXPECT_EQ(logger_.commands('E'), 0) << "no ping";
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ServiceTest, TheDumpIsProposedBesideTheLastRecordingInAFolderThatExists)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    prompt_.script({PromptAnswer::Yes});
    form().rawDownload();
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    const QString folder = QFileInfo(dialogs_.requests.back().initialName).absolutePath();
    EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_EQ(folder, QFileInfo(documents).isDir() ? documents : QDir::homePath());
    EXPECT_EQ(QFileInfo(dialogs_.requests.back().initialName).fileName(), "debug.qrv");

    ASSERT_NE(openThroughMenu(writeRecording("cold.qrv", coldStoreImage())), nullptr);
    prompt_.script({PromptAnswer::Yes});
    form().rawDownload();
    EXPECT_EQ(dialogs_.requests.back().initialName, scratch("debug.qrv"));
    EXPECT_EQ(logger_.commands(), 0) << "asking was cancelled both times";
}

TEST_F(ServiceTest, TheDumpIsRefusedAnotherExtensionAndAFolderThatCannotTakeItBeforeReading)
{
    dialogs_.script({scratch("dump.bin")});
    prompt_.script({PromptAnswer::Yes});
    form().rawDownload();
    EXPECT_EQ(prompt_.texts().mid(1), QStringList{"Not a file with the qrv extension"});
    EXPECT_EQ(logger_.commands(), 0);

    // Told before the memory is read, and asked again with the name to put right.
    prompt_.clear();
    const QString name = scratch("no-such-folder/debug.qrv");
    dialogs_.script({name, scratch("dump.qrv")});
    prompt_.script({PromptAnswer::Yes});
    form().rawDownload();
    ASSERT_EQ(prompt_.texts().size(), 2);
    EXPECT_TRUE(prompt_.texts()[1].startsWith("Cannot write " + name + ": "))
        << prompt_.texts()[1].toStdString();
    ASSERT_EQ(dialogs_.requests.size(), 3u);
    EXPECT_EQ(dialogs_.requests.back().initialName, name);
    settle();
    EXPECT_EQ(QFileInfo(scratch("dump.qrv")).size(), 8072) << "the read went to the file put right";
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ServiceTest, TheDumpOfAWrappedMemoryOpensInTheProgram)
{
    load({.deviceCode = 0x00, .content = sim::Content::Wrapped, .blocks = 20});
    dialogs_.script({scratch("ring.qrv")});
    prompt_.script({PromptAnswer::Yes});
    form().rawDownload();
    prompt_.clear();
    ASSERT_TRUE(prompt_.records().empty()) << prompt_.texts().join("|").toStdString();
    GraphWindow* g = openThroughMenu(scratch("ring.qrv"));
    ASSERT_NE(g, nullptr) << prompt_.texts().join("|").toStdString();
    EXPECT_GT(g->measurementCount(), 59 * 30) << "the whole ring of 60 blocks";
}

TEST_F(ServiceTest, ADoubleClickDuringALoggerCommandIsIgnored)
{
    pump_.onCall(3, [&] { QTest::mouseDClick(area(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); });
    dialogs_.script({scratch("dump.qrv")});
    form().download();
    settle();
    // The download opened its graph window; no file was asked for.
    EXPECT_TRUE(dialogs_.requests.empty());
    EXPECT_FALSE(QFile::exists(scratch("dump.qrv")));
}

} // namespace

} // namespace qz::test
