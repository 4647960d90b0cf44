#include "app/cuestionario_siti.h"

#include "app/ubicacion_respuestas_cc.h"
#include "diag/imensajero.h"
#include "engine/rep_cuest_siti2020.h"

namespace kv {

TFabricaCuestionario DameFabricaSITI2020() {
  return [](db::Connection* Conector, std::shared_ptr<IMensajero> Mensajero, double dTCambio,
            int nNumEmp) -> std::unique_ptr<IRepCuestionarioCNBV> {
    auto rep = std::make_unique<TRepCuestSITI2020>(Conector, dTCambio, nNumEmp);
    // The report's progress goes to the window's status line.
    rep->EstableceMensajero(std::move(Mensajero));
    // The house's own answers as saved; a damaged file gives the answers it still holds.
    rep->EstableceRespuestasCC(
        std::make_shared<const TRespuestasCC>(CargaRespuestasCC().respuestas));
    return rep;
  };
}

}  // namespace kv
