#pragma once
// The comma-separated export: what spreadsheets and data tools open without asking about
// separators, decimal points or dates. UTF-8 without a byte-order mark, one line of
// column names, a field quoted only when it needs it, '.' as the decimal point whatever
// the locale, local logger times as YYYY-MM-DDThh:mm:ss.
#include <QByteArray>
#include <QString>

namespace qz {

class RecordingData;
struct DataRange;

// The field as written: in double quotes, its own quotes doubled, when it holds a comma,
// a double quote or a line break; as it is otherwise.
QString csvField(const QString& text);

// The column of input (0..7): "FUNCTION (UNIT)" with function and unit trimmed of
// white space. An input without a unit is named by its function alone; one without a
// function by "Input N".
QString csvColumnName(const QString& function, const QString& unit, int input);

// "time", then one column per input of the range in increasing input order; no line end.
QByteArray csvHeader(const RecordingData& data, const DataRange& range);

} // namespace qz
