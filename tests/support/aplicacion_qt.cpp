#include "tests/support/aplicacion_qt.h"

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace kv {

void AseguraAplicacionQt() {
  if (QCoreApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char nombre[] = "pruebas";
  static char* argv[] = {nombre, nullptr};
  // Kept for the whole process; reachable through the static, so not a leak.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

TCarpetaTemporal::TCarpetaTemporal() {
  std::string plantilla = (std::filesystem::temp_directory_path() / "kv-prueba-XXXXXX").string();
  if (mkdtemp(plantilla.data()) == nullptr)
    throw std::runtime_error("no se pudo crear la carpeta temporal " + plantilla);
  F_Ruta = plantilla;
}

TCarpetaTemporal::~TCarpetaTemporal() {
  std::error_code ec;
  std::filesystem::remove_all(F_Ruta, ec);
}

std::filesystem::path TCarpetaTemporal::Escribe(const std::string& sRelativa,
                                                const std::string& sContenido) {
  const auto ruta = F_Ruta / sRelativa;
  std::filesystem::create_directories(ruta.parent_path());
  std::ofstream(ruta, std::ios::binary) << sContenido;
  return ruta;
}

}  // namespace kv
