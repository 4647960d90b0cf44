#pragma once
// Test helpers for Qt and files.
#include <filesystem>
#include <string>

namespace kv {

// Creates the process's QApplication once (offscreen unless QT_QPA_PLATFORM says otherwise).
void AseguraAplicacionQt();

// A fresh empty folder under the system's temporary folder, removed with everything in it.
class TCarpetaTemporal {
 public:
  TCarpetaTemporal();
  ~TCarpetaTemporal();
  TCarpetaTemporal(const TCarpetaTemporal&) = delete;
  TCarpetaTemporal& operator=(const TCarpetaTemporal&) = delete;

  const std::filesystem::path& Ruta() const { return F_Ruta; }
  // Writes a file below the folder (creating its folders) and returns its full path.
  std::filesystem::path Escribe(const std::string& sRelativa, const std::string& sContenido = "");

 private:
  std::filesystem::path F_Ruta;
};

}  // namespace kv
