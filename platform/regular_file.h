#pragma once
// Reading a file only when it is a regular file. A named pipe, a device or a socket given
// as a file would block its reader or read as nonsense; a folder reads as nothing. The
// kind is checked before opening (a device is never opened) and again on the opened
// descriptor, which is opened without blocking, so a path swapped in between is caught
// too.
#include <QFile>
#include <QString>

namespace qz {

enum class FileOpenStatus {
    Opened,
    Missing, // nothing at that path
    NotRegular, // a folder, named pipe, device or socket
    Failed, // the system refused (permissions, I/O error)
};

struct FileOpenResult {
    FileOpenStatus status = FileOpenStatus::Opened;
    QString reason; // the system's text, or what the path is instead of a file

    bool ok() const { return status == FileOpenStatus::Opened; }
};

// Opens path read-only into file, which then owns the descriptor.
FileOpenResult openRegularFile(QFile& file, const QString& path);

// What an existing path that is not a regular file is ("Is a directory", "Not a regular
// file"); empty for a regular file or a missing path.
QString nonRegularKind(const QString& path);

// Both paths name one existing file, also through symbolic or hard links.
bool isSameFile(const QString& a, const QString& b);

} // namespace qz
