#include "recording/csv_export.h"

#include "recording/range_statistics.h"
#include "recording/recording_data.h"
#include "recording/scaling.h"

#include <algorithm>
#include <cmath>

namespace qz {

QString csvField(const QString& text)
{
    static const QString kNeedsQuotes = QStringLiteral(",\"\r\n");
    static const QString kFormulaStart = QStringLiteral("=+-@");
    const bool formula = !text.isEmpty() && kFormulaStart.contains(text.front());
    bool quote = formula;
    for (QChar c : text)
        quote = quote || kNeedsQuotes.contains(c);
    if (!quote)
        return text;
    QString field = text;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + (formula ? QStringLiteral("'") : QString()) + field + QLatin1Char('"');
}

int csvDecimals(const RecordingData& data, int input)
{
    return csvDecimals(data.conversion(input));
}

int csvDecimals(const Conversion& conversion)
{
    constexpr int kDigits = 15;
    constexpr int kMaxDecimals = 20;
    const long double largest =
        std::max(std::fabs(conversion.physical(0)), std::fabs(conversion.physical(255)));
    if (!(largest > 0) || !std::isfinite(largest))
        return 0;
    const int integerDigits = int(std::floor(std::log10(largest))) + 1;
    return std::clamp(kDigits - integerDigits, 0, kMaxDecimals);
}

QByteArray csvNumber(long double value, int decimals)
{
    QByteArray text = QByteArray::number(static_cast<double>(value), 'f', decimals);
    if (text.contains('.')) {
        qsizetype end = text.size();
        while (text.at(end - 1) == '0')
            --end;
        if (text.at(end - 1) == '.')
            --end;
        text.truncate(end);
    }
    if (text == "-0")
        return QByteArrayLiteral("0");
    return text;
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
