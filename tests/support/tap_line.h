#pragma once
// A line that passes everything on and keeps what the program wrote, each write with the
// clock's time, so a test can check the exact bytes sent to a modem and the pauses
// between them. The log belongs to the test and outlives the line.
#include "link/line_backend.h"
#include "platform/clock.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace qz::test {

struct TapLog {
    struct Write {
        std::int64_t atMs;
        QByteArray bytes;
    };
    std::vector<Write> writes;

    // Everything written, in order.
    QByteArray text() const
    {
        QByteArray all;
        for (const Write& w : writes)
            all += w.bytes;
        return all;
    }
    // When the write that begins text (a run of writes, one byte each, counts as one)
    // started; -1 when text was never written.
    std::int64_t timeOf(const QByteArray& text) const
    {
        for (std::size_t i = 0; i < writes.size(); ++i) {
            QByteArray run;
            for (std::size_t j = i; j < writes.size() && run.size() < text.size(); ++j)
                run += writes[j].bytes;
            if (run.startsWith(text))
                return writes[i].atMs;
        }
        return -1;
    }
    void clear() { writes.clear(); }
};

class TapLine final : public LineBackend {
public:
    TapLine(std::unique_ptr<LineBackend> inner, Clock& clock, TapLog& log)
        : inner_(std::move(inner)), clock_(clock), log_(log)
    {}
    bool open(const QString& name) override { return inner_->open(name); }
    int openError() const override { return inner_->openError(); }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    bool raiseDtr() override { return inner_->raiseDtr(); }
    std::int64_t write(const std::uint8_t* data, std::int64_t count) override
    {
        if (inner_->isOpen() && count > 0)
            log_.writes.push_back(
                {clock_.tickMs(), QByteArray(reinterpret_cast<const char*>(data), qsizetype(count))});
        return inner_->write(data, count);
    }
    std::int64_t bytesWaiting() override { return inner_->bytesWaiting(); }
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override
    {
        return inner_->waitForBytes(count, timeoutMs);
    }
    std::int64_t read(std::uint8_t* data, std::int64_t count) override { return inner_->read(data, count); }
    void purge() override { inner_->purge(); }
    void endExchange(const QString& failure) override { inner_->endExchange(failure); }

private:
    std::unique_ptr<LineBackend> inner_;
    Clock& clock_;
    TapLog& log_;
};

} // namespace qz::test
