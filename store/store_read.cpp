// Reading the store back: its loggers, their recordings and measurements.
#include "model/image_reader.h"
#include "store/fleet_store.h"
#include "store/schema.h"
#include "store/sql_run.h"
#include "store/stored_forms.h"

#include <QStringList>

namespace qz {

namespace {

// When the logger's memory holds no more room for what is not yet collected: a memory that
// stops when full, once its last block is; a ring, once it comes round to the newest block
// stored.
std::optional<LoggerSeconds> memoryFull(const QByteArray& headerBytes, LoggerSeconds origin,
                                        std::int64_t lastSeq, int tailRecords)
{
    const ImageReader header = ImageReader::header(
        {reinterpret_cast<const std::uint8_t*>(headerBytes.constData()), std::size_t(headerBytes.size())});
    const RecordLayout layout(header);
    if (layout.step <= 0)
        return std::nullopt;
    const std::int64_t rpb = layout.recordsPerBlock;
    if (header.stopMode() != mem::kCyclic)
        return origin + std::int64_t(layout.blocks) * rpb * layout.step;
    const std::int64_t room = (rpb - tailRecords) + std::int64_t(layout.blocks - 1) * rpb;
    return origin + (lastSeq + room) * layout.step;
}

} // namespace

StoreResult FleetStore::loggers(std::vector<LoggerSummary>& out)
{
    out.clear();
    SqlRun sql(database());
    QSqlQuery q = sql.query();
    const QString query = QStringLiteral(
        "SELECT l.label, l.serial, l.device_code, c.host_s, c.outcome, c.new_measurements, c.drift_s, "
        "(SELECT b.battery_v FROM collection b WHERE b.logger_id = l.logger_id AND b.battery_v IS NOT NULL "
        " ORDER BY b.collection_id DESC LIMIT 1), "
        "(SELECT SUM(s.measurements) FROM recording s WHERE s.logger_id = l.logger_id), "
        "r.header, r.origin_s, r.last_seq, r.tail_records "
        "FROM logger l "
        "LEFT JOIN collection c ON c.collection_id = "
        " (SELECT MAX(x.collection_id) FROM collection x WHERE x.logger_id = l.logger_id) "
        "LEFT JOIN recording r ON r.recording_id = "
        " (SELECT y.recording_id FROM recording y WHERE y.logger_id = l.logger_id "
        "  ORDER BY y.origin_s DESC LIMIT 1) "
        "ORDER BY l.label, l.serial");
    if (!sql.exec(q, query, {}))
        return failure(QStringLiteral("Cannot read the store"), sql.error());
    while (q.next()) {
        LoggerSummary s;
        s.label = q.value(0).toString();
        s.serial = q.value(1).toString();
        s.deviceCode = q.value(2).toInt();
        if (!q.value(3).isNull())
            s.lastHostTime = hostTimeOf(q.value(3).toLongLong());
        s.outcome = q.value(4).toString();
        s.newMeasurements = q.value(5).toLongLong();
        s.driftSeconds = nullable<double>(q.value(6));
        s.batteryVolts = nullable<double>(q.value(7));
        s.measurements = q.value(8).toLongLong();
        if (!q.value(9).isNull())
            s.memoryFull = memoryFull(q.value(9).toByteArray(), q.value(10).toLongLong(),
                                      q.value(11).toLongLong(), q.value(12).toInt());
        out.push_back(s);
    }
    // Labels whose logger never answered: only their attempts are known.
    QSqlQuery unknown = sql.query();
    if (!sql.exec(
            unknown,
            QStringLiteral("SELECT c.label, c.host_s, c.outcome FROM collection c WHERE c.collection_id = "
                           "(SELECT MAX(x.collection_id) FROM collection x WHERE x.label = c.label "
                           " AND x.logger_id IS NULL) "
                           "AND NOT EXISTS (SELECT 1 FROM logger l WHERE l.label = c.label) "
                           "ORDER BY c.label"),
            {}))
        return failure(QStringLiteral("Cannot read the store"), sql.error());
    while (unknown.next()) {
        LoggerSummary s;
        s.label = unknown.value(0).toString();
        s.lastHostTime = hostTimeOf(unknown.value(1).toLongLong());
        s.outcome = unknown.value(2).toString();
        out.push_back(s);
    }
    return {};
}

StoreResult FleetStore::latestAttempt(std::int64_t& id)
{
    SqlRun sql(database());
    QSqlQuery q = sql.query();
    if (!open_ || !sql.exec(q, QStringLiteral("SELECT MAX(collection_id) FROM collection"), {}) || !q.next())
        return failure(QStringLiteral("Cannot read the store"),
                       open_ ? sql.error() : QStringLiteral("not open"));
    id = q.value(0).toLongLong();
    return {};
}

StoreResult FleetStore::recordingsOf(const QString& serialOrLabel, std::vector<StoredRecording>& out)
{
    out.clear();
    SqlRun sql(database());
    QSqlQuery q = sql.query();
    if (!sql.exec(q, QStringLiteral("SELECT logger_id, serial, label FROM logger WHERE serial = ?"),
                  {serialOrLabel}))
        return failure(QStringLiteral("Cannot read the store"), sql.error());
    std::vector<std::tuple<qint64, QString, QString>> found;
    while (q.next())
        found.emplace_back(q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString());
    if (found.empty()) {
        if (!sql.exec(q, QStringLiteral("SELECT logger_id, serial, label FROM logger WHERE label = ?"),
                      {serialOrLabel}))
            return failure(QStringLiteral("Cannot read the store"), sql.error());
        while (q.next())
            found.emplace_back(q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString());
    }
    if (found.size() > 1) {
        QStringList serials;
        for (const auto& f : found)
            serials << std::get<1>(f);
        return {
            StoreStatus::Failed,
            QStringLiteral("The label %1 names several loggers (serial numbers %2): give the serial number")
                .arg(serialOrLabel, serials.join(QStringLiteral(", ")))};
    }
    if (found.empty())
        return {};
    const auto& [loggerId, serial, label] = found.front();
    if (!sql.exec(q,
                  QStringLiteral("SELECT recording_id, header, origin_s, interval_s, measurements, last_seq "
                                 "FROM recording WHERE logger_id = ? ORDER BY origin_s"),
                  {loggerId}))
        return failure(QStringLiteral("Cannot read the store"), sql.error());
    while (q.next()) {
        StoredRecording r;
        r.id = q.value(0).toLongLong();
        r.serial = serial;
        r.label = label;
        r.header = q.value(1).toByteArray();
        r.origin = q.value(2).toLongLong();
        r.step = q.value(3).toInt();
        r.measurements = q.value(4).toLongLong();
        r.last = r.origin + q.value(5).toLongLong() * r.step;
        out.push_back(r);
    }
    for (StoredRecording& r : out) {
        QSqlQuery in = sql.query();
        if (!sql.exec(in,
                      QStringLiteral("SELECT input, name, unit, gain, value_offset FROM recording_input "
                                     "WHERE recording_id = ? ORDER BY input"),
                      {qint64(r.id)}))
            return failure(QStringLiteral("Cannot read the store"), sql.error());
        while (in.next())
            r.inputs.push_back({in.value(0).toInt() - 1, in.value(1).toString(), in.value(2).toString(),
                                in.value(3).toDouble(), in.value(4).toDouble()});
    }
    return {};
}

StoreResult FleetStore::measurements(const StoredRecording& recording, LoggerSeconds from, LoggerSeconds to,
                                     const MeasurementRow& row)
{
    SqlRun sql(database());
    QString columns = QStringLiteral("time_s");
    for (const StoredInput& in : recording.inputs)
        columns += QStringLiteral(", ") + sampleColumn(in.input);
    QSqlQuery q = sql.query();
    if (!sql.exec(
            q,
            QStringLiteral("SELECT %1 FROM measurement WHERE recording_id = ? AND time_s BETWEEN ? AND ? "
                           "ORDER BY time_s")
                .arg(columns),
            {qint64(recording.id), qint64(from), qint64(to)}))
        return failure(QStringLiteral("Cannot read the store"), sql.error());
    std::array<int, 8> raw{};
    while (q.next()) {
        raw.fill(-1);
        for (std::size_t i = 0; i < recording.inputs.size(); ++i) {
            const QVariant v = q.value(int(i) + 1);
            raw[std::size_t(recording.inputs[i].input)] = v.isNull() ? -1 : v.toInt();
        }
        row(q.value(0).toLongLong(), raw);
    }
    return sql.error().isEmpty() ? StoreResult{}
                                 : failure(QStringLiteral("Cannot read the store"), sql.error());
}

} // namespace qz
