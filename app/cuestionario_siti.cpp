#include "app/cuestionario_siti.h"

#include "diag/imensajero.h"
#include "document/documento_word.h"
#include "document/genera_cuestionario.h"
#include "document/template/plantilla.h"
#include "engine/rep_cuest_siti2020.h"
#include "engine/textos.h"

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

  // The questionnaire's answers, read with the ticks of vtPEPS, written into the document
  // made from the template; the PDF is left in the program folder and opened.
  bool GeneraReporte(TTablaPEPs& vtPEPS) override {
    if (!F_Mensajero) return false;
    F_Rep.EstableceTablaPEPs(&vtPEPS);
    TFuentesCuestionario fuentes;
    fuentes.nTotalPreguntas = F_Rep.TotalPreguntas();
    fuentes.DameRazonSocial = [this] { return F_Rep.GetEmpresa().sRazonSocial; };
    fuentes.RespondePregunta = [this](int nPregunta, std::string& sRespuesta) {
      return F_Rep.RespondePregunta(nPregunta, sRespuesta);
    };
    fuentes.plantilla = PlantillaCuestionario();
    fuentes.sNombrePlantilla = textos_motor::kPlantillaDocWord;
    fuentes.sNombreDocumento = textos_motor::kArchivoDocWord;
    auto documento = std::make_unique<TDocumentoWord>();
    return GeneraCuestionario(documento, *F_Mensajero, fuentes);
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
