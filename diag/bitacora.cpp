#include "diag/bitacora.h"

#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace kv {

namespace {

constexpr const char* kNombreBitacora = "errores.log";

std::mutex& Cerrojo() {
  static std::mutex m;
  return m;
}

// The log is the program's whichever of its executables writes it.
constexpr const char* kCarpetaPrograma = "cuestionario-operatividad";

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::string CarpetaDatosUsuario() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share";
}

}  // namespace

std::string DameRutaBitacora() {
  return CarpetaDatosUsuario() + "/" + kCarpetaPrograma + "/" + kNombreBitacora;
}

void RegistraEnBitacora(const std::string& sTexto) {
  const std::string sRuta = DameRutaBitacora();
  const std::lock_guard<std::mutex> bloqueo(Cerrojo());
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(sRuta).parent_path(), ec);
  std::ofstream archivo(sRuta, std::ios::app | std::ios::binary);
  if (!archivo) return;
  // Line breaks of every kind become "\n" and the following lines are indented.
  std::string sEntrada;
  for (std::size_t i = 0; i < sTexto.size(); ++i) {
    if (sTexto[i] == '\r' || sTexto[i] == '\n') {
      if (sTexto[i] == '\r' && i + 1 < sTexto.size() && sTexto[i + 1] == '\n') ++i;
      sEntrada += "\n    ";
    } else {
      sEntrada += sTexto[i];
    }
  }
  const std::time_t ahora = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&ahora, &local);
  char sFecha[32];
  std::strftime(sFecha, sizeof sFecha, "%Y-%m-%d %H:%M:%S", &local);
  archivo << sFecha << "  " << sEntrada << '\n';
}

}  // namespace kv
