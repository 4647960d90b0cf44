#pragma once
// What a database engine behind a Connection provides: an open session that runs
// statements. Providers are chosen by the "Provider=" item of the connection string.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/db/value.h"

namespace kv::db {

// A whole result, read at once: column names and rows of values.
struct RowSet {
  std::vector<std::string> columns;
  std::vector<std::vector<Value>> rows;
};

// Receives a result one row at a time: the column names, then each row.
class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void columns(const std::vector<std::string>& names) = 0;
  virtual void row(const std::vector<Value>& values) = 0;
};

class Session {
 public:
  virtual ~Session() = default;
  // Runs a row-returning statement. Throws DbError.
  virtual RowSet select(const std::string& sql) = 0;
  // Runs a row-returning statement and hands its rows to sink as they come, without
  // keeping them (an engine that cannot stream reads the whole result first). Throws
  // DbError, and lets through what the sink throws.
  virtual void selectInto(const std::string& sql, RowSink& sink) {
    const RowSet rs = select(sql);
    sink.columns(rs.columns);
    for (const auto& r : rs.rows) sink.row(r);
  }
  // Runs a statement that returns no rows. Throws DbError.
  virtual void execute(const std::string& sql) = 0;

  // A command of the user starts: from now until the next call every statement sees the
  // database as it is at this moment. A provider that keeps rows read before drops them
  // when the database changed since. Throws DbError; then every statement fails with
  // that error until a later call succeeds.
  virtual void beginCommand() {}
  // The next statement that reads `table` reads it as it is now, outside the command's
  // snapshot (a table that is only looked at, never combined with the others).
  virtual void readCurrent(const std::string& table) { (void)table; }
  // From now on n processes work on copies of this session (TProcesoCopia): a provider
  // that caches shrinks its caches to an n-th of their size, so that all of them together
  // take what one did; 1 gives them back their size.
  virtual void shareMemory(int n) { (void)n; }
  // The statements about to run, in their order: a provider that keeps what recurs may keep
  // it from its first use. Nothing runs; whatever fails here fails again when it runs.
  virtual void foresee(const std::vector<std::string>& statements) { (void)statements; }
};

enum class ConnectMode {
  Unknown,
  Read,
  Write,
  ReadWrite,
  ShareDenyRead,
  ShareDenyWrite,
  ShareExclusive,
  ShareDenyNone
};

// Opens a session for a parsed connection string (keys in lower case). Throws DbError.
using ProviderFactory = std::function<std::unique_ptr<Session>(
    const std::vector<std::pair<std::string, std::string>>& items, ConnectMode mode)>;

// Registers the factory for a provider name (compared ignoring case), e.g.
// "Microsoft.Jet.OLEDB.4.0". Providers register themselves at start-up.
void registerProvider(const std::string& name, ProviderFactory factory);

// The factory registered for a provider name, or an empty one. Lets a test put a
// stand-in in place of a provider and restore it afterwards.
ProviderFactory findProvider(const std::string& name);

}  // namespace kv::db
