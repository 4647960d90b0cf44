#include "jet/row_text.h"

namespace kv::jet {

std::string escapeCell(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string cellText(const kv::db::Value& v) {
  return v.isNull() ? std::string("\\N") : escapeCell(v.toString());
}

std::string rowSetText(const kv::db::RowSet& rs) {
  std::string out;
  for (std::size_t i = 0; i < rs.columns.size(); ++i)
    out += (i ? "\t" : "") + escapeCell(rs.columns[i]);
  out += '\n';
  for (const auto& row : rs.rows) {
    for (std::size_t i = 0; i < row.size(); ++i) out += (i ? "\t" : "") + cellText(row[i]);
    out += '\n';
  }
  return out;
}

}  // namespace kv::jet
