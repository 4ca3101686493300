#include "cli/fleet_output.h"

#include "cli/text_table.h"
#include "model/logger_seconds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace qz::cli {

namespace {

QString orDash(const QString& s)
{
    return s.isEmpty() ? QStringLiteral("-") : s;
}

QString driftText(const std::optional<double>& drift)
{
    if (!drift)
        return QStringLiteral("-");
    return QStringLiteral("%1%2 s").arg(*drift >= 0 ? QStringLiteral("+") : QString()).arg(*drift, 0, 'f', 1);
}

QString batteryText(const std::optional<double>& volts)
{
    return volts ? QStringLiteral("%1 V").arg(*volts, 0, 'f', 2) : QStringLiteral("-");
}

QString timeText(const QDateTime& t)
{
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QStringLiteral("-");
}

QJsonValue orNull(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonValue orNull(const QString& s)
{
    return s.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(s);
}

} // namespace

std::optional<StoreUrl> storeUrlOf(const QString& option, const std::optional<StoreUrl>& fromFile,
                                   QString& error)
{
    if (!option.isEmpty())
        return StoreUrl::parse(option, {}, error);
    return fromFile ? fromFile : StoreUrl::defaultUrl();
}

QString fleetReportTable(const FleetReport& report)
{
    TextTable table({QStringLiteral("LABEL"), QStringLiteral("SERIAL"), QStringLiteral("OUTCOME"),
                     QStringLiteral(">NEW"), QStringLiteral(">DRIFT"), QStringLiteral(">BATTERY")});
    QString notes;
    for (const FleetRow& r : report.rows) {
        table.add({r.label, orDash(r.serial), QString(r.outcome).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                   QString::number(r.newMeasurements), driftText(r.driftSeconds),
                   batteryText(r.batteryVolts)});
        if (r.missing > 0)
            notes += QStringLiteral(
                         "%1: %2 measurements were overwritten by the logger before they were collected\n")
                         .arg(r.label)
                         .arg(r.missing);
    }
    return table.text() + notes;
}

QString fleetReportJson(const FleetReport& report, const StoreUrl& store)
{
    QJsonArray loggers;
    for (const FleetRow& r : report.rows) {
        QJsonObject o;
        o.insert(QStringLiteral("label"), r.label);
        o.insert(QStringLiteral("serial"), orNull(r.serial));
        o.insert(QStringLiteral("outcome"), r.outcome);
        o.insert(QStringLiteral("ok"), r.ok);
        o.insert(QStringLiteral("new_measurements"), double(r.newMeasurements));
        o.insert(QStringLiteral("missing_measurements"), double(r.missing));
        o.insert(QStringLiteral("drift_s"), orNull(r.driftSeconds));
        o.insert(QStringLiteral("battery_v"), orNull(r.batteryVolts));
        o.insert(QStringLiteral("blocks_read"), r.blocksRead);
        loggers.append(o);
    }
    QJsonObject doc;
    doc.insert(QStringLiteral("store"), store.text());
    doc.insert(QStringLiteral("exit"), report.exitCode());
    doc.insert(QStringLiteral("loggers"), loggers);
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

QString storeLoggersTable(const std::vector<LoggerSummary>& loggers)
{
    TextTable table({QStringLiteral("LABEL"), QStringLiteral("SERIAL"), QStringLiteral("LAST COLLECTION"),
                     QStringLiteral("OUTCOME"), QStringLiteral(">NEW"), QStringLiteral(">DRIFT"),
                     QStringLiteral(">BATTERY"), QStringLiteral(">STORED"), QStringLiteral("MEMORY FULL")});
    for (const LoggerSummary& s : loggers)
        table.add({s.label, orDash(s.serial), timeText(s.lastHostTime),
                   orDash(QString(s.outcome).replace(QLatin1Char('\n'), QLatin1Char(' '))),
                   QString::number(s.newMeasurements), driftText(s.driftSeconds), batteryText(s.batteryVolts),
                   QString::number(s.measurements),
                   s.memoryFull ? isoText(*s.memoryFull).replace(QLatin1Char('T'), QLatin1Char(' '))
                                : QStringLiteral("-")});
    return table.text();
}

QString storeLoggersJson(const std::vector<LoggerSummary>& loggers, const StoreUrl& store)
{
    QJsonArray rows;
    for (const LoggerSummary& s : loggers) {
        QJsonObject o;
        o.insert(QStringLiteral("label"), s.label);
        o.insert(QStringLiteral("serial"), orNull(s.serial));
        o.insert(QStringLiteral("device_code"), s.deviceCode);
        o.insert(QStringLiteral("last_collection"),
                 s.lastHostTime.isValid() ? QJsonValue(s.lastHostTime.toString(Qt::ISODate)) : QJsonValue());
        o.insert(QStringLiteral("outcome"), orNull(s.outcome));
        o.insert(QStringLiteral("new_measurements"), double(s.newMeasurements));
        o.insert(QStringLiteral("drift_s"), orNull(s.driftSeconds));
        o.insert(QStringLiteral("battery_v"), orNull(s.batteryVolts));
        o.insert(QStringLiteral("measurements"), double(s.measurements));
        o.insert(QStringLiteral("memory_full"),
                 s.memoryFull ? QJsonValue(isoText(*s.memoryFull)) : QJsonValue());
        rows.append(o);
    }
    QJsonObject doc;
    doc.insert(QStringLiteral("store"), store.text());
    doc.insert(QStringLiteral("loggers"), rows);
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace qz::cli
