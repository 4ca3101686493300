#pragma once
// What differs between the database engines a store may live in: column types, the form of
// a time in the views, how a connection is set up, how a writing transaction begins and how
// collectors on other machines keep out of each other's way. Everything else is one
// portable SQL for every engine.
#include "store/store_url.h"

#include <QString>
#include <QStringList>

namespace qz {

struct SqlDialect {
    QString driver; // the Qt SQL driver
    QString driverPackage; // the Debian package that brings it
    QString connectOptions; // given to the driver before opening
    QStringList setUp; // statements run on every new connection
    QString idColumn; // a table's own row number: "INTEGER PRIMARY KEY", ...
    QString blob; // the type of a byte string
    QString compactTable; // appended to a table whose key is its whole identity
    QString beginWrite; // begins a transaction that writes
    // Run first in the transaction of a schema step, so that two programs opening a new
    // store take the steps one after the other; empty where beginWrite already does.
    QString migrationLock;
    // Appended to a SELECT whose row the transaction then changes: a concurrent writer waits.
    QString forUpdate;
    // An expression giving the time of a count of seconds since 1970 as the views show it:
    // text YYYY-MM-DDThh:mm:ss, or the engine's own timestamp type where it has one.
    QString (*viewTime)(const QString& seconds) = nullptr;
    // A logger claimed by one collector for as long as its connection holds it: the statement
    // answers one row whose first value is true when the claim was granted; empty where
    // the engine has no such lock (a store of one machine, whose ports are its own).
    QString claim; // takes the claim's number
    QString release; // gives it back
};

SqlDialect sqliteDialect();
SqlDialect postgresDialect();
SqlDialect dialectOf(StoreUrl::Kind kind);

} // namespace qz
