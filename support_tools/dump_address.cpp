#include "support_tools/dump_address.h"

namespace qz {

namespace {

constexpr int kMaxDigits = 8;
constexpr int kBoxDigits = 4;

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<std::uint32_t> parseHexAddress(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > kMaxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + std::uint32_t(d);
    }
    return value;
}

QString notHexadecimalText(const QString& box)
{
    return QStringLiteral("'%1' is not a hexadecimal address").arg(box);
}

QString addressText(std::uint32_t address)
{
    return QStringLiteral("%1").arg(address, kBoxDigits, 16, QLatin1Char('0')).toUpper();
}

LoggerAddress loggerAddress(const QString& box, AddressStep step)
{
    LoggerAddress r;
    r.box = box;
    const std::optional<std::uint32_t> typed = parseHexAddress(box);
    if (!typed)
        r.box = QStringLiteral("0");
    std::int64_t a = typed.value_or(0);
    if (step == AddressStep::Next)
        a += kDumpLength;
    else if (step == AddressStep::Previous)
        a -= kDumpLength;
    a %= std::int64_t(kLoggerAddressSpace);
    if (a < 0)
        a += kLoggerAddressSpace;
    r.address = std::uint16_t(a);
    if (step != AddressStep::Here)
        r.box = addressText(r.address);
    return r;
}

FileAddress fileAddress(const QString& box, AddressStep step)
{
    FileAddress r;
    r.box = box;
    const std::optional<std::uint32_t> typed = parseHexAddress(box);
    if (!typed)
        return r;
    r.valid = true;
    std::int64_t a = *typed;
    switch (step) {
    case AddressStep::Here:
        r.box = addressText(*typed);
        if (a > kFileAddressLimit)
            a = 0;
        break;
    case AddressStep::Next:
        a += kDumpLength;
        if (a > kFileAddressLimit)
            a = 0;
        r.box = addressText(std::uint32_t(a));
        break;
    case AddressStep::Previous:
        a -= kDumpLength;
        if (a < 0)
            a = 0;
        r.box = addressText(std::uint32_t(a));
        break;
    }
    r.address = std::uint32_t(a);
    return r;
}

} // namespace qz
