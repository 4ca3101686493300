#include "link/wire_trace.h"

#include "platform/system_reason.h"

#include <cerrno>
#include <cstdio>
#include <utility>

namespace qz {

namespace {

// Quiet this long ends the lines: the next bytes are a new exchange.
constexpr std::int64_t kPauseMs = 100;
constexpr int kBytesPerLine = 16;
constexpr char kSent = '>';
constexpr char kReceived = '<';
constexpr char kEvent = '*';

QByteArray hex(const QByteArray& bytes, qsizetype from, qsizetype count)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(count * 3);
    for (qsizetype i = from; i < from + count; ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (i > from)
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

} // namespace

WireTrace::WireTrace(QString path, Clock& clock, std::int64_t rotationBytes)
    : path_(std::move(path)), clock_(clock), rotationBytes_(rotationBytes), originMs_(clock.tickMs()),
      origin_(clock.localNow())
{}

WireTrace::~WireTrace()
{
    endExchange();
}

std::unique_ptr<WireTrace> WireTrace::fromEnvironment(Clock& clock)
{
    const QString path = qEnvironmentVariable("QUORZK_TRACE");
    if (path.isEmpty())
        return nullptr;
    return std::make_unique<WireTrace>(path, clock);
}

std::int64_t WireTrace::now()
{
    return clock_.tickMs() - originMs_;
}

void WireTrace::add(Group& group, const std::uint8_t* data, std::int64_t count, std::int64_t at)
{
    const bool pending = !out_.bytes.isEmpty() || !in_.bytes.isEmpty();
    if (pending && at - lastMs_ > kPauseMs)
        endExchange();
    if (group.bytes.isEmpty())
        group.startMs = at;
    group.bytes.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
    lastMs_ = at;
}

void WireTrace::sent(const std::uint8_t* data, std::int64_t count)
{
    if (count <= 0)
        return;
    // Sending after more came back than went out: the reply is complete.
    if (in_.bytes.size() > out_.bytes.size())
        endExchange();
    add(out_, data, count, now());
}

void WireTrace::received(const std::uint8_t* data, std::int64_t count)
{
    if (count <= 0)
        return;
    const std::int64_t at = now();
    add(in_, data, count, at);
    const qsizetype echoes = out_.bytes.size();
    if (in_.bytes.size() > echoes && in_.bytes.size() - count <= echoes)
        in_.replyMs = at;
}

void WireTrace::dropped(const std::uint8_t* data, std::int64_t count)
{
    if (count <= 0)
        return;
    formatExchange();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
    formatLine(now(), kReceived, hex(bytes, 0, bytes.size()) + "   (dropped unread)");
    writeOut();
}

void WireTrace::event(const QString& text)
{
    formatExchange();
    formatLine(now(), kEvent, text.toUtf8());
    writeOut();
}

void WireTrace::endExchange()
{
    formatExchange();
    writeOut();
}

void WireTrace::formatExchange()
{
    // The group that began first is written first.
    const bool outFirst = in_.bytes.isEmpty() || (!out_.bytes.isEmpty() && out_.startMs <= in_.startMs);
    if (outFirst) {
        formatGroup(out_, kSent);
        formatReceived();
    } else {
        formatReceived();
        formatGroup(out_, kSent);
    }
    out_ = {};
    in_ = {};
}

void WireTrace::formatReceived()
{
    // The echoes are as many bytes as were sent; what follows them is the reply.
    const qsizetype echoes = std::min(in_.bytes.size(), out_.bytes.size());
    if (echoes == 0 || echoes == in_.bytes.size()) {
        formatGroup(in_, kReceived);
        return;
    }
    formatGroup({in_.startMs, in_.bytes.left(echoes)}, kReceived);
    formatGroup({in_.replyMs, in_.bytes.mid(echoes)}, kReceived);
}

void WireTrace::formatGroup(const Group& group, char direction)
{
    for (qsizetype i = 0; i < group.bytes.size(); i += kBytesPerLine) {
        const qsizetype n = std::min<qsizetype>(kBytesPerLine, group.bytes.size() - i);
        // Continuation lines leave the time blank so an exchange reads as one block.
        formatLine(i == 0 ? group.startMs : -1, direction, hex(group.bytes, i, n));
    }
}

void WireTrace::formatLine(std::int64_t ms, char marker, const QByteArray& rest)
{
    char stamp[32];
    if (ms >= 0)
        std::snprintf(stamp, sizeof stamp, "%5lld.%03lld", static_cast<long long>(ms / 1000),
                      static_cast<long long>(ms % 1000));
    else
        std::snprintf(stamp, sizeof stamp, "%9s", "");
    lines_ += stamp;
    lines_ += ' ';
    lines_ += marker;
    lines_ += ' ';
    lines_ += rest;
    lines_ += '\n';
}

// The trace is the one file written in place rather than through a temporary file: it
// is an append-only log, which a rewrite at every exchange would make as slow as the old
// whole-file saves, and a line cut short by a crash leaves every line before it whole.
void WireTrace::writeOut()
{
    if (lines_.isEmpty())
        return;
    const QByteArray lines = std::exchange(lines_, {});
    if (!failure_.isEmpty() || (!file_.isOpen() && !openFile()))
        return;
    // An exchange is never split between two files.
    if (size_ > 0 && size_ + lines.size() > rotationBytes_ && !rotate())
        return;
    if (file_.write(lines) != lines.size() || !file_.flush()) {
        fail(failureReason(file_.errorString(), errno));
        return;
    }
    size_ += lines.size();
}

bool WireTrace::openFile()
{
    file_.setFileName(path_);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fail(failureReason(file_.errorString(), errno));
        return false;
    }
    size_ = file_.size();
    // A file left at its bound by an earlier trace is set aside first.
    if (size_ >= rotationBytes_)
        return rotate();
    const QByteArray header = "# quorzk wire trace from "
        + origin_.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1()
        + ": seconds from then, > to the logger, < from it\n";
    if (file_.write(header) != header.size()) {
        fail(failureReason(file_.errorString(), errno));
        return false;
    }
    size_ += header.size();
    return true;
}

bool WireTrace::rotate()
{
    file_.close();
    // rename() replaces the older file in one step.
    if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(previousPath()).constData())
        != 0) {
        fail(QStringLiteral("cannot move it to %1: %2").arg(previousPath(), systemReason(errno)));
        return false;
    }
    return openFile();
}

void WireTrace::fail(const QString& reason)
{
    failure_ = reason;
    file_.close();
    if (writeFailed_)
        writeFailed_(reason);
}

void WireTrace::onWriteFailed(std::function<void(const QString&)> handler)
{
    writeFailed_ = std::move(handler);
}

} // namespace qz
