// jetsql [--password P] FILE.mdb "SQL": prints the result rows of a Jet SELECT run by
// the system's engine: a header of column names, then one line per row, tab
// separated, null as \N. Errors go to standard error with exit status 1.
#include <cstdio>
#include <iostream>
#include <string>

#include "data/db/error.h"
#include "data/jet/jet_provider.h"
#include "data/jet/row_text.h"

namespace {

constexpr const char* kUsage = "Uso: jetsql [--password CONTRASEÑA] ARCHIVO.mdb \"SQL\"\n";

}  // namespace

int main(int argc, char** argv) {
  std::string password, file, sql;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--password" && i + 1 < argc) {
      password = argv[++i];
    } else if (a.rfind("--password=", 0) == 0) {
      password = a.substr(11);
    } else if (positional == 0) {
      file = a;
      ++positional;
    } else if (positional == 1) {
      sql = a;
      ++positional;
    } else {
      positional = 3;
    }
  }
  if (positional != 2) {
    std::cerr << kUsage;
    return 1;
  }
  try {
    auto session = kv::jet::openJetSession(file, password);
    const std::string out = kv::jet::rowSetText(session->select(sql));
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0) return 1;
    return 0;
  } catch (const kv::db::DbError& e) {
    std::cerr << e.describe() << '\n';
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
  }
  return 1;
}
