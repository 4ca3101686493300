#pragma once
// What differs between the database engines a store may live in: column types, the form of
// a time in the views, how a connection is set up and how a writing transaction begins.
// Everything else is one portable SQL for every engine.
#include <QString>
#include <QStringList>

namespace qz {

struct SqlDialect {
    QString driver; // the Qt SQL driver
    QString connectOptions; // given to the driver before opening
    QStringList setUp; // statements run on every new connection
    QString idColumn; // a table's own row number: "INTEGER PRIMARY KEY", ...
    QString blob; // the type of a byte string
    QString compactTable; // appended to a table whose key is its whole identity
    QString beginWrite; // begins a transaction that writes
    // An expression giving the text YYYY-MM-DDThh:mm:ss of a count of seconds since 1970.
    QString (*isoTime)(const QString& seconds) = nullptr;
};

SqlDialect sqliteDialect();

} // namespace qz
