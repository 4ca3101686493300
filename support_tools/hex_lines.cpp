#include "support_tools/hex_lines.h"

namespace qz {

namespace {

QString hex(std::uint32_t value)
{
    return QString::number(value, 16).toUpper();
}

} // namespace

QString padHex(const QString& text, int width)
{
    QString padded = text;
    if (padded.size() < width)
        padded.prepend(QString(width - padded.size(), QLatin1Char('0')));
    return QLatin1Char(' ') + padded;
}

QStringList hexDumpLines(std::span<const std::uint8_t> bytes, std::uint32_t address, std::uint32_t wrapAt)
{
    QStringList lines;
    QString line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % kHexLineBytes == 0) {
            if (i > 0)
                lines << line;
            std::uint32_t at = address + std::uint32_t(i);
            if (wrapAt > 0)
                at %= wrapAt;
            line = padHex(hex(at) + QLatin1Char(' '), 5);
        }
        line += padHex(hex(bytes[i]), 2);
    }
    if (!bytes.empty())
        lines << line;
    return lines;
}

QString clockLine(std::span<const std::uint8_t> record)
{
    QString line = QStringLiteral("RTC-> ");
    for (const std::uint8_t b : record)
        line += padHex(hex(b), 2);
    return line;
}

} // namespace qz
