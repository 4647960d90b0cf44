#include "diag/interfaced_padre.h"

namespace kv {

void TInterfacedPadre::MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                                    const std::string& sMsjAdicional) {
  if (F_Errores) F_Errores->MuestraError(sClaveErr, sNomClase, sMsjAdicional);
}

std::string TInterfacedPadre::DameErrorMsj(const std::string& sClaveErr,
                                           const std::string& sMsjAdicional, bool bIncluyeClave) {
  return F_Errores ? F_Errores->DameErrorMsj(sClaveErr, sMsjAdicional, bIncluyeClave)
                   : std::string();
}

}  // namespace kv
