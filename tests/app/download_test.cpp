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
#include "model/memory_image.h"

#include <QApplication>
#include <QDir>

#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QToolButton>

namespace qz::test {

namespace {

// The main window on the simulated logger, with a catalogue that knows its models.
class DownloadTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        QFile::remove(QDir(Folder()).filePath("devices.ini"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"),
                                QDir(Folder()).filePath("devices.ini")));
        lines_.addNamed(LineRegistry::simulatedPortName(),
                        [this] { return std::make_unique<sim::EmulatorLine>(logger_, clock_); });
        Form().options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
    }
    void Load(const sim::MemoryPreset& preset) { sim::LoadMemory(logger_.logger(), preset); }

    sim::Emulator logger_;
};

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
    EXPECT_EQ(prompt_.texts(), QStringList({"Please Connect The Quorvant", "Device Not Responding",
                                            "This device is not a QuorvantZK"}));
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

} // namespace qz::test
