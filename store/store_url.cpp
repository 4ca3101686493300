#include "store/store_url.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace qz {

namespace {

const QString kSqlite = QStringLiteral("sqlite:");
const QStringList kPostgres = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};

std::optional<StoreUrl> parsePostgres(const QString& t, QString& error)
{
    const QUrl url(t, QUrl::StrictMode);
    if (!url.isValid()) {
        error = QStringLiteral("'%1' is no PostgreSQL URL (postgresql://USER@HOST:PORT/DB)")
                    .arg(withoutPassword(t));
        return std::nullopt;
    }
    if (url.hasQuery() || url.hasFragment()) {
        error = QStringLiteral("the store URL %1 has parts after the database name "
                               "(postgresql://USER@HOST:PORT/DB)")
                    .arg(withoutPassword(t));
        return std::nullopt;
    }
    StoreUrl s;
    s.kind = StoreUrl::Kind::Postgres;
    s.user = url.userName(QUrl::FullyDecoded);
    s.password = url.password(QUrl::FullyDecoded);
    s.host = url.host(QUrl::FullyDecoded);
    s.port = std::max(0, url.port());
    QString db = url.path(QUrl::FullyDecoded);
    if (db.startsWith(QLatin1Char('/')))
        db.remove(0, 1);
    if (db.contains(QLatin1Char('/'))) {
        error = QStringLiteral("the store URL %1 names no single database (postgresql://USER@HOST:PORT/DB)")
                    .arg(withoutPassword(t));
        return std::nullopt;
    }
    s.database = db;
    return s;
}

} // namespace

QString withoutPassword(const QString& text)
{
    // The password is between "//USER:" and the last "@" before the database's "/".
    static const QRegularExpression password(QStringLiteral("^(\\s*postgres(?:ql)?://[^/@:]*):[^/]*@"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    return out.replace(password, QStringLiteral("\\1@"));
}

QString StoreUrl::text() const
{
    if (kind == Kind::Sqlite)
        return kSqlite + path;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    url.setHost(host);
    if (port > 0)
        url.setPort(port);
    url.setPath(QLatin1Char('/') + database);
    QString t = url.toString();
    // QUrl leaves out an empty authority: "postgresql:/db" would not read back.
    if (host.isEmpty() && user.isEmpty() && port <= 0)
        t = QStringLiteral("postgresql://") + t.mid(int(QStringLiteral("postgresql:").size()));
    return t;
}

StoreUrl StoreUrl::defaultUrl()
{
    StoreUrl url;
    url.path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/quorzk/fleet.sqlite");
    return url;
}

std::optional<StoreUrl> StoreUrl::parse(const QString& text, const QString& folder, QString& error)
{
    const QString t = text.trimmed();
    for (const QString& scheme : kPostgres)
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            return parsePostgres(t, error);
    if (!t.startsWith(kSqlite)) {
        const int colon = int(t.indexOf(QLatin1Char(':')));
        error = colon > 0
            ? QStringLiteral("stores of the kind '%1' are not supported (sqlite:PATH and "
                             "postgresql://USER@HOST:PORT/DB are)")
                  .arg(t.left(colon))
            : QStringLiteral("'%1' is no store URL (sqlite:PATH or postgresql://USER@HOST:PORT/DB)").arg(t);
        return std::nullopt;
    }
    QString path = t.mid(kSqlite.size());
    if (path.isEmpty()) {
        error = QStringLiteral("the store URL names no file (sqlite:PATH)");
        return std::nullopt;
    }
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    StoreUrl url;
    url.path = QDir::cleanPath(QDir(folder.isEmpty() ? QDir::currentPath() : folder).absoluteFilePath(path));
    return url;
}

} // namespace qz
