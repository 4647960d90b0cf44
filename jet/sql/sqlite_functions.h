#pragma once
// The JET collation and the jet_* functions the translator's SQL calls.
#include <sqlite3.h>

namespace kv::jet {

// Registers everything on a connection; throws DbError when SQLite refuses.
void installJetFunctions(sqlite3* db);

}  // namespace kv::jet
