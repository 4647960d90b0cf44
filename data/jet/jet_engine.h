#pragma once
// Runs Jet SQL over an in-memory SQLite database. Tables come from a TableSource and
// are loaded on first use; the SQL goes through the parser and translator.
// An engine is used by one thread at a time.
#include <map>
#include <memory>
#include <set>
#include <string>

#include "data/db/provider.h"
#include "data/jet/sqlite_handle.h"
#include "data/jet/table_source.h"

namespace kv::jet {

class JetEngine {
 public:
  // `source` may be null: then only tables created with runSqlite() exist.
  explicit JetEngine(std::unique_ptr<TableSource> source = nullptr);
  ~JetEngine();
  JetEngine(const JetEngine&) = delete;
  JetEngine& operator=(const JetEngine&) = delete;

  // Runs SQLite SQL as is (test fixtures). Throws DbError.
  void runSqlite(const std::string& sql);

  // Runs a row-returning Jet statement. Throws DbError ("EJetError").
  kv::db::RowSet select(const std::string& jetSql);
  // Runs a Jet statement without rows. DELETE and TRUNCATE are refused when the
  // engine is read only (always, over an .mdb file).
  void execute(const std::string& jetSql);

  // The SQLite text a Jet statement becomes (loads the tables it reads).
  std::string translateOnly(const std::string& jetSql);

  void setReadOnly(bool on) { readOnly_ = on; }

 private:
  std::string resolveTable(const std::string& written);
  std::vector<std::string> describe(const std::string& sqliteSelect);
  void load(const std::string& stored);
  SqliteStmt prepare(const std::string& sql);
  [[noreturn]] void fail(int rc);

  SqliteDb db_;
  std::unique_ptr<TableSource> source_;
  std::map<std::string, std::string> sourceTables_;  // upper-cased name -> stored name
  std::set<std::string> loaded_;
  bool readOnly_ = true;
};

}  // namespace kv::jet
