#pragma once
// The export of several recordings shown together: the information text of each (or, as
// comma-separated values, one line of column names), then one line per instant at which
// any of them measured, in time order, with the values of every recording's inputs shown
// and empty fields where a recording has no measurement at that instant.
#include "recording/exports.h"

#include <vector>

namespace qz {

struct ExportPart {
    const RecordingData* data = nullptr;
    DataRange range; // its measurements and inputs written
    double shiftSeconds = 0; // added to its instants (recordings aligned at their starts)
    QString label; // names its columns of comma-separated values ("LABEL: NAME (UNIT)")
};

ExportOutcome exportPartsTo(QIODevice& out, const std::vector<ExportPart>& parts, ExportKind kind,
                            Progress& progress);
// The same to a file through a temporary, as exportFile; none of the recordings' own files
// is ever an output (SameAsInput).
ExportOutcome exportPartsFile(const QString& name, const std::vector<ExportPart>& parts, ExportKind kind,
                              Progress& progress);

} // namespace qz
