#include "config/inputs_csv.h"

#include "model/memory_image.h"

#include <QLocale>
#include <QStringDecoder>

namespace qz {

namespace {

const QStringList kHeader = {QStringLiteral("input"), QStringLiteral("active"), QStringLiteral("function"),
                             QStringLiteral("unit"),  QStringLiteral("max"),    QStringLiteral("min")};

// Splits one line into fields; false for a quote that is not closed.
bool splitFields(const QString& line, QStringList& fields)
{
    fields.clear();
    int i = 0;
    const int n = int(line.size());
    while (true) {
        QString field;
        // Blanks before an opening quote do not count.
        int j = i;
        while (j < n && line[j] == QLatin1Char(' '))
            ++j;
        if (j < n && line[j] == QLatin1Char('"')) {
            i = j + 1;
            bool closed = false;
            while (i < n) {
                if (line[i] == QLatin1Char('"')) {
                    if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (!closed)
                return false;
            while (i < n && line[i] != QLatin1Char(','))
                ++i; // blanks after the closing quote
        } else {
            const int comma = line.indexOf(QLatin1Char(','), i);
            const int end = comma < 0 ? n : comma;
            field = line.mid(i, end - i).trimmed();
            i = end;
        }
        fields << field;
        if (i >= n)
            return true;
        ++i; // the comma
    }
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
        QStringList f;
        if (!header) {
            if (!splitFields(line, f) || f != kHeader)
                return fail(QStringLiteral("the header must be ") + kHeader.join(QLatin1Char(',')));
            header = true;
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (!splitFields(line, f))
            return fail(QStringLiteral("a quote is not closed"));
        if (f.size() != kHeader.size())
            return fail(QStringLiteral("%1 fields expected, found %2").arg(kHeader.size()).arg(f.size()));
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
