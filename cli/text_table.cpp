#include "cli/text_table.h"

#include <algorithm>

namespace qz::cli {

TextTable::TextTable(const QStringList& titles)
{
    for (const QString& t : titles) {
        const bool right = t.startsWith(QLatin1Char('>'));
        right_.push_back(right);
        titles_ << (right ? t.mid(1) : t);
    }
}

void TextTable::add(const QStringList& cells)
{
    rows_.push_back(cells);
}

QString TextTable::text() const
{
    std::vector<int> widths;
    for (const QString& t : titles_)
        widths.push_back(int(t.size()));
    for (const QStringList& row : rows_)
        for (int i = 0; i < row.size() && i < int(widths.size()); ++i)
            widths[std::size_t(i)] = std::max(widths[std::size_t(i)], int(row[i].size()));
    QString out;
    const auto line = [&](const QStringList& cells) {
        QString l;
        for (int i = 0; i < int(widths.size()); ++i) {
            const QString cell = i < cells.size() ? cells[i] : QString();
            if (i > 0)
                l += QStringLiteral("  ");
            l += right_[std::size_t(i)] ? cell.rightJustified(widths[std::size_t(i)])
                                        : cell.leftJustified(widths[std::size_t(i)]);
        }
        // No blanks after the last column.
        while (l.endsWith(QLatin1Char(' ')))
            l.chop(1);
        out += l + QLatin1Char('\n');
    };
    line(titles_);
    for (const QStringList& row : rows_)
        line(row);
    return out;
}

} // namespace qz::cli
