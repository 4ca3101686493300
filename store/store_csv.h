#pragma once
// A logger's stored measurements as comma-separated values, in the profile of a recording's
// comma-separated export: a line of column names ("time", then "NAME (UNIT)" per input),
// then a line per measurement with its local time YYYY-MM-DDThh:mm:ss and the values with
// '.' as the decimal point, at the input's resolution and in its number format, CR LF.
// Recordings follow one another in time; a recording whose columns differ from those of the
// one before begins with its own line of column names.
#include "store/fleet_store.h"

#include <QIODevice>

#include <limits>

#include <vector>

namespace qz {

struct CsvExportResult {
    StoreResult store; // reading the store
    QString writeError; // writing out: the system's reason
    std::int64_t rows = 0;

    bool ok() const { return store.ok() && writeError.isEmpty(); }
};

CsvExportResult exportStoredCsv(FleetStore& store, const std::vector<StoredRecording>& recordings,
                                LoggerSeconds from, LoggerSeconds to, QIODevice& out);

// Appends "YYYY-MM-DDThh:mm:ss", computing each day's date once.
class IsoStamper {
public:
    void append(QByteArray& out, LoggerSeconds t);

private:
    std::int64_t day_ = std::numeric_limits<std::int64_t>::min();
    QByteArray date_;
};

} // namespace qz
