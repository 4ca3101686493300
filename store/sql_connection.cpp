#include "store/sql_connection.h"

#include "store/sql_run.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace qz {

QString oneLine(const QString& text)
{
    return text.simplified();
}

bool openConnection(const StoreUrl& url, const SqlDialect& dialect, const QString& name, QString& reason)
{
    if (!QSqlDatabase::isDriverAvailable(dialect.driver)) {
        reason = QStringLiteral("the Qt SQL driver %1 is not installed (Debian package %2)")
                     .arg(dialect.driver, dialect.driverPackage);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(dialect.driver, name);
    db.setConnectOptions(dialect.connectOptions);
    if (url.kind == StoreUrl::Kind::Sqlite) {
        const QFileInfo file(url.path);
        if (file.exists() && !file.isFile()) {
            reason = QStringLiteral("not a file");
            return false;
        }
        if (!QDir().mkpath(file.absolutePath())) {
            reason = QStringLiteral("the folder %1 cannot be created").arg(file.absolutePath());
            return false;
        }
        db.setDatabaseName(url.path);
    } else {
        // Parts left empty are libpq's: its environment, ~/.pgpass and defaults.
        db.setDatabaseName(url.database);
        db.setUserName(url.user);
        db.setPassword(url.password);
        db.setHostName(url.host);
        if (url.port > 0)
            db.setPort(url.port);
    }
    if (!db.open()) {
        const QSqlError e = db.lastError();
        reason = oneLine(e.databaseText().isEmpty() ? e.text() : e.databaseText());
        if (reason.isEmpty())
            reason = QStringLiteral("unknown error");
        return false;
    }
    SqlRun sql(db);
    for (const QString& s : dialect.setUp) {
        if (!sql.exec(s)) {
            reason = sql.error();
            return false;
        }
    }
    return true;
}

} // namespace qz
