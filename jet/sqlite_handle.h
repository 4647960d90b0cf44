#pragma once
// RAII owners of SQLite handles.
#include <sqlite3.h>

#include <memory>

namespace kv::jet {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
  void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStmt = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

}  // namespace kv::jet
