#include "recording/csv_export.h"

#include "recording/range_statistics.h"
#include "recording/recording_data.h"

namespace qz {

QString csvField(const QString& text)
{
    static const QString kNeedsQuotes = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (QChar c : text)
        quote = quote || kNeedsQuotes.contains(c);
    if (!quote)
        return text;
    QString field = text;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString csvColumnName(const QString& function, const QString& unit, int input)
{
    QString name = function.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Input %1").arg(input + 1);
    const QString u = unit.trimmed();
    return u.isEmpty() ? name : name + QStringLiteral(" (") + u + QLatin1Char(')');
}

QByteArray csvHeader(const RecordingData& data, const DataRange& range)
{
    QString line = QStringLiteral("time");
    const ImageReader& r = data.reader();
    for (int i = 0; i < mem::kInputs; ++i) {
        if (data.isEnabled(i) && range.inputs[std::size_t(i)])
            line += QLatin1Char(',') + csvField(csvColumnName(r.inputName(i), r.inputUnit(i), i));
    }
    return line.toUtf8();
}

} // namespace qz
