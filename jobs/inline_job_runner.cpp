#include "jobs/job_runner.h"

namespace qz {

namespace {

// The display as it is, with the job's cancel flag beside the display's own request.
class DirectProgress final : public Progress {
public:
    DirectProgress(Progress* display, const CancelToken& cancel) : display_(display), cancel_(cancel) {}

    void setCaption(const QString& caption) override
    {
        if (display_)
            display_->setCaption(caption);
    }
    void setMaximum(int maximum) override
    {
        if (display_)
            display_->setMaximum(maximum);
    }
    void setPosition(int position) override
    {
        if (display_)
            display_->setPosition(position);
    }
    void setCancelEnabled(bool enabled) override
    {
        if (display_)
            display_->setCancelEnabled(enabled);
    }
    void setText(const QString& text) override
    {
        if (display_)
            display_->setText(text);
    }
    bool cancelled() override
    {
        const bool asked = display_ && display_->cancelled();
        return asked || (cancel_ && cancel_->cancelled());
    }

private:
    Progress* display_;
    CancelToken cancel_;
};

} // namespace

void InlineJobRunner::post(const QString& port, QObject* context, Progress* display, CancelToken cancel,
                           Work work, Done done)
{
    if (stopped_)
        return;
    queue_.push_back(
        {port, context, context != nullptr, display, std::move(cancel), std::move(work), std::move(done)});
    drain();
}

void InlineJobRunner::release()
{
    if (held_ > 0 && --held_ == 0)
        drain();
}

void InlineJobRunner::stop()
{
    stopped_ = true;
    queue_.clear();
}

void InlineJobRunner::drain()
{
    if (running_)
        return; // the job running now takes the next ones after it
    running_ = true;
    while (held_ == 0 && !queue_.empty()) {
        Job job = std::move(queue_.front());
        queue_.pop_front();
        ++jobsRun_;
        DirectProgress progress(job.display, job.cancel);
        job.work(progress);
        if (!job.hasContext || job.context)
            job.done();
    }
    running_ = false;
}

} // namespace qz
