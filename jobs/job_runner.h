#pragma once
// Where logger jobs run. Each port has a worker: one job at a time per port, in the order
// they were given; a job's progress and its end come back to the thread that gave it, in
// order, as calls of their own, so a window repaints while a job runs and no event loop is
// pumped inside one. Cancel is a flag the job's progress reads, so it reaches the job at its
// next step.
//
// The program runs jobs on worker threads (ThreadedJobRunner); tests run them at once on
// their own thread (InlineJobRunner), where the virtual clock and the emulator stay
// deterministic.
#include "platform/progress.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

namespace qz {

class CancelFlag {
public:
    void cancel() { flag_.store(true); }
    bool cancelled() const { return flag_.load(); }

private:
    std::atomic<bool> flag_{false};
};
using CancelToken = std::shared_ptr<CancelFlag>;

class JobRunner {
public:
    using Work = std::function<void(Progress& progress)>;
    using Done = std::function<void()>;

    virtual ~JobRunner() = default;

    // Queues work for the port. Its progress calls reach display (none: nullptr) and done
    // runs after them, on the posting thread, while context lives (then they are dropped;
    // display must live as long as context or until done). The job's progress reads cancel
    // (none: nullptr) as its cancel request.
    virtual void post(const QString& port, QObject* context, Progress* display, CancelToken cancel, Work work,
                      Done done) = 0;
    // Cancels the jobs queued and running and waits for the running ones to end; nothing
    // runs after it.
    virtual void stop() = 0;
};

// Runs job(progress), which returns the job's result, for the port, then then(result) on
// the posting thread.
template <class Job, class Then>
void runJob(JobRunner& runner, const QString& port, QObject* context, Progress* display, CancelToken cancel,
            Job job, Then then)
{
    using Result = std::invoke_result_t<Job&, Progress&>;
    auto result = std::make_shared<std::optional<Result>>();
    runner.post(
        port, context, display, std::move(cancel),
        [result, job = std::move(job)](Progress& progress) mutable { result->emplace(job(progress)); },
        [result, then = std::move(then)]() mutable {
            if (*result)
                then(std::move(**result));
        });
}

// Runs each job at once on the posting thread, progress straight to the display (whose own
// cancel request counts too). A job posted while another runs or its done is being handled
// waits for it; hold() keeps posted jobs waiting until release(), as a job that takes long.
class InlineJobRunner final : public JobRunner {
public:
    void post(const QString& port, QObject* context, Progress* display, CancelToken cancel, Work work,
              Done done) override;
    void stop() override;

    void hold() { ++held_; }
    void release();
    // Jobs waiting (held, or behind the one running).
    int waiting() const { return int(queue_.size()); }
    int jobsRun() const { return jobsRun_; }

private:
    struct Job {
        QString port;
        QPointer<QObject> context;
        bool hasContext = false;
        Progress* display = nullptr;
        CancelToken cancel;
        Work work;
        Done done;
    };
    void drain();

    std::deque<Job> queue_;
    bool running_ = false;
    bool stopped_ = false;
    int held_ = 0;
    int jobsRun_ = 0;
};

} // namespace qz
