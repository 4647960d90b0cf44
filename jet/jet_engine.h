#pragma once
// Runs Jet SQL over an in-memory SQLite database. Tables come from a TableSource and
// are loaded on first use; the SQL goes through the parser and translator.
// An engine is used by one thread at a time.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/db/provider.h"
#include "jet/sql/sql_translator.h"
#include "jet/sqlite_handle.h"
#include "jet/table_source.h"

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
  // The same, handing each row to sink as SQLite produces it. Throws DbError.
  void selectInto(const std::string& jetSql, kv::db::RowSink& sink);
  // How SQLite would run a Jet SELECT, one step a line, as EXPLAIN QUERY PLAN gives them;
  // derived tables are kept as running the statement would keep them. Throws DbError.
  std::vector<std::string> plan(const std::string& jetSql);
  // Runs a Jet statement without rows. DELETE and TRUNCATE are refused when the
  // engine is read only (always, over an .mdb file).
  void execute(const std::string& jetSql);

  void setReadOnly(bool on) { readOnly_ = on; }

  // Stops a running statement, loading included, with an error soon after *flag turns
  // true (a signal handler may set it; null: no flag), or once the statement has run
  // for `limit` (zero: no limit). The flag must outlive the engine.
  void setInterrupt(const std::atomic<bool>* flag, std::chrono::milliseconds limit);
  // Drops every loaded table and kept derived table; later statements load their
  // tables from `source` (null: only tables created with runSqlite() exist).
  void replaceSource(std::unique_ptr<TableSource> source);
  // Drops one loaded table (and the kept derived tables) so that the next statement that
  // reads it loads it again. Nothing when it is not loaded.
  void forgetTable(const std::string& written);

  // Keeps the rows of a derived table whose SQLite text recurs in a temporary table
  // and reads them from there in later statements (a grouped one from its first use,
  // unless KV_JET_GRUPOS=0). On unless KV_JET_CACHE=0. With it, a grouped derived table
  // filtered on its keys by a number or a date groups only the rows that pass (unless
  // KV_JET_CLAVES=0; see jet/sql/key_conditions.h). A FROM list whose first table has the
  // most rows is joined in its written order (unless KV_JET_ORDEN=0; see
  // jet/sql/sql_translator.cpp).
  void setDerivedCache(bool on);
  bool derivedCache() const { return cacheOn_; }
  // The Jet SELECTs about to run: a derived table they name more than once is kept from
  // its first use (with the cache on, unless KV_JET_PREVISION=0). Replaces what was
  // foreseen before; statements that fail are left out (they fail again when they run).
  void foresee(const std::vector<std::string>& jetStatements);
  // SQLite's caches (sorts, kept derived tables) at an n-th of their size: n processes
  // share the memory one had. 1 restores them.
  void shareCaches(int n);
  // Rows the kept tables may hold together (0: three times the rows loaded).
  void setCacheRowLimit(std::int64_t rows) { cacheRowLimit_ = rows; }
  // Rows the kept tables hold together.
  std::int64_t keptRows() const { return cacheRows_; }

 private:
  static int progress(void* self);
  void startStatement();
  void throwIfStopped() const;
  std::vector<ColumnInfo> tableColumns(const std::string& stored);
  std::string resolveTable(const std::string& written);
  std::vector<std::string> describe(const std::string& sqliteSelect);
  void load(const std::string& stored);
  SqliteStmt prepare(const std::string& sql);
  [[noreturn]] void fail(int rc);
  // A Jet SELECT parsed, with the conditions on its grouped tables' keys copied inside them
  // when the cache is on. Throws DbError, also for a statement of another kind.
  Statement parseSelect(const std::string& jetSql) const;
  TranslateContext context(bool useCache);
  std::int64_t rowCount(const std::string& table);
  Translation translateKeeping(const Statement& parsed, bool useCache);
  std::string keptTable(const std::string& key, const std::function<std::string()>& build,
                        bool grouped);
  bool fillKeptTable(const std::string& table, const std::string& sqliteSelect, std::int64_t& rows);
  void exec(const std::string& sql);
  void trimCache();
  void clearCache();
  void dropKept(const std::string& table);

  struct Kept {
    std::string table;  // empty: not (yet) kept, stays inline
    int seen = 0;
    bool failed = false;
    std::int64_t rows = 0;
    std::uint64_t lastUse = 0;
    std::uint64_t lastStatement = 0;  // the statement that last named it
  };

  SqliteDb db_;
  std::unique_ptr<TableSource> source_;
  std::map<std::string, std::string> sourceTables_;  // upper-cased name -> stored name
  std::set<std::string> loaded_;
  bool readOnly_ = true;
  std::int64_t loadedRows_ = 0;
  bool cacheOn_ = true;
  bool keepGroupedAtOnce_ = true;
  bool copyKeyConditions_ = true;
  bool largestFirst_ = true;
  bool foresight_ = true;
  std::map<std::string, std::int64_t> tableRows_;  // loaded, kept or counted table -> rows
  std::map<std::string, Kept> cache_;              // SQLite text of a derived table -> its rows
  std::set<std::string> foreseen_;  // derived tables the foreseen statements name more than once
  std::int64_t cacheRows_ = 0;
  std::int64_t cacheRowLimit_ = 0;
  std::uint64_t useClock_ = 0;
  int nextKept_ = 0;
  std::uint64_t statementClock_ = 0;
  bool keptAfterInline_ = false;  // this statement kept a table it already had inline
  bool rereading_ = false;        // translating again: only tables already kept

  enum class Stop { None, Asked, TimeLimit };
  const std::atomic<bool>* stopFlag_ = nullptr;
  std::chrono::milliseconds timeLimit_{0};
  std::chrono::steady_clock::time_point deadline_;
  Stop stopped_ = Stop::None;
  bool cleaningUp_ = false;  // a rollback after a failure must run to its end
};

}  // namespace kv::jet
