#include "jobs/threaded_job_runner.h"

#include <QThread>

#include <algorithm>

namespace qz {

namespace {

// The job's side of a display on another thread: each call is queued to the display's
// thread; the cancel request is the flag.
class QueuedProgress final : public Progress {
public:
    QueuedProgress(QObject* home, QPointer<QObject> context, bool hasContext, Progress* display,
                   CancelToken cancel)
        : home_(home), context_(std::move(context)), hasContext_(hasContext), display_(display),
          cancel_(std::move(cancel))
    {}

    void setCaption(const QString& caption) override
    {
        show([caption](Progress& d) { d.setCaption(caption); });
    }
    void setMaximum(int maximum) override
    {
        show([maximum](Progress& d) { d.setMaximum(maximum); });
    }
    void setPosition(int position) override
    {
        show([position](Progress& d) { d.setPosition(position); });
    }
    void setCancelEnabled(bool enabled) override
    {
        show([enabled](Progress& d) { d.setCancelEnabled(enabled); });
    }
    void setText(const QString& text) override
    {
        show([text](Progress& d) { d.setText(text); });
    }
    bool cancelled() override { return cancel_->cancelled(); }

private:
    template <class Call> void show(Call call)
    {
        if (!display_)
            return;
        QMetaObject::invokeMethod(
            home_,
            [context = context_, hasContext = hasContext_, display = display_, call] {
                if (!hasContext || context)
                    call(*display);
            },
            Qt::QueuedConnection);
    }

    QObject* home_;
    QPointer<QObject> context_;
    bool hasContext_;
    Progress* display_;
    CancelToken cancel_;
};

} // namespace

ThreadedJobRunner::ThreadedJobRunner() = default;

ThreadedJobRunner::~ThreadedJobRunner()
{
    stop();
}

ThreadedJobRunner::Worker& ThreadedJobRunner::workerFor(const QString& port)
{
    Worker& w = workers_[port];
    if (!w.thread) {
        w.thread = std::make_unique<QThread>();
        w.thread->setObjectName(QStringLiteral("port ") + port);
        w.inbox = new QObject;
        w.inbox->moveToThread(w.thread.get());
        w.thread->start();
    }
    return w;
}

void ThreadedJobRunner::post(const QString& port, QObject* context, Progress* display, CancelToken cancel,
                             Work work, Done done)
{
    if (stopping_->load())
        return;
    if (!cancel)
        cancel = std::make_shared<CancelFlag>();
    std::erase_if(tokens_, [](const std::weak_ptr<CancelFlag>& t) { return t.expired(); });
    tokens_.push_back(cancel);
    QObject* home = &home_;
    const QPointer<QObject> guarded(context);
    const bool hasContext = context != nullptr;
    QMetaObject::invokeMethod(
        workerFor(port).inbox,
        [home, guarded, hasContext, display, cancel, work, done, stopping = stopping_] {
            // Jobs still queued when the runner stops are not started.
            if (stopping->load())
                return;
            QueuedProgress progress(home, guarded, hasContext, display, cancel);
            work(progress);
            QMetaObject::invokeMethod(
                home,
                [guarded, hasContext, done] {
                    if (!hasContext || guarded)
                        done();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void ThreadedJobRunner::stop()
{
    stopping_->store(true);
    for (const std::weak_ptr<CancelFlag>& t : tokens_)
        if (const CancelToken token = t.lock())
            token->cancel();
    tokens_.clear();
    for (auto& [port, w] : workers_) {
        w.thread->quit();
        w.thread->wait();
        delete w.inbox; // its thread has ended: nothing runs on it any more
        w.inbox = nullptr;
    }
    workers_.clear();
}

} // namespace qz
