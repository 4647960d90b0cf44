#include "document/documento_word.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/db/heartbeat.h"
#include "diag/dialogos.h"
#include "diag/programa.h"
#include "diag/texto.h"
#include "document/error_doc.h"
#include "document/ooxml_document.h"
#include "document/ooxml_text.h"
#include "document/textos.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

constexpr char32_t kSaltoLinea = U'\v';

// Word's special codes ("^t", "^^"...) of a find or replacement text; "^&" (the found
// text, replacement only) splits the result into pieces.
std::vector<std::u32string> TraduceCodigos(const std::string& sTexto, bool bReemplazo) {
  std::u32string s = ooxml::xmlCharsOnly(ooxml::AU32(sTexto));
  std::vector<std::u32string> piezas(1);
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < s.size() && s[i + 1] == U'\n') ++i;
      piezas.back().push_back(kSaltoLinea);
      continue;
    }
    if (c != U'^') {
      piezas.back().push_back(c);
      continue;
    }
    char32_t k = i + 1 < s.size() ? s[++i] : U'\0';
    switch (k) {
      case U'^':
        piezas.back().push_back(U'^');
        break;
      case U't':
        piezas.back().push_back(U'\t');
        break;
      case U'l':
        piezas.back().push_back(kSaltoLinea);
        break;
      case U's':
        piezas.back().push_back(0xA0);
        break;
      case U'~':
        piezas.back().push_back(0x1E);
        break;
      case U'-':
        piezas.back().push_back(0x1F);
        break;
      case U'+':
        piezas.back().push_back(0x2014);
        break;
      case U'=':
        piezas.back().push_back(0x2013);
        break;
      case U'&':
        if (bReemplazo) {
          piezas.emplace_back();
          break;
        }
        [[fallthrough]];
      default:
        throw EDocumentoWord(textos_doc::kCodigoEspecialNoAdmitido + std::string("^") +
                             ooxml::AUtf8(std::u32string(1, k)));
    }
  }
  return piezas;
}

ooxml::Search TraduceBusqueda(const TDatoBusquedaDocWord& d) {
  auto activo = [](const std::optional<bool>& v) { return v.value_or(false); };
  if (activo(d.vMatchWildcards))
    throw EDocumentoWord(textos_doc::kOpcionNoAdmitida + std::string("MatchWildcards"));
  if (activo(d.vMatchSoundsLike))
    throw EDocumentoWord(textos_doc::kOpcionNoAdmitida + std::string("MatchSoundsLike"));
  if (activo(d.vMatchAllWordForms))
    throw EDocumentoWord(textos_doc::kOpcionNoAdmitida + std::string("MatchAllWordForms"));
  int32_t nReemplazo = d.vReplace.value_or(0);
  if (nReemplazo < 0 || nReemplazo > 2)
    throw EDocumentoWord(textos_doc::kOpcionNoAdmitida + std::string("Replace=") +
                         std::to_string(nReemplazo));
  ooxml::Search b;
  b.text = TraduceCodigos(d.vFindText.value_or(""), false).front();
  b.replacementParts = TraduceCodigos(d.vReplaceWith.value_or(""), true);
  b.matchCase = activo(d.vMatchCase);
  b.wholeWord = activo(d.vMatchWholeWord);
  b.forward = d.vForward.value_or(true);
  b.replace = nReemplazo;
  return b;
}

std::string LeeArchivo(const std::string& sRuta) {
  std::ifstream in(sRuta, std::ios::binary);
  if (!in)
    throw EDocumentoWord(textos_doc::kPaqueteIlegible + sRuta + " (" + std::strerror(errno) + ")");
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) throw EDocumentoWord(textos_doc::kPaqueteIlegible + sRuta);
  return out.str();
}

}  // namespace

TDocumentoWord::TDocumentoWord() = default;
TDocumentoWord::~TDocumentoWord() = default;

bool TDocumentoWord::ValidaAppWord() {
  F_AppWordAsig = F_WordApp;
  return F_AppWordAsig;
}

void TDocumentoWord::CreaAppWord() {
  // The in-process layer needs no program started; the converter is started at export.
  F_WordApp = true;
  if (!ValidaAppWord()) throw EDocumentoWord(textos_doc::kErrorInstanciarWord);
}

void TDocumentoWord::CierraAppWord() {
  if (!ValidaAppWord()) return;
  // The document goes with the session: nothing may use it afterwards.
  F_WordDocument.reset();
  F_sSeleccion.clear();
  F_WordApp = false;
  F_AppWordAsig = false;
}

void TDocumentoWord::ProcesaEventos() {
  if (F_ProcesaEventos)
    F_ProcesaEventos();
  else
    db::beat();  // the window keeps painting during the slow steps
}

std::string TDocumentoWord::RutaEnPrograma(const std::string& sRutaDocumento,
                                           const std::string& sNombre) const {
  std::string sSubcarpeta = sRutaDocumento;
  for (char& c : sSubcarpeta)
    if (c == '\\') c = '/';
  return DameCarpetaExe() + "/" + sSubcarpeta + sNombre;
}

OoxmlDocument& TDocumentoWord::Documento() {
  if (!F_WordDocument) throw EDocumentoWord(textos_doc::kSinDocumento);
  return *F_WordDocument;
}

OoxmlDocument* TDocumentoWord::AbreDocWord() {
  if (ValidaAppWord()) CierraAppWord();
  CreaAppWord();
  try {
    F_WordDocument = std::make_unique<OoxmlDocument>(LeeArchivo(F_RutaCompletaLeeDocWord),
                                                     F_RutaCompletaLeeDocWord);
    F_sUltimoError.clear();
    return F_WordDocument.get();
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    CierraAppWord();
    return nullptr;
  }
}

bool TDocumentoWord::CargaDocumentoWord(const std::string& sNombreDocumento,
                                        const std::string& sRutaDocumento) {
  F_RutaCompletaLeeDocWord = RutaEnPrograma(sRutaDocumento, sNombreDocumento);
  AbreDocWord();
  if (F_WordDocument) return true;
  DameDialogos()->ErrorAceptarCancelar(std::string(textos_doc::kNoSeEncontroArchivo) +
                                       F_RutaCompletaLeeDocWord + "\r\n" + " " +
                                       textos_doc::kReviseArchivo);
  return false;
}

void TDocumentoWord::RepDatEnTodoDocWord(const TDatoBusquedaDocWord& estDatosDefectoBusqueda) {
  Documento().replaceEverywhere(TraduceBusqueda(estDatosDefectoBusqueda));
}

bool TDocumentoWord::RepVarEnTodoDocWord(const std::string& sNombreVariable,
                                         const std::string& sValorVariable) {
  OoxmlDocument& documento = Documento();
  bool bResultado;
  try {
    bResultado = documento.addVariable(sNombreVariable, sValorVariable);
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    bResultado = false;
  }
  documento.updateFields();
  return bResultado;
}

bool TDocumentoWord::RepBkmEnTodoDocWord(const std::string& sNombreBookmark,
                                         const std::string& sValorBookmark, int nPosRep) {
  if (nPosRep < 0 || nPosRep > 2) return true;
  OoxmlDocument& documento = Documento();
  if (!documento.hasBookmark(sNombreBookmark)) return true;
  try {
    if (nPosRep == 0) {
      F_sSeleccion = sNombreBookmark;
      documento.writeAtBookmark(sNombreBookmark, sValorBookmark.empty() ? " " : sValorBookmark, 0);
      F_sSeleccion.clear();  // typing leaves an insertion point
    } else {
      documento.writeAtBookmark(sNombreBookmark, sValorBookmark, nPosRep);
    }
    return true;
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    return false;
  }
}

bool TDocumentoWord::MarcaOpcionesDocWord(const std::string& sNombreBookmark,
                                          const std::vector<int>& opciones, int nCaja,
                                          const std::string& sCaja) {
  OoxmlDocument& documento = Documento();
  if (!documento.hasBookmark(sNombreBookmark)) return true;
  try {
    documento.tickOptions(sNombreBookmark, opciones, nCaja, sCaja);
    return true;
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    return false;
  }
}

bool TDocumentoWord::BorrarBkmDocWord(const std::string& sNombreBookmark) {
  OoxmlDocument& documento = Documento();
  if (!documento.hasBookmark(sNombreBookmark)) return false;
  try {
    documento.deleteBookmark(sNombreBookmark);
    F_sSeleccion.clear();
    return true;
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    return false;
  }
}

bool TDocumentoWord::SeleccionaBookmark(const std::string& sNombreBookmark) {
  if (!Documento().hasBookmark(sNombreBookmark)) return false;
  F_sSeleccion = sNombreBookmark;
  return true;
}

bool TDocumentoWord::GuardaDocumentoWord(const std::string& sNombreDocumento,
                                         const std::string& sRutaDocumento,
                                         const std::string& sInfAdicional) {
  F_RutaCompletaGuardaDocWord = RutaEnPrograma(sRutaDocumento, sNombreDocumento + sInfAdicional);
  bool bOk;
  try {
    Documento().save(F_RutaCompletaGuardaDocWord);
    ProcesaEventos();
    bOk = true;
    if (!F_GeneraPDF) CierraAppWord();
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    CierraAppWord();
    bOk = false;
  }
  bool bPdfOk = false;
  if (F_GeneraPDF && bOk) {
    F_RutaCompletaGuardaPDF = RutaEnPrograma(
        sRutaDocumento, ReemplazaTexto(sNombreDocumento, ".docx", ".pdf") + sInfAdicional);
    bPdfOk = GuardaPDFDocWord(F_RutaCompletaGuardaPDF);
  }
  return F_GeneraPDF ? bOk && bPdfOk : bOk;
}

bool TDocumentoWord::GuardaPDFDocWord(const std::string& sRutaCompletaPDF) {
  try {
    // A name without ".docx" would make the PDF overwrite the document just saved.
    if (fs::path(sRutaCompletaPDF).lexically_normal() ==
        fs::path(F_RutaCompletaGuardaDocWord).lexically_normal())
      throw EDocumentoWord(textos_doc::kPdfSobreDocumento + sRutaCompletaPDF);
    PdfConverter convertidor = F_Convertidor;
    if (!convertidor.onWait) convertidor.onWait = [this] { ProcesaEventos(); };
    convertidor.checkVersion();
    ProcesaEventos();
    convertidor.convert(F_RutaCompletaGuardaDocWord, sRutaCompletaPDF);
    ProcesaEventos();
    CierraAppWord();
    F_sUltimoError.clear();
    return true;
  } catch (const EDocumentoWord& e) {
    F_sUltimoError = e.what();
    CierraAppWord();
    return false;
  }
}

void TDocumentoWord::MuestraDocumentoWord(int nFormaMostrar) {
  if (F_MuestraDocWord) EjecutaArchivo(F_RutaCompletaGuardaDocWord, nFormaMostrar);
  if (F_GeneraPDF && F_MuestraDocPDF) EjecutaArchivo(F_RutaCompletaGuardaPDF, nFormaMostrar);
}

}  // namespace kv
