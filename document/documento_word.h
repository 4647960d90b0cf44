#pragma once
// One Word document made from a template, filled and written out as .docx and PDF. Word's
// automation is replaced by this program's own layer: the package is edited in-process
// (OoxmlDocument) and LibreOffice, run headless, does the PDF export (PdfConverter).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/pdf_converter.h"

namespace kv {

class OoxmlDocument;

// The fifteen parameters of Word's find-and-replace, in Word's order. An empty optional is
// a parameter that is not given (Word's own default then applies: off, forward, stop at
// the end of the range, no replacement).
struct TDatoBusquedaDocWord {
  std::optional<std::string> vFindText = std::string();
  std::optional<bool> vMatchCase = true;
  std::optional<bool> vMatchWholeWord;
  std::optional<bool> vMatchWildcards;
  std::optional<bool> vMatchSoundsLike;
  std::optional<bool> vMatchAllWordForms;
  std::optional<bool> vForward = true;
  std::optional<int32_t> vWrap = 1;  // continue from the start of the range
  std::optional<bool> vFormat;
  std::optional<std::string> vReplaceWith = std::string();
  std::optional<int32_t> vReplace = 2;  // replace all occurrences
  std::optional<bool> vMatchKashida;
  std::optional<bool> vMatchDiacritics;
  std::optional<bool> vMatchAlefHamza;
  std::optional<bool> vMatchControl;
};

class TDocumentoWord {
 public:
  TDocumentoWord();
  ~TDocumentoWord();
  TDocumentoWord(const TDocumentoWord&) = delete;
  TDocumentoWord& operator=(const TDocumentoWord&) = delete;

  bool GetMuestraWord() const { return F_MuestraWord; }
  void SetMuestraWord(bool b) { F_MuestraWord = b; }
  const std::string& GetRutaLeeDocWord() const { return F_RutaCompletaLeeDocWord; }
  void SetRutaLeeDocWord(const std::string& s) { F_RutaCompletaLeeDocWord = s; }
  const std::string& GetRutaGuardaDocWord() const { return F_RutaCompletaGuardaDocWord; }
  void SetRutaGuardaDocWord(const std::string& s) { F_RutaCompletaGuardaDocWord = s; }
  const std::string& GetRutaGuardaPDF() const { return F_RutaCompletaGuardaPDF; }
  void SetRutaGuardaPDF(const std::string& s) { F_RutaCompletaGuardaPDF = s; }
  bool GetGeneraPDFDocWord() const { return F_GeneraPDF; }
  void SetGeneraPDFDocWord(bool b) { F_GeneraPDF = b; }
  bool GetMuestraDocWord() const { return F_MuestraDocWord; }
  void SetMuestraDocWord(bool b) { F_MuestraDocWord = b; }
  bool GetMuestraDocPDF() const { return F_MuestraDocPDF; }
  void SetMuestraDocPDF(bool b) { F_MuestraDocPDF = b; }

  // Makes a new document from the template sRutaDocumento + sNombreDocumento below the
  // program folder. False, after the "No se encontró el Archivo: " dialog, when the file
  // is missing or not a usable template.
  bool CargaDocumentoWord(const std::string& sNombreDocumento, const std::string& sRutaDocumento);
  // The document made from RutaLeeDocWord, or null.
  OoxmlDocument* AbreDocWord();
  // Find and replace in every header, footer, section body and text box. Throws EDocumentoWord.
  void RepDatEnTodoDocWord(const TDatoBusquedaDocWord& estDatosDefectoBusqueda);
  // Adds a document variable and updates the fields; false when the variable exists.
  // Throws EDocumentoWord without a document.
  bool RepVarEnTodoDocWord(const std::string& sNombreVariable, const std::string& sValorVariable);
  // Writes at a bookmark: 0 types there (a single space for an empty text), 1 inserts
  // before it, 2 after it; other modes do nothing. True also for a missing bookmark; false
  // when the write failed. Throws EDocumentoWord without a document.
  bool RepBkmEnTodoDocWord(const std::string& sNombreBookmark, const std::string& sValorBookmark,
                           int nPosRep);
  // Ticks the chosen options (0-based) of the choice list at a bookmark and writes sCaja in
  // the box of option nCaja (-1: none). True also for a missing bookmark; false when the
  // list lacks an option asked for. Throws EDocumentoWord without a document.
  bool MarcaOpcionesDocWord(const std::string& sNombreBookmark, const std::vector<int>& opciones,
                            int nCaja, const std::string& sCaja);
  // Removes the bookmarked content; false for a missing bookmark or a failure.
  bool BorrarBkmDocWord(const std::string& sNombreBookmark);
  // Selects the bookmark; false for a missing one.
  bool SeleccionaBookmark(const std::string& sNombreBookmark);
  // Saves sRutaDocumento + sNombreDocumento + sInfAdicional below the program folder as
  // .docx and, with GeneraPDFDocWord, exports the PDF beside it (".docx" -> ".pdf" in the
  // name, any case). True only when everything asked for was written.
  bool GuardaDocumentoWord(const std::string& sNombreDocumento, const std::string& sRutaDocumento,
                           const std::string& sInfAdicional);
  // Opens the saved document and/or the PDF with their associated programs.
  void MuestraDocumentoWord(int nFormaMostrar);

  // What went wrong in the last failed load, save or export (empty when nothing did).
  const std::string& GetUltimoError() const { return F_sUltimoError; }
  // The converter used for the PDF export (program, time limit, minimum version).
  PdfConverter& Convertidor() { return F_Convertidor; }
  // Runs while the slow steps wait (saving, exporting); without one, the application's
  // pending events are processed (when there is an application), so the window paints.
  void SetProcesaEventos(std::function<void()> f) { F_ProcesaEventos = std::move(f); }
  // The name of the selected bookmark (empty when none).
  const std::string& GetSeleccion() const { return F_sSeleccion; }

 private:
  bool ValidaAppWord();
  void CreaAppWord();
  void CierraAppWord();
  bool GuardaPDFDocWord(const std::string& sRutaCompletaPDF);
  OoxmlDocument& Documento();
  std::string RutaEnPrograma(const std::string& sRutaDocumento, const std::string& sNombre) const;
  void ProcesaEventos();

  bool F_MuestraWord = false;
  bool F_AppWordAsig = false;
  bool F_GeneraPDF = false;
  bool F_MuestraDocWord = true;
  bool F_MuestraDocPDF = true;
  std::string F_RutaCompletaLeeDocWord;
  std::string F_RutaCompletaGuardaDocWord;
  std::string F_RutaCompletaGuardaPDF;
  bool F_WordApp = false;  // a working session is held
  std::unique_ptr<OoxmlDocument> F_WordDocument;
  std::string F_sSeleccion;
  std::string F_sUltimoError;
  PdfConverter F_Convertidor;
  std::function<void()> F_ProcesaEventos;
};

}  // namespace kv
