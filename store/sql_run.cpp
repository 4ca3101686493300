#include "store/sql_run.h"

#include <QSqlError>

namespace qz {

namespace {

QString reasonOf(const QSqlQuery& q)
{
    const QSqlError e = q.lastError();
    QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

} // namespace

QSqlQuery SqlRun::query() const
{
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    return q;
}

bool SqlRun::exec(const QString& sql)
{
    QSqlQuery q = query();
    if (q.exec(sql))
        return true;
    fail(reasonOf(q));
    return false;
}

bool SqlRun::exec(QSqlQuery& q, const QString& sql, std::initializer_list<QVariant> values)
{
    if (!q.prepare(sql)) {
        fail(reasonOf(q));
        return false;
    }
    return run(q, values);
}

bool SqlRun::run(QSqlQuery& q, std::initializer_list<QVariant> values)
{
    int i = 0;
    for (const QVariant& v : values)
        q.bindValue(i++, v);
    if (q.exec())
        return true;
    fail(reasonOf(q));
    return false;
}

} // namespace qz
