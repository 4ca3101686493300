#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "link/line_registry.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "ui/progress_dialog.h"
#include "model/datetime_number.h"
#include "model/ini_file.h"
#include "model/memory_image.h"

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
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .serial = "7421"});
    Form().download();
    Settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join("|").toStdString();
    ASSERT_EQ(Form().graphWindows().size(), 1);
    GraphWindow* g = Form().graphWindows().constFirst();
    EXPECT_TRUE(g->windowTitle().startsWith("S/N:7421 - Greenhouse north wall")) << g->windowTitle().toStdString();
    EXPECT_TRUE(g->windowTitle().contains(" #1   (")) << g->windowTitle().toStdString();
    EXPECT_FALSE(g->isSaved());
    EXPECT_EQ(g->recording().created(), ToDateTimeNumber(clock_.localNow()))
        << "the download moment is the program's clock";
    EXPECT_TRUE(Form().action("Save1")->isEnabled());
    EXPECT_TRUE(Form().menu("Logger")->menuAction()->isEnabled());
    EXPECT_FALSE(Form().commandBusy());
    EXPECT_GT(g->paintBox()->drawCount(), 0);
}

TEST_F(DownloadTest, TwoDownloadsOfTheSameLoggerAreTwoRecordings)
{
    Load({.deviceCode = 293, .content = sim::Content::Linear, .blocks = 4});
    Form().download();
    clock_.advance(60'000);
    Form().download();
    Settle();
    ASSERT_EQ(Form().graphWindows().size(), 2);
    // Downloaded at different moments: both are copy #1 of their own recording.
    for (GraphWindow* g : Form().graphWindows())
        EXPECT_TRUE(g->windowTitle().contains(" #1   (")) << g->windowTitle().toStdString();
}

TEST_F(DownloadTest, ASilentLoggerIsAskedForAndNoMeansNothingMore)
{
    logger_.setSilent(true);
    prompt_.script({PromptAnswer::No});
    Form().download();
    EXPECT_EQ(prompt_.texts(), QStringList({"Please Connect The Quorvant"}));
    EXPECT_EQ(prompt_.records()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(Form().graphWindows().isEmpty());
    EXPECT_FALSE(Form().commandBusy());
}

TEST_F(DownloadTest, ALoggerThatStaysSilentEndsInTheDeviceMessage)
{
    logger_.setSilent(true);
    prompt_.script({PromptAnswer::Yes});
    Form().download();
    // A logger that does not answer is no logger of another kind.
    EXPECT_EQ(prompt_.texts(), QStringList({"Please Connect The Quorvant", "Device Not Responding"}));
    EXPECT_TRUE(Form().graphWindows().isEmpty());
    EXPECT_TRUE(Form().menu("Logger")->menuAction()->isEnabled());
}

TEST_F(DownloadTest, AnErasedMemoryIsNoRecording)
{
    Load({.deviceCode = 101, .content = sim::Content::Erased});
    Form().download();
    EXPECT_EQ(prompt_.texts(), QStringList({"This device is not a QuorvantZK"}));
    EXPECT_TRUE(Form().graphWindows().isEmpty());
}

TEST_F(DownloadTest, OneMeasurementIsTooFewAndLeavesNoWindow)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .records = 1});
    Form().download();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList({"   Cannot display a record\rwith less than two measurements "}));
    EXPECT_TRUE(Form().graphWindows().isEmpty());
    EXPECT_TRUE(Form().mdiArea()->subWindowList().isEmpty());
}

TEST_F(DownloadTest, CancelEndsTheDownloadSilently)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 30});
    // The progress dialog's cancel test pumps events; the user presses Cancel meanwhile.
    pump_.onCall(5, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* gauge = qobject_cast<ProgressDialog*>(w); gauge && gauge->isVisible())
                gauge->requestCancel();
    });
    Form().download();
    Settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join("|").toStdString();
    EXPECT_TRUE(Form().graphWindows().isEmpty());
}

TEST_F(DownloadTest, ALoggerCommandStartedDuringADownloadIsIgnored)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 8});
    bool busyMeanwhile = false;
    bool menuDisabledMeanwhile = false;
    pump_.onCall(3, [&] {
        busyMeanwhile = Form().commandBusy();
        menuDisabledMeanwhile = !Form().menu("Logger")->menuAction()->isEnabled();
        Form().toolButton("spDownload")->click();
    });
    Form().download();
    Settle();
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_TRUE(menuDisabledMeanwhile);
    EXPECT_EQ(Form().graphWindows().size(), 1);
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(DownloadTest, ADownloadSavedAndOpenedAgainShowsTheSameRecording)
{
    Load({.deviceCode = 485, .content = sim::Content::Wrapped});
    Form().download();
    Settle();
    ASSERT_EQ(Form().graphWindows().size(), 1);
    GraphWindow* downloaded = Form().graphWindows().constFirst();
    dialogs_.script({Scratch("plant.qrv")});
    Form().save();
    ASSERT_TRUE(QFile::exists(Scratch("plant.qrv"))) << prompt_.texts().join("|").toStdString();

    GraphWindow* opened = OpenThroughMenu(Scratch("plant.qrv"));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->measurementCount(), downloaded->measurementCount());
    const auto header = qsizetype(mem::kHeaderSize);
    EXPECT_EQ(opened->recording().imageBytes().left(header), downloaded->recording().imageBytes().left(header));
    // Both windows now describe the same file: copies #1 and #2.
    EXPECT_TRUE(downloaded->windowTitle().endsWith(" #1  ")) << downloaded->windowTitle().toStdString();
    EXPECT_TRUE(opened->windowTitle().endsWith(" #2  ")) << opened->windowTitle().toStdString();
    EXPECT_EQ(opened->snapshot().size(), opened->paintBox()->size());
}

namespace {

bool GaugeVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<ProgressDialog*>(w) && w->isVisible())
            return true;
    return false;
}

} // namespace

TEST_F(DownloadTest, ARecordingOfTheSimulatedLoggerSaysSoInItsTitleInfoAndFile)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
    Form().download();
    Settle();
    ASSERT_EQ(Form().graphWindows().size(), 1);
    GraphWindow* g = Form().graphWindows().constFirst();
    EXPECT_TRUE(g->windowTitle().startsWith("S/N:SIM1 (Simulated logger) - Greenhouse north wall"))
        << g->windowTitle().toStdString();
    const Recording& downloaded = g->recording();
    EXPECT_TRUE(downloaded.infoLines(downloaded.view(0)).contains("Serial Number      : SIM1 (Simulated logger)"));

    dialogs_.script({Scratch("greenhouse.qrv")});
    Form().save();
    GraphWindow* opened = OpenThroughMenu(Scratch("greenhouse.qrv"));
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->windowTitle().startsWith("greenhouse.qrv (Simulated logger) - Greenhouse north wall"))
        << opened->windowTitle().toStdString();
}

TEST_F(DownloadTest, AVerifiedDownloadReadsEveryBlockTwice)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
    Form().options()->settings().setVerifyDownloads(true);
    Form().download();
    Settle();
    EXPECT_EQ(Form().graphWindows().size(), 1);
    // The 4 header areas, blocks 0..11 and the erased block 12, twice each.
    EXPECT_EQ(logger_.commands('D'), 2 * 4 + 2 * 13);
}

TEST_F(DownloadTest, TheUserKeepsThePartBeforeADamagedBlockOrNot)
{
    for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .damagedBlock = 5});
        prompt_.clear();
        prompt_.script({answer});
        Form().download();
        Settle();
        EXPECT_EQ(prompt_.texts(), QStringList{"Block 5 of the logger's memory is damaged; the recording "
                                               "ends before it\nKeep what was read before it?"});
        if (answer == PromptAnswer::Yes) {
            ASSERT_EQ(Form().graphWindows().size(), 1);
            // Four inputs: 30 measurements in each of blocks 0..4.
            EXPECT_EQ(Form().graphWindows().constFirst()->measurementCount(), 5 * 30);
        } else {
            EXPECT_TRUE(Form().graphWindows().isEmpty());
        }
    }
}

TEST_F(DownloadTest, AModelTheCatalogueDoesNotKnowCanBeSavedAsItWasRead)
{
    const QString question = "This device is not a QuorvantZK\nThe logger catalogue does not know "
                             "device code 77.\nSave the downloaded memory to a file anyway?";
    Load({.deviceCode = 77, .content = sim::Content::Linear, .blocks = 6});
    prompt_.script({PromptAnswer::No});
    Form().download();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{question});
    EXPECT_TRUE(dialogs_.requests.empty());
    EXPECT_TRUE(Form().graphWindows().isEmpty());

    prompt_.clear();
    prompt_.script({PromptAnswer::Yes});
    dialogs_.script({Scratch("unknown.qrv")});
    Form().download();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{question});
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].title, "Save");
    EXPECT_TRUE(Form().graphWindows().isEmpty());
    QFile saved(Scratch("unknown.qrv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const QByteArray memory(reinterpret_cast<const char*>(logger_.logger().memory()),
                            qsizetype(mem::BlockAddress(6)));
    EXPECT_EQ(bytes.size(), qsizetype(8 + mem::BlockAddress(6)));
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
             Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
             sim::Fault f;
             f.kind = sim::FaultKind::Silence;
             f.frame = 8;
             f.frames = 0;
             logger_.addFault(f);
         },
         1},
        {"a damaged block",
         [this] { Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .damagedBlock = 5}); },
         1},
        {"too few measurements",
         [this] { Load({.deviceCode = 101, .content = sim::Content::Linear, .records = 1}); }, 1},
        {"an erased memory", [this] { Load({.deviceCode = 101, .content = sim::Content::Erased}); }, 1},
        {"an unknown model",
         [this] { Load({.deviceCode = 77, .content = sim::Content::Linear, .blocks = 6}); }, 1},
    };
    for (const auto& c : cases) {
        logger_.clearFaults();
        c.prepare();
        prompt_.clear();
        int shownOverTheGauge = 0;
        prompt_.onAsk = [&](const QString&) { shownOverTheGauge += GaugeVisible(); };
        Form().download();
        Settle();
        prompt_.onAsk = nullptr;
        EXPECT_EQ(int(prompt_.records().size()), c.messages) << c.name << ": " << prompt_.texts().join("|").toStdString();
        EXPECT_EQ(shownOverTheGauge, 0) << c.name;
    }
}

TEST_F(DownloadTest, AWarningDuringTheBlocksBringsTheProgressDialogBackAfterwards)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12});
    // Block 3 carries 31 February: warned of, and the download goes on.
    std::uint8_t* stamp = logger_.logger().memory() + mem::BlockAddress(3) + mem::kBlockStamp;
    stamp[1] = 0x02;
    stamp[2] = 0x31;
    bool hiddenAtTheWarning = false;
    bool shownAgain = false;
    prompt_.onAsk = [&](const QString&) {
        hiddenAtTheWarning = !GaugeVisible();
        pump_.onCall(pump_.calls() + 1, [&] { shownAgain = GaugeVisible(); });
    };
    Form().download();
    Settle();
    prompt_.onAsk = nullptr;
    EXPECT_EQ(prompt_.texts(), QStringList(2, "Measurements date error"));
    EXPECT_TRUE(hiddenAtTheWarning);
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(Form().graphWindows().size(), 1);
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
    const QString port = Scratch("ttyUSB0");
    const QString ini = QDir(Folder()).filePath("QUORZK.INI");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("[Communication]\r\nComport=" + port + "\r\n").toUtf8());
    }
    EXPECT_EQ(Form().options()->currentPort(), port);
    Form().download();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"Unable to open com port " + port + ": No such file or directory"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_TRUE(Form().graphWindows().isEmpty());
    EXPECT_FALSE(Form().commandBusy());
    EXPECT_EQ(IniFile::readValue(ini, "Communication", "Comport"), port);
}

} // namespace qz::test
