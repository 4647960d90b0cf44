#include "app/cuestionario_siti.h"

#include "diag/imensajero.h"
#include "engine/rep_cuest_siti2020.h"

namespace kv {
namespace {

// The SITI 2020 questionnaire as the window's commands use it.
class TCuestionarioSITI2020 : public ICuestionarioComando {
 public:
  TCuestionarioSITI2020(db::Connection* Conector, std::shared_ptr<IMensajero> Mensajero,
                        double dTCambio, int nNumEmp)
      : F_Rep(Conector, dTCambio, nNumEmp), F_Mensajero(std::move(Mensajero)) {}

  bool UsuariosConectados() override { return F_Rep.UsuariosConectados(); }
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                    bool bSoloAdmins) override {
    return F_Rep.ValidaAcceso(sUsuario, sPassw, bSoloAdmins);
  }
  bool DetectaPEPs(TTablaPEPs& vtPEPS) override { return F_Rep.DetectaPEPs(vtPEPS); }

  // The filled questionnaire PDF, with the progress in the window's status line.
  bool GeneraReporte(TTablaPEPs& vtPEPS) override {
    F_Rep.EstableceMensajero(F_Mensajero);
    return F_Rep.GeneraReporte(vtPEPS);
  }

 private:
  TRepCuestSITI2020 F_Rep;
  std::shared_ptr<IMensajero> F_Mensajero;
};

}  // namespace

TFabricaCuestionario DameFabricaSITI2020() {
  return [](db::Connection* Conector, std::shared_ptr<IMensajero> Mensajero, double dTCambio,
            int nNumEmp) -> std::unique_ptr<ICuestionarioComando> {
    return std::make_unique<TCuestionarioSITI2020>(Conector, std::move(Mensajero), dTCambio,
                                                   nNumEmp);
  };
}

}  // namespace kv
