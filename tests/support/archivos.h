#pragma once
// Files of the tests, free of Qt and header-only (the tools' tests use it without the
// support library): a fresh temporary folder and a whole file read at once.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace kv {

// The whole content of a file, byte for byte; empty when it cannot be read.
inline std::string Lee(const std::filesystem::path& ruta) {
  std::ifstream in(ruta, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh empty folder under the system's temporary folder, removed with everything in it.
class TCarpetaTemporal {
 public:
  // sPrefijo names the folder ("kv-prueba-XXXXXX").
  explicit TCarpetaTemporal(const std::string& sPrefijo = "kv-prueba-") {
    std::string plantilla =
        (std::filesystem::temp_directory_path() / (sPrefijo + "XXXXXX")).string();
    if (::mkdtemp(plantilla.data()) == nullptr)
      throw std::runtime_error("no se pudo crear la carpeta temporal " + plantilla);
    F_Ruta = plantilla;
  }
  ~TCarpetaTemporal() {
    std::error_code ec;
    std::filesystem::remove_all(F_Ruta, ec);
  }
  TCarpetaTemporal(const TCarpetaTemporal&) = delete;
  TCarpetaTemporal& operator=(const TCarpetaTemporal&) = delete;

  const std::filesystem::path& Ruta() const { return F_Ruta; }
  // Writes a file below the folder (creating its folders) and returns its full path.
  std::filesystem::path Escribe(const std::string& sRelativa, const std::string& sContenido = "") {
    const auto ruta = F_Ruta / sRelativa;
    std::filesystem::create_directories(ruta.parent_path());
    std::ofstream(ruta, std::ios::binary) << sContenido;
    return ruta;
  }

 private:
  std::filesystem::path F_Ruta;
};

}  // namespace kv
