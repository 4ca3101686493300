#pragma once
// The comma-separated export: what spreadsheets and data tools open without asking about
// separators, decimal points or dates. UTF-8 without a byte-order mark, one line of
// column names, a field quoted only when it needs it, '.' as the decimal point whatever
// the locale, local logger times as YYYY-MM-DDThh:mm:ss. Values are the conversion's own,
// not rounded to the display's resolution, so that sums and averages made from them are
// the recording's.
#include <QByteArray>
#include <QString>

namespace qz {

class RecordingData;
struct Conversion;
struct DataRange;

// The field as written: in double quotes, its own quotes doubled, when it holds a comma,
// a double quote or a line break; as it is otherwise. A text beginning with '=', '+', '-'
// or '@', which a spreadsheet would run as a formula, is quoted with an apostrophe first
// ("'=x"), which the spreadsheet shows as the text itself.
QString csvField(const QString& text);

// The decimals of an input's values: 15 significant digits of the largest value its
// conversion gives (at raw 0 or 255), which is as many as a double holds exactly, so
// no digit of the binary arithmetic shows.
int csvDecimals(const RecordingData& data, int input);
int csvDecimals(const Conversion& conversion);
// value with that many decimals, '.' as the point, trailing zeros and a bare point
// dropped, never "-0".
QByteArray csvNumber(long double value, int decimals);

// The column of input (0..7): "FUNCTION (UNIT)" with function and unit trimmed of
// white space. An input without a unit is named by its function alone; one without a
// function by "Input N".
QString csvColumnName(const QString& function, const QString& unit, int input);

// "time", then one column per input of the range in increasing input order; no line end.
QByteArray csvHeader(const RecordingData& data, const DataRange& range);

} // namespace qz
