#include "data/atrapa_errores.h"

#include "data/db/error.h"
#include "data/textos.h"
#include "diag/log_errores.h"

namespace kv {

bool EjecutaAtrapando(ILogErrores& Errores, const std::string& sNomClase,
                      const std::function<void()>& accion) {
  std::string sMsjAdicional;
  try {
    accion();
    return true;
  } catch (const db::DbError& e) {
    sMsjAdicional = e.describe();
  } catch (const std::exception& e) {
    sMsjAdicional = std::string(textos_datos::kClaseFallaGeneral) + " - " + e.what();
  } catch (...) {
    sMsjAdicional =
        std::string(textos_datos::kClaseFallaGeneral) + " - " + textos_datos::kFallaDesconocida;
  }
  Errores.MuestraError(textos_datos::kErrorBD, sNomClase, sMsjAdicional);
  return false;
}

}  // namespace kv
