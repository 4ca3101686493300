#pragma once
// The store's tables and views, as migrations: step n takes a store from version n - 1 to
// version n. The version is kept in the table store_version; a store opened by this program
// is brought to kSchemaVersion first, one transaction per step, so a store is always at
// one version or the next. The tables are described in docs/store.md.
#include "store/sql_dialect.h"

#include <QStringList>

#include <vector>

namespace qz {

inline constexpr int kSchemaVersion = 1;

// The statements of each step, version 1 first.
std::vector<QStringList> schemaMigrations(const SqlDialect& dialect);

// The view expressions of an input's raw sample: s1 .. s8 are inputs 1 .. 8.
inline constexpr int kSampleColumns = 8;
QString sampleColumn(int input); // input 0..7 -> "s1" .. "s8"

} // namespace qz
