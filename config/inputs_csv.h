#pragma once
// Inputs settings from a CSV file, for preparing many loggers alike:
//
//   input,active,function,unit,max,min
//   1,1,Air,°C,125,-40
//   3,0,"Door, back",%,100,0
//
// UTF-8 text; the header line exactly as above; up to eight rows, one per input (1..8,
// each at most once); active 0 or 1; a function of up to 9 characters and a unit of up to
// 5, each in the logger's single-byte character set (Latin-1) without control characters;
// max and min numbers with a '.' as decimal point whatever the locale, within the logger's
// 6-byte real (0, or 2.94E-39 to 1.7E38 either side). A field may be quoted ("..." with ""
// for a quote, only blanks after the closing one); unquoted fields are trimmed. Blank lines
// are skipped. The first bad line is refused with its number and the reason, and with the
// column where a field is malformed or holds a control character.
#include "config/inputs_table.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace qz {

struct InputsCsv {
    std::vector<InputSetting> settings; // in the file's order
    // "line 3: active must be 0 or 1", "line 2, column 9: characters after a closing
    // quote"; empty when read.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

InputsCsv parseInputsCsv(const QByteArray& content);

} // namespace qz
