#include "bench/comun/carpeta_demo.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "tools/kavori-demo/generador.h"

namespace kv::bench {

TCarpetaDemo::TCarpetaDemo(const std::string& sCarpeta, long nOperaciones,
                           const std::string& sPrefijo)
    : F_Ruta(sCarpeta) {
  if (!F_Ruta.empty()) return;
  std::string plantilla =
      (std::filesystem::temp_directory_path() / (sPrefijo + "-XXXXXX")).string();
  if (!mkdtemp(plantilla.data())) throw std::runtime_error("mkdtemp: " + plantilla);
  F_Ruta = plantilla;
  F_bTemporal = true;
  demo::OpcionesDemo od;
  od.carpeta = F_Ruta;
  od.operaciones = nOperaciones;
  const auto t0 = std::chrono::steady_clock::now();
  const demo::ResumenDemo r = demo::GeneraDemo(od);
  std::printf(
      "base demo: %ld operaciones (%ld renglones en tMovtos, %ld en tProces), "
      "%ld clientes; generada en %.1f s\n",
      r.operaciones, r.renglonesMovtos, r.renglonesProces, r.clientes,
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  std::fflush(stdout);
}

TCarpetaDemo::~TCarpetaDemo() {
  std::error_code ec;
  if (F_bTemporal) std::filesystem::remove_all(F_Ruta, ec);
}

}  // namespace kv::bench
