#include "store/sql_dialect.h"

namespace qz {

namespace {

QString sqliteIsoTime(const QString& seconds)
{
    return QStringLiteral("strftime('%Y-%m-%dT%H:%M:%S', %1, 'unixepoch')").arg(seconds);
}

} // namespace

SqlDialect sqliteDialect()
{
    SqlDialect d;
    d.driver = QStringLiteral("QSQLITE");
    // A second writer waits for the first's transaction (each lasts milliseconds) instead
    // of failing at once.
    d.connectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=60000");
    // The write-ahead log lets readers (an export, a plot) go on while a collector writes; a
    // commit in it survives a killed process without a sync on every transaction.
    d.setUp = {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=NORMAL"),
               QStringLiteral("PRAGMA foreign_keys=ON")};
    d.idColumn = QStringLiteral("INTEGER PRIMARY KEY");
    d.blob = QStringLiteral("BLOB");
    d.compactTable = QStringLiteral(" WITHOUT ROWID");
    // Taken at once, so that a transaction never fails half-way for want of the write lock.
    d.beginWrite = QStringLiteral("BEGIN IMMEDIATE");
    d.isoTime = &sqliteIsoTime;
    return d;
}

} // namespace qz
