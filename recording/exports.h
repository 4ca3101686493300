#pragma once
// What a recording is written as for people and other programs: the information text (the
// information window's text, the head of every export) and the exports, one line per
// measurement. Each takes the data and the range to describe (a zoom level's
// measurements and the inputs drawn), never a window's view.
#include "recording/file_results.h"
#include "recording/range_statistics.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace qz {

class Progress;
class RecordingData;

// Line layouts of an export. Text to TextNoDate are the export chooser's first four
// positions; DateOnly is never offered; Csv is comma-separated values with ISO 8601
// times and a '.' decimal point whatever the locale, without the information text.
enum class ExportKind : int {
    Text = 0,
    Excel = 1,
    Lotus = 2,
    TextNoDate = 3,
    DateOnly = 4,
    Csv = 5
};

// The lines describing the range (the last one empty).
QStringList informationLines(const RecordingData& data, const DataRange& range);

// Information text of the range (for Csv: a line of column names), then one line per
// measurement of it, CR LF, to any device; a failed write gives the system's reason.
ExportOutcome exportTo(QIODevice& out, const RecordingData& data, const DataRange& range, ExportKind kind,
                       Progress& progress);
// The same to a file, written through a temporary that replaces it when complete (a
// cancelled export keeps the lines written so far); the recording's own file is never an
// output (SameAsInput).
ExportOutcome exportFile(const QString& name, const RecordingData& data, const DataRange& range,
                         ExportKind kind, Progress& progress);

} // namespace qz
