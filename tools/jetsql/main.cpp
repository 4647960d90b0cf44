// jetsql [--password P] FILE.mdb "SQL": prints the result rows of a Jet SELECT run by
// the system's engine: a header of column names, then one line per row, tab
// separated, null as \N. Errors go to standard error with exit status 1.
#include <cstdio>
#include <iostream>
#include <string>

#include "data/db/error.h"
#include "data/jet/jet_provider.h"
#include "data/jet/row_text.h"
#include "diag/cli/opciones.h"

namespace {

const kv::cli::TPrograma kPrograma{
    "jetsql",
    {"[--password CONTRASEÑA] ARCHIVO.mdb \"SQL\""},
    "Ejecuta una consulta SELECT de Jet SQL sobre un archivo Access (.mdb) con el motor de la\n"
    "herramienta y escribe el resultado: una línea con los nombres de las columnas y una por\n"
    "renglón, separadas por tabuladores; un valor nulo se escribe \\N. Sólo lee el archivo.\n",
    {{"--password", "CONTRASEÑA", "contraseña de base de datos del archivo"}},
    {"jetsql --password quokka DataBase/Kavori.mdb \"SELECT COUNT(*) AS n FROM tCliente\""},
    1};

}  // namespace

int main(int argc, char** argv) {
  const kv::cli::TLinea linea = kv::cli::LeeArgumentos(kPrograma, argc, argv, std::cout, std::cerr);
  if (linea.nSalida) return *linea.nSalida;
  std::string password, file, sql;
  int positional = 0;
  for (const kv::cli::TArgumento& a : linea.argumentos) {
    if (!a.EsPosicional()) {
      password = a.sValor;  // --password
    } else if (positional == 0) {
      file = a.sValor;
      ++positional;
    } else if (positional == 1) {
      sql = a.sValor;
      ++positional;
    } else {
      positional = 3;
    }
  }
  if (positional != 2) return kv::cli::ErrorDeUso(kPrograma, "", std::cerr);
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
