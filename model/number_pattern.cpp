#include "model/number_pattern.h"

#include <charconv>
#include <cmath>
#include <string>

namespace qz {

namespace {

struct PatternShape {
    int intDigits = 1; // minimum digits before the separator
    int fixedDecimals = 0;
    int optionalDecimals = 0;
};

PatternShape parsePattern(const QString& pattern)
{
    PatternShape shape;
    const int dot = pattern.indexOf(QLatin1Char('.'));
    const QString head = dot < 0 ? pattern : pattern.left(dot);
    shape.intDigits = int(head.count(QLatin1Char('0')));
    if (dot >= 0) {
        for (QChar c : pattern.mid(dot + 1)) {
            if (c == QLatin1Char('0'))
                shape.fixedDecimals += 1 + shape.optionalDecimals, shape.optionalDecimals = 0;
            else if (c == QLatin1Char('#'))
                ++shape.optionalDecimals;
        }
    }
    return shape;
}

// Decimal digits of round(a x 10^decimals), half away from zero, from 15 significant
// digits of a.
std::string scaledDigits(double a, int decimals)
{
    if (a == 0)
        return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
    const std::string s(buf, res.ptr);
    std::string digits;
    std::size_t i = 0;
    for (; i < s.size() && s[i] != 'e'; ++i)
        if (s[i] >= '0' && s[i] <= '9')
            digits += s[i];
    const int exponent = std::stoi(s.substr(i + 1));
    const long keep = long(exponent) + decimals + 1;
    if (keep < 0)
        return "0";
    std::string out;
    bool up = false;
    if (keep >= long(digits.size())) {
        out = digits + std::string(std::size_t(keep) - digits.size(), '0');
    } else {
        out = digits.substr(0, std::size_t(keep));
        up = digits[std::size_t(keep)] >= '5';
    }
    if (out.empty())
        out = "0";
    if (up) {
        int k = int(out.size()) - 1;
        while (k >= 0 && out[std::size_t(k)] == '9')
            out[std::size_t(k--)] = '0';
        if (k < 0)
            out.insert(out.begin(), '1');
        else
            ++out[std::size_t(k)];
    }
    return out;
}

} // namespace

QString formatNumberPattern(const QString& pattern, double x, const QString& decimalPoint)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    const PatternShape shape = parsePattern(pattern);
    const int decimals = shape.fixedDecimals + shape.optionalDecimals;
    std::string digits = scaledDigits(std::fabs(x), decimals);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    const std::size_t minLength = std::size_t(decimals + shape.intDigits);
    if (digits.size() < minLength)
        digits.insert(0, minLength - digits.size(), '0');
    std::string intPart = digits.substr(0, digits.size() - std::size_t(decimals));
    std::string fracPart = digits.substr(digits.size() - std::size_t(decimals));
    while (int(fracPart.size()) > shape.fixedDecimals && fracPart.back() == '0')
        fracPart.pop_back();
    QString out;
    if (x < 0 && !zero)
        out += QLatin1Char('-');
    out += QString::fromLatin1(intPart.data(), qsizetype(intPart.size()));
    if (!fracPart.empty())
        out += decimalPoint + QString::fromLatin1(fracPart.data(), qsizetype(fracPart.size()));
    return out;
}

} // namespace qz
