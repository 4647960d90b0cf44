#pragma once
// The demo program folder a benchmark runs on: the one given, or a new one under the
// temporary folder, generated with N operations and removed with the object.
#include <filesystem>
#include <string>

namespace kv::bench {

// Help lines of the two options of every benchmark that runs on a demo folder.
inline constexpr const char* kAyudaCarpetaDemo =
    "  --operaciones N  operaciones de la base demo que se genera (1000000)\n"
    "  --carpeta DIR    usa una carpeta demo ya hecha (DIR/DataBase/Kavori.mdb, DIR/Kavori.INI)\n";

class TCarpetaDemo {
 public:
  // sCarpeta empty: generates a new folder named after sPrefijo, printing a line on it.
  // Throws std::runtime_error when the temporary folder cannot be made.
  TCarpetaDemo(const std::string& sCarpeta, long nOperaciones, const std::string& sPrefijo);
  ~TCarpetaDemo();
  TCarpetaDemo(const TCarpetaDemo&) = delete;
  TCarpetaDemo& operator=(const TCarpetaDemo&) = delete;

  const std::filesystem::path& Ruta() const { return F_Ruta; }

 private:
  std::filesystem::path F_Ruta;
  bool F_bTemporal = false;
};

}  // namespace kv::bench
