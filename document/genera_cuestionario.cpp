#include "document/genera_cuestionario.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "diag/bool_persist.h"
#include "diag/programa.h"
#include "diag/texto.h"
#include "document/error_doc.h"
#include "document/textos_doc.h"

namespace kv {

namespace {

// Removes the working files and releases the document when the run ends, however it ends.
class TLimpiezaCuestionario {
 public:
  TLimpiezaCuestionario(std::unique_ptr<TDocumentoWord>& documento, std::string sPlantilla,
                        std::string sDocumento)
      : F_Documento(documento),
        F_sPlantilla(std::move(sPlantilla)),
        F_sDocumento(std::move(sDocumento)) {}
  ~TLimpiezaCuestionario() {
    F_Documento.reset();
    std::error_code ec;
    std::filesystem::remove(F_sPlantilla, ec);  // a file that is missing or stays is passed over
    std::filesystem::remove(F_sDocumento, ec);
  }
  TLimpiezaCuestionario(const TLimpiezaCuestionario&) = delete;
  TLimpiezaCuestionario& operator=(const TLimpiezaCuestionario&) = delete;

 private:
  std::unique_ptr<TDocumentoWord>& F_Documento;
  std::string F_sPlantilla;
  std::string F_sDocumento;
};

void EscribePlantilla(const std::string& sRuta, std::span<const unsigned char> bytes) {
  std::ofstream out(sRuta, std::ios::binary | std::ios::trunc);
  if (out)
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out)
    throw EDocumentoWord(textos_doc::kNoSeEscribioPlantilla + sRuta + " (" + std::strerror(errno) +
                         ")");
}

}  // namespace

bool GeneraCuestionario(std::unique_ptr<TDocumentoWord>& documento, IMensajero& mensajero,
                        const TFuentesCuestionario& fuentes) {
  const std::string sCarpeta = DameCarpetaExe() + "/";
  TLimpiezaCuestionario limpieza(documento, sCarpeta + fuentes.sNombrePlantilla,
                                 sCarpeta + fuentes.sNombreDocumento);
  if (!documento) throw EDocumentoWord(textos_doc::kSinDocumento);
  TBoolPersist exito(true);
  TDatoBusquedaDocWord datos;
  mensajero.MsjTxEspera(textos_doc::kIniciando, false);
  EscribePlantilla(sCarpeta + fuentes.sNombrePlantilla, fuentes.plantilla);
  exito.SetValor(documento->CargaDocumentoWord(fuentes.sNombrePlantilla, ""));
  if (exito.GetValor()) {
    datos.vMatchCase = false;
    datos.vFindText = "_NombreCC_";
    // The name is data: a "^" in it is written as such, not read as a special code.
    datos.vReplaceWith = ReemplazaTexto(fuentes.DameRazonSocial(), "^", "^^");
    documento->RepDatEnTodoDocWord(datos);
    for (int i = 1; i <= fuentes.nTotalPreguntas; ++i) {
      std::string sRespuesta;
      exito.SetValor(fuentes.RespondePregunta(i, sRespuesta));
      // Written also when the answer failed, so the document shows the error text.
      const std::string sMarcador = "bkm_preg_" + std::to_string(i);
      documento->RepBkmEnTodoDocWord(sMarcador, sRespuesta, 0);
      if (exito.GetValor() && fuentes.DameMarcasOpciones) {
        const TMarcasOpciones marcas = fuentes.DameMarcasOpciones(i);
        if (!marcas.opciones.empty() || !marcas.sCaja.empty())
          exito.SetValor(documento->MarcaOpcionesDocWord(sMarcador, marcas.opciones, marcas.nCaja,
                                                         marcas.sCaja));
      }
      if (exito.GetValor()) {
        int nPorciento = (i * 100) / fuentes.nTotalPreguntas;
        if (nPorciento >= 100)
          mensajero.MsjTxEspera(std::string(textos_doc::kPorFavorEspere) + "100%", false);
        else
          mensajero.MsjEnTx(textos_doc::kPorFavorEspere + std::to_string(nPorciento) + "%");
      } else {
        mensajero.MsjTxEspera(textos_doc::kErrorAvance, false);
        // Nothing more is asked; the unsaved document is discarded with the clean-up.
        break;
      }
    }
  }
  if (exito.GetValor()) {
    mensajero.MsjTxEspera(textos_doc::kPreparandoReporte, false);
    documento->SetGeneraPDFDocWord(true);
    documento->SetMuestraDocWord(false);
    exito.SetValor(documento->GuardaDocumentoWord(fuentes.sNombreDocumento, "", ""));
    if (exito.GetValor()) documento->MuestraDocumentoWord(kMostrarNormal);
  }
  return exito.GetValor();
}

}  // namespace kv
