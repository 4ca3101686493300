#include "app_rig.h"
#include "config/ui/configuration_dialog.h"

#include "app/ui/options_dialog.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "link/line_registry.h"
#include "model/datetime_number.h"
#include "model/ini_file.h"
#include "model/memory_image.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "ui/progress_dialog.h"

#include <QApplication>
#include <QDir>

#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QToolButton>

#include <functional>

namespace qz::test {

namespace {

// The main window on the simulated logger, with a catalogue that knows its models.
class DownloadTest : public SimulatedLoggerTest {};

} // namespace

TEST_F(DownloadTest, OpensOneGraphWindowTitledWithTheSerialNumber)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .serial = "7421"});
    form().download();
    settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join("|").toStdString();
    ASSERT_EQ(form().graphWindows().size(), 1);
    GraphWindow* g = form().graphWindows().constFirst();
    EXPECT_TRUE(g->windowTitle().startsWith("S/N:7421 - Greenhouse north wall"))
        << g->windowTitle().toStdString();
    EXPECT_TRUE(g->windowTitle().contains(" #1   (")) << g->windowTitle().toStdString();
    EXPECT_FALSE(g->isSaved());
    EXPECT_EQ(g->data().created(), toDateTimeNumber(clock_.localNow()))
        << "the download moment is the program's clock";
    EXPECT_TRUE(form().action("Save1")->isEnabled());
    EXPECT_TRUE(form().menu("Logger")->menuAction()->isEnabled());
    EXPECT_FALSE(form().commandBusy());
    EXPECT_GT(g->paintBox()->drawCount(), 0);
}

TEST_F(DownloadTest, TwoDownloadsOfTheSameLoggerAreTwoRecordings)
{
    load({.deviceCode = 293, .content = sim::Content::Linear, .blocks = 4});
    form().download();
    clock_.advance(60'000);
    form().download();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 2);
    // Downloaded at different moments: both are copy #1 of their own recording.
    for (GraphWindow* g : form().graphWindows())
        EXPECT_TRUE(g->windowTitle().contains(" #1   (")) << g->windowTitle().toStdString();
}

TEST_F(DownloadTest, ASilentLoggerIsAskedForAndNoMeansNothingMore)
{
    logger_.setSilent(true);
    prompt_.script({PromptAnswer::No});
    form().download();
    EXPECT_EQ(prompt_.texts(), QStringList({"Please Connect The Quorvant"}));
    EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(form().graphWindows().isEmpty());
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(DownloadTest, ALoggerThatStaysSilentEndsInTheDeviceMessage)
{
    logger_.setSilent(true);
    prompt_.script({PromptAnswer::Yes});
    form().download();
    // A logger that does not answer is no logger of another kind.
    EXPECT_EQ(prompt_.texts(), QStringList({"Please Connect The Quorvant", "Device Not Responding"}));
    EXPECT_TRUE(form().graphWindows().isEmpty());
    EXPECT_TRUE(form().menu("Logger")->menuAction()->isEnabled());
}

TEST_F(DownloadTest, AnErasedMemoryIsNoRecording)
{
    load({.deviceCode = 101, .content = sim::Content::Erased});
    form().download();
    EXPECT_EQ(prompt_.texts(), QStringList({"This device is not a QuorvantZK"}));
    EXPECT_TRUE(form().graphWindows().isEmpty());
}

TEST_F(DownloadTest, OneMeasurementIsTooFewAndLeavesNoWindow)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .records = 1});
    form().download();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList({"   Cannot display a record\rwith less than two measurements "}));
    EXPECT_TRUE(form().graphWindows().isEmpty());
    EXPECT_TRUE(form().mdiArea()->subWindowList().isEmpty());
}

TEST_F(DownloadTest, CancelEndsTheDownloadSilently)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 30});
    // The progress dialog's cancel test pumps events; the user presses Cancel meanwhile.
    pump_.onCall(5, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* gauge = qobject_cast<ProgressDialog*>(w); gauge && gauge->isVisible())
                gauge->requestCancel();
    });
    form().download();
    settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join("|").toStdString();
    EXPECT_TRUE(form().graphWindows().isEmpty());
}

TEST_F(DownloadTest, ALoggerCommandStartedDuringADownloadIsIgnored)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 8});
    bool busyMeanwhile = false;
    bool menuDisabledMeanwhile = false;
    pump_.onCall(3, [&] {
        busyMeanwhile = form().commandBusy();
        menuDisabledMeanwhile = !form().menu("Logger")->menuAction()->isEnabled();
        form().toolButton("spDownload")->click();
    });
    form().download();
    settle();
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_TRUE(menuDisabledMeanwhile);
    EXPECT_EQ(form().graphWindows().size(), 1);
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(DownloadTest, ADownloadSavedAndOpenedAgainShowsTheSameRecording)
{
    load({.deviceCode = 485, .content = sim::Content::Wrapped});
    form().download();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 1);
    GraphWindow* downloaded = form().graphWindows().constFirst();
    dialogs_.script({scratch("plant.qrv")});
    form().save();
    ASSERT_TRUE(QFile::exists(scratch("plant.qrv"))) << prompt_.texts().join("|").toStdString();

    GraphWindow* opened = openThroughMenu(scratch("plant.qrv"));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->measurementCount(), downloaded->measurementCount());
    const auto header = qsizetype(mem::kHeaderSize);
    EXPECT_EQ(opened->data().imageBytes().left(header), downloaded->data().imageBytes().left(header));
    // Both windows now describe the same file: copies #1 and #2.
    EXPECT_TRUE(downloaded->windowTitle().endsWith(" #1  ")) << downloaded->windowTitle().toStdString();
    EXPECT_TRUE(opened->windowTitle().endsWith(" #2  ")) << opened->windowTitle().toStdString();
    EXPECT_EQ(opened->snapshot().size(), opened->paintBox()->size());
}

namespace {

bool gaugeVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<ProgressDialog*>(w) && w->isVisible())
            return true;
    return false;
}

} // namespace

TEST_F(DownloadTest, ARecordingOfTheSimulatedLoggerSaysSoInItsTitleInfoAndFile)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
    form().download();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 1);
    GraphWindow* g = form().graphWindows().constFirst();
    EXPECT_TRUE(g->windowTitle().startsWith("S/N:SIM1 (Simulated logger) - Greenhouse north wall"))
        << g->windowTitle().toStdString();
    EXPECT_TRUE(informationLines(g->data(), g->view().range())
                    .contains("Serial Number      : SIM1 (Simulated logger)"));

    dialogs_.script({scratch("greenhouse.qrv")});
    form().save();
    GraphWindow* opened = openThroughMenu(scratch("greenhouse.qrv"));
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->windowTitle().startsWith("greenhouse.qrv (Simulated logger) - Greenhouse north wall"))
        << opened->windowTitle().toStdString();
}

TEST_F(DownloadTest, AVerifiedDownloadReadsEveryBlockTwice)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
    form().options()->settings().setVerifyDownloads(true);
    form().download();
    settle();
    EXPECT_EQ(form().graphWindows().size(), 1);
    // The 4 header areas, blocks 0..11 and the erased block 12, twice each.
    EXPECT_EQ(logger_.commands('D'), 2 * 4 + 2 * 13);
}

TEST_F(DownloadTest, TheUserKeepsThePartBeforeADamagedBlockOrNot)
{
    for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .damagedBlock = 5});
        prompt_.clear();
        prompt_.script({answer});
        form().download();
        settle();
        EXPECT_EQ(prompt_.texts(),
                  QStringList{"Block 5 of the logger's memory is damaged; the recording "
                              "ends before it\nKeep what was read before it?"});
        if (answer == PromptAnswer::Yes) {
            ASSERT_EQ(form().graphWindows().size(), 1);
            // Four inputs: 30 measurements in each of blocks 0..4.
            EXPECT_EQ(form().graphWindows().constFirst()->measurementCount(), 5 * 30);
        } else {
            EXPECT_TRUE(form().graphWindows().isEmpty());
        }
    }
}

TEST_F(DownloadTest, AModelTheCatalogueDoesNotKnowCanBeSavedAsItWasRead)
{
    const QString question = "This device is not a QuorvantZK\nThe logger catalogue does not know "
                             "device code 77.\nSave the downloaded memory to a file anyway?";
    load({.deviceCode = 77, .content = sim::Content::Linear, .blocks = 6});
    prompt_.script({PromptAnswer::No});
    form().download();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList{question});
    EXPECT_TRUE(dialogs_.requests.empty());
    EXPECT_TRUE(form().graphWindows().isEmpty());

    prompt_.clear();
    prompt_.script({PromptAnswer::Yes});
    dialogs_.script({scratch("unknown.qrv")});
    form().download();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList{question});
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].title, "Save");
    EXPECT_TRUE(form().graphWindows().isEmpty());
    QFile saved(scratch("unknown.qrv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const QByteArray memory(reinterpret_cast<const char*>(logger_.logger().memory()),
                            qsizetype(mem::blockAddress(6)));
    EXPECT_EQ(bytes.size(), qsizetype(8 + mem::blockAddress(6)));
    EXPECT_TRUE(bytes.startsWith("QUORVANT"));
    EXPECT_EQ(bytes.mid(8 + qsizetype(mem::kProgram), 50), memory.mid(qsizetype(mem::kProgram), 50));
    EXPECT_EQ(bytes.mid(8 + qsizetype(mem::kHeaderSize)), memory.mid(qsizetype(mem::kHeaderSize)));
}

TEST_F(DownloadTest, TheProgressDialogIsOutOfTheWayOfEveryMessage)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        int messages;
    } cases[] = {
        {"a logger that stops answering",
         [this] {
             load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
             sim::Fault f;
             f.kind = sim::FaultKind::Silence;
             f.frame = 8;
             f.frames = 0;
             logger_.addFault(f);
         },
         1},
        {"a damaged block",
         [this] {
             load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .damagedBlock = 5});
         },
         1},
        {"too few measurements",
         [this] { load({.deviceCode = 101, .content = sim::Content::Linear, .records = 1}); }, 1},
        {"an erased memory", [this] { load({.deviceCode = 101, .content = sim::Content::Erased}); }, 1},
        {"an unknown model",
         [this] { load({.deviceCode = 77, .content = sim::Content::Linear, .blocks = 6}); }, 1},
    };
    for (const auto& c : cases) {
        logger_.clearFaults();
        c.prepare();
        prompt_.clear();
        int shownOverTheGauge = 0;
        prompt_.onAsk = [&](const QString&) { shownOverTheGauge += gaugeVisible(); };
        form().download();
        settle();
        prompt_.onAsk = nullptr;
        EXPECT_EQ(int(prompt_.records().size()), c.messages)
            << c.name << ": " << prompt_.texts().join("|").toStdString();
        EXPECT_EQ(shownOverTheGauge, 0) << c.name;
    }
}

TEST_F(DownloadTest, BlocksWithImpossibleDatesAreToldInOneMessageAfterTheDownload)
{
    // 31 February in one block, or in 38 of them: one message box either way, once the
    // download has ended and its progress dialog has gone, and the recording opens.
    const struct {
        const char* name;
        int count;
        QString told;
    } cases[] = {
        {"one block", 1, "Measurements date error"},
        {"38 blocks", 38, "Measurements date error: 38 blocks, the first is block 3"},
    };
    for (const auto& c : cases) {
        load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 60});
        for (int k = 3; k < 3 + c.count; ++k) {
            std::uint8_t* stamp = logger_.logger().memory() + mem::blockAddress(k) + mem::kBlockStamp;
            stamp[1] = 0x02;
            stamp[2] = 0x31;
        }
        prompt_.clear();
        bool gaugeAtTheMessage = false;
        prompt_.onAsk = [&](const QString&) { gaugeAtTheMessage = gaugeAtTheMessage || gaugeVisible(); };
        const int before = int(form().graphWindows().size());
        form().download();
        settle();
        prompt_.onAsk = nullptr;
        EXPECT_EQ(prompt_.texts(), QStringList{c.told}) << c.name;
        EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Warning) << c.name;
        EXPECT_FALSE(gaugeAtTheMessage) << c.name;
        EXPECT_EQ(int(form().graphWindows().size()), before + 1) << c.name;
    }
}

// The port of the settings file, absent at start: it stays the port, and the Download
// says that it does not open instead of downloading someone else's logger.
class SavedPortTest : public AppTest {};

TEST_F(SavedPortTest, AnAbsentSavedPortStaysAndTheDownloadSaysItDoesNotOpen)
{
    // The program offers its simulated logger, as always.
    sim::Emulator simulated;
    lines_.addNamed(LineRegistry::simulatedPortName(),
                    [&] { return std::make_unique<sim::EmulatorLine>(simulated, clock_); });
    const QString port = scratch("ttyUSB0");
    const QString ini = QDir(folder()).filePath("QUORZK.INI");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("[Communication]\r\nComport=" + port + "\r\n").toUtf8());
    }
    EXPECT_EQ(form().options()->currentPort(), port);
    form().download();
    settle();
    EXPECT_EQ(prompt_.texts(),
              QStringList{"Unable to open com port " + port + ": No such file or directory"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_TRUE(form().graphWindows().isEmpty());
    EXPECT_FALSE(form().commandBusy());
    EXPECT_EQ(IniFile::readValue(ini, "Communication", "Comport"), port);
}

TEST_F(SavedPortTest, EveryLoggerCommandTellsAPortThatDoesNotOpenOnceAndAsksNothing)
{
    const QString port = scratch("ttyUSB7");
    form().options()->settings().setCurrentPort(port);
    const struct {
        const char* name;
        void (MainWindow::*command)();
    } commands[] = {
        {"Download", &MainWindow::download},
        {"Configuration", &MainWindow::configure},
        {"Current Reading", &MainWindow::currentReading},
        {"Stop", &MainWindow::stopLogger},
    };
    for (const auto& c : commands) {
        prompt_.clear();
        prompt_.script({PromptAnswer::Yes, PromptAnswer::Yes}); // whatever would be asked
        (form().*c.command)();
        settle();
        EXPECT_EQ(prompt_.texts(),
                  QStringList{"Unable to open com port " + port + ": No such file or directory"})
            << c.name;
        EXPECT_EQ(prompt_.records().front().symbol, PromptSymbol::Error) << c.name;
        EXPECT_FALSE(form().commandBusy()) << c.name;
        EXPECT_FALSE(form().configurationDialog()->isVisible()) << c.name;
    }
}

} // namespace qz::test
