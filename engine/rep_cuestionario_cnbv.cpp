#include "engine/rep_cuestionario_cnbv.h"

namespace kv {

TRepCuestionarioCNBV::TRepCuestionarioCNBV(db::Connection* Conector, int nTotalPreg, int nNumEmp,
                                           const std::string& sFIni, const std::string& sFFin)
    : F_sFIni(sFIni),
      F_sFFin(sFFin),
      F_sNumEmp(std::to_string(nNumEmp)),
      F_nTotalPreguntas(nTotalPreg) {
  (void)Conector;
}

}  // namespace kv
