#include "store/store_url.h"

#include <QDir>
#include <QStandardPaths>

namespace qz {

QString StoreUrl::text() const
{
    return QStringLiteral("sqlite:") + path;
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
    static const QString kSqlite = QStringLiteral("sqlite:");
    const QString t = text.trimmed();
    if (!t.startsWith(kSqlite)) {
        const int colon = int(t.indexOf(QLatin1Char(':')));
        error = colon > 0
            ? QStringLiteral("stores of the kind '%1' are not supported (sqlite:PATH is)").arg(t.left(colon))
            : QStringLiteral("'%1' is no store URL (sqlite:PATH)").arg(t);
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
