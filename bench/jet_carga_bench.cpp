// Prints the time to open an .mdb with the Jet engine and load the tables the
// questionnaire reads, next to the time mdb-export takes for the same tables, in one run.
//   bench_jet_carga FILE.mdb [PASSWORD] [TABLE ...]
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/comun/mdb_export.h"
#include "data/db/error.h"
#include "jet/jet_provider.h"

namespace {

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: bench_jet_carga ARCHIVO.mdb [CONTRASEÑA] [TABLA ...]\n");
    return 1;
  }
  const std::string file = argv[1];
  const std::string password = argc > 2 ? argv[2] : "quokka";
  std::vector<std::string> tables;
  for (int i = 3; i < argc; ++i) tables.push_back(argv[i]);
  if (tables.empty()) tables = {"tMovtos", "tProces", "tCliente"};
  try {
    const auto t0 = std::chrono::steady_clock::now();
    auto session = kv::jet::openJetSession(file, password);
    for (const auto& t : tables) {
      auto rs = session->select("SELECT COUNT(*) AS n FROM [" + t + "]");
      std::printf("%-10s %lld filas\n", t.c_str(),
                  static_cast<long long>(rs.rows.at(0).at(0).toInt()));
    }
    const auto t1 = std::chrono::steady_clock::now();
    for (const auto& t : tables)
      if (!kv::bench::ExportaTabla(file, t).bExito)
        std::fprintf(stderr, "mdb-export falló con %s\n", t.c_str());
    const auto t2 = std::chrono::steady_clock::now();
    const double engine = seconds(t0, t1), exportTime = seconds(t1, t2);
    std::printf("motor Jet (abrir y cargar): %.3f s\n", engine);
    std::printf("mdb-export (mismas tablas): %.3f s\n", exportTime);
    std::printf("razón: %.2f\n", engine / exportTime);
  } catch (const kv::db::DbError& e) {
    std::fprintf(stderr, "%s\n", e.describe().c_str());
    return 1;
  }
  return 0;
}
