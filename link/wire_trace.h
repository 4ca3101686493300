#pragma once
// A wire trace: every byte the program sends to the logger and receives from it, as hex
// lines with a millisecond time stamp and the direction, for support staff when a logger
// misbehaves in the field:
//
//       0.000 * open /dev/ttyUSB0
//       0.500 > 24 23 24 44 80 01 80
//       0.500 < 24 23 24 44 80 01 80
//       0.504 < 78 26 03 05 14 07 09 B4 1B 1C 1D 1E 1F 20 21 22
//             < 23 24 ...
//
// ">" is to the logger, "<" from it; "*" marks an event. The bytes of one exchange stay
// together: the frame, its echoes (as many bytes as were sent), then the reply. The
// exchange ends when the program drops what it has not read (at every frame it sends),
// after a pause, or when the program sends again after a reply. Time is counted from the start of the trace on the clock
// given. The text is kept in memory and written out whole by save(), through a temporary
// file, so the file always holds a complete trace.
#include "platform/clock.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace qz {

class WireTrace {
public:
    WireTrace(QString path, Clock& clock);

    // The program's trace when the environment variable QUORZK_TRACE names a file.
    static std::unique_ptr<WireTrace> fromEnvironment(Clock& clock);

    const QString& path() const { return path_; }

    void sent(const std::uint8_t* data, std::int64_t count);
    void received(const std::uint8_t* data, std::int64_t count);
    // Bytes that arrived and were dropped unread.
    void dropped(const std::uint8_t* data, std::int64_t count);
    void event(const QString& text);
    // The next bytes begin new lines.
    void endExchange();

    // Writes the whole trace so far. An empty string, or the reason it could not be
    // written (also handed to the handler of onSaveFailed).
    QString save();
    void onSaveFailed(std::function<void(const QString& reason)> handler);

    // The trace so far, as save() writes it.
    QByteArray text();

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
    void writeGroup(const Group& group, char direction);
    void writeReceived();
    void writeLine(std::int64_t ms, char marker, const QByteArray& rest);

    QString path_;
    Clock& clock_;
    std::int64_t originMs_;
    std::int64_t lastMs_ = 0;
    Group out_;
    Received in_;
    QByteArray text_;
    std::function<void(const QString&)> saveFailed_;
};

} // namespace qz
