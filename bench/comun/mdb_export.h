#pragma once
// Runs the Debian `mdb-export FILE TABLE` as a child process with its output to
// /dev/null: the reference cost of reading a table of an .mdb file once.
#include <sys/resource.h>

#include <string>
#include <vector>

namespace kv::bench {

struct TResultadoExport {
  bool bExito = false;  // the child started and ended with status 0
  rusage uso{};         // the child's own resource use (wait4), ru_maxrss in KiB
};

// Runs args (args[0] looked up in PATH) with its output to the file sSalida.
TResultadoExport EjecutaHijo(const std::vector<std::string>& args, const std::string& sSalida);

TResultadoExport ExportaTabla(const std::string& sArchivo, const std::string& sTabla);

}  // namespace kv::bench
