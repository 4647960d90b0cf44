#pragma once
// The query object of the system: bound to a borrowed Connection, holds an SQL text,
// opens it (keeping the rows) or executes it, and walks the rows.
#include <string>

#include "data/db/connection.h"

namespace kv::db {

class Query {
 public:
  Query() = default;
  explicit Query(Connection* connection) : connection_(connection) {}

  void setConnection(Connection* connection) { connection_ = connection; }
  Connection* connection() const { return connection_; }

  void close();
  void clearSql() { sql_.clear(); }
  void addSql(const std::string& text);
  const std::string& sql() const { return sql_; }

  // Runs the SQL text and keeps its rows, positioned on the first. Throws DbError.
  void open();
  // Runs the SQL text as a statement without rows. Throws DbError.
  void execSql();

  bool active() const { return active_; }
  bool isEmpty() const { return rows_.rows.empty(); }
  void first() { row_ = 0; }
  void next() {
    if (row_ < rows_.rows.size()) ++row_;
  }
  bool eof() const { return row_ >= rows_.rows.size(); }
  std::size_t recordCount() const { return rows_.rows.size(); }
  const std::vector<std::string>& columns() const { return rows_.columns; }

  // Value of a column of the current row, by name ignoring case. Throws DbError when
  // the query is closed, past the last row, or has no such column.
  Value fieldByName(const std::string& name) const;

 private:
  Connection* connection_ = nullptr;
  std::string sql_;
  bool active_ = false;
  RowSet rows_;
  std::size_t row_ = 0;
};

}  // namespace kv::db
