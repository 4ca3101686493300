#include "store/stored_forms.h"

namespace qz {

QString stampText(const std::array<std::uint8_t, 6>& stamp)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(stamp.data()), int(stamp.size())).toHex());
}

std::optional<std::array<std::uint8_t, 6>> stampFromText(const QString& text)
{
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    if (text.size() != 12 || bytes.size() != 6)
        return std::nullopt;
    std::array<std::uint8_t, 6> stamp{};
    for (int i = 0; i < 6; ++i)
        stamp[std::size_t(i)] = std::uint8_t(bytes[i]);
    return stamp;
}

LoggerSeconds hostSeconds(const QDateTime& local)
{
    const QDate d = local.date();
    const QTime t = local.time();
    return civilSeconds(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()).value_or(0);
}

std::int64_t hostMs(const QDateTime& local)
{
    return hostSeconds(local) * 1000 + local.time().msec();
}

QDateTime hostTimeOf(LoggerSeconds seconds)
{
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return QDateTime(utc.date(), utc.time());
}

} // namespace qz
