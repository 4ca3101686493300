#pragma once
// Whether a file can be written at a path, asked before anything is written and without
// creating anything. Every writer of the program goes through a temporary file beside the
// target and a rename, so the folder must take a new file, and a target that exists must
// be a regular file that may be replaced.
#include <QString>

namespace qz {

enum class OutputUse {
    Usable,
    NoName, // empty, or a folder's name
    NoFolder, // the folder does not exist or is no folder
    FolderShut, // the folder takes no new file (permissions, read-only file system)
    NotAFile, // a folder, named pipe, device or socket is at that path
    ReadOnly, // the file exists and may not be written
};

struct OutputCheck {
    OutputUse use = OutputUse::Usable;
    QString reason; // the system's text

    bool ok() const { return use == OutputUse::Usable; }
};

OutputCheck checkOutputFile(const QString& path);

} // namespace qz
