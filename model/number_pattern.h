#pragma once
// Decimal pattern formatting ("0", "0.00", "0.0##"): the value is taken to 15
// significant digits (what a double holds reliably) and rounded half away from zero at
// the pattern's last decimal, so 2.675 with "0.00" shows as 2.68 as a user expects.
#include <QString>

namespace qz {

QString formatNumberPattern(const QString& pattern, double x, const QString& decimalPoint);

} // namespace qz
