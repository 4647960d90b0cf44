// Writer of Jet 4 (.mdb) files for tests and demos: one table per call, rows streamed to disk.
// The files carry no indexes; mdbtools and mdb-reader read them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kv::mdbw {

enum class ColumnType {
  Text,
  Memo,
  Byte,
  Integer,
  Long,
  Single,
  Double,
  Currency,
  DateTime,
  Boolean
};

// What the writer knows of a column type (one table, mdbwriter.cpp).
struct ColumnTypeInfo {
  ColumnType type;
  const char* name;      // as CSV headers write it: "text" (as text(N)), "long", …
  std::uint8_t jetCode;  // Jet's type code in the table definition
  std::size_t length;    // bytes in a row's fixed area (0: variable, or Boolean's null bit)
  bool variable;         // stored in the row's variable area
};
const ColumnTypeInfo& columnTypeInfo(ColumnType t);
// The type of that name ("long"), or null.
const ColumnTypeInfo* columnTypeNamed(std::string_view name);

struct Column {
  std::string name;
  ColumnType type = ColumnType::Text;
  int size = 0;  // Text only: the maximum number of characters, 1 to 255
};

// Amount with four decimals, exact: 12.5 is Currency{125000}.
struct Currency {
  std::int64_t tenThousandths = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

struct Timestamp {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  friend bool operator==(const Timestamp&, const Timestamp&) = default;
};

using Null = std::monostate;

// One field. Null (also std::nullopt or an empty optional) is a null field; a string is the text
// of a Text/Memo column or, for the other types, the value written as in the CSV input ("12.50",
// "2019-03-01 10:00:00", "true").
struct Value : std::variant<Null, bool, std::int64_t, double, std::string, Currency, Timestamp> {
  using variant::variant;
  Value() = default;
  Value(std::nullopt_t) {}
  Value(const std::optional<std::string>& s) {
    if (s) emplace<std::string>(*s);
  }
};
using Row = std::vector<Value>;

struct Table {
  std::string name;
  std::vector<Column> columns;
  std::vector<Row> rows;
};

struct Options {
  std::string password;  // database password kept in the header, at most 20 characters
  Timestamp created{2021, 1, 4, 10, 0, 0};  // creation date in the header (masks the password)
};

// A bad table, column or value. column() is the 0-based column of the value at fault, or -1.
class WriteError : public std::runtime_error {
 public:
  explicit WriteError(const std::string& message, int column = -1)
      : std::runtime_error(message), column_(column) {}
  int column() const { return column_; }

 private:
  int column_;
};

// Streams tables to a temporary file beside the target; finish() renames it into place. A writer
// destroyed (or failed) before finish() removes the temporary file and leaves the target alone.
class DatabaseWriter {
 public:
  explicit DatabaseWriter(const std::filesystem::path& target, const Options& options = {});
  ~DatabaseWriter();
  DatabaseWriter(const DatabaseWriter&) = delete;
  DatabaseWriter& operator=(const DatabaseWriter&) = delete;

  // Starts a table; the previous one is complete. Throws WriteError on a bad definition or a
  // table name already used (names compare without regard to case, as in Jet).
  void beginTable(const std::string& name, const std::vector<Column>& columns);
  // Appends a row with one value per column. Throws WriteError naming the column at fault.
  void addRow(std::span<const Value> row);
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Writes the whole database in one call.
void writeDatabase(const std::filesystem::path& target, const std::vector<Table>& tables,
                   const Options& options = {});
inline void writeDatabase(const std::filesystem::path& target, const std::vector<Table>& tables,
                          const std::string& password) {
  Options options;
  options.password = password;
  writeDatabase(target, tables, options);
}

// Parses a column type as written in a CSV header: text(N), memo, byte, integer, long, single,
// double, currency, datetime, boolean. Throws WriteError.
Column parseColumnHeader(const std::string& field);

// Writes one table per CSV file (table name = file name without ".csv"). Throws WriteError with
// a message naming the file, line and column at fault; no output is left behind then.
void writeDatabaseFromCsv(const std::filesystem::path& target,
                          const std::vector<std::filesystem::path>& csvFiles,
                          const Options& options = {});

}  // namespace kv::mdbw
