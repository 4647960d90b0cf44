// Fuzz harness: opens a (mutated) Access file with the engine, loads up to eight of
// its tables and runs a query on each. Any failure must be a DbError; a crash or a
// hang of this program is a finding. The password check is skipped so that mutations
// of the header still reach the reader.
#include <cstdio>
#include <string>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/mdb/mdb_header.h"
#include "jet/mdb/mdb_reader.h"
#include "jet/sql/sql_translator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: jet_mdb_fuzz ARCHIVO\n");
    return 2;
  }
  kv::jet::setReaderTimeoutMs(3000);
  try {
    const kv::jet::MdbHeader header = kv::jet::readMdbHeader(argv[1]);
    auto source = std::make_unique<kv::jet::MdbTableSource>(argv[1], header.fileSize);
    const std::vector<std::string> tables = source->tableNames();
    kv::jet::JetEngine engine(std::move(source));
    int n = 0;
    for (const std::string& t : tables) {
      if (++n > 8) break;
      try {
        engine.select("SELECT COUNT(*) AS n FROM [" + t + "]");
        engine.select("SELECT TOP 3 * FROM [" + t + "]");
      } catch (const kv::db::DbError& e) {
        std::fprintf(stderr, "%s\n", e.describe().c_str());
      }
    }
  } catch (const kv::db::DbError& e) {
    std::fprintf(stderr, "%s\n", e.describe().c_str());
  }
  return 0;
}
