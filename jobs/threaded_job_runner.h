#pragma once
// The program's job runner: a worker thread per port, made when the port gets its first
// job. Progress and ends come back as queued calls to the thread that made the runner
// (the GUI thread). Stopping (at exit) cancels every job and joins the workers.
#include "jobs/job_runner.h"

#include <QObject>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QThread;

namespace qz {

class ThreadedJobRunner final : public JobRunner {
public:
    ThreadedJobRunner();
    ~ThreadedJobRunner() override;
    ThreadedJobRunner(const ThreadedJobRunner&) = delete;
    ThreadedJobRunner& operator=(const ThreadedJobRunner&) = delete;

    void post(const QString& port, QObject* context, Progress* display, CancelToken cancel, Work work,
              Done done) override;
    void stop() override;

    // Workers made so far (one per port that had a job).
    int workers() const { return int(workers_.size()); }

private:
    struct Worker {
        std::unique_ptr<QThread> thread;
        QObject* inbox = nullptr; // lives on the thread: the jobs arrive through it
    };
    Worker& workerFor(const QString& port);

    QObject home_; // lives on the runner's thread: progress and ends arrive through it
    std::map<QString, Worker> workers_;
    std::vector<std::weak_ptr<CancelFlag>> tokens_;
    std::shared_ptr<std::atomic<bool>> stopping_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace qz
