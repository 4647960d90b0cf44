#include "tests/support/carpeta_sin_escritura.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>

namespace kv {

namespace fs = std::filesystem;

namespace {

// Capabilities are per thread: the raw calls change only the calling thread's set.
bool LeeCapacidades(__user_cap_data_struct (&datos)[2]) {
  __user_cap_header_struct encabezado{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capget, &encabezado, datos) == 0;
}

bool FijaCapacidades(__user_cap_data_struct (&datos)[2]) {
  __user_cap_header_struct encabezado{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capset, &encabezado, datos) == 0;
}

constexpr unsigned kSaltanPermisos =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

}  // namespace

TCarpetaSinEscritura::TCarpetaSinEscritura(fs::path carpeta)
    : F_Carpeta(std::move(carpeta)), F_Permisos(fs::status(F_Carpeta).permissions()) {
  fs::permissions(F_Carpeta, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
  __user_cap_data_struct datos[2]{};
  if (LeeCapacidades(datos) && (datos[0].effective & kSaltanPermisos) != 0) {
    F_Efectivas[0] = datos[0].effective;
    F_Efectivas[1] = datos[1].effective;
    datos[0].effective &= ~kSaltanPermisos;
    F_bCapacidades = FijaCapacidades(datos);
  }
  const fs::path prueba = F_Carpeta / ".prueba-de-escritura";
  F_bEfectiva = !std::ofstream(prueba).is_open();
  if (!F_bEfectiva) fs::remove(prueba);
}

TCarpetaSinEscritura::~TCarpetaSinEscritura() {
  if (F_bCapacidades) {
    __user_cap_data_struct datos[2]{};
    if (LeeCapacidades(datos)) {
      datos[0].effective = F_Efectivas[0];
      datos[1].effective = F_Efectivas[1];
      FijaCapacidades(datos);
    }
  }
  std::error_code ec;
  fs::permissions(F_Carpeta, F_Permisos, ec);
}

}  // namespace kv
