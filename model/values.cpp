#include "model/values.h"

#include "model/memory_image.h"
#include "model/number_pattern.h"

#include <QLocale>
#include <cmath>

namespace qz {

double adcToVolts(std::int32_t count)
{
    const long double slope = 0.020524L;
    const long double offset = -0.15252L;
    return double(count * slope + offset);
}

double lowBatteryLimit()
{
    return 3.3;
}

int bcdToInt(std::uint8_t value)
{
    return (value >> 4) * 10 + (value & 0x0F);
}

std::uint8_t intToBcd(int value)
{
    return std::uint8_t((((value / 10) << 4) | (value % 10)) & 0xFF);
}

QString bytesToStr(const std::uint8_t* buffer, int count)
{
    if (!buffer || count <= 0)
        return QString();
    int n = 0;
    while (n < count && buffer[n] != 0)
        ++n;
    return QString::fromLatin1(reinterpret_cast<const char*>(buffer), n);
}

void strToBytes(const QString& text, std::uint8_t* buffer, int count)
{
    if (!buffer)
        return;
    for (int i = 0; i < count; ++i) {
        if (i >= text.size()) {
            buffer[i] = 0;
            continue;
        }
        const char16_t c = text.at(i).unicode();
        buffer[i] = c <= 0xFF ? std::uint8_t(c) : std::uint8_t('?');
    }
}

bool hasSeveralDigits(double x)
{
    const QString s = formatValue(QStringLiteral("0.00000000"), x);
    int digits = 0;
    for (QChar c : s)
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            ++digits;
    return digits > 1;
}

QString chooseFloatFormat(double x)
{
    const double a = std::fabs(x);
    static const double thresholds[] = {1, 0.1, 0.01, 0.001, 0.0001, 0.00001, 0.000001, 0.0000001};
    for (int decimals = 0; decimals < 8; ++decimals) {
        if (a >= thresholds[decimals]) {
            const int n = decimals + (hasSeveralDigits(a) ? 1 : 0);
            return n == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(n, QLatin1Char('0'));
        }
    }
    return QStringLiteral("0");
}

QString formatValue(const QString& pattern, double x)
{
    return formatNumberPattern(pattern, x, QLocale().decimalPoint());
}

QString formatValue8(double x)
{
    QString s = formatValue(QStringLiteral("0.0000000"), x);
    if (s.size() < 8)
        s = s.leftJustified(8, QLatin1Char(' '));
    return s.left(8);
}

QString formatValueShort(double x)
{
    const QString sep = QLocale().decimalPoint();
    QString s = formatValue8(x);
    const int at = s.indexOf(sep);
    if (at < 0)
        return s.size() == 8 && !s.endsWith(QLatin1Char(' ')) ? s : trimTrailingBlanks(s);
    int end = s.size();
    while (end > at + sep.size() && s.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end == at + sep.size())
        end = at;
    return s.left(end);
}

std::int32_t max2(std::int32_t a, std::int32_t b)
{
    return a > b ? a : b;
}
std::int32_t min2(std::int32_t a, std::int32_t b)
{
    return a < b ? a : b;
}

double log10(double x)
{
    if (!(x > 0))
        return 0;
    return double(std::log((long double)x) / std::log(10.0L));
}

double power10(double x)
{
    return double(std::exp((long double)x * std::log(10.0L)));
}

double decadeStep(double p, double x)
{
    const double e = std::trunc(log10(std::fabs(x)));
    return x >= 1 ? power10(e - p) : power10(p - e);
}

QString trimLeadingBlanks(const QString& text)
{
    int i = 0;
    while (i < text.size() - 1 && text.at(i) == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}

QString trimTrailingBlanks(const QString& text)
{
    int end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString insertModelInCaption(const QString& modelName, const QString& caption)
{
    QString model = trimTrailingBlanks(trimLeadingBlanks(modelName));
    if (model == QLatin1String(" "))
        model.clear();
    if (model.isEmpty())
        return caption;
    const int blank = caption.indexOf(QLatin1Char(' '));
    const QString framed = QLatin1Char(' ') + model + QLatin1Char(' ');
    if (blank < 0)
        return caption + framed;
    return caption.left(blank + 1) + framed + caption.mid(blank + 1);
}

int memoryBlocks(std::uint16_t code)
{
    // Memory comes in steps of 8 KiB; the first four blocks' room holds the header.
    constexpr int kMemoryStep = 8192;
    if (code == 1)
        return 124;
    return (((code >> 5) & 7) + 1) * kMemoryStep / int(mem::kBlockSize) - 4;
}

} // namespace qz
