#pragma once
// A line that writes what crosses it into a wire trace and otherwise leaves everything to
// the line it wraps. The last exchange is written when the line goes away.
#include "link/line_backend.h"
#include "link/wire_trace.h"

#include <memory>
#include <mutex>

namespace qz {

class TracedLine final : public LineBackend {
public:
    // Lines on several threads (a worker per port) that write into one trace share its
    // lock.
    TracedLine(std::unique_ptr<LineBackend> inner, WireTrace& trace, std::shared_ptr<std::mutex> lock = {});
    ~TracedLine() override;

    bool open(const QString& name) override;
    int openError() const override { return inner_->openError(); }
    void close() override;
    bool isOpen() const override { return inner_->isOpen(); }
    bool raiseDtr() override { return inner_->raiseDtr(); }

    std::int64_t write(const std::uint8_t* data, std::int64_t count) override;
    std::int64_t bytesWaiting() override { return inner_->bytesWaiting(); }
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override
    {
        return inner_->waitForBytes(count, timeoutMs);
    }
    std::int64_t read(std::uint8_t* data, std::int64_t count) override;
    void purge() override;
    void endExchange(const QString& failure) override;

private:
    std::unique_lock<std::mutex> held();

    std::unique_ptr<LineBackend> inner_;
    WireTrace& trace_;
    std::shared_ptr<std::mutex> lock_;
};

} // namespace qz
