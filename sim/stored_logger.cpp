#include "sim/stored_logger.h"

#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

namespace qz::sim {

namespace {

// A state is about 66 KB; anything much larger is no state file.
constexpr qint64 kMaxStateBytes = 1 << 20;
// Running the logger on from an older state costs more the older it is: save then.
constexpr std::int64_t kResaveAfterMs = 3600 * 1000;
// The real time a logger runs on after its state was saved: at most a century, so a clock
// set wrong never overflows its time.
constexpr std::int64_t kMaxRunOnMs = std::int64_t(100) * 366 * 86400 * 1000;

CivilTime civilOf(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second(), h.msec() / 10};
}

// A line on the stored logger, holding a session from its open to its close.
class StoredLine final : public LineBackend {
public:
    StoredLine(StoredLogger& logger, Clock& clock) : logger_(logger), clock_(clock) {}
    ~StoredLine() override { close(); }

    bool open(const QString& name) override
    {
        if (line_)
            return line_->open(name);
        if (logger_.open() != SessionStatus::Opened) {
            error_ = EWOULDBLOCK;
            return false;
        }
        error_ = 0;
        line_.emplace(logger_.emulator(), clock_);
        return line_->open(name);
    }
    int openError() const override { return error_; }
    void close() override
    {
        if (!line_)
            return;
        line_->close();
        line_.reset();
        logger_.close();
    }
    bool isOpen() const override { return line_ && line_->isOpen(); }
    bool raiseDtr() override { return line_ && line_->raiseDtr(); }
    std::int64_t write(const std::uint8_t* data, std::int64_t count) override
    {
        return line_ ? line_->write(data, count) : -1;
    }
    std::int64_t bytesWaiting() override { return line_ ? line_->bytesWaiting() : 0; }
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override
    {
        return line_ ? line_->waitForBytes(count, timeoutMs) : 0;
    }
    std::int64_t read(std::uint8_t* data, std::int64_t count) override
    {
        return line_ ? line_->read(data, count) : 0;
    }
    void purge() override
    {
        if (line_)
            line_->purge();
    }

private:
    StoredLogger& logger_;
    Clock& clock_;
    std::optional<EmulatorLine> line_;
    int error_ = 0;
};

} // namespace

StoredLogger::StoredLogger(QString stateFile, Clock& clock) : stateFile_(std::move(stateFile)), clock_(clock)
{}

StoredLogger::~StoredLogger()
{
    close();
}

QString StoredLogger::defaultStateFile()
{
    // The generic cache folder: the desktop program and quorzk-cli have different
    // application names, and share this one logger.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    return QDir(cache).filePath(QStringLiteral("quorzk/simulated-logger"));
}

std::int64_t StoredLogger::nowMs() const
{
    return clock_.localNow().toMSecsSinceEpoch();
}

void StoredLogger::warn(const QString& text) const
{
    if (warn_)
        warn_(text);
}

SavedLogger StoredLogger::fresh() const
{
    Logger logger;
    loadFreshSimulatedLogger(logger, civilOf(clock_.localNow()));
    return {logger.state(), nowMs()};
}

SavedLogger StoredLogger::load(bool& made)
{
    made = false;
    if (reset_) {
        reset_ = false;
        made = true;
        return fresh();
    }
    // A state this process could not save is newer than the file's.
    if (kept_ && (keptUnsaved_ || stateFile_.isEmpty()))
        return *kept_;
    // Nothing there (also no folder to hold it): a first session.
    if (!stateFile_.isEmpty() && QFileInfo::exists(stateFile_)) {
        QFile file;
        const FileOpenResult opened = openRegularFile(file, stateFile_);
        if (opened.ok()) {
            const SavedLoggerRead read = decodeSavedLogger(file.read(kMaxStateBytes + 1));
            if (read.status == SavedLoggerStatus::Read)
                return read.saved;
            warn(QStringLiteral("The simulated logger's saved state %1 is damaged; a fresh simulated "
                                "logger replaces it")
                     .arg(stateFile_));
        } else {
            warn(QStringLiteral("Cannot read the simulated logger's saved state %1: %2; a fresh simulated "
                                "logger replaces it")
                     .arg(stateFile_, opened.reason));
        }
    }
    made = true;
    return fresh();
}

SessionStatus StoredLogger::open()
{
    if (!inUse_.try_lock())
        return SessionStatus::InUse;
    if (!stateFile_.isEmpty()) {
        QDir().mkpath(QFileInfo(stateFile_).absolutePath());
        lock_ = std::make_unique<QLockFile>(stateFile_ + QStringLiteral(".lock"));
        // Only a lock whose process has ended is stale, however long a session lasts.
        lock_->setStaleLockTime(0);
        if (!lock_->tryLock(lockWaitMs_)) {
            const bool held = lock_->error() == QLockFile::LockFailedError;
            lock_.reset();
            if (held) {
                inUse_.unlock();
                return SessionStatus::InUse;
            }
            // No lock can be made there (a read-only folder): the state cannot be saved
            // there either, which the first save tells.
        }
    }
    bool made = false;
    SavedLogger saved = load(made);
    loadedSavedAtMs_ = saved.savedAtMs;
    mustSave_ = made;
    emulator_ = std::make_unique<Emulator>();
    Logger& logger = emulator_->logger();
    logger.restore(saved.logger);
    const std::int64_t runOn = std::clamp<std::int64_t>(nowMs() - saved.savedAtMs, 0, kMaxRunOnMs);
    logger.advance(logger.elapsedUs() + runOn * 1000);
    emulator_->setLineTime(clock_.tickMs() * 1000);
    return SessionStatus::Opened;
}

void StoredLogger::close()
{
    if (!emulator_)
        return;
    const std::int64_t now = nowMs();
    const bool changed = emulator_->commands('A') + emulator_->commands('C') + emulator_->commands('H') > 0;
    const SavedLogger saved{emulator_->logger().state(), now};
    kept_ = saved;
    if (mustSave_ || changed || now - loadedSavedAtMs_ > kResaveAfterMs || keptUnsaved_)
        save(saved);
    emulator_.reset();
    lock_.reset(); // unlocks
    inUse_.unlock();
}

void StoredLogger::save(const SavedLogger& saved)
{
    if (stateFile_.isEmpty())
        return;
    SafeFile file(stateFile_);
    const bool ok = file.open() && file.write(encodeSavedLogger(saved)) && file.commit();
    keptUnsaved_ = !ok;
    if (ok || saveWarned_)
        return;
    saveWarned_ = true;
    warn(QStringLiteral("Cannot keep the simulated logger's state in %1: %2; it lasts only while this "
                        "program runs")
             .arg(stateFile_, file.reason()));
}

std::unique_ptr<LineBackend> StoredLogger::makeLine()
{
    return std::make_unique<StoredLine>(*this, clock_);
}

} // namespace qz::sim
