#pragma once
// What loading, saving and exporting a recording report, and the texts a command tells
// for them. The recording only reports; the command that ran the operation tells the
// user, once.
#include <QString>

namespace qz {

enum class LoadError {
    None,
    CannotOpen,         // the file does not open; reason holds the system's text
    NotARecording,      // no "QUORVANT" signature, or longer than any recording file
    CannotRead,         // the body read short
    NotAccepted,        // the catalogue does not accept the logger model
    TooFewMeasurements, // fewer than two measurements
};

struct LoadResult {
    LoadError error = LoadError::None;
    QString reason; // the system's text, when the system gave one

    bool ok() const { return error == LoadError::None; }
};

enum class SaveError { None, CannotWrite };

struct SaveResult {
    SaveError error = SaveError::None;
    QString reason;

    bool ok() const { return error == SaveError::None; }
};

enum class ExportResult { Done, Cancelled, Failed };

struct ExportOutcome {
    ExportResult result = ExportResult::Done;
    QString reason; // the system's text when the export failed
};

// The file reader's own message, told before the command's refusal: "Invalid data file "
// for a file that is no recording, "Cannot open NAME: reason" for one that does not open,
// nothing for the other refusals.
QString LoadMessage(const LoadResult& result, const QString& name);
// "Cannot save NAME: reason"; empty after a save that succeeded.
QString SaveMessage(const SaveResult& result, const QString& name);
// "Cannot write NAME: reason"; empty unless the export failed.
QString ExportMessage(const ExportOutcome& outcome, const QString& name);

} // namespace qz
