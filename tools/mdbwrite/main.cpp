// mdbwrite [--password P] OUTPUT.mdb INPUT.csv [INPUT.csv ...]
#include <iostream>

#include "diag/cli/opciones.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace {

const kv::cli::TPrograma kPrograma{
    "mdbwrite",
    {"[--password CONTRASEÑA] SALIDA.mdb ENTRADA.csv [ENTRADA.csv ...]"},
    "Escribe un archivo Access (Jet 4) con una tabla por archivo CSV: la tabla se llama como el\n"
    "archivo sin \".csv\"; la primera línea da las columnas como Nombre:tipo, con tipo text(N),\n"
    "memo, byte, integer, long, single, double, currency, datetime o boolean. Un campo vacío sin\n"
    "comillas es nulo y \"\" es un texto vacío. Un archivo SALIDA.mdb existente se reemplaza\n"
    "sólo cuando todo se escribió bien.\n",
    {{"--password", "CONTRASEÑA", "contraseña de base de datos (hasta 20 caracteres)"}},
    {"mdbwrite --password quokka prueba.mdb tCliente.csv tMovtos.csv"},
    1};

}  // namespace

int main(int argc, char** argv) {
  const kv::cli::TLinea linea = kv::cli::LeeArgumentos(kPrograma, argc, argv, std::cout, std::cerr);
  if (linea.nSalida) return *linea.nSalida;
  kv::mdbw::Options options;
  std::vector<std::string> paths;
  for (const kv::cli::TArgumento& a : linea.argumentos) {
    if (!a.EsPosicional())
      options.password = a.sValor;  // --password
    else
      paths.push_back(a.sValor);
  }
  if (paths.size() < 2) return kv::cli::ErrorDeUso(kPrograma, "", std::cerr);
  try {
    std::vector<std::filesystem::path> inputs(paths.begin() + 1, paths.end());
    kv::mdbw::writeDatabaseFromCsv(paths[0], inputs, options);
  } catch (const std::exception& e) {
    std::cerr << "mdbwrite: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
