#pragma once
// The document side of the questionnaire report: the template written to disk, a new
// document made from it, the company's name in place of "_NombreCC_", one answer per
// bookmark "bkm_preg_<n>" with the status line's percentage, the .docx saved and exported
// as PDF, the PDF opened, the working files removed. The questionnaire supplies the name
// and the answers; this piece knows nothing of how they are obtained.
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "diag/imensajero.h"
#include "document/documento_word.h"

namespace kv {

// What a choice question's answer marks in its list: the options ticked (0-based) and the
// text written in the box of option nCaja (-1: none).
struct TMarcasOpciones {
  std::vector<int> opciones;
  int nCaja = -1;
  std::string sCaja;
};

struct TFuentesCuestionario {
  int nTotalPreguntas = 0;
  // The company's name, read when the placeholder is replaced.
  std::function<std::string()> DameRazonSocial;
  // The text for question n's bookmark; false when the question failed (the text is then
  // the error text, written all the same).
  std::function<bool(int nPregunta, std::string& sRespuesta)> RespondePregunta;
  // Called once after the checks, before the first answer is asked; may be empty.
  std::function<void()> PreparaRespuestas;
  // What question n ticks in its option list, asked after its text is written; may be
  // empty (nothing is ticked anywhere).
  std::function<TMarcasOpciones(int nPregunta)> DameMarcasOpciones;
  // The template's bytes, written unchanged; and the file names in the program folder (the
  // PDF's is the document's with ".pdf"). The template and the .docx exist only meanwhile,
  // under working names of the run.
  std::span<const unsigned char> plantilla;
  std::string sNombrePlantilla;
  std::string sNombreDocumento;
};

// Produces the filled questionnaire with `documento` and releases it on every path. Before
// any answer it checks the program folder, takes the lock of its report and checks the
// converter and that an earlier PDF may be replaced (TCorridaReporte); a failed check
// reaches the caller as EDocumentoWord with a message for the user, leaving nothing behind.
// The template, the .docx and the PDF are written under this run's working names; the PDF
// is renamed onto its name only when complete, and the working files are removed on every
// path, so only the PDF of a successful run stays. True when the template was opened, every
// answer obtained and the document saved, exported and put in place; on false, psCausa
// (when given) receives what went wrong (empty when a dialog has already said it). A failure
// to write the template or an error of the document layer reaches the caller as
// EDocumentoWord, after the clean-up.
bool GeneraCuestionario(std::unique_ptr<TDocumentoWord>& documento, IMensajero& mensajero,
                        const TFuentesCuestionario& fuentes, std::string* psCausa = nullptr);

// Removes, when no run holds the folder's report, the working files that runs which died
// left in the program folder and the temporary folder; quiet when it cannot.
void LimpiaCorridasMuertas(const std::string& sNombreDocumento);

// The PDF's name for a document name: ".docx" (any case) becomes ".pdf".
std::string NombrePdf(const std::string& sNombreDocumento);

}  // namespace kv
