#include "fleet/fleet_collection.h"

#include "model/image_reader.h"
#include "store/stored_forms.h"

#include <QEventLoop>
#include <QObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qz {

namespace {

FleetRow rowOf(const LoggerCollection& c, const SavedCollection& saved)
{
    FleetRow row;
    row.label = c.label;
    const CollectResult& r = c.result;
    if (r.header.size() >= mem::kHeaderSize)
        row.serial = ImageReader::header({r.header.data(), r.header.size()}).serialNumber();
    const CollectionEntry e = entryOf(c);
    row.outcome = e.outcome;
    row.ok = collected(c);
    row.skipped = c.failure.isEmpty() && r.status == CollectStatus::Skipped;
    row.batteryVolts = e.batteryVolts;
    if (e.loggerMs && r.clock.read())
        row.driftSeconds = double(*e.loggerMs - hostMs(e.hostTime)) / 1000.0;
    row.blocksRead = e.blocksRead;
    row.newMeasurements = saved.newMeasurements;
    row.missing = saved.missing;
    if (!saved.result.ok()) {
        row.ok = false;
        row.outcome = saved.result.message;
    }
    return row;
}

// The worker a logger's job runs on: its port's. A simulated logger is a port of its own.
QString workerOf(const FleetLogger& logger)
{
    return logger.port == QLatin1String("sim") ? QStringLiteral("sim:") + logger.label : logger.port;
}

} // namespace

int FleetReport::exitCode() const
{
    if (storeFailed)
        return 2;
    for (const FleetRow& r : rows)
        if (!r.ok && !r.skipped)
            return 1;
    return 0;
}

// A row's progress, shown on the run's thread.
class FleetRun::RowProgress final : public Progress {
public:
    RowProgress(FleetRun& run, std::size_t row) : run_(run), row_(row) {}
    void setCaption(const QString&) override {}
    void setMaximum(int maximum) override
    {
        maximum_ = maximum;
        tell();
    }
    void setPosition(int position) override
    {
        position_ = position;
        tell();
    }
    void setCancelEnabled(bool) override {}
    void setText(const QString& text) override
    {
        text_ = text;
        tell();
    }
    bool cancelled() override { return false; }

private:
    void tell()
    {
        if (run_.events_.progress)
            run_.events_.progress(row_, position_, maximum_, text_);
    }
    FleetRun& run_;
    std::size_t row_;
    int position_ = 0;
    int maximum_ = 0;
    QString text_;
};

// A job's claim of its logger, asked on the worker and answered on the store's thread. A
// job cancelled while it waits gives up; an answer that comes after that is given back.
struct FleetRun::Claim {
    std::mutex mutex;
    std::condition_variable answeredCv;
    bool answered = false;
    bool abandoned = false;
    ClaimStatus status = ClaimStatus::Failed;
    bool granted = false; // released after the attempt is written
    QString serial;
    std::optional<ProgressBook> fresh; // the logger's progress, read once it was claimed
};

// Where a job's claim is asked: the run's thread, through its context while the run lives.
struct FleetRun::Desk {
    std::mutex mutex;
    QObject* receiver = nullptr; // none once the run has ended
    QThread* home = nullptr;

    template <class F> void ask(F answer)
    {
        if (QThread::currentThread() == home) {
            answer();
            return;
        }
        const std::lock_guard lock(mutex);
        if (receiver)
            QMetaObject::invokeMethod(receiver, std::move(answer), Qt::QueuedConnection);
    }
};

FleetRun::FleetRun(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup,
                   Events events)
    : fleet_(fleet), store_(store), setup_(setup), events_(std::move(events)),
      context_(std::make_unique<QObject>()), desk_(std::make_shared<Desk>())
{
    desk_->receiver = context_.get();
    desk_->home = context_->thread();
}

FleetRun::~FleetRun()
{
    {
        const std::lock_guard lock(desk_->mutex);
        desk_->receiver = nullptr;
    }
    // A job still waiting for its claim's answer leaves its logger: nobody is left to
    // write what it reads.
    for (const std::shared_ptr<Claim>& claim : claims_) {
        const std::lock_guard lock(claim->mutex);
        if (!claim->answered) {
            claim->status = ClaimStatus::Taken;
            claim->answered = true;
            claim->abandoned = true;
            claim->answeredCv.notify_all();
        }
    }
}

bool FleetRun::start()
{
    auto book = std::make_shared<ProgressBook>();
    if (const StoreResult r = store_.loadProgress(*book); !r.ok()) {
        report_.storeFailed = true;
        for (const FleetLogger& l : fleet_.loggers) {
            FleetRow row;
            row.label = l.label;
            row.outcome = r.message;
            report_.rows.push_back(row);
        }
        if (events_.finished)
            events_.finished(report_);
        return false;
    }
    book_ = book;

    // Each logger a job on its port's worker, in the order of the fleet file; each written
    // into the store as it ends, here.
    for (const FleetLogger& logger : fleet_.loggers) {
        const std::size_t row = report_.rows.size();
        FleetRow initial;
        initial.label = logger.label;
        report_.rows.push_back(initial);
        progress_.push_back(std::make_unique<RowProgress>(*this, row));
        ++pending_;
    }
    for (std::size_t row = 0; row < fleet_.loggers.size(); ++row) {
        const FleetLogger& logger = fleet_.loggers[row];
        auto claim = std::make_shared<Claim>();
        claims_.push_back(claim);
        FleetStore* store = &store_;
        const std::shared_ptr<Desk> desk = desk_;
        runJob(
            *setup_.runner, workerOf(logger), context_.get(), progress_[row].get(), setup_.cancel,
            [setup = setup_, book, logger, claim, desk, store](Progress& progress) {
                CollectPolicy policy;
                policy.verify = logger.verify;
                policy.claim = [&progress, claim, desk, store](const QString& serial) {
                    {
                        const std::lock_guard lock(claim->mutex);
                        claim->serial = serial;
                    }
                    // The store lives on the run's thread: the claim is asked there.
                    const auto answer = [claim, store] {
                        const std::lock_guard lock(claim->mutex);
                        if (claim->abandoned)
                            return;
                        claim->status = store->claim(claim->serial);
                        claim->granted = claim->status == ClaimStatus::Granted;
                        if (claim->granted) {
                            // Another collector may have collected it since the run began.
                            ProgressBook fresh;
                            if (store->loadProgress(fresh, claim->serial).ok())
                                claim->fresh = std::move(fresh);
                        }
                        claim->answered = true;
                        claim->answeredCv.notify_all();
                    };
                    desk->ask(answer);
                    std::unique_lock lock(claim->mutex);
                    while (!claim->answered) {
                        if (claim->answeredCv.wait_for(lock, std::chrono::milliseconds(50))
                                == std::cv_status::timeout
                            && progress.cancelled()) {
                            claim->abandoned = true;
                            return true; // the job ends at its next step, cancelled
                        }
                    }
                    // A store that could not be asked: the attempt goes on, and its save tells.
                    return claim->status != ClaimStatus::Taken;
                };
                policy.collected = [book, claim](const RecordingKey& key) {
                    return claim->fresh ? claim->fresh->lookUp(key) : book->lookUp(key);
                };
                LoggerProtocol protocol(LinkSettings{logger.port, !logger.dial.isEmpty()}, setup.line(logger),
                                        *setup.clock);
                return collectLogger(logger, protocol, policy, *setup.catalog, progress);
            },
            [this, row, claim](const LoggerCollection& c) { ended(row, c, claim); });
    }
    return true;
}

void FleetRun::ended(std::size_t row, const LoggerCollection& c, const std::shared_ptr<Claim>& claim)
{
    FleetRow done;
    if (c.failure.isEmpty() && c.result.status == CollectStatus::Skipped) {
        // Not an attempt of this collector: the other one records its own.
        done = rowOf(c, SavedCollection{});
    } else {
        const SavedCollection saved = store_.save(entryOf(c));
        report_.storeFailed = report_.storeFailed || !saved.result.ok();
        done = rowOf(c, saved);
    }
    {
        const std::lock_guard lock(claim->mutex);
        if (claim->granted)
            store_.release(claim->serial);
        claim->granted = false;
    }
    report_.rows[row] = done;
    if (events_.rowDone)
        events_.rowDone(row, done);
    if (--pending_ == 0 && events_.finished)
        events_.finished(report_);
}

FleetReport collectFleet(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup)
{
    QEventLoop loop;
    FleetRun run(fleet, store, setup, {{}, {}, [&loop](const FleetReport&) { loop.quit(); }});
    if (run.start() && run.running())
        loop.exec();
    return run.report();
}

} // namespace qz
