#pragma once
// Where the engine's tables come from: the .mdb file (mdb_reader.h) or nothing (tests
// create their tables directly in SQLite).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet {

// How a column is stored in SQLite.
enum class ColumnKind : std::uint8_t { Integer, Real, Date, Text, Blob };

struct ColumnInfo {
  std::string name;
  ColumnKind kind;
};

// Receives one table: its columns, then row after row of cells in column order.
class TableWriter {
 public:
  virtual ~TableWriter() = default;
  virtual void begin(const std::vector<ColumnInfo>& columns) = 0;
  virtual void null(int col) = 0;
  virtual void integer(int col, std::int64_t v) = 0;
  virtual void real(int col, double v) = 0;
  virtual void text(int col, std::string_view v) = 0;
  virtual void blob(int col, std::string_view v) = 0;
  virtual void endRow() = 0;
};

class TableSource {
 public:
  virtual ~TableSource() = default;
  // Names of the user tables, as stored.
  virtual const std::vector<std::string>& tableNames() const = 0;
  // Streams one table into `writer`. Throws DbError.
  virtual void loadTable(const std::string& name, TableWriter& writer) = 0;
};

}  // namespace kv::jet
