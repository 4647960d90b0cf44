#pragma once
// A folder that this thread cannot write while the object lives: its permissions drop to
// read and enter, and a superuser's thread gives up the capabilities that bypass them.
#include <filesystem>

namespace kv {

class TCarpetaSinEscritura {
 public:
  explicit TCarpetaSinEscritura(std::filesystem::path carpeta);
  ~TCarpetaSinEscritura();
  TCarpetaSinEscritura(const TCarpetaSinEscritura&) = delete;
  TCarpetaSinEscritura& operator=(const TCarpetaSinEscritura&) = delete;

  // False when the folder could still be written (the test cannot show the refusal here).
  bool Efectiva() const { return F_bEfectiva; }

 private:
  std::filesystem::path F_Carpeta;
  std::filesystem::perms F_Permisos;
  bool F_bCapacidades = false;
  unsigned F_Efectivas[2] = {0, 0};
  bool F_bEfectiva = false;
};

}  // namespace kv
