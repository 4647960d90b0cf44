#include "diag/errores_bd.h"

#include "diag/textos.h"

namespace kv {

void TErroresBD::CargaErrores() {
  AgregaError(textos::kClaveErrorBD, textos::kMsjErrorBD, "", true);
}

}  // namespace kv
