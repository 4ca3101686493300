#pragma once
// A strict reader of comma-separated values as RFC 4180 has them: records end in CR LF
// (the last one may end without), a field is either plain (no quote, comma, CR or LF) or
// in double quotes with its own quotes doubled. Anything else is refused with the byte
// offset where it went wrong, so a test sees a writer's slip instead of a lenient guess.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace qz::test {

struct CsvTable {
    std::vector<QStringList> rows;
    QString error; // "offset 17: ..."; empty when the text was read whole
    bool ok() const { return error.isEmpty(); }
};

inline CsvTable readCsv(const QByteArray& text)
{
    CsvTable table;
    const auto fail = [&](qsizetype at, const char* why) {
        table.error = QStringLiteral("offset %1: %2").arg(at).arg(QLatin1String(why));
        return table;
    };
    if (text.startsWith("\xEF\xBB\xBF"))
        return fail(0, "byte-order mark");
    const qsizetype n = text.size();
    qsizetype i = 0;
    QStringList row;
    while (i < n) {
        QByteArray field;
        if (text[i] == '"') {
            ++i;
            for (;;) {
                if (i >= n)
                    return fail(i, "quoted field not closed");
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        } else {
            while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (text[i] == '"')
                    return fail(i, "quote inside a plain field");
                field += text[i++];
            }
        }
        const QString decoded = QString::fromUtf8(field);
        if (decoded.toUtf8() != field)
            return fail(i, "not UTF-8");
        row << decoded;
        if (i == n)
            break;
        if (text[i] == ',') {
            ++i;
            if (i == n)
                row << QString(); // a last empty field
            continue;
        }
        if (text[i] != '\r' || i + 1 >= n || text[i + 1] != '\n')
            return fail(i, "a record must end in CR LF");
        i += 2;
        table.rows.push_back(row);
        row.clear();
    }
    if (!row.isEmpty())
        table.rows.push_back(row);
    return table;
}

} // namespace qz::test
