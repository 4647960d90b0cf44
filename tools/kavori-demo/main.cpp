// kavori-demo FOLDER [--operaciones N] [--semilla S]
#include <charconv>
#include <chrono>
#include <iostream>
#include <string>

#include "diag/cli/opciones.h"
#include "tools/kavori-demo/generador.h"

namespace {

const kv::cli::TPrograma kPrograma{
    "kavori-demo",
    {"CARPETA [--operaciones N] [--semilla S]"},
    "Crea una carpeta de programa de demostración: CARPETA/DataBase/Kavori.mdb (Access/Jet 4,\n"
    "contraseña de base de datos quokka, datos sintéticos de 2018 a 2020) y CARPETA/Kavori.INI.\n"
    "La misma semilla da siempre los mismos datos.\n",
    {{"--operaciones", "N", "número de operaciones (por omisión 5000)"},
     {"--semilla", "S", "semilla de los datos (por omisión 1)"}},
    {"kavori-demo /tmp/demo --operaciones 20000 --semilla 7"},
    1};

template <typename T>
bool numero(const std::string& s, T& v) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

}  // namespace

int main(int argc, char** argv) {
  const kv::cli::TLinea linea = kv::cli::LeeArgumentos(kPrograma, argc, argv, std::cout, std::cerr);
  if (linea.nSalida) return *linea.nSalida;
  kv::demo::OpcionesDemo o;
  bool hayCarpeta = false;
  for (const kv::cli::TArgumento& a : linea.argumentos) {
    if (!a.EsPosicional()) {
      bool ok = a.sOpcion == "--operaciones" ? numero(a.sValor, o.operaciones) && o.operaciones >= 0
                                             : numero(a.sValor, o.semilla);
      if (!ok)
        return kv::cli::ErrorDeUso(
            kPrograma, "kavori-demo: valor no válido para " + a.sOpcion + ": " + a.sValor,
            std::cerr);
    } else if (!a.sValor.empty() && !hayCarpeta) {
      o.carpeta = a.sValor;
      hayCarpeta = true;
    } else {
      return kv::cli::ErrorDeUso(kPrograma, "", std::cerr);
    }
  }
  if (!hayCarpeta) return kv::cli::ErrorDeUso(kPrograma, "", std::cerr);
  try {
    auto inicio = std::chrono::steady_clock::now();
    kv::demo::ResumenDemo r = kv::demo::GeneraDemo(o);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    std::cout << (o.carpeta / "DataBase" / "Kavori.mdb").string() << ": " << r.operaciones
              << " operaciones (" << r.renglonesMovtos << " renglones en tMovtos, "
              << r.renglonesProces << " en tProces), " << r.clientes << " clientes, " << r.reportes
              << " reportes; " << s << " s\n";
  } catch (const std::exception& e) {
    std::cerr << "kavori-demo: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
