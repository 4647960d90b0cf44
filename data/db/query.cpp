#include "data/db/query.h"

#include <strings.h>

#include "data/db/heartbeat.h"
#include "data/db/textos.h"

namespace kv::db {

namespace {
const char* const kClass = textos_db::kClassQuery;
}

void Query::close() {
  active_ = false;
  rows_ = RowSet{};
  row_ = 0;
}

void Query::addSql(const std::string& text) {
  if (!sql_.empty()) sql_ += '\n';
  sql_ += text;
}

void Query::open() {
  close();
  if (!connection_) throw DbError(kClass, textos_db::kQueryWithoutConnection);
  Session& session = connection_->session();
  RowSet rows;
  runWithHeartbeat([&] { rows = session.select(sql_); });
  rows_ = std::move(rows);
  active_ = true;
  row_ = 0;
}

void Query::execSql() {
  close();
  if (!connection_) throw DbError(kClass, textos_db::kQueryWithoutConnection);
  Session& session = connection_->session();
  runWithHeartbeat([&] { session.execute(sql_); });
}

Value Query::fieldByName(const std::string& name) const {
  if (!active_) throw DbError(kClass, textos_db::kQueryClosed);
  if (eof()) throw DbError(kClass, textos_db::kNoCurrentRow);
  for (std::size_t c = 0; c < rows_.columns.size(); ++c)
    if (strcasecmp(rows_.columns[c].c_str(), name.c_str()) == 0) return rows_.rows[row_][c];
  throw DbError(kClass, textos_db::fieldNotFound(name));
}

}  // namespace kv::db
