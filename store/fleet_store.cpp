// Opening a store, its schema, and how far it has each recording.
#include "store/fleet_store.h"

#include "store/schema.h"
#include "store/sql_connection.h"
#include "store/sql_run.h"
#include "store/stored_forms.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace qz {

std::optional<CollectedUpTo> ProgressBook::lookUp(const RecordingKey& key) const
{
    std::optional<CollectedUpTo> newest;
    const auto [from, to] = byKey_.equal_range(key.serial);
    for (auto it = from; it != to; ++it) {
        if (it->second.first == key && (!newest || it->second.second.origin > newest->origin))
            newest = it->second.second;
    }
    return newest;
}

void ProgressBook::add(const RecordingKey& key, const CollectedUpTo& upTo)
{
    byKey_.emplace(key.serial, std::make_pair(key, upTo));
}

FleetStore::FleetStore() : connection_(QStringLiteral("quorzk-store-%1").arg(quintptr(this), 0, 16))
{}

FleetStore::~FleetStore()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

StoreResult FleetStore::failure(const QString& what, const QString& reason) const
{
    return {StoreStatus::Failed, QStringLiteral("%1 %2: %3").arg(what, url_.text(), reason)};
}

QSqlDatabase FleetStore::database() const
{
    return QSqlDatabase::database(connection_, false);
}

StoreResult FleetStore::open(const StoreUrl& url)
{
    url_ = url;
    dialect_ = dialectOf(url.kind);
    QString reason;
    if (!openConnection(url, dialect_, connection_, reason))
        return {StoreStatus::CannotOpen,
                QStringLiteral("Cannot open the store %1: %2").arg(url_.text(), reason)};
    open_ = true;
    return migrate();
}

StoreResult FleetStore::migrate()
{
    const QSqlDatabase db = database();
    const std::vector<QStringList> steps = schemaMigrations(dialect_);
    const int known = int(steps.size());
    for (;;) {
        // Each step in a transaction of its own, the version read inside it: two programs
        // opening a new store at once take the steps one after the other.
        SqlRun sql(db);
        if (!sql.exec(dialect_.beginWrite)
            || (!dialect_.migrationLock.isEmpty() && !sql.exec(dialect_.migrationLock))
            || !sql.exec(
                QStringLiteral("CREATE TABLE IF NOT EXISTS store_version (version INTEGER NOT NULL)"))) {
            SqlRun(db).exec(QStringLiteral("ROLLBACK"));
            return {StoreStatus::CannotOpen,
                    QStringLiteral("Cannot open the store %1: %2").arg(url_.text(), sql.error())};
        }
        int version = 0;
        {
            QSqlQuery q = sql.query();
            if (sql.exec(q, QStringLiteral("SELECT MAX(version) FROM store_version"), {}) && q.next())
                version = q.value(0).toInt();
        }
        if (version < known) {
            for (const QString& s : steps[std::size_t(version)])
                sql.exec(s);
            sql.exec(QStringLiteral("DELETE FROM store_version"));
            QSqlQuery set = sql.query();
            sql.exec(set, QStringLiteral("INSERT INTO store_version (version) VALUES (?)"), {version + 1});
        }
        if (!sql.error().isEmpty() || version > known) {
            SqlRun(db).exec(QStringLiteral("ROLLBACK"));
            if (!sql.error().isEmpty())
                return failure(QStringLiteral("Cannot update the store"), sql.error());
            return {StoreStatus::NewerSchema,
                    QStringLiteral("The store %1 was written by a newer quorzk (schema version %2; this one "
                                   "knows %3)")
                        .arg(url_.text())
                        .arg(version)
                        .arg(known)};
        }
        if (!sql.exec(QStringLiteral("COMMIT"))) {
            SqlRun(db).exec(QStringLiteral("ROLLBACK"));
            return failure(QStringLiteral("Cannot update the store"), sql.error());
        }
        if (version >= known)
            return {};
    }
}

StoreResult FleetStore::loadProgress(ProgressBook& out, const QString& serial)
{
    out = ProgressBook{};
    SqlRun sql(database());
    QSqlQuery q = sql.query();
    const QString select =
        QStringLiteral("SELECT l.serial, r.start_stamp, r.interval_s, r.input_mask, r.input_count, "
                       "r.origin_s, r.last_seq, r.tail_block, r.tail_stamp, r.tail_records, r.ended "
                       "FROM recording r JOIN logger l ON l.logger_id = r.logger_id");
    if (!(serial.isEmpty() ? sql.exec(q, select, {})
                           : sql.exec(q, select + QStringLiteral(" WHERE l.serial = ?"), {serial})))
        return failure(QStringLiteral("Cannot read the store"), sql.error());
    while (q.next()) {
        RecordingKey key;
        key.serial = q.value(0).toString();
        const auto start = stampFromText(q.value(1).toString());
        const auto tail = stampFromText(q.value(8).toString());
        if (!start || !tail)
            continue;
        key.startStamp = *start;
        key.interval = q.value(2).toInt();
        key.inputMask = q.value(3).toInt();
        key.inputCount = q.value(4).toInt();
        CollectedUpTo upTo;
        upTo.origin = q.value(5).toLongLong();
        upTo.lastSeq = q.value(6).toLongLong();
        upTo.tailBlock = q.value(7).toInt();
        upTo.tailStamp = *tail;
        upTo.tailRecords = q.value(9).toInt();
        upTo.ended = q.value(10).toInt() != 0;
        out.add(key, upTo);
    }
    return {};
}

namespace {

// The claim's number of a serial number: the same in every collector (FNV-1a); two serial
// numbers that share one only take turns.
int claimNumber(const QString& serial)
{
    std::uint32_t h = 2166136261u;
    for (const char c : serial.toUtf8()) {
        h ^= std::uint8_t(c);
        h *= 16777619u;
    }
    return int(std::int32_t(h));
}

} // namespace

ClaimStatus FleetStore::claim(const QString& serial, QString* error)
{
    if (dialect_.claim.isEmpty())
        return ClaimStatus::Granted;
    SqlRun sql(database());
    QSqlQuery q = sql.query();
    if (!open_ || !sql.exec(q, dialect_.claim, {claimNumber(serial)}) || !q.next()) {
        if (error)
            *error = failure(QStringLiteral("Cannot claim the logger %1 in the store").arg(serial),
                             open_ ? sql.error() : QStringLiteral("not open"))
                         .message;
        return ClaimStatus::Failed;
    }
    return q.value(0).toBool() ? ClaimStatus::Granted : ClaimStatus::Taken;
}

void FleetStore::release(const QString& serial)
{
    if (dialect_.release.isEmpty() || !open_)
        return;
    SqlRun sql(database());
    QSqlQuery q = sql.query();
    sql.exec(q, dialect_.release, {claimNumber(serial)});
}

} // namespace qz
