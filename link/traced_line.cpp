#include "link/traced_line.h"

#include <vector>

namespace qz {

TracedLine::TracedLine(std::unique_ptr<LineBackend> inner, WireTrace& trace, std::shared_ptr<std::mutex> lock)
    : inner_(std::move(inner)), trace_(trace), lock_(std::move(lock))
{}

TracedLine::~TracedLine()
{
    const auto guard = held();
    trace_.endExchange();
}

std::unique_lock<std::mutex> TracedLine::held()
{
    return lock_ ? std::unique_lock<std::mutex>(*lock_) : std::unique_lock<std::mutex>();
}

bool TracedLine::open(const QString& name)
{
    const bool opened = inner_->open(name);
    const auto guard = held();
    if (opened) {
        trace_.event(QStringLiteral("open %1").arg(name));
    } else {
        const int error = inner_->openError();
        trace_.event(QStringLiteral("open %1 failed%2")
                         .arg(name, error != 0 ? QStringLiteral(": ") + qt_error_string(error) : QString()));
    }
    return opened;
}

void TracedLine::close()
{
    if (inner_->isOpen()) {
        const auto guard = held();
        trace_.event(QStringLiteral("close"));
    }
    inner_->close();
}

std::int64_t TracedLine::write(const std::uint8_t* data, std::int64_t count)
{
    const std::int64_t written = inner_->write(data, count);
    const auto guard = held();
    trace_.sent(data, written);
    return written;
}

std::int64_t TracedLine::read(std::uint8_t* data, std::int64_t count)
{
    const std::int64_t got = inner_->read(data, count);
    const auto guard = held();
    trace_.received(data, got);
    return got;
}

void TracedLine::purge()
{
    // What waits unread is shown before it is dropped: late or stray bytes are often
    // the clue to a misbehaving logger.
    const std::int64_t waiting = inner_->bytesWaiting();
    if (waiting > 0) {
        std::vector<std::uint8_t> stray(static_cast<std::size_t>(waiting));
        const std::int64_t got = inner_->read(stray.data(), waiting);
        const auto guard = held();
        trace_.dropped(stray.data(), got);
    }
    inner_->purge();
    const auto guard = held();
    trace_.endExchange();
}

void TracedLine::endExchange(const QString& failure)
{
    const auto guard = held();
    if (failure.isEmpty())
        trace_.endExchange();
    else
        trace_.event(failure);
    inner_->endExchange(failure);
}

} // namespace qz
