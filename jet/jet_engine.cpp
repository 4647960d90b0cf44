#include "jet/jet_engine.h"

#include <algorithm>
#include <cstring>

#include "data/db/error.h"
#include "diag/aceleraciones.h"
#include "jet/sql/jet_text.h"
#include "jet/sql/key_conditions.h"
#include "jet/sql/sql_parser.h"
#include "jet/sql/sql_translator.h"
#include "jet/sql/sqlite_functions.h"
#include "jet/textos.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

// Declared type of date columns: REAL affinity, recognisable in results.
constexpr const char* kDateType = "DATEREAL";
// The table foresight says a counted derived table is read from; what it translates with
// it is never run.
constexpr const char* kCounted = "jet_counted";

const char* declaredType(ColumnKind k) {
  switch (k) {
    case ColumnKind::Integer:
      return "INTEGER";
    case ColumnKind::Real:
      return "REAL";
    case ColumnKind::Date:
      return kDateType;
    case ColumnKind::Text:
      return "TEXT COLLATE JET";
    case ColumnKind::Blob:
      return "BLOB";
  }
  return "BLOB";
}

// Fills a new SQLite table from a TableSource. The rows go in batches, each through one
// INSERT of many rows: a statement's start and end cost as much as a row of a dozen
// fields, and loading the operations is most of the time it takes to open a database.
class SqliteTableWriter : public TableWriter {
 public:
  SqliteTableWriter(sqlite3* db, std::string table) : db_(db), table_(std::move(table)) {}

  void begin(const std::vector<ColumnInfo>& columns) override {
    if (columns.empty())
      throw DbError(textos_jet::kClass, textos_jet::readerError(textos_jet::text::kTablaSinCampos));
    std::string create = "CREATE TABLE " + quoteName(table_) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i)
      create += (i ? ", " : "") + quoteName(columns[i].name) + " " + declaredType(columns[i].kind);
    exec(create + ")");
    columns_ = static_cast<int>(columns.size());
    rowsPerInsert_ = std::max(1, std::min(kRowsPerInsert, kMaxParameters / columns_));
    insert_ = prepareInsert(rowsPerInsert_);
    fields_.assign(static_cast<std::size_t>(rowsPerInsert_ * columns_), Field{});
  }
  void null(int col) override { field(col).kind = Field::Null; }
  void integer(int col, std::int64_t v) override {
    Field& f = field(col);
    f.kind = Field::Integer;
    f.integer = v;
  }
  void real(int col, double v) override {
    Field& f = field(col);
    f.kind = Field::Real;
    f.real = v;
  }
  void text(int col, std::string_view v) override {
    Field& f = field(col);
    f.kind = Field::Text;
    f.bytes.assign(v);
  }
  void blob(int col, std::string_view v) override {
    Field& f = field(col);
    f.kind = Field::Blob;
    f.bytes.assign(v);
  }
  void endRow() override {
    if (!insert_)
      throw DbError(textos_jet::kClass,
                    textos_jet::readerError(textos_jet::text::kFilaAntesDeLosCampos));
    ++rows_;
    if (++pending_ == rowsPerInsert_) flush(insert_.get());
    // A field the next row does not give is null.
    for (int c = 0; c < columns_; ++c)
      fields_[static_cast<std::size_t>(pending_ * columns_ + c)].kind = Field::Null;
  }
  // Inserts the rows of the last, shorter batch.
  void finish() {
    if (pending_ == 0) return;
    SqliteStmt last = prepareInsert(pending_);
    flush(last.get());
  }
  std::int64_t rows() const { return rows_; }

 private:
  // Rows per INSERT, and SQLite's limit on the parameters of a statement.
  static constexpr int kRowsPerInsert = 64;
  static constexpr int kMaxParameters = 32766;

  struct Field {
    enum Kind { Null, Integer, Real, Text, Blob } kind = Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes;
  };

  SqliteStmt prepareInsert(int rows) {
    std::string row = "(";
    for (int c = 0; c < columns_; ++c) row += c ? ", ?" : "?";
    row += ")";
    std::string insert = "INSERT INTO " + quoteName(table_) + " VALUES ";
    for (int r = 0; r < rows; ++r) insert += (r ? ", " : "") + row;
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db_, insert.c_str(), -1, &st, nullptr));
    return SqliteStmt(st);
  }
  Field& field(int col) {
    if (!insert_ || col < 0 || col >= columns_)
      throw DbError(textos_jet::kClass,
                    textos_jet::readerError(textos_jet::text::kCampoFueraDeRango));
    return fields_[static_cast<std::size_t>(pending_ * columns_ + col)];
  }
  // Binds the pending rows' fields (texts stay in place until the statement is reset)
  // and inserts them.
  void flush(sqlite3_stmt* st) {
    const int n = pending_ * columns_;
    for (int i = 0; i < n; ++i) {
      const Field& f = fields_[static_cast<std::size_t>(i)];
      switch (f.kind) {
        case Field::Null:
          check(sqlite3_bind_null(st, i + 1));
          break;
        case Field::Integer:
          check(sqlite3_bind_int64(st, i + 1, f.integer));
          break;
        case Field::Real:
          check(sqlite3_bind_double(st, i + 1, f.real));
          break;
        case Field::Text:
          check(sqlite3_bind_text64(st, i + 1, f.bytes.data(), f.bytes.size(), SQLITE_STATIC,
                                    SQLITE_UTF8));
          break;
        case Field::Blob:
          check(sqlite3_bind_blob64(st, i + 1, f.bytes.data(), f.bytes.size(), SQLITE_STATIC));
          break;
      }
    }
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) check(rc);
    check(sqlite3_reset(st));
    pending_ = 0;
  }
  void check(int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
      throw DbError(textos_jet::kClass, textos_jet::sqliteFailure(sqlite3_errmsg(db_)));
  }
  void exec(const std::string& sql) {
    check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr));
  }

  sqlite3* db_;
  std::string table_;
  SqliteStmt insert_;
  int columns_ = 0;
  int rowsPerInsert_ = 1;
  int pending_ = 0;
  std::vector<Field> fields_;
  std::int64_t rows_ = 0;
};

kv::db::Value cellValue(sqlite3_stmt* st, int i, bool date) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER: {
      const std::int64_t v = sqlite3_column_int64(st, i);
      if (date) return kv::db::DateTime{static_cast<double>(v)};
      return v;
    }
    case SQLITE_FLOAT: {
      const double v = sqlite3_column_double(st, i);
      if (date) return kv::db::DateTime{v};
      return v;
    }
    default: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      const int n = sqlite3_column_bytes(st, i);
      return std::string(p ? p : "", static_cast<std::size_t>(n));
    }
  }
}

ColumnKind kindOfDeclared(std::string decl) {
  decl = toUpper(decl);
  if (decl == kDateType) return ColumnKind::Date;
  if (decl.find("INT") != std::string::npos) return ColumnKind::Integer;
  for (const char* t : {"CHAR", "CLOB", "TEXT"})
    if (decl.find(t) != std::string::npos) return ColumnKind::Text;
  for (const char* t : {"REAL", "FLOA", "DOUB"})
    if (decl.find(t) != std::string::npos) return ColumnKind::Real;
  return ColumnKind::Blob;
}

// SQLite's words for a statement deeper or longer than it takes.
bool tooDeep(const std::string& m) {
  for (const char* p : {"parser stack overflow", "Expression tree is too large",
                        "too many arguments on function", "too many terms in compound SELECT"})
    if (m.rfind(p, 0) == 0) return true;
  return false;
}

// The column of SQLite's "no such column: …". A lone double-quoted name comes as
// "\"NAME\" - should this be a string literal in single-quotes?".
std::string missingColumn(const std::string& rest) {
  static const std::string hint = "\" - should this be a string literal in single-quotes?";
  if (rest.size() > hint.size() + 1 && rest.front() == '"' &&
      rest.compare(rest.size() - hint.size(), hint.size(), hint) == 0)
    return rest.substr(1, rest.size() - hint.size() - 1);
  return rest;
}

// KiB of each page cache, the main store's (sorts spill past it) and the temporary
// store's (kept derived tables spill past it).
constexpr int kCacheKiB = 16384;

// VM instructions between two looks at the interrupt flag and the clock.
constexpr int kProgressSteps = 4096;

}  // namespace

JetEngine::JetEngine(std::unique_ptr<TableSource> source) : source_(std::move(source)) {
  // SQLite's allocation statistics take a process-wide mutex on every allocation; nothing
  // reads them. (Refused, harmlessly, once SQLite has started.)
  static const bool noStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)noStatistics;
  sqlite3* db = nullptr;
  // One private connection, used by one thread at a time: SQLite's mutexes are not needed.
  const int rc = sqlite3_open_v2(
      ":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  db_.reset(db);
  if (rc != SQLITE_OK)
    throw DbError(textos_jet::kClass,
                  textos_jet::sqliteFailure(db ? sqlite3_errmsg(db) : "sqlite3_open"));
  // A double-quoted unknown name must fail, not turn into a text.
  sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  installJetFunctions(db_.get());
  // Kept derived tables and SQLite's transient sorts and subquery results live in the
  // temporary store: past its page cache (and a sort past the main cache) it spills to
  // unlinked temporary files, so a large database does not multiply the process's memory
  // (16 MB each: the whole questionnaire over a million operations stays within 1.5 times
  // the file).
  shareCaches(1);
  cacheOn_ = !AceleracionApagada("KV_JET_CACHE");
  keepGroupedAtOnce_ = !AceleracionApagada("KV_JET_GRUPOS");
  copyKeyConditions_ = !AceleracionApagada("KV_JET_CLAVES");
  largestFirst_ = !AceleracionApagada("KV_JET_ORDEN");
  foresight_ = !AceleracionApagada("KV_JET_PREVISION");
  if (source_)
    for (const auto& n : source_->tableNames()) sourceTables_.emplace(toUpper(n), n);
}

JetEngine::~JetEngine() = default;

void JetEngine::shareCaches(int n) {
  const std::string kib = std::to_string(kCacheKiB / std::max(1, n));
  exec("PRAGMA main.cache_size = -" + kib);
  exec("PRAGMA temp.cache_size = -" + kib);
}

void JetEngine::setInterrupt(const std::atomic<bool>* flag, std::chrono::milliseconds limit) {
  stopFlag_ = flag;
  timeLimit_ = limit;
  const bool on = flag || limit.count() > 0;
  sqlite3_progress_handler(db_.get(), on ? kProgressSteps : 0, on ? &JetEngine::progress : nullptr,
                           this);
}

int JetEngine::progress(void* self) {
  auto* e = static_cast<JetEngine*>(self);
  if (e->cleaningUp_) return 0;
  if (e->stopFlag_ && e->stopFlag_->load(std::memory_order_relaxed)) e->stopped_ = Stop::Asked;
  if (e->timeLimit_.count() > 0 && std::chrono::steady_clock::now() > e->deadline_)
    e->stopped_ = Stop::TimeLimit;
  return e->stopped_ == Stop::None ? 0 : 1;
}

void JetEngine::startStatement() {
  stopped_ = Stop::None;
  deadline_ = std::chrono::steady_clock::now() + timeLimit_;
}

// After an interrupted step, whatever error it surfaced as is the interruption.
void JetEngine::throwIfStopped() const {
  if (stopped_ == Stop::Asked) throw DbError(textos_jet::kClass, textos_jet::kInterrupted);
  if (stopped_ == Stop::TimeLimit) throw DbError(textos_jet::kClass, textos_jet::kTimeLimit);
}

void JetEngine::fail(int rc) {
  throwIfStopped();
  std::string m = sqlite3_errmsg(db_.get());
  (void)rc;
  if (tooDeep(m)) throw DbError(textos_jet::kClass, textos_jet::kTooLong);
  static const std::string noCol = "no such column: ";
  if (m.rfind(noCol, 0) == 0)
    throw DbError(textos_jet::kClass,
                  textos_jet::unknownColumn(missingColumn(m.substr(noCol.size()))));
  // Texts raised by the jet_* functions are already the engine's own.
  for (const char* own : {textos_jet::kDivByZero, textos_jet::kTypeMismatch, textos_jet::kOverflow,
                          textos_jet::kBadArgument, textos_jet::kBadPattern})
    if (m == own) throw DbError(textos_jet::kClass, m);
  throw DbError(textos_jet::kClass, textos_jet::sqliteFailure(m));
}

void JetEngine::runSqlite(const std::string& sql) {
  // The tables may change: kept rows would be stale, and so would counted ones.
  clearCache();
  tableRows_.clear();
  exec(sql);
}

void JetEngine::exec(const std::string& sql) {
  char* err = nullptr;
  const int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &err);
  if (rc != SQLITE_OK) {
    std::string m = err ? err : "?";
    sqlite3_free(err);
    throw DbError(textos_jet::kClass, textos_jet::sqliteFailure(m));
  }
}

SqliteStmt JetEngine::prepare(const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  const int rc =
      sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
  SqliteStmt owned(st);
  if (rc != SQLITE_OK) fail(rc);
  return owned;
}

void JetEngine::load(const std::string& stored) {
  exec("SAVEPOINT jet_load");
  try {
    SqliteTableWriter writer(db_.get(), stored);
    source_->loadTable(stored, writer);
    writer.finish();
    loadedRows_ += writer.rows();
    tableRows_[stored] = writer.rows();
  } catch (...) {
    cleaningUp_ = true;
    sqlite3_exec(db_.get(), "ROLLBACK TO jet_load; RELEASE jet_load", nullptr, nullptr, nullptr);
    cleaningUp_ = false;
    throw;
  }
  exec("RELEASE jet_load");
  loaded_.insert(stored);
}

std::string JetEngine::resolveTable(const std::string& written) {
  const std::string key = toUpper(written);
  auto it = sourceTables_.find(key);
  if (it != sourceTables_.end()) {
    if (!loaded_.count(it->second)) load(it->second);
    return it->second;
  }
  // Tables created directly in SQLite (fixtures).
  SqliteStmt st = prepare("SELECT name FROM sqlite_schema WHERE type = 'table'");
  while (sqlite3_step(st.get()) == SQLITE_ROW) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    if (p && sameName(p, written)) return p;
  }
  throw DbError(textos_jet::kClass, textos_jet::unknownTable(written));
}

// The columns of a stored table as its SQLite declaration gives them.
std::vector<ColumnInfo> JetEngine::tableColumns(const std::string& stored) {
  SqliteStmt st = prepare("SELECT name, type FROM pragma_table_info(?)");
  sqlite3_bind_text64(st.get(), 1, stored.data(), stored.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  std::vector<ColumnInfo> cols;
  while (sqlite3_step(st.get()) == SQLITE_ROW) {
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
    cols.push_back({name ? name : "", kindOfDeclared(type ? type : "")});
  }
  return cols;
}

std::vector<std::string> JetEngine::describe(const std::string& sqliteSelect) {
  SqliteStmt st = prepare(sqliteSelect);
  std::vector<std::string> cols;
  const int n = sqlite3_column_count(st.get());
  for (int i = 0; i < n; ++i) {
    std::string name = sqlite3_column_name(st.get(), i);
    for (const auto& c : cols)
      if (sameName(c, name))
        throw DbError(textos_jet::kClass,
                      textos_jet::unsupported(textos_jet::text::kTOPConORDERBYSobre));
    cols.push_back(std::move(name));
  }
  return cols;
}

// The rows of a loaded or kept table as counted when it was filled; any other table (made
// with runSqlite) is counted once. -1 when it cannot be counted.
std::int64_t JetEngine::rowCount(const std::string& table) {
  if (const auto it = tableRows_.find(table); it != tableRows_.end()) return it->second;
  sqlite3_stmt* raw = nullptr;
  const std::string sql = "SELECT COUNT(*) FROM " + quoteName(table);
  std::int64_t rows = -1;
  if (sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) ==
      SQLITE_OK) {
    SqliteStmt st(raw);
    if (sqlite3_step(st.get()) == SQLITE_ROW) rows = sqlite3_column_int64(st.get(), 0);
  }
  if (rows >= 0) tableRows_[table] = rows;
  return rows;
}

TranslateContext JetEngine::context(bool useCache) {
  TranslateContext ctx{[this](const std::string& n) { return resolveTable(n); },
                       [this](const std::string& s) { return describe(s); }, nullptr,
                       [this](const std::string& t) { return tableColumns(t); }, nullptr};
  if (largestFirst_) ctx.rowCount = [this](const std::string& t) { return rowCount(t); };
  if (useCache && cacheOn_)
    ctx.derivedTable = [this](const std::string& key, const std::function<std::string()>& build,
                              bool grouped) { return keptTable(key, build, grouped); };
  return ctx;
}

void JetEngine::setDerivedCache(bool on) {
  if (!on) clearCache();
  cacheOn_ = on;
}

void JetEngine::replaceSource(std::unique_ptr<TableSource> source) {
  clearCache();
  for (const auto& stored : loaded_)
    sqlite3_exec(db_.get(), ("DROP TABLE IF EXISTS main." + quoteName(stored)).c_str(), nullptr,
                 nullptr, nullptr);
  loaded_.clear();
  loadedRows_ = 0;
  tableRows_.clear();
  sourceTables_.clear();
  source_ = std::move(source);
  if (source_)
    for (const auto& n : source_->tableNames()) sourceTables_.emplace(toUpper(n), n);
}

void JetEngine::forgetTable(const std::string& written) {
  auto it = sourceTables_.find(toUpper(written));
  if (it == sourceTables_.end() || !loaded_.count(it->second)) return;
  clearCache();
  exec("DROP TABLE main." + quoteName(it->second));
  loaded_.erase(it->second);
  tableRows_.erase(it->second);
}

void JetEngine::dropKept(const std::string& table) {
  tableRows_.erase(table);
  sqlite3_exec(db_.get(), ("DROP TABLE IF EXISTS temp." + quoteName(table)).c_str(), nullptr,
               nullptr, nullptr);
}

void JetEngine::clearCache() {
  for (const auto& [text, kept] : cache_)
    if (!kept.table.empty()) dropKept(kept.table);
  cache_.clear();
  cacheRows_ = 0;
}

// Drops the least recently used kept tables until the rest fit the limit. Runs
// between statements only, so no statement text names a dropped table.
void JetEngine::trimCache() {
  const std::int64_t limit = cacheRowLimit_ > 0 ? cacheRowLimit_ : 3 * loadedRows_;
  while (cacheRows_ > limit) {
    auto oldest = cache_.end();
    for (auto it = cache_.begin(); it != cache_.end(); ++it)
      if (!it->second.table.empty() &&
          (oldest == cache_.end() || it->second.lastUse < oldest->second.lastUse))
        oldest = it;
    if (oldest == cache_.end()) break;
    dropKept(oldest->second.table);
    cacheRows_ -= oldest->second.rows;
    cache_.erase(oldest);
  }
}

// A derived table is kept the second time its text comes: one-off subqueries stay
// inline, where SQLite can push the outer conditions into them. A grouped one is kept
// the first time (unless KV_JET_GRUPOS=0): SQLite computes all its rows anyway, and the
// questionnaire's texts group the same operations again and again.
std::string JetEngine::keptTable(const std::string& key, const std::function<std::string()>& build,
                                 bool grouped) {
  if (rereading_) {
    const auto it = cache_.find(key);
    return it == cache_.end() ? std::string() : it->second.table;
  }
  Kept& k = cache_[key];
  k.lastUse = ++useClock_;
  if (!k.table.empty() || k.failed) return k.table;
  const bool seenInThisStatement = k.seen > 0 && k.lastStatement == statementClock_;
  k.lastStatement = statementClock_;
  const bool atOnce = (grouped && keepGroupedAtOnce_) || foreseen_.count(key) > 0;
  if (++k.seen < (atOnce ? 1 : 2)) return k.table;
  const std::string name = "jet_kept_" + std::to_string(++nextKept_);
  if (!fillKeptTable(name, build(), k.rows)) {
    throwIfStopped();
    k.failed = true;
    return {};
  }
  k.table = name;
  cacheRows_ += k.rows;
  if (seenInThisStatement) keptAfterInline_ = true;
  return k.table;
}

void JetEngine::foresee(const std::vector<std::string>& jetStatements) {
  foreseen_.clear();
  if (!cacheOn_ || !foresight_) return;
  // Each statement is translated with every derived table counted where it is named. The
  // rows of one are translated once: kept, it is built once; inline, it is named once. So
  // what it names in turn counts once, however often it is named itself: a grouping over a
  // subquery that every statement names keeps the grouping, not the subquery's rows too.
  std::map<std::string, int> named;
  TranslateContext ctx = context(false);
  if (ctx.rowCount)  // the keys are written as they will be; kCounted has no rows to count
    ctx.rowCount = [this](const std::string& t) { return t == kCounted ? -1 : rowCount(t); };
  ctx.derivedTable = [&named](const std::string& key, const std::function<std::string()>& build,
                              bool) {
    if (named[key]++ == 0) (void)build();
    return std::string(kCounted);
  };
  for (const auto& sql : jetStatements) {
    try {
      (void)translate(parseSelect(sql), ctx);
    } catch (const DbError&) {
    }
  }
  for (const auto& [key, n] : named)
    if (n > 1) foreseen_.insert(key);
}

// A derived table that comes twice in one statement is kept at its second coming, when
// its first is already translated inline: SQLite would compute its rows once more there.
// The statement is then translated again, every derived table already kept read from its
// table and nothing new counted or kept.
Translation JetEngine::translateKeeping(const Statement& parsed, bool useCache) {
  ++statementClock_;
  keptAfterInline_ = false;
  Translation tr = translate(parsed, context(useCache));
  if (!keptAfterInline_) return tr;
  rereading_ = true;
  const struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{rereading_};
  return translate(parsed, context(useCache));
}

// Creates `table` with the columns of the SELECT (every one compared as Jet compares
// texts; declared types kept, dates stay recognisable) and fills it. False when the
// rows cannot be kept: then the subquery stays inline and any error surfaces as before.
bool JetEngine::fillKeptTable(const std::string& table, const std::string& sqliteSelect,
                              std::int64_t& rows) {
  std::string create = "CREATE TEMP TABLE " + quoteName(table) + " (";
  {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sqliteSelect.c_str(), static_cast<int>(sqliteSelect.size()),
                           &raw, nullptr) != SQLITE_OK)
      return false;
    SqliteStmt st(raw);
    const int n = sqlite3_column_count(st.get());
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
      const char* name = sqlite3_column_name(st.get(), i);
      if (!name) return false;
      for (const auto& other : names)
        if (sameName(other, name)) return false;
      names.emplace_back(name);
      const char* decl = sqlite3_column_decltype(st.get(), i);
      create += (i ? ", " : "") + quoteName(name) + " " + (decl ? decl : "") + " COLLATE JET";
    }
    if (n == 0) return false;
  }
  if (sqlite3_exec(db_.get(), (create + ")").c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    return false;
  const std::string fill = "INSERT INTO temp." + quoteName(table) + " " + sqliteSelect;
  if (sqlite3_exec(db_.get(), fill.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    cleaningUp_ = true;
    dropKept(table);
    cleaningUp_ = false;
    return false;
  }
  rows = sqlite3_changes64(db_.get());
  tableRows_[table] = rows;
  return true;
}

kv::db::RowSet JetEngine::select(const std::string& jetSql) {
  // The whole result, kept.
  struct Keep : kv::db::RowSink {
    kv::db::RowSet rs;
    void columns(const std::vector<std::string>& names) override { rs.columns = names; }
    void row(const std::vector<kv::db::Value>& values) override { rs.rows.push_back(values); }
  } keep;
  selectInto(jetSql, keep);
  return std::move(keep.rs);
}

Statement JetEngine::parseSelect(const std::string& jetSql) const {
  Statement parsed = parseStatement(jetSql);
  if (parsed.kind != Statement::Kind::Select) {
    if (readOnly_) throw DbError(textos_jet::kClass, textos_jet::kReadOnly);
    throw DbError(textos_jet::kClass, textos_jet::kOnlySelect);
  }
  if (cacheOn_ && copyKeyConditions_) copyKeyConditions(*parsed.query);
  return parsed;
}

void JetEngine::selectInto(const std::string& jetSql, kv::db::RowSink& sink) {
  const Statement parsed = parseSelect(jetSql);
  startStatement();
  try {
    trimCache();
    const Translation tr = translateKeeping(parsed, true);
    SqliteStmt st = prepare(tr.sql);
    const int n = sqlite3_column_count(st.get());
    std::vector<std::string> columns;
    std::vector<bool> dates(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      columns.emplace_back(sqlite3_column_name(st.get(), i));
      const char* decl = sqlite3_column_decltype(st.get(), i);
      const auto k = static_cast<std::size_t>(i);
      dates[k] = (decl && std::strcmp(decl, kDateType) == 0) ||
                 (k < tr.dateColumns.size() && tr.dateColumns[k]);
    }
    sink.columns(columns);
    std::vector<kv::db::Value> row;
    row.reserve(static_cast<std::size_t>(n));
    for (;;) {
      const int rc = sqlite3_step(st.get());
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) fail(rc);
      row.clear();
      for (int i = 0; i < n; ++i)
        row.push_back(cellValue(st.get(), i, dates[static_cast<std::size_t>(i)]));
      sink.row(row);
    }
  } catch (const DbError&) {
    throwIfStopped();
    throw;
  }
}

std::vector<std::string> JetEngine::plan(const std::string& jetSql) {
  const Statement parsed = parseSelect(jetSql);
  startStatement();
  trimCache();
  SqliteStmt st = prepare("EXPLAIN QUERY PLAN " + translateKeeping(parsed, true).sql);
  std::vector<std::string> steps;
  for (;;) {
    const int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) fail(rc);
    const auto* detail = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 3));
    steps.emplace_back(detail ? detail : "");
  }
  return steps;
}

void JetEngine::execute(const std::string& jetSql) {
  const Statement parsed = parseStatement(jetSql);
  if (parsed.kind != Statement::Kind::Select && readOnly_)
    throw DbError(textos_jet::kClass, textos_jet::kReadOnly);
  // A statement that changes rows makes every kept table stale.
  if (parsed.kind != Statement::Kind::Select) clearCache();
  startStatement();
  try {
    trimCache();
    const std::string sql = translateKeeping(parsed, parsed.kind == Statement::Kind::Select).sql;
    SqliteStmt st = prepare(sql);
    for (;;) {
      const int rc = sqlite3_step(st.get());
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) fail(rc);
    }
  } catch (const DbError&) {
    throwIfStopped();
    throw;
  }
}

}  // namespace kv::jet
