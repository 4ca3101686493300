#include "realtime/readings_log.h"

#include "link/logger_protocol.h"
#include "model/number_pattern.h"
#include "model/values.h"
#include "platform/clock.h"
#include "realtime/readings_texts.h"

#include <algorithm>

namespace qz {

namespace {

constexpr std::int64_t kStopCheckMs = 100;
const QString kPoint = QStringLiteral(".");

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString inputTitle(int i, const InputConversion& c)
{
    QString title = QString::number(i + 1);
    if (!c.name.isEmpty())
        title += QLatin1Char(' ') + c.name;
    const QString unit = c.unit.trimmed();
    if (!unit.isEmpty())
        title += QStringLiteral(" (") + unit + QLatin1Char(')');
    return title;
}

// Waits until the tick `until`; false when a stop was asked for meanwhile.
bool waitUntil(Clock& clock, std::int64_t until, const std::function<bool()>& stopRequested)
{
    for (;;) {
        if (stopRequested())
            return false;
        const std::int64_t left = until - clock.tickMs();
        if (left <= 0)
            return true;
        clock.sleepMs(std::min(left, kStopCheckMs));
    }
}

} // namespace

QStringList readingLines(const InputConversions& inputs, const Reading& reading, bool raw)
{
    QStringList lines;
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputConversion& c = inputs[std::size_t(i)];
        if (!c.enabled)
            continue;
        // Joined rather than filled into a pattern: a name may hold a '%'.
        QString line = QString::number(i + 1) + QLatin1Char(' ') + c.name.leftJustified(9) + QLatin1Char(' ')
            + c.text(reading.input(i)) + QLatin1Char(' ') + c.unit.trimmed();
        line = trimTrailingBlanks(line);
        if (raw)
            line += QStringLiteral("  ") + texts::rawCountLabel() + QLatin1Char(' ')
                + QString::number(reading.input(i));
        lines << line;
    }
    if (raw)
        lines << batteryText(reading.batteryCount());
    return lines;
}

QString csvHeader(const InputConversions& inputs, bool raw)
{
    QStringList fields{QStringLiteral("time")};
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputConversion& c = inputs[std::size_t(i)];
        if (!c.enabled)
            continue;
        fields << csvField(inputTitle(i, c));
        if (raw)
            fields << QString::number(i + 1) + QLatin1Char(' ') + texts::rawCountLabel();
    }
    if (raw)
        fields << QStringLiteral("Vbatt");
    return fields.join(QLatin1Char(','));
}

QString isoLocalTime(const QDateTime& local)
{
    const int offset = local.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
        + (offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        + QStringLiteral("%1:%2")
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString csvRow(const QDateTime& local, const InputConversions& inputs, const Reading& reading, bool raw)
{
    QStringList fields{isoLocalTime(local)};
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputConversion& c = inputs[std::size_t(i)];
        if (!c.enabled)
            continue;
        fields << c.text(reading.input(i), kPoint);
        if (raw)
            fields << QString::number(reading.input(i));
    }
    if (raw)
        fields << formatNumberPattern(QStringLiteral("0.00"), adcToVolts(reading.batteryCount()), kPoint);
    return fields.join(QLatin1Char(','));
}

LogEnd runReadingsLog(LoggerProtocol& logger, const InputConversions& inputs,
                      const ReadingsLogOptions& options, Clock& clock,
                      const std::function<bool()>& stopRequested,
                      const std::function<void(const QStringList& lines)>& write, LinkStatus& failed)
{
    failed = LinkStatus::Ok;
    if (options.csv)
        write({csvHeader(inputs, options.raw)});
    std::int64_t next = clock.tickMs();
    for (int n = 0; options.count <= 0 || n < options.count; ++n) {
        if (n > 0) {
            // A reading that took longer than the period is followed at once, without
            // a burst to catch up.
            next = std::max(next + options.periodMs, clock.tickMs());
            if (!waitUntil(clock, next, stopRequested))
                return LogEnd::Stopped;
        } else if (stopRequested()) {
            return LogEnd::Stopped;
        }
        const QDateTime at = clock.localNow();
        Reading reading;
        failed = readOnce(logger, options.raw, reading);
        if (failed != LinkStatus::Ok)
            return LogEnd::NotResponding;
        if (options.csv) {
            write({csvRow(at, inputs, reading, options.raw)});
        } else {
            QStringList lines = readingLines(inputs, reading, options.raw);
            if (n > 0)
                lines.prepend(QString());
            write(lines);
        }
    }
    return LogEnd::Done;
}

} // namespace qz
