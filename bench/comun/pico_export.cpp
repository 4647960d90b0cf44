// bench-pico-export FILE TABLE: runs mdb-export FILE TABLE (output to /dev/null) and
// prints its peak resident memory in KiB. A child keeps across exec() the peak of the
// memory it had before, so the export is started from this small program rather than
// from a large one.
#include <cstdio>

#include "bench/comun/mdb_export.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "uso: bench-pico-export ARCHIVO.mdb TABLA\n");
    return 2;
  }
  const auto r = kv::bench::ExportaTabla(argv[1], argv[2]);
  if (!r.bExito) return 1;
  std::printf("%ld\n", r.uso.ru_maxrss);
  return 0;
}
