#pragma once
// Plain-text form of a result: a header line of column names, then one line per row,
// columns separated by a tab, null as \N, and tab, newline and backslash escaped.
#include <string>

#include "data/db/provider.h"

namespace kv::jet {

std::string escapeCell(const std::string& s);
std::string cellText(const kv::db::Value& v);
std::string rowSetText(const kv::db::RowSet& rs);

}  // namespace kv::jet
