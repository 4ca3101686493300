#pragma once
// A table of text for the terminal: a line of column titles, then one line per row, each
// column as wide as its widest cell (in characters), two blanks apart; numbers are aligned
// to the right.
#include <QString>
#include <QStringList>

#include <vector>

namespace qz::cli {

class TextTable {
public:
    // Titles; a title that begins with '>' is a right-aligned column (the '>' is not shown).
    explicit TextTable(const QStringList& titles);
    void add(const QStringList& cells);
    // The lines, each ending in a line break.
    QString text() const;

private:
    QStringList titles_;
    std::vector<bool> right_;
    std::vector<QStringList> rows_;
};

} // namespace qz::cli
