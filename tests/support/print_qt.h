#pragma once
// Readable QString values in test failure messages (GoogleTest looks for the name PrintTo).
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
