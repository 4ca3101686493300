#include "link/wire_trace.h"

#include <QSaveFile>

#include <cstdio>

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

WireTrace::WireTrace(QString path, Clock& clock)
    : path_(std::move(path)), clock_(clock), originMs_(clock.tickMs())
{
    text_ = "# quorzk wire trace: seconds from the start, > to the logger, < from the logger\n";
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
    endExchange();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
    writeLine(now(), kReceived, hex(bytes, 0, bytes.size()) + "   (dropped unread)");
}

void WireTrace::event(const QString& text)
{
    endExchange();
    writeLine(now(), kEvent, text.toUtf8());
}

void WireTrace::endExchange()
{
    // The group that began first is written first.
    const bool outFirst = in_.bytes.isEmpty() || (!out_.bytes.isEmpty() && out_.startMs <= in_.startMs);
    if (outFirst) {
        writeGroup(out_, kSent);
        writeReceived();
    } else {
        writeReceived();
        writeGroup(out_, kSent);
    }
    out_ = {};
    in_ = {};
}

void WireTrace::writeReceived()
{
    // The echoes are as many bytes as were sent; what follows them is the reply.
    const qsizetype echoes = std::min(in_.bytes.size(), out_.bytes.size());
    if (echoes == 0 || echoes == in_.bytes.size()) {
        writeGroup(in_, kReceived);
        return;
    }
    writeGroup({in_.startMs, in_.bytes.left(echoes)}, kReceived);
    writeGroup({in_.replyMs, in_.bytes.mid(echoes)}, kReceived);
}

void WireTrace::writeGroup(const Group& group, char direction)
{
    for (qsizetype i = 0; i < group.bytes.size(); i += kBytesPerLine) {
        const qsizetype n = std::min<qsizetype>(kBytesPerLine, group.bytes.size() - i);
        // Continuation lines leave the time blank so an exchange reads as one block.
        writeLine(i == 0 ? group.startMs : -1, direction, hex(group.bytes, i, n));
    }
}

void WireTrace::writeLine(std::int64_t ms, char marker, const QByteArray& rest)
{
    char stamp[32];
    if (ms >= 0)
        std::snprintf(stamp, sizeof stamp, "%5lld.%03lld", static_cast<long long>(ms / 1000),
                      static_cast<long long>(ms % 1000));
    else
        std::snprintf(stamp, sizeof stamp, "%9s", "");
    text_ += stamp;
    text_ += ' ';
    text_ += marker;
    text_ += ' ';
    text_ += rest;
    text_ += '\n';
}

QByteArray WireTrace::text()
{
    endExchange();
    return text_;
}

QString WireTrace::save()
{
    endExchange();
    QSaveFile file(path_);
    QString reason;
    if (!file.open(QIODevice::WriteOnly) || file.write(text_) != text_.size() || !file.commit())
        reason = file.errorString();
    if (!reason.isEmpty() && saveFailed_)
        saveFailed_(reason);
    return reason;
}

void WireTrace::onSaveFailed(std::function<void(const QString&)> handler)
{
    saveFailed_ = std::move(handler);
}

} // namespace qz
