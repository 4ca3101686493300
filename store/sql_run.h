#pragma once
// Running statements on a store's connection, each failure kept with the database's reason.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <optional>

namespace qz {

class SqlRun {
public:
    explicit SqlRun(const QSqlDatabase& db) : db_(db) {}

    // A statement without parameters; false (with the reason) when it fails.
    bool exec(const QString& sql);
    // A prepared statement with its parameters in order; the query stays for reading.
    bool exec(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values);
    // Runs a query that was prepared before, after binding values in order.
    bool run(QSqlQuery& query, std::initializer_list<QVariant> values);
    QSqlQuery query() const;

    const QString& error() const { return error_; }
    // The first failure of a sequence is the one worth telling.
    void fail(const QString& reason)
    {
        if (error_.isEmpty())
            error_ = reason;
    }

private:
    QSqlDatabase db_;
    QString error_;
};

// A value read from a query: NULL as nullopt.
template <typename T> std::optional<T> nullable(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    return v.value<T>();
}

} // namespace qz
