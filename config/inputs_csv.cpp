#include "config/inputs_csv.h"

#include "model/memory_image.h"

#include <QLocale>
#include <QStringDecoder>

#include <optional>

namespace qz {

namespace {

const QStringList kHeader = {QStringLiteral("input"), QStringLiteral("active"), QStringLiteral("function"),
                             QStringLiteral("unit"),  QStringLiteral("max"),    QStringLiteral("min")};

// Where a line or a field is wrong: the reason, and the column (from 1).
struct Fault {
    QString reason;
    int column = 0;
};

struct Field {
    QString text;
    QList<int> columns; // each character's column in the line, from 1
};

// Splits one line into fields. A quoted field ends at its closing quote: only blanks may
// follow it before the comma, so that nothing the user wrote is dropped.
std::optional<Fault> splitFields(const QString& line, QList<Field>& fields)
{
    fields.clear();
    int i = 0;
    const int n = int(line.size());
    while (true) {
        Field field;
        const auto take = [&](int at) {
            field.text += line[at];
            field.columns << at + 1;
        };
        // Blanks before an opening quote do not count.
        int j = i;
        while (j < n && line[j] == QLatin1Char(' '))
            ++j;
        if (j < n && line[j] == QLatin1Char('"')) {
            const int opening = j;
            i = j + 1;
            bool closed = false;
            while (i < n) {
                if (line[i] == QLatin1Char('"')) {
                    if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                        take(i);
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                take(i++);
            }
            if (!closed)
                return Fault{QStringLiteral("a quote is not closed"), opening + 1};
            while (i < n && line[i] == QLatin1Char(' '))
                ++i;
            if (i < n && line[i] != QLatin1Char(','))
                return Fault{QStringLiteral("characters after a closing quote"), i + 1};
        } else {
            const int comma = int(line.indexOf(QLatin1Char(','), i));
            int end = comma < 0 ? n : comma;
            i = end;
            // Trimmed, as QString::trimmed does.
            while (j < end && line[j].isSpace())
                ++j;
            while (end > j && line[end - 1].isSpace())
                --end;
            for (int k = j; k < end; ++k)
                take(k);
        }
        fields << field;
        if (i >= n)
            return std::nullopt;
        ++i; // the comma
    }
}

// The first control character (NUL, tab, ...) of a field: the logger would store it, and
// a name shown later would end there or break its line.
std::optional<Fault> controlCharacter(const QString& name, const Field& field)
{
    for (int k = 0; k < field.text.size(); ++k) {
        const QChar c = field.text[k];
        if (c.category() == QChar::Other_Control)
            return Fault{QStringLiteral("%1 has a control character (U+%2)")
                             .arg(name, QString::number(c.unicode(), 16).toUpper().rightJustified(4, '0')),
                         field.columns[k]};
    }
    return std::nullopt;
}

bool latin1(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

QString checkText(const QString& name, const QString& text, int longest)
{
    if (text.size() > longest)
        return QStringLiteral("%1 '%2' has more than %3 characters").arg(name, text).arg(longest);
    if (!latin1(text))
        return QStringLiteral("%1 '%2' has characters the logger cannot hold").arg(name, text);
    return {};
}

QString checkScale(const QString& name, const QString& text, double& value)
{
    switch (parseScale(text, QLocale::c(), value)) {
    case ScaleCheck::Ok:
        return {};
    case ScaleCheck::NotANumber:
        return QStringLiteral("%1 '%2' is not a number").arg(name, text);
    case ScaleCheck::OutOfRange:
        return QStringLiteral("%1 %2 is too large for a scale value (largest 1.7E38)").arg(name, text);
    case ScaleCheck::TooSmall:
        return QStringLiteral("%1 %2 is too small for a scale value (smallest 2.94E-39, or 0)")
            .arg(name, text);
    }
    return {};
}

} // namespace

InputsCsv parseInputsCsv(const QByteArray& content)
{
    InputsCsv out;
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(content);
    if (decode.hasError()) {
        out.error = QStringLiteral("the file is not UTF-8 text");
        return out;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool seen[mem::kInputs] = {};
    bool header = false;
    for (int k = 0; k < lines.size(); ++k) {
        QString line = lines[k];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const auto fail = [&](const QString& reason) {
            out.settings.clear();
            out.error = QStringLiteral("line %1: %2").arg(k + 1).arg(reason);
            return out;
        };
        const auto failAt = [&](const Fault& fault) {
            out.settings.clear();
            out.error =
                QStringLiteral("line %1, column %2: %3").arg(k + 1).arg(fault.column).arg(fault.reason);
            return out;
        };
        QList<Field> fields;
        const std::optional<Fault> malformed = splitFields(line, fields);
        QStringList f;
        for (const Field& field : fields)
            f << field.text;
        if (!header) {
            if (malformed || f != kHeader)
                return fail(QStringLiteral("the header must be ") + kHeader.join(QLatin1Char(',')));
            header = true;
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (malformed)
            return failAt(*malformed);
        if (f.size() != kHeader.size())
            return fail(QStringLiteral("%1 fields expected, found %2").arg(kHeader.size()).arg(f.size()));
        for (qsizetype i = 0; i < fields.size(); ++i)
            if (const std::optional<Fault> control = controlCharacter(kHeader[i], fields[i]))
                return failAt(*control);
        bool ok = false;
        const int input = f[0].toInt(&ok);
        if (!ok || input < 1 || input > mem::kInputs)
            return fail(QStringLiteral("input must be 1 to 8, not '%1'").arg(f[0]));
        if (seen[input - 1])
            return fail(QStringLiteral("input %1 is listed twice").arg(input));
        seen[input - 1] = true;
        if (f[1] != QLatin1String("0") && f[1] != QLatin1String("1"))
            return fail(QStringLiteral("active must be 0 or 1, not '%1'").arg(f[1]));
        InputSetting s;
        s.input = input - 1;
        s.active = f[1] == QLatin1String("1");
        s.function = f[2];
        s.unit = f[3];
        QString reason = checkText(QStringLiteral("function"), s.function, int(mem::kInputNameSize));
        if (reason.isEmpty())
            reason = checkText(QStringLiteral("unit"), s.unit, int(mem::kInputUnitSize));
        if (reason.isEmpty())
            reason = checkScale(QStringLiteral("max"), f[4], s.scaleHigh);
        if (reason.isEmpty())
            reason = checkScale(QStringLiteral("min"), f[5], s.scaleLow);
        if (!reason.isEmpty())
            return fail(reason);
        out.settings.push_back(s);
    }
    if (!header)
        out.error = QStringLiteral("line 1: the header must be ") + kHeader.join(QLatin1Char(','));
    return out;
}

} // namespace qz
