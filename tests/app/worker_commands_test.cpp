// The program as it runs: the main window over the system clock, its logger jobs on a
// worker thread per port, and the simulated logger of the "sim" port. Kept short: the real
// clock, and only what the worker changes.
#include "app/ui/main_window.h"
#include "app/ui/options_dialog.h"
#include "app/ui/simulated_logger.h"
#include "graph/ui/graph_window.h"
#include "jobs/threaded_job_runner.h"
#include "link/line_registry.h"
#include "support/catalogue_folder.h"
#include "support/recording_prompt.h"
#include "support/scripted_pump.h"
#include "ui/progress_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qz::test {
namespace {

class NoDialogs final : public DocumentDialogs {
public:
    QString openFile(QWidget*, const FileDialogRequest&) override { return {}; }
    QString saveFile(QWidget*, const FileDialogRequest&) override { return {}; }
    std::optional<FileChoice> saveFileOfType(QWidget*, const FileDialogRequest&) override
    {
        return std::nullopt;
    }
    bool print(QWidget*, QPrinter&) override { return false; }
    bool printSetup(QWidget*, QPrinter&) override { return false; }
    std::optional<QColor> chooseColour(QWidget*, const QColor&) override { return std::nullopt; }
};

class WorkerCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QDir(folder_.path()).filePath("devices.ini"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"),
                                QDir(folder_.path()).filePath("devices.ini")));
        simulated_.registerIn(lines_, clock_);
        form_ = std::make_unique<MainWindow>(
            AppServices{prompt_, clock_, pump_, ProgramFolder(folder_.path()), dialogs_, lines_, jobs_});
        form_->options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
    }
    void TearDown() override
    {
        jobs_.stop();
        form_.reset();
    }

    SystemClock clock_;
    RecordingPrompt prompt_;
    ScriptedPump pump_;
    NoDialogs dialogs_;
    CatalogueFolder folder_;
    LineRegistry lines_;
    SimulatedLogger simulated_;
    ThreadedJobRunner jobs_;
    std::unique_ptr<MainWindow> form_;
};

TEST_F(WorkerCommandsTest, ADownloadRunsOnThePortsWorkerWhileTheWindowTakesItsEvents)
{
    int timerTicks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++timerTicks; });
    timer.start(10);
    form_->download();
    EXPECT_TRUE(form_->graphWindows().isEmpty()) << "the download has only begun";
    EXPECT_TRUE(form_->commandBusy());
    EXPECT_EQ(jobs_.workers(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form_->commandBusy(); }, 20000));
    EXPECT_EQ(form_->graphWindows().size(), 1) << prompt_.texts().join('|').toStdString();
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_GT(timerTicks, 10) << "the window's events went on meanwhile (the port settles 500 ms)";
}

TEST_F(WorkerCommandsTest, CancelReachesTheDownloadOnTheWorker)
{
    form_->download();
    // Pressed at once: the port is still settling on the worker.
    auto* gauge = form_->findChild<ProgressDialog*>();
    ASSERT_NE(gauge, nullptr);
    gauge->requestCancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form_->commandBusy(); }, 20000));
    EXPECT_TRUE(form_->graphWindows().isEmpty());
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(WorkerCommandsTest, ClosingTheProgramEndsARunningJob)
{
    form_->download();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->findChild<ProgressDialog*>() != nullptr; }, 20000));
    EXPECT_TRUE(form_->close());
    EXPECT_TRUE(form_->graphWindows().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompt_.records().empty()) << "the download that was cut short tells nothing";
}

} // namespace
} // namespace qz::test
