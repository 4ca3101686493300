// The runners of the logger jobs. The threaded one on the real clock, briefly: one job at a
// time per port in order, ports side by side, cancel reaching a running job, progress and
// ends arriving on the posting thread in order, and stopping. The inline one that the
// window tests use: in order, one at a time, held on request.
#include "jobs/job_runner.h"
#include "jobs/threaded_job_runner.h"

#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace qz::test {
namespace {

constexpr int kPatienceMs = 5000;

bool waitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, kPatienceMs);
}

// Waits on a worker, without the event loop, until the flag is set (or gives up).
bool workerWaitsFor(const std::atomic<bool>& flag)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (!flag.load()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A display that keeps what reached it and on which thread.
class KeptDisplay final : public Progress {
public:
    void setCaption(const QString&) override { note(); }
    void setMaximum(int) override { note(); }
    void setPosition(int p) override
    {
        note();
        positions.push_back(p);
    }
    void setCancelEnabled(bool) override { note(); }
    bool cancelled() override { return false; }

    std::vector<int> positions;
    bool elsewhere = false; // a call came on another thread than the test's

private:
    void note() { elsewhere = elsewhere || QThread::currentThread() != qApp->thread(); }
};

TEST(ThreadedJobRunner, RunsAPortsJobsOneAtATimeInOrderAndEndsThemHere)
{
    ThreadedJobRunner runner;
    QObject context;
    std::mutex m;
    std::vector<int> ran;
    std::vector<Qt::HANDLE> threads;
    std::vector<int> ended;
    bool endedElsewhere = false;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    for (int i = 0; i < 5; ++i) {
        runner.post(
            "a", &context, nullptr, nullptr,
            [&, i](Progress&) {
                overlapped = overlapped || running++ > 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                {
                    const std::lock_guard lock(m);
                    ran.push_back(i);
                    threads.push_back(QThread::currentThreadId());
                }
                --running;
            },
            [&, i] {
                endedElsewhere = endedElsewhere || QThread::currentThread() != qApp->thread();
                ended.push_back(i);
            });
    }
    ASSERT_TRUE(waitFor([&] { return ended.size() == 5; }));
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(ended, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(endedElsewhere);
    EXPECT_TRUE(std::all_of(threads.begin(), threads.end(), [&](Qt::HANDLE t) { return t == threads[0]; }));
    EXPECT_NE(threads[0], QThread::currentThreadId()) << "the jobs run on the port's worker";
    EXPECT_EQ(runner.workers(), 1);
}

TEST(ThreadedJobRunner, TwoPortsRunSideBySide)
{
    ThreadedJobRunner runner;
    QObject context;
    std::atomic<bool> aStarted{false}, bStarted{false};
    bool aSawB = false, bSawA = false;
    int ended = 0;
    runner.post(
        "a", &context, nullptr, nullptr,
        [&](Progress&) {
            aStarted = true;
            aSawB = workerWaitsFor(bStarted);
        },
        [&] { ++ended; });
    runner.post(
        "b", &context, nullptr, nullptr,
        [&](Progress&) {
            bStarted = true;
            bSawA = workerWaitsFor(aStarted);
        },
        [&] { ++ended; });
    ASSERT_TRUE(waitFor([&] { return ended == 2; }));
    EXPECT_TRUE(aSawB && bSawA) << "each port's job ran while the other's did";
    EXPECT_EQ(runner.workers(), 2);
}

TEST(ThreadedJobRunner, CancelReachesARunningJobAndProgressArrivesHereBeforeTheEnd)
{
    ThreadedJobRunner runner;
    QObject context;
    KeptDisplay display;
    const auto cancel = std::make_shared<CancelFlag>();
    std::atomic<bool> started{false};
    bool sawCancel = false;
    std::vector<int> positionsAtEnd;
    bool ended = false;
    runner.post(
        "a", &context, &display, cancel,
        [&](Progress& progress) {
            for (int p = 1; p <= 3; ++p)
                progress.setPosition(p);
            started = true;
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
            while (!progress.cancelled() && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            sawCancel = progress.cancelled();
        },
        [&] {
            positionsAtEnd = display.positions;
            ended = true;
        });
    ASSERT_TRUE(waitFor([&] { return started.load(); }));
    cancel->cancel();
    ASSERT_TRUE(waitFor([&] { return ended; }));
    EXPECT_TRUE(sawCancel);
    EXPECT_EQ(positionsAtEnd, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(display.elsewhere) << "the display is only touched on its own thread";
}

TEST(ThreadedJobRunner, AnEndWhoseContextIsGoneIsDropped)
{
    ThreadedJobRunner runner;
    auto* gone = new QObject;
    QObject stays;
    std::atomic<bool> deleted{false};
    bool goneEnded = false, staysEnded = false;
    runner.post(
        "a", gone, nullptr, nullptr, [&](Progress&) { workerWaitsFor(deleted); }, [&] { goneEnded = true; });
    runner.post(
        "a", &stays, nullptr, nullptr, [](Progress&) {}, [&] { staysEnded = true; });
    delete gone;
    deleted = true;
    ASSERT_TRUE(waitFor([&] { return staysEnded; }));
    EXPECT_FALSE(goneEnded);
}

TEST(ThreadedJobRunner, StoppingCancelsTheRunningJobAndStartsNoOther)
{
    auto runner = std::make_unique<ThreadedJobRunner>();
    QObject context;
    std::atomic<bool> started{false}, sawCancel{false}, secondRan{false};
    runner->post(
        "a", &context, nullptr, nullptr,
        [&](Progress& progress) {
            started = true;
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
            while (!progress.cancelled() && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            sawCancel = progress.cancelled();
        },
        [] {});
    runner->post(
        "a", &context, nullptr, nullptr, [&](Progress&) { secondRan = true; }, [] {});
    ASSERT_TRUE(waitFor([&] { return started.load(); }));
    runner->stop(); // joins the worker
    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(secondRan);
    runner->post(
        "a", &context, nullptr, nullptr, [&](Progress&) { secondRan = true; }, [] {});
    runner.reset();
    EXPECT_FALSE(secondRan) << "a stopped runner runs nothing";
}

TEST(InlineJobRunner, RunsAtOnceInOrderAndAJobGivenMeanwhileWaitsItsTurn)
{
    InlineJobRunner runner;
    QStringList steps;
    runner.post(
        "a", nullptr, nullptr, nullptr, [&](Progress&) { steps << "job 1"; },
        [&] {
            steps << "end 1";
            // The answer to a question runs the job again: after this end, not inside it.
            runner.post(
                "a", nullptr, nullptr, nullptr, [&](Progress&) { steps << "job 2"; },
                [&] { steps << "end 2"; });
            steps << "end 1 done";
        });
    EXPECT_EQ(steps, (QStringList{"job 1", "end 1", "end 1 done", "job 2", "end 2"}));

    steps.clear();
    runner.hold(); // a job that takes long
    runner.post(
        "b", nullptr, nullptr, nullptr, [&](Progress&) { steps << "job 3"; }, [&] { steps << "end 3"; });
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(runner.waiting(), 1);
    runner.release();
    EXPECT_EQ(steps, (QStringList{"job 3", "end 3"}));
    EXPECT_EQ(runner.jobsRun(), 3);
}

TEST(InlineJobRunner, TheDisplaysOwnCancelAndTheFlagBothCancel)
{
    class CancellingDisplay final : public Progress {
    public:
        void setCaption(const QString&) override {}
        void setMaximum(int) override {}
        void setPosition(int) override {}
        void setCancelEnabled(bool) override {}
        bool cancelled() override { return pressed; }
        bool pressed = false;
    } display;
    InlineJobRunner runner;
    const auto flag = std::make_shared<CancelFlag>();
    std::vector<bool> seen;
    const auto look = [&](Progress& p) { seen.push_back(p.cancelled()); };
    runner.post("a", nullptr, &display, flag, look, [] {});
    display.pressed = true;
    runner.post("a", nullptr, &display, flag, look, [] {});
    display.pressed = false;
    flag->cancel();
    runner.post("a", nullptr, &display, flag, look, [] {});
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true}));
}

TEST(RunJob, HandsTheJobsResultToItsEnd)
{
    InlineJobRunner runner;
    int got = 0;
    runJob(
        runner, "a", nullptr, nullptr, nullptr, [](Progress&) { return 42; }, [&](int r) { got = r; });
    EXPECT_EQ(got, 42);
}

} // namespace
} // namespace qz::test
