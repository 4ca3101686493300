#pragma once
// What loading, saving and exporting a recording report, and the texts a command tells
// for them. The recording only reports; the command that ran the operation tells the
// user, once.
#include <QString>

#include <memory>
#include <vector>

namespace qz {

class RecordingData;

enum class LoadError {
    None,
    CannotOpen, // the file does not open; reason holds the system's text
    NotAFile, // a folder, named pipe, device or socket: never read
    NotARecording, // no "QUORVANT" signature, no whole header, or longer than any recording file
    CannotRead, // reading failed; reason holds the system's text
    CatalogUnreadable, // devices.ini could not be read; reason holds the catalogue's message
    NotAccepted, // the catalogue does not accept the logger model
    TooFewMeasurements, // fewer than two measurements
};

struct LoadResult {
    LoadError error = LoadError::None;
    QString reason; // the system's text, when the system gave one
    // Blocks in use that the file does not hold whole, and the blocks the header declares:
    // a file cut short loads its complete blocks only.
    int missingBlocks = 0;
    int declaredBlocks = 0;
    // The recording, when it loaded.
    std::shared_ptr<const RecordingData> data = nullptr;

    bool ok() const { return error == LoadError::None; }
};

enum class SaveError {
    None,
    CannotWrite
};

struct SaveResult {
    SaveError error = SaveError::None;
    QString reason;

    bool ok() const { return error == SaveError::None; }
};

enum class ExportResult {
    Done,
    Cancelled,
    Failed, // reason holds the system's text
    SameAsInput // the output is the recording's own file: nothing written
};

struct ExportOutcome {
    ExportResult result = ExportResult::Done;
    QString reason; // the system's text when the export failed
};

// The file reader's own message: "Invalid data file " for a file that is no recording
// (told before the command's refusal), "Cannot open NAME: reason" for one that does not
// open or is no regular file, "Cannot read NAME: reason", the catalogue's message for an
// unreadable catalogue; nothing for a refused model or too few measurements.
QString loadMessage(const LoadResult& result, const QString& name);
// What a load has to tell the user, in order; nothing for a clean load. A file that is
// no recording or whose logger is refused ends with "This file is not for a QuorvantZK"; a
// file that cannot be opened or read, and an unreadable catalogue, are told once, without
// blaming the recording. A file cut short is warned about (also when it loads).
enum class NoticeKind {
    Error,
    Warning
};
struct LoadNotice {
    QString text;
    NoticeKind kind = NoticeKind::Error;
};
std::vector<LoadNotice> loadNotices(const LoadResult& result, const QString& name);
// "NAME is incomplete: missing N of its M data blocks; only the complete blocks are
// shown"; empty when nothing is missing.
QString truncationWarning(const LoadResult& result, const QString& name);
// "Cannot write NAME: reason"; empty after a save that succeeded.
QString saveMessage(const SaveResult& result, const QString& name);
// "Cannot write NAME: reason"; empty unless the export failed or was refused.
QString exportMessage(const ExportOutcome& outcome, const QString& name);

} // namespace qz
