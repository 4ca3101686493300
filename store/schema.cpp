#include "store/schema.h"

namespace qz {

QString sampleColumn(int input)
{
    return QStringLiteral("s%1").arg(input + 1);
}

std::vector<QStringList> schemaMigrations(const SqlDialect& d)
{
    QString samples, sampleOfInput;
    for (int i = 0; i < kSampleColumns; ++i) {
        samples += QStringLiteral(", %1 SMALLINT").arg(sampleColumn(i));
        sampleOfInput += QStringLiteral(" WHEN %1 THEN m.%2").arg(i + 1).arg(sampleColumn(i));
    }
    const QStringList version1 = {
        QStringLiteral("CREATE TABLE logger ("
                       "logger_id %1, "
                       "serial TEXT NOT NULL UNIQUE, "
                       "label TEXT NOT NULL, "
                       "device_code INTEGER NOT NULL)")
            .arg(d.idColumn),
        QStringLiteral("CREATE TABLE recording ("
                       "recording_id %1, "
                       "logger_id INTEGER NOT NULL REFERENCES logger (logger_id), "
                       "start_stamp TEXT NOT NULL, "
                       "interval_s INTEGER NOT NULL, "
                       "input_mask INTEGER NOT NULL, "
                       "input_count INTEGER NOT NULL, "
                       "origin_s BIGINT NOT NULL, "
                       "name TEXT NOT NULL, "
                       "header %2 NOT NULL, "
                       "last_seq BIGINT NOT NULL, "
                       "measurements BIGINT NOT NULL, "
                       "tail_block INTEGER NOT NULL, "
                       "tail_stamp TEXT NOT NULL, "
                       "tail_records INTEGER NOT NULL, "
                       "ended INTEGER NOT NULL, "
                       "UNIQUE (logger_id, start_stamp, interval_s, input_mask, input_count, origin_s))")
            .arg(d.idColumn, d.blob),
        QStringLiteral("CREATE TABLE recording_input ("
                       "recording_id INTEGER NOT NULL REFERENCES recording (recording_id), "
                       "input INTEGER NOT NULL, "
                       "name TEXT NOT NULL, "
                       "unit TEXT NOT NULL, "
                       "gain DOUBLE PRECISION NOT NULL, "
                       "value_offset DOUBLE PRECISION NOT NULL, "
                       "PRIMARY KEY (recording_id, input))"),
        QStringLiteral("CREATE TABLE measurement ("
                       "recording_id INTEGER NOT NULL REFERENCES recording (recording_id), "
                       "time_s BIGINT NOT NULL%1, "
                       "PRIMARY KEY (recording_id, time_s))%2")
            .arg(samples, d.compactTable),
        QStringLiteral("CREATE TABLE gap ("
                       "recording_id INTEGER NOT NULL REFERENCES recording (recording_id), "
                       "after_s BIGINT NOT NULL, "
                       "before_s BIGINT NOT NULL, "
                       "missing BIGINT NOT NULL, "
                       "PRIMARY KEY (recording_id, after_s))%1")
            .arg(d.compactTable),
        QStringLiteral("CREATE TABLE collection ("
                       "collection_id %1, "
                       "label TEXT NOT NULL, "
                       "logger_id INTEGER REFERENCES logger (logger_id), "
                       "recording_id INTEGER REFERENCES recording (recording_id), "
                       "host_s BIGINT NOT NULL, "
                       "logger_s BIGINT, "
                       "drift_s DOUBLE PRECISION, "
                       "battery_v DOUBLE PRECISION, "
                       "blocks_read INTEGER NOT NULL, "
                       "new_measurements BIGINT NOT NULL, "
                       "missing BIGINT NOT NULL, "
                       "outcome TEXT NOT NULL)")
            .arg(d.idColumn),
        QStringLiteral("CREATE INDEX collection_by_logger ON collection (logger_id, collection_id)"),
        QStringLiteral("CREATE INDEX recording_by_logger ON recording (logger_id, origin_s)"),
        QStringLiteral("CREATE VIEW measurement_v AS SELECT "
                       "l.serial AS logger_serial, l.label AS logger_label, m.recording_id, i.input, "
                       "i.name AS input_name, i.unit, %1 AS time, "
                       "(CASE i.input%2 END) * i.gain + i.value_offset AS value "
                       "FROM measurement m "
                       "JOIN recording r ON r.recording_id = m.recording_id "
                       "JOIN logger l ON l.logger_id = r.logger_id "
                       "JOIN recording_input i ON i.recording_id = m.recording_id")
            .arg(d.viewTime(QStringLiteral("m.time_s")), sampleOfInput),
        QStringLiteral("CREATE VIEW collection_v AS SELECT "
                       "l.serial AS logger_serial, c.label AS logger_label, %1 AS host_time, "
                       "%2 AS logger_time, c.drift_s, c.battery_v, c.blocks_read, c.new_measurements, "
                       "c.outcome "
                       "FROM collection c LEFT JOIN logger l ON l.logger_id = c.logger_id")
            .arg(d.viewTime(QStringLiteral("c.host_s")), d.viewTime(QStringLiteral("c.logger_s"))),
    };
    return {version1};
}

} // namespace qz
