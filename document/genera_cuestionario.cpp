#include "document/genera_cuestionario.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "data/db/heartbeat.h"
#include "diag/bool_persist.h"
#include "diag/programa.h"
#include "diag/texto.h"
#include "document/corrida_reporte.h"
#include "document/error_doc.h"
#include "document/textos.h"

namespace kv {

namespace {

// Removes this run's working files and releases the document when the run ends, however
// it ends.
class TLimpiezaCuestionario {
 public:
  explicit TLimpiezaCuestionario(std::unique_ptr<TDocumentoWord>& documento)
      : F_Documento(documento) {}
  // The files to remove at the end.
  void Borra(std::vector<std::string> archivos) { F_Archivos = std::move(archivos); }
  ~TLimpiezaCuestionario() {
    F_Documento.reset();
    std::error_code ec;
    for (const auto& s : F_Archivos) std::filesystem::remove(s, ec);  // missing: passed over
  }
  TLimpiezaCuestionario(const TLimpiezaCuestionario&) = delete;
  TLimpiezaCuestionario& operator=(const TLimpiezaCuestionario&) = delete;

 private:
  std::unique_ptr<TDocumentoWord>& F_Documento;
  std::vector<std::string> F_Archivos;
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

void LimpiaCorridasMuertas(const std::string& sNombreDocumento) {
  try {
    // Taking the report's lock does the cleaning; it is given back at once.
    const TCorridaReporte corrida(DameCarpetaExe(), NombrePdf(sNombreDocumento));
  } catch (const EDocumentoWord&) {
    BorraPerfilesHuerfanos();  // a run is on, or the folder is read-only
  }
}

std::string NombrePdf(const std::string& sNombreDocumento) {
  return ReemplazaTexto(sNombreDocumento, ".docx", ".pdf");
}

bool GeneraCuestionario(std::unique_ptr<TDocumentoWord>& documento, IMensajero& mensajero,
                        const TFuentesCuestionario& fuentes, std::string* psCausa) {
  const auto Falla = [&](std::string s) {
    if (psCausa) *psCausa = std::move(s);
    return false;
  };
  if (psCausa) psCausa->clear();
  // Declared first, so the lock is given up after the clean-up.
  std::optional<TCorridaReporte> corrida;
  TLimpiezaCuestionario limpieza(documento);
  if (!documento) throw EDocumentoWord(textos_doc::kSinDocumento);
  // Before any answer: the folder, the lock of its report, the converter, the output.
  const std::string sPdf = NombrePdf(fuentes.sNombreDocumento);
  corrida.emplace(DameCarpetaExe(), sPdf);
  documento->Convertidor().checkAvailable();
  VerificaReemplazable(corrida->Ruta(sPdf));
  const std::string sPlantilla = corrida->NombreDeTrabajo(fuentes.sNombrePlantilla);
  const std::string sDocumento = corrida->NombreDeTrabajo(fuentes.sNombreDocumento);
  limpieza.Borra({corrida->Ruta(sPlantilla), corrida->Ruta(sDocumento),
                  corrida->Ruta(corrida->NombreDeTrabajo(sPdf))});
  TBoolPersist exito(true);
  TDatoBusquedaDocWord datos;
  mensajero.MsjTxEspera(textos_doc::kIniciando, false);
  EscribePlantilla(corrida->Ruta(sPlantilla), fuentes.plantilla);
  exito.SetValor(documento->CargaDocumentoWord(sPlantilla, ""));
  if (exito.GetValor()) {
    datos.vMatchCase = false;
    datos.vFindText = "_NombreCC_";
    // The name is data: a "^" in it is written as such, not read as a special code.
    datos.vReplaceWith = ReemplazaTexto(fuentes.DameRazonSocial(), "^", "^^");
    documento->RepDatEnTodoDocWord(datos);
    if (fuentes.PreparaRespuestas) fuentes.PreparaRespuestas();
    for (int i = 1; i <= fuentes.nTotalPreguntas; ++i) {
      // Prepared answers leave only the document's work here, question after question:
      // the window paints between them.
      db::beat();
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
        return Falla(textos_doc::kPreguntaSinRespuesta + std::to_string(i) + ".");
      }
    }
  }
  if (!exito.GetValor()) return false;  // the template's own dialog has said why
  mensajero.MsjTxEspera(textos_doc::kPreparandoReporte, false);
  documento->SetGeneraPDFDocWord(true);
  documento->SetMuestraDocWord(false);
  // The PDF is exported under this run's working name and put in place once complete.
  if (!documento->GuardaDocumentoWord(sDocumento, "", ""))
    return Falla(documento->GetUltimoError());
  try {
    corrida->Coloca(documento->GetRutaGuardaPDF(), sPdf);
  } catch (const EDocumentoWord& e) {
    return Falla(e.what());
  }
  documento->SetRutaGuardaPDF(corrida->Ruta(sPdf));
  documento->MuestraDocumentoWord(kMostrarNormal);
  return true;
}

}  // namespace kv
