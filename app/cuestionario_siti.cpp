#include "app/cuestionario_siti.h"

#include "engine/rep_cuest_siti2020.h"

namespace kv {
namespace {

// The SITI 2020 questionnaire as the window's commands use it.
class TCuestionarioSITI2020 : public ICuestionarioComando {
 public:
  TCuestionarioSITI2020(db::Connection* Conector, double dTCambio, int nNumEmp)
      : F_Rep(Conector, dTCambio, nNumEmp) {}

  bool UsuariosConectados() override { return F_Rep.UsuariosConectados(); }
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                    bool bSoloAdmins) override {
    return F_Rep.ValidaAcceso(sUsuario, sPassw, bSoloAdmins);
  }
  bool DetectaPEPs(TTablaPEPs& vtPEPS) override { return F_Rep.DetectaPEPs(vtPEPS); }
  // The document output is not wired in yet: the report fails without writing anything.
  bool GeneraReporte(TTablaPEPs&) override { return false; }

 private:
  TRepCuestSITI2020 F_Rep;
};

}  // namespace

TFabricaCuestionario DameFabricaSITI2020() {
  return [](db::Connection* Conector, std::shared_ptr<IMensajero>, double dTCambio,
            int nNumEmp) -> std::unique_ptr<ICuestionarioComando> {
    return std::make_unique<TCuestionarioSITI2020>(Conector, dTCambio, nNumEmp);
  };
}

}  // namespace kv
