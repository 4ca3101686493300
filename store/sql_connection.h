#pragma once
// A named Qt SQL connection to a store, made as the store's engine wants it.
#include "store/sql_dialect.h"
#include "store/store_url.h"

#include <QSqlDatabase>
#include <QString>

namespace qz {

// Opens the connection `name` (on the calling thread, which alone may use it) and runs the
// dialect's set-up. False with the reason (the driver's or the server's words, one line)
// when it does not open; the connection is then still registered under name.
bool openConnection(const StoreUrl& url, const SqlDialect& dialect, const QString& name, QString& reason);

// The database's reason for a failure, on one line.
QString oneLine(const QString& text);

} // namespace qz
