#pragma once
// Readable QString values in test failure messages.
#include <QString>
#include <ostream>

inline void printTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
