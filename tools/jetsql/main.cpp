// jetsql [--password P] [--tiempo-limite SEGUNDOS] FILE.mdb "SQL": prints the result
// rows of a Jet SELECT run by the system's engine: a header of column names, then one
// line per row, tab separated, null as \N. Errors go to standard error with exit status
// 1. Ctrl+C stops the statement (exit status 130; a second Ctrl+C ends at once), and so
// does the time limit when given (exit status 1).
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include "data/db/error.h"
#include "diag/cli/opciones.h"
#include "jet/jet_provider.h"
#include "jet/row_text.h"
#include "jet/textos.h"

namespace {

const kv::cli::TPrograma kPrograma{
    "jetsql",
    {"[--password CONTRASEÑA] [--tiempo-limite SEGUNDOS] ARCHIVO.mdb \"SQL\""},
    "Ejecuta una consulta SELECT de Jet SQL sobre un archivo Access (.mdb) con el motor de la\n"
    "herramienta y escribe el resultado: una línea con los nombres de las columnas y una por\n"
    "renglón, separadas por tabuladores; un valor nulo se escribe \\N. Sólo lee el archivo.\n"
    "Ctrl+C detiene la consulta; una segunda vez termina el programa en el acto.\n",
    {{"--password", "CONTRASEÑA", "contraseña de base de datos del archivo"},
     {"--tiempo-limite", "SEGUNDOS", "detiene la consulta que dure más de SEGUNDOS"}},
    {"jetsql --password quokka DataBase/Kavori.mdb \"SELECT COUNT(*) AS n FROM tCliente\""},
    1};

std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) {
  gInterrupted.store(true);
}

}  // namespace

int main(int argc, char** argv) {
  const kv::cli::TLinea linea = kv::cli::LeeArgumentos(kPrograma, argc, argv, std::cout, std::cerr);
  if (linea.nSalida) return *linea.nSalida;
  std::string password, file, sql;
  int positional = 0;
  long limitSeconds = 0;
  for (const kv::cli::TArgumento& a : linea.argumentos) {
    if (a.sOpcion == "--tiempo-limite") {
      const std::string& v = a.sValor;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), limitSeconds);
      if (ec != std::errc() || end != v.data() + v.size() || limitSeconds <= 0)
        return kv::cli::ErrorDeUso(kPrograma, "", std::cerr);
    } else if (!a.EsPosicional()) {
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
  struct sigaction sa {};
  sa.sa_handler = onInterrupt;
  sa.sa_flags = SA_RESETHAND;  // the second Ctrl+C ends the program as usual
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  try {
    auto session = kv::jet::openJetSession(file, password);
    kv::jet::setInterrupt(*session, &gInterrupted, std::chrono::seconds(limitSeconds));
    const std::string out = kv::jet::rowSetText(session->select(sql));
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0) return 1;
    return 0;
  } catch (const kv::db::DbError& e) {
    // Ctrl+C also reaches the table reader, whose failure is then the interruption.
    if (gInterrupted.load()) {
      std::cerr << kv::db::DbError(kv::textos_jet::kClass, kv::textos_jet::kInterrupted).describe()
                << '\n';
      return 130;
    }
    std::cerr << e.describe() << '\n';
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
  }
  return 1;
}
