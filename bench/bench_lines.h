#pragma once
// What the link benchmarks share: a line that counts the bytes crossing it in each
// direction, a clock that moves only when slept on (the program's own work, without
// waiting on the wire), and quorzk-sim serving a logger on a pseudo-terminal.
#include "link/line_backend.h"
#include "platform/clock.h"

#include <QDateTime>
#include <QProcess>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace qz::bench {

// Bytes that crossed a line; kept by the caller, since the protocol owns the line.
struct LineCounts {
    std::int64_t sent = 0;
    std::int64_t received = 0;
    std::int64_t total() const { return sent + received; }
};

class CountingLine final : public LineBackend {
public:
    CountingLine(std::unique_ptr<LineBackend> inner, LineCounts& counts)
        : inner_(std::move(inner)), counts_(counts)
    {}
    bool open(const QString& name) override { return inner_->open(name); }
    int openError() const override { return inner_->openError(); }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    bool raiseDtr() override { return inner_->raiseDtr(); }
    std::int64_t write(const std::uint8_t* d, std::int64_t n) override
    {
        const std::int64_t w = inner_->write(d, n);
        if (w > 0)
            counts_.sent += w;
        return w;
    }
    std::int64_t bytesWaiting() override { return inner_->bytesWaiting(); }
    std::int64_t waitForBytes(std::int64_t c, std::int64_t t) override { return inner_->waitForBytes(c, t); }
    std::int64_t read(std::uint8_t* d, std::int64_t n) override
    {
        const std::int64_t r = inner_->read(d, n);
        if (r > 0)
            counts_.received += r;
        return r;
    }
    void purge() override { inner_->purge(); }
    void endExchange(const QString& failure) override { inner_->endExchange(failure); }

private:
    std::unique_ptr<LineBackend> inner_;
    LineCounts& counts_;
};

class FixedClock final : public Clock {
public:
    std::int64_t tickMs() override { return now; }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            now += ms;
    }
    QDateTime localNow() override { return QDateTime(QDate(2026, 3, 5), QTime(12, 0)).addMSecs(now); }
    std::int64_t now = 0;
};

// quorzk-sim on a pseudo-terminal for as long as it lives; path() is empty when it did not
// start (the programs are not built).
class SimOnPty {
public:
    explicit SimOnPty(const QStringList& args)
    {
        process_.start(QStringLiteral(QUORZK_BINARY_DIR "/quorzk-sim"), args);
        if (process_.waitForStarted(10000) && process_.waitForReadyRead(10000))
            path_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~SimOnPty()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    const QString& path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

// Seconds that bytes take on the wire at 19200 baud, 8N1: echo pacing puts every byte
// sent and every byte received one after the other.
inline double WireSeconds(std::int64_t bytes)
{
    return double(bytes) * 10.0 / 19200.0;
}

} // namespace qz::bench
