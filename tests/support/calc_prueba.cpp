#include "tests/support/calc_prueba.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kv::prueba {

namespace fs = std::filesystem;

namespace {

// Recalculation on load, always, for OOXML and ODF files.
constexpr const char* kPerfil =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
    "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop "
    "oor:name=\"OOXMLRecalcMode\" oor:op=\"fuse\"><value>0</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop "
    "oor:name=\"ODFRecalcMode\" oor:op=\"fuse\"><value>0</value></prop></item>\n"
    "</oor:items>\n";

// Rows of a CSV text: fields separated by commas, quoted ones may hold commas, doubled
// quotes and line breaks.
THojaCalc LeeCsv(const std::string& s) {
  THojaCalc filas;
  std::vector<std::string> fila;
  std::string campo;
  bool bComillas = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (bComillas) {
      if (c == '"' && i + 1 < s.size() && s[i + 1] == '"') {
        campo += '"';
        ++i;
      } else if (c == '"') {
        bComillas = false;
      } else {
        campo += c;
      }
    } else if (c == '"') {
      bComillas = true;
    } else if (c == ',') {
      fila.push_back(std::move(campo));
      campo.clear();
    } else if (c == '\n') {
      fila.push_back(std::move(campo));
      campo.clear();
      filas.push_back(std::move(fila));
      fila.clear();
    } else if (c != '\r') {
      campo += c;
    }
  }
  if (!campo.empty() || !fila.empty()) {
    fila.push_back(std::move(campo));
    filas.push_back(std::move(fila));
  }
  return filas;
}

}  // namespace

std::map<std::string, THojaCalc> RecalculaLibro(const fs::path& libro) {
  static int n = 0;
  const fs::path base = fs::temp_directory_path() /
                        ("kv-calc-" + std::to_string(::getpid()) + "-" + std::to_string(++n));
  const fs::path perfil = base / "perfil";
  const fs::path salida = base / "salida";
  fs::create_directories(perfil / "user");
  fs::create_directories(salida);
  std::ofstream(perfil / "user" / "registrymodifications.xcu") << kPerfil;
  // Every sheet to its own file "<name>-<sheet>.csv": UTF-8, values not as shown.
  const std::string orden =
      "soffice -env:UserInstallation=file://" + perfil.string() +
      " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,"
      "false,false,false,-1' --outdir '" +
      salida.string() + "' '" + libro.string() + "' >/dev/null 2>&1";
  std::map<std::string, THojaCalc> hojas;
  if (std::system(orden.c_str()) == 0) {
    const std::string prefijo = libro.stem().string() + "-";
    for (const auto& e : fs::directory_iterator(salida)) {
      const std::string nombre = e.path().filename().string();
      if (nombre.rfind(prefijo, 0) != 0 || e.path().extension() != ".csv") continue;
      std::ifstream f(e.path(), std::ios::binary);
      std::ostringstream s;
      s << f.rdbuf();
      hojas[nombre.substr(prefijo.size(), nombre.size() - prefijo.size() - 4)] = LeeCsv(s.str());
    }
  }
  std::error_code ec;
  fs::remove_all(base, ec);
  return hojas;
}

double NumeroCalc(const std::string& s) {
  double d = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), d);
  return r.ec == std::errc() ? d : -1e300;
}

}  // namespace kv::prueba
