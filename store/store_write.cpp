// One collection of one logger into the store, in one transaction.
#include "model/image_reader.h"
#include "recording/scaling.h"
#include "store/fleet_store.h"
#include "store/schema.h"
#include "store/sql_run.h"
#include "store/stored_forms.h"

#include <QByteArray>
#include <QSqlError>
#include <QStringList>

#include <algorithm>

namespace qz {

namespace {

// Rows per insert statement: fewer statements to run, far below every engine's limit of
// parameters.
constexpr int kRowsPerInsert = 64;

// An input of a recording and its byte in a record.
struct RecordedInput {
    int input = 0;
    int position = 0;
};

std::vector<RecordedInput> recordedInputs(const ImageReader& header)
{
    std::vector<RecordedInput> inputs;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (header.isInputRecorded(i) && header.recordPosition(i) < header.recordWidth())
            inputs.push_back({i, header.recordPosition(i)});
    }
    return inputs;
}

class CollectionWriter {
public:
    CollectionWriter(const QSqlDatabase& db, const SqlDialect& dialect, const CollectionEntry& entry,
                     const std::function<void(std::int64_t)>& rowsWritten)
        : sql_(db), dialect_(dialect), entry_(entry), rowsWritten_(rowsWritten)
    {}

    bool write(SavedCollection& saved);
    const QString& error() const { return sql_.error(); }

private:
    std::optional<qint64> loggerOfLabel();
    std::optional<qint64> upsertLogger(const ImageReader& header);
    std::optional<qint64> recordingOf(qint64 loggerId, const ImageReader& header);
    bool insertRecording(qint64 loggerId, const ImageReader& header);
    QSqlQuery prepareInsert(const std::vector<RecordedInput>& inputs, int rows);
    // Values stored.
    std::int64_t insertMeasurements(qint64 recordingId, const ImageReader& header);
    bool advance(qint64 recordingId, std::int64_t values, const ImageReader& header, std::int64_t& missing);
    bool insertAttempt(const std::optional<qint64>& loggerId, const std::optional<qint64>& recordingId,
                       std::int64_t values, std::int64_t missing);

    SqlRun sql_;
    const SqlDialect& dialect_;
    const CollectionEntry& entry_;
    const std::function<void(std::int64_t)>& rowsWritten_;
};

std::optional<qint64> CollectionWriter::loggerOfLabel()
{
    QSqlQuery q = sql_.query();
    if (!sql_.exec(q, QStringLiteral("SELECT logger_id FROM logger WHERE label = ?"), {entry_.label}))
        return std::nullopt;
    std::optional<qint64> id;
    int n = 0;
    while (q.next()) {
        id = q.value(0).toLongLong();
        ++n;
    }
    // A label that several loggers carried names none of them.
    return n == 1 ? id : std::nullopt;
}

std::optional<qint64> CollectionWriter::upsertLogger(const ImageReader& header)
{
    QSqlQuery q = sql_.query();
    if (!sql_.exec(q,
                   QStringLiteral("INSERT INTO logger (serial, label, device_code) VALUES (?, ?, ?) "
                                  "ON CONFLICT (serial) DO UPDATE SET label = excluded.label, "
                                  "device_code = excluded.device_code"),
                   {header.serialNumber(), entry_.label, int(header.deviceCode())}))
        return std::nullopt;
    if (!sql_.exec(q, QStringLiteral("SELECT logger_id FROM logger WHERE serial = ?"),
                   {header.serialNumber()})
        || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

std::optional<qint64> CollectionWriter::recordingOf(qint64 loggerId, const ImageReader& header)
{
    QSqlQuery q = sql_.query();
    if (!sql_.exec(
            q,
            QStringLiteral("SELECT recording_id FROM recording WHERE logger_id = ? AND start_stamp = ? "
                           "AND interval_s = ? AND input_mask = ? AND input_count = ? AND origin_s = ?"),
            {loggerId, stampText(header.startStamp()), header.interval(), int(header.inputMask()),
             header.inputCount(), qint64(entry_.harvest.origin)})
        || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

bool CollectionWriter::insertRecording(qint64 loggerId, const ImageReader& header)
{
    const CollectedUpTo& at = entry_.harvest.upTo;
    QSqlQuery q = sql_.query();
    // Another collector may have stored it first: then it is that one.
    if (!sql_.exec(
            q,
            QStringLiteral("INSERT INTO recording (logger_id, start_stamp, interval_s, input_mask, "
                           "input_count, origin_s, name, header, last_seq, measurements, tail_block, "
                           "tail_stamp, tail_records, ended) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?, ?, "
                           "0, 0) ON CONFLICT DO NOTHING"),
            {loggerId, stampText(header.startStamp()), header.interval(), int(header.inputMask()),
             header.inputCount(), qint64(entry_.harvest.origin), header.recordName().trimmed(),
             QByteArray(reinterpret_cast<const char*>(entry_.header.data()), int(entry_.header.size())),
             at.tailBlock, stampText(at.tailStamp)}))
        return false;
    const std::optional<qint64> id = recordingOf(loggerId, header);
    if (!id)
        return false;
    for (const RecordedInput& in : recordedInputs(header)) {
        const Conversion c = makeConversion(header.scaleLow(in.input), header.scaleHigh(in.input),
                                            header.calLow(in.input), header.calHigh(in.input));
        if (!sql_.exec(q,
                       QStringLiteral("INSERT INTO recording_input (recording_id, input, name, unit, gain, "
                                      "value_offset) VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"),
                       {*id, in.input + 1, header.inputName(in.input).trimmed(),
                        header.inputUnit(in.input).trimmed(), double(c.gain), double(c.offset)}))
            return false;
    }
    return true;
}

QSqlQuery CollectionWriter::prepareInsert(const std::vector<RecordedInput>& inputs, int rows)
{
    QString columns = QStringLiteral("recording_id, time_s");
    QString row = QStringLiteral("(?, ?");
    for (const RecordedInput& in : inputs) {
        columns += QStringLiteral(", ") + sampleColumn(in.input);
        row += QStringLiteral(", ?");
    }
    row += QLatin1Char(')');
    QStringList values;
    for (int i = 0; i < rows; ++i)
        values << row;
    QSqlQuery q = sql_.query();
    if (!q.prepare(QStringLiteral("INSERT INTO measurement (%1) VALUES %2 ON CONFLICT DO NOTHING")
                       .arg(columns, values.join(QStringLiteral(", ")))))
        sql_.fail(q.lastError().text());
    return q;
}

std::int64_t CollectionWriter::insertMeasurements(qint64 recordingId, const ImageReader& header)
{
    struct Row {
        qint64 time;
        std::array<std::uint8_t, mem::kInputs> samples;
    };
    const std::vector<RecordedInput> inputs = recordedInputs(header);
    QSqlQuery many = prepareInsert(inputs, kRowsPerInsert);
    QSqlQuery one = prepareInsert(inputs, 1);
    std::int64_t stored = 0;
    // Rows the key already held (another collector's) are left as they are and not counted.
    const auto insert = [&](QSqlQuery& q, const Row* rows, int count) {
        if (!sql_.error().isEmpty())
            return;
        int at = 0;
        for (int r = 0; r < count; ++r) {
            q.bindValue(at++, recordingId);
            q.bindValue(at++, rows[r].time);
            for (std::size_t i = 0; i < inputs.size(); ++i)
                q.bindValue(at++, int(rows[r].samples[i]));
        }
        if (q.exec())
            stored += q.numRowsAffected();
        else
            sql_.fail(q.lastError().text());
        if (rowsWritten_)
            rowsWritten_(stored);
    };
    const int step = header.interval();
    const LoggerSeconds origin = entry_.harvest.origin;
    std::vector<Row> batch;
    batch.reserve(kRowsPerInsert);
    entry_.harvest.forEachRecord(header.recordWidth(), [&](std::int64_t seq, const std::uint8_t* record) {
        Row row{qint64(origin + seq * step), {}};
        for (std::size_t i = 0; i < inputs.size(); ++i)
            row.samples[i] = record[inputs[i].position];
        batch.push_back(row);
        if (int(batch.size()) == kRowsPerInsert) {
            insert(many, batch.data(), kRowsPerInsert);
            batch.clear();
        }
    });
    for (const Row& row : batch)
        insert(one, &row, 1);
    return stored * std::int64_t(inputs.size());
}

bool CollectionWriter::advance(qint64 recordingId, std::int64_t values, const ImageReader& header,
                               std::int64_t& missing)
{
    const Harvest& h = entry_.harvest;
    QSqlQuery q = sql_.query();
    // Another writer's progress of the recording is waited for, not overwritten.
    if (!sql_.exec(
            q, QStringLiteral("SELECT last_seq FROM recording WHERE recording_id = ?") + dialect_.forUpdate,
            {recordingId})
        || !q.next())
        return false;
    const std::int64_t stored = q.value(0).toLongLong();
    q.finish();
    const int step = header.interval();
    const std::int64_t inputs = std::int64_t(recordedInputs(header).size());
    // A gap is what neither this collection nor any before it could take: another collector
    // may have stored some of it meanwhile.
    if (h.missing > 0 && !h.blocks.empty()) {
        const std::int64_t after = std::max(stored, h.lastSeqBefore);
        const std::int64_t first = h.blocks.front().seqBase + h.blocks.front().from;
        if (first > after + 1) {
            missing = (first - after - 1) * inputs;
            if (!sql_.exec(q,
                           QStringLiteral("INSERT INTO gap (recording_id, after_s, before_s, missing) VALUES "
                                          "(?, ?, ?, ?) ON CONFLICT DO NOTHING"),
                           {recordingId, qint64(h.origin + after * step), qint64(h.origin + first * step),
                            qint64(missing)}))
                return false;
        }
    }
    const CollectedUpTo& at = h.upTo;
    if (at.lastSeq < stored)
        return sql_.exec(
            q, QStringLiteral("UPDATE recording SET measurements = measurements + ? WHERE recording_id = ?"),
            {qint64(values), recordingId});
    return sql_.exec(q,
                     QStringLiteral("UPDATE recording SET measurements = measurements + ?, last_seq = ?, "
                                    "tail_block = ?, tail_stamp = ?, tail_records = ?, ended = ? "
                                    "WHERE recording_id = ?"),
                     {qint64(values), qint64(at.lastSeq), at.tailBlock, stampText(at.tailStamp),
                      at.tailRecords, at.ended ? 1 : 0, recordingId});
}

bool CollectionWriter::insertAttempt(const std::optional<qint64>& loggerId,
                                     const std::optional<qint64>& recordingId, std::int64_t values,
                                     std::int64_t missing)
{
    const auto orNull = [](const auto& v) { return v ? QVariant(qint64(*v)) : QVariant(); };
    QVariant loggerS, drift;
    if (entry_.loggerMs) {
        loggerS = qint64(*entry_.loggerMs / 1000);
        drift = double(*entry_.loggerMs - hostMs(entry_.hostTime)) / 1000.0;
    }
    QSqlQuery q = sql_.query();
    return sql_.exec(
        q,
        QStringLiteral("INSERT INTO collection (label, logger_id, recording_id, host_s, logger_s, "
                       "drift_s, battery_v, blocks_read, new_measurements, missing, outcome) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {entry_.label, orNull(loggerId), orNull(recordingId), qint64(hostSeconds(entry_.hostTime)), loggerS,
         drift, entry_.batteryVolts ? QVariant(*entry_.batteryVolts) : QVariant(), entry_.blocksRead,
         qint64(values), qint64(missing), entry_.outcome});
}

bool CollectionWriter::write(SavedCollection& saved)
{
    std::optional<qint64> loggerId;
    std::optional<qint64> recordingId;
    if (entry_.header.size() >= mem::kHeaderSize) {
        const ImageReader header = ImageReader::header({entry_.header.data(), entry_.header.size()});
        loggerId = upsertLogger(header);
        if (!loggerId)
            return false;
        if (entry_.harvested) {
            recordingId = recordingOf(*loggerId, header);
            if (!recordingId) {
                if (!insertRecording(*loggerId, header))
                    return false;
                recordingId = recordingOf(*loggerId, header);
            }
            if (!recordingId)
                return false;
            saved.newMeasurements = insertMeasurements(*recordingId, header);
            if (!sql_.error().isEmpty()
                || !advance(*recordingId, saved.newMeasurements, header, saved.missing))
                return false;
        }
    } else {
        loggerId = loggerOfLabel();
    }
    return sql_.error().isEmpty()
        && insertAttempt(loggerId, recordingId, saved.newMeasurements, saved.missing);
}

} // namespace

SavedCollection FleetStore::save(const CollectionEntry& entry)
{
    SavedCollection saved;
    const QSqlDatabase db = database();
    SqlRun sql(db);
    if (!open_ || !sql.exec(dialect_.beginWrite)) {
        saved.result = failure(QStringLiteral("Cannot write to the store"),
                               open_ ? sql.error() : QStringLiteral("not open"));
        return saved;
    }
    CollectionWriter writer(db, dialect_, entry, rowsWritten_);
    if (!writer.write(saved) || !sql.exec(QStringLiteral("COMMIT"))) {
        const QString reason = writer.error().isEmpty() ? sql.error() : writer.error();
        SqlRun(db).exec(QStringLiteral("ROLLBACK"));
        saved = SavedCollection{};
        saved.result = failure(QStringLiteral("Cannot write to the store"), reason);
    }
    return saved;
}

} // namespace qz
