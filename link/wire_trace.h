#pragma once
// A wire trace: every byte the program sends to the logger and receives from it, as hex
// lines with a millisecond time stamp and the direction, for support staff when a logger
// misbehaves in the field:
//
//   # quorzk wire trace from 2024-05-14 09:30:12: seconds from then, > to the logger, < from it
//       0.000 * open /dev/ttyUSB0
//       0.500 > 24 23 24 44 80 01 80
//       0.500 < 24 23 24 44 80 01 80
//       0.504 < 78 26 03 05 14 07 09 B4 1B 1C 1D 1E 1F 20 21 22
//             < 23 24 ...
//       0.812 > 24 23 24 45
//       1.113 * no echo
//
// ">" is to the logger, "<" from it; "*" marks an event: the port opening and closing,
// and an exchange that failed, with what became of it. The bytes of one exchange stay
// together: the frame, its echoes (as many bytes as were sent), then the reply. The
// exchange ends when the program drops what it has not read (at every frame it sends),
// after a pause, or when the program sends again after a reply.
//
// The file is a log: each exchange is appended as soon as it ends, so a trace is there
// while a command still runs, and a crash loses one exchange at most. Each trace begins
// with a header line giving its start, from which the time stamps count. When a line
// would take the file past its size bound, the file becomes FILE.1 (replacing an older
// one) and a new FILE begins with the header again. A file that cannot be written is told
// once, with the system's reason, and the trace stops; the commands go on.
#include "platform/clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace qz {

class WireTrace {
public:
    // Where a trace file is set aside for a new one.
    static constexpr std::int64_t kRotationBytes = 8 * 1024 * 1024;

    WireTrace(QString path, Clock& clock, std::int64_t rotationBytes = kRotationBytes);
    // Writes the exchange still open.
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    // The program's trace when the environment variable QUORZK_TRACE names a file.
    static std::unique_ptr<WireTrace> fromEnvironment(Clock& clock);

    const QString& path() const { return path_; }
    // The file an earlier part of the trace was moved to.
    QString previousPath() const { return path_ + QStringLiteral(".1"); }

    void sent(const std::uint8_t* data, std::int64_t count);
    void received(const std::uint8_t* data, std::int64_t count);
    // Bytes that arrived and were dropped unread.
    void dropped(const std::uint8_t* data, std::int64_t count);
    // A line of its own after the exchange so far ("open /dev/ttyUSB0", "no echo").
    void event(const QString& text);
    // Writes the exchange so far; the next bytes begin new lines.
    void endExchange();

    // Why the file could not be written, empty while it can. The handler hears it once,
    // when it happens.
    const QString& failure() const { return failure_; }
    void onWriteFailed(std::function<void(const QString& reason)> handler);

private:
    struct Group {
        std::int64_t startMs = 0;
        QByteArray bytes;
    };
    // A run of received bytes: the echoes of what was sent, then the reply.
    struct Received : Group {
        std::int64_t replyMs = 0;
    };

    std::int64_t now();
    void add(Group& group, const std::uint8_t* data, std::int64_t count, std::int64_t at);
    void formatExchange();
    void formatGroup(const Group& group, char direction);
    void formatReceived();
    void formatLine(std::int64_t ms, char marker, const QByteArray& rest);
    void writeOut();
    bool openFile();
    bool rotate();
    void fail(const QString& reason);

    QString path_;
    Clock& clock_;
    std::int64_t rotationBytes_;
    std::int64_t originMs_;
    QDateTime origin_;
    std::int64_t lastMs_ = 0;
    Group out_;
    Received in_;
    QByteArray lines_; // formatted, not yet written
    QFile file_;
    std::int64_t size_ = 0;
    QString failure_;
    std::function<void(const QString&)> writeFailed_;
};

} // namespace qz
