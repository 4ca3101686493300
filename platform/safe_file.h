#pragma once
// A file written through a temporary file beside it that replaces the target only when
// complete (QSaveFile): a failed or killed write never leaves a cut file that looks whole,
// and the previous file survives. Writes are unbuffered, so a failure is seen at the write
// that failed, and every failure carries the operating system's reason ("No space left on
// device", not a generic text). An existing target that is not a regular file (a device,
// a named pipe, a folder) is refused: renaming over it would replace it.
#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace qz {

// Writes all of data to out. A short write is followed by a write of the rest, which
// writing nothing makes the system say why. False with the reason when it fails.
bool writeAll(QIODevice& out, const char* data, qint64 size, QString& reason);

class SafeFile {
public:
    // A file never committed leaves the target as it was.
    explicit SafeFile(const QString& path);
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool open();
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    bool write(const char* data, qint64 size);
    // Replaces the target with what was written; false (target untouched) on failure.
    bool commit();
    // The device written to, for writers that take any device (and report their own
    // failures: write through WriteAll).
    QIODevice& device() { return file_; }

    // The reason of the first failure.
    const QString& reason() const { return reason_; }

private:
    QSaveFile file_;
    QString reason_;
    bool open_ = false;
};

} // namespace qz
