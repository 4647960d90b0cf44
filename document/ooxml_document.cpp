#include "document/documento_ooxml.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <sstream>

#include "document/error_doc.h"
#include "document/texto_word.h"
#include "document/textos.h"

namespace kv {

namespace {

constexpr const char* kEspacioW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kRelaciones =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kTipoDocumento =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr const char* kTipoPlantilla =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";

constexpr unsigned kOpcionesLectura = pugi::parse_full | pugi::parse_ws_pcdata;
constexpr unsigned kOpcionesEscritura = pugi::format_raw | pugi::format_no_declaration;

bool Es(pugi::xml_node n, const char* sNombre) {
  return std::strcmp(n.name(), sNombre) == 0;
}

std::string Minusculas(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool IgualSinMayusculas(const std::string& a, const std::string& b) {
  return texto_word::IgualesSinMayusculas(texto_word::AU32(a), texto_word::AU32(b));
}

std::string Pliega(const std::string& s) {
  std::u32string u = texto_word::AU32(s);
  for (char32_t& c : u) c = texto_word::Pliega(c);
  return texto_word::AUtf8(u);
}

std::string CarpetaDeParte(const std::string& sParte) {
  size_t n = sParte.rfind('/');
  return n == std::string::npos ? std::string() : sParte.substr(0, n + 1);
}

// A relationship target resolved against the folder of its source part.
std::string ResuelveDestino(const std::string& sCarpeta, const std::string& sDestino) {
  std::string sRuta =
      !sDestino.empty() && sDestino[0] == '/' ? sDestino.substr(1) : sCarpeta + sDestino;
  std::vector<std::string> piezas;
  std::istringstream in(sRuta);
  std::string s;
  while (std::getline(in, s, '/')) {
    if (s.empty() || s == ".") continue;
    if (s == "..") {
      if (!piezas.empty()) piezas.pop_back();
    } else {
      piezas.push_back(s);
    }
  }
  std::string r;
  for (const auto& p : piezas) r += (r.empty() ? "" : "/") + p;
  return r;
}

bool TerminaEn(const std::string& s, const std::string& sFin) {
  return s.size() >= sFin.size() && s.compare(s.size() - sFin.size(), sFin.size(), sFin) == 0;
}

// The name of a DOCVARIABLE field's instruction, or empty for another field.
std::string VariableDeCampo(const std::string& sInstruccion) {
  std::istringstream in(sInstruccion);
  std::string sCodigo, sNombre;
  in >> sCodigo;
  if (Minusculas(sCodigo) != "docvariable") return "";
  in >> std::ws;
  if (in.peek() == '"') {
    in.get();
    std::getline(in, sNombre, '"');
  } else {
    in >> sNombre;
  }
  return sNombre;
}

// Runs below a paragraph in document order (text boxes left out).
void RunsDe(pugi::xml_node n, std::vector<pugi::xml_node>& runs) {
  for (pugi::xml_node c : n.children()) {
    if (c.type() != pugi::node_element) continue;
    if (Es(c, "w:r"))
      runs.push_back(c);
    else if (!Es(c, "w:pPr") && !Es(c, "w:del") && !Es(c, "w:moveFrom") && !Es(c, "w:fldSimple"))
      RunsDe(c, runs);
  }
}

void PonTextoEnRun(pugi::xml_node run, const std::string& sTexto) {
  for (pugi::xml_node c = run.first_child(); c;) {
    pugi::xml_node siguiente = c.next_sibling();
    if (!Es(c, "w:rPr")) run.remove_child(c);
    c = siguiente;
  }
  pugi::xml_node t = run.append_child("w:t");
  t.append_attribute("xml:space") = "preserve";
  t.text().set(sTexto.c_str());
}

}  // namespace

TDocumentoOOXML::TDocumentoOOXML(std::string sBytes, const std::string& sNombre)
    : F_Paquete(std::move(sBytes), sNombre), F_sNombre(sNombre) {
  for (const auto& [sId, rel] : Relaciones("")) {
    (void)sId;
    if (rel.first == std::string(kRelaciones) + "officeDocument") F_sPrincipal = rel.second;
  }
  if (F_sPrincipal.empty()) throw EDocumentoWord(textos_doc::kTipoNoAdmitido + F_sNombre);
  TParte& tipos = Parte("[Content_Types].xml");
  for (pugi::xml_node o : tipos.xml.document_element().children("Override"))
    if (IgualSinMayusculas(o.attribute("PartName").value(), "/" + F_sPrincipal))
      F_sTipoPrincipal = o.attribute("ContentType").value();
  if (F_sTipoPrincipal.empty()) {
    // No override: the default of the part's extension applies.
    std::string sExtension = F_sPrincipal.substr(F_sPrincipal.rfind('.') + 1);
    for (pugi::xml_node d : tipos.xml.document_element().children("Default"))
      if (IgualSinMayusculas(d.attribute("Extension").value(), sExtension))
        F_sTipoPrincipal = d.attribute("ContentType").value();
  }
  if (F_sTipoPrincipal != kTipoDocumento && F_sTipoPrincipal != kTipoPlantilla)
    throw EDocumentoWord(textos_doc::kTipoNoAdmitido + F_sNombre);
  TParte& principal = Parte(F_sPrincipal);
  if (!Es(principal.xml.document_element(), "w:document"))
    throw EDocumentoWord(textos_doc::kEspacioNoAdmitido + F_sPrincipal);
  F_RelPrincipal.clear();
  std::vector<std::string> historias;
  for (const auto& [sId, rel] : Relaciones(F_sPrincipal)) {
    F_RelPrincipal[sId] = rel.second;
    if (rel.first == std::string(kRelaciones) + "settings") F_sAjustes = rel.second;
    if (rel.first == std::string(kRelaciones) + "header" ||
        rel.first == std::string(kRelaciones) + "footer")
      historias.push_back(rel.second);
  }
  IndizaMarcadores(principal);
  for (const auto& s : historias)
    if (F_Paquete.Existe(s)) IndizaMarcadores(Parte(s));
}

TDocumentoOOXML::~TDocumentoOOXML() = default;

TDocumentoOOXML::TParte& TDocumentoOOXML::Parte(const std::string& sNombre) {
  std::string sClave = Minusculas(sNombre);
  if (auto it = F_Partes.find(sClave); it != F_Partes.end()) return *it->second;
  auto parte = std::make_unique<TParte>();
  parte->sNombre = sNombre;
  std::string sBytes = F_Paquete.Lee(sNombre);
  pugi::xml_parse_result r =
      parte->xml.load_buffer(sBytes.data(), sBytes.size(), kOpcionesLectura, pugi::encoding_auto);
  if (!r)
    throw EDocumentoWord(textos_doc::kParteXmlInvalida + sNombre + " (" + r.description() + ")");
  pugi::xml_node raiz = parte->xml.document_element();
  if (std::strncmp(raiz.name(), "w:", 2) == 0 &&
      std::strcmp(raiz.attribute("xmlns:w").value(), kEspacioW) != 0)
    throw EDocumentoWord(textos_doc::kEspacioNoAdmitido + sNombre);
  return *(F_Partes[sClave] = std::move(parte));
}

std::map<std::string, std::pair<std::string, std::string>> TDocumentoOOXML::Relaciones(
    const std::string& sParte) {
  std::string sCarpeta = CarpetaDeParte(sParte);
  std::string sRels = sCarpeta + "_rels/" + sParte.substr(sCarpeta.size()) + ".rels";
  std::map<std::string, std::pair<std::string, std::string>> r;
  if (!F_Paquete.Existe(sRels)) return r;
  for (pugi::xml_node rel : Parte(sRels).xml.document_element().children("Relationship")) {
    if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0) continue;
    r[rel.attribute("Id").value()] = {rel.attribute("Type").value(),
                                      ResuelveDestino(sCarpeta, rel.attribute("Target").value())};
  }
  return r;
}

std::vector<TDocumentoOOXML::TSeccion> TDocumentoOOXML::Secciones() {
  std::vector<TSeccion> secciones;
  pugi::xml_node cuerpo = Parte(F_sPrincipal).xml.document_element().child("w:body");
  TSeccion actual;
  for (pugi::xml_node c : cuerpo.children()) {
    if (c.type() != pugi::node_element) continue;
    if (Es(c, "w:sectPr")) {
      actual.sectPr = c;
      continue;
    }
    actual.nodos.push_back(c);
    if (pugi::xml_node s = c.child("w:pPr").child("w:sectPr"); Es(c, "w:p") && s) {
      actual.sectPr = s;
      secciones.push_back(std::move(actual));
      actual = TSeccion();
    }
  }
  if (!actual.nodos.empty() || actual.sectPr || secciones.empty())
    secciones.push_back(std::move(actual));
  return secciones;
}

int TDocumentoOOXML::NumeroDeSecciones() {
  return static_cast<int>(Secciones().size());
}

TDocumentoOOXML::TParte* TDocumentoOOXML::Ajustes() {
  if (F_sAjustes.empty() || !F_Paquete.Existe(F_sAjustes)) return nullptr;
  return &Parte(F_sAjustes);
}

bool TDocumentoOOXML::PaginasParesEImpares() {
  TParte* ajustes = Ajustes();
  return ajustes &&
         ooxml::ValorActivo(ajustes->xml.document_element().child("w:evenAndOddHeaders"));
}

bool TDocumentoOOXML::PrimeraPaginaDiferente(int nSeccion) {
  std::vector<TSeccion> secciones = Secciones();
  return nSeccion >= 0 && nSeccion < static_cast<int>(secciones.size()) &&
         ooxml::ValorActivo(secciones[static_cast<size_t>(nSeccion)].sectPr.child("w:titlePg"));
}

std::string TDocumentoOOXML::HistoriaDeSeccion(const std::vector<TSeccion>& secciones,
                                               size_t nSeccion, const char* sElemento,
                                               const char* sTipo) const {
  for (size_t i = nSeccion + 1; i-- > 0;) {
    for (pugi::xml_node ref : secciones[i].sectPr.children(sElemento)) {
      std::string sTipoRef = ref.attribute("w:type").value();
      if (sTipoRef.empty()) sTipoRef = "default";
      if (sTipoRef != sTipo) continue;
      auto it = F_RelPrincipal.find(ref.attribute("r:id").value());
      return it == F_RelPrincipal.end() ? std::string() : it->second;
    }
  }
  return "";
}

void TDocumentoOOXML::ReemplazaEnParte(const std::string& sNombre,
                                       const ooxml::TBusqueda& busqueda) {
  if (sNombre.empty() || !F_Paquete.Existe(sNombre)) return;
  TParte& parte = Parte(sNombre);
  if (ooxml::ReemplazaEnNodos({parte.xml.document_element()}, busqueda) > 0)
    parte.bModificada = true;
}

void TDocumentoOOXML::ReemplazaEnTodo(const ooxml::TBusqueda& busqueda) {
  std::vector<TSeccion> secciones = Secciones();
  bool bParesEImpares = PaginasParesEImpares();
  TParte& principal = Parte(F_sPrincipal);
  for (size_t i = 0; i < secciones.size(); ++i) {
    std::vector<const char*> tipos;
    if (bParesEImpares) tipos.push_back("even");
    if (ooxml::ValorActivo(secciones[i].sectPr.child("w:titlePg"))) tipos.push_back("first");
    tipos.push_back("default");
    for (const char* sTipo : tipos) {
      ReemplazaEnParte(HistoriaDeSeccion(secciones, i, "w:headerReference", sTipo), busqueda);
      ReemplazaEnParte(HistoriaDeSeccion(secciones, i, "w:footerReference", sTipo), busqueda);
    }
    if (ooxml::ReemplazaEnNodos(secciones[i].nodos, busqueda) > 0) principal.bModificada = true;
  }
  for (const TForma& forma : Formas()) {
    if (!forma.bCuadroTexto) continue;  // lines, pictures and other shapes are passed over
    for (pugi::xml_node contenido : forma.contenidos)
      if (ooxml::ReemplazaEnNodos({contenido}, busqueda) > 0) principal.bModificada = true;
  }
}

namespace {

bool EsCuadroDeTextoDml(pugi::xml_node ancla, pugi::xml_node& contenido) {
  pugi::xml_node wsp = ancla.child("a:graphic").child("a:graphicData").child("wps:wsp");
  std::string sTxBox = wsp.child("wps:cNvSpPr").attribute("txBox").value();
  contenido = wsp.child("wps:txbx").child("w:txbxContent");
  return (sTxBox == "1" || sTxBox == "true") && contenido;
}

void ColectaTextosVml(pugi::xml_node n, std::vector<pugi::xml_node>& contenidos) {
  for (pugi::xml_node c : n.children()) {
    if (Es(c, "w:txbxContent"))
      contenidos.push_back(c);
    else
      ColectaTextosVml(c, contenidos);
  }
}

}  // namespace

std::vector<TDocumentoOOXML::TForma> TDocumentoOOXML::Formas() {
  std::vector<TForma> formas;
  // Shapes anchored in the main story, in document order; inline pictures are not shapes,
  // and shapes inside text boxes belong to those stories.
  std::function<void(pugi::xml_node)> recorre = [&](pugi::xml_node n) {
    for (pugi::xml_node c : n.children()) {
      if (c.type() != pugi::node_element || Es(c, "w:txbxContent") || Es(c, "wp:inline")) continue;
      if (Es(c, "mc:AlternateContent")) {
        size_t nAntes = formas.size();
        recorre(c.child("mc:Choice"));
        // The fallback is the same shape drawn for older readers: keep it in step.
        std::vector<pugi::xml_node> copias;
        ColectaTextosVml(c.child("mc:Fallback"), copias);
        for (size_t i = nAntes, k = 0; i < formas.size() && k < copias.size(); ++i)
          if (formas[i].bCuadroTexto) formas[i].contenidos.push_back(copias[k++]);
      } else if (Es(c, "wp:anchor")) {
        TForma f;
        pugi::xml_node contenido;
        f.bCuadroTexto = EsCuadroDeTextoDml(c, contenido);
        if (f.bCuadroTexto) f.contenidos.push_back(contenido);
        formas.push_back(f);
      } else if (Es(c, "w:pict")) {
        for (pugi::xml_node v : c.children()) {
          if (std::strncmp(v.name(), "v:", 2) != 0 || Es(v, "v:shapetype")) continue;
          if (std::string(v.attribute("style").value()).find("position:absolute") ==
              std::string::npos)
            continue;  // inline
          TForma f;
          std::string sTipo = v.attribute("type").value();
          f.bCuadroTexto =
              Es(v, "v:shape") && (TerminaEn(sTipo, "_x0000_t202") ||
                                   std::strcmp(v.attribute("o:spt").value(), "202") == 0);
          if (f.bCuadroTexto) ColectaTextosVml(v, f.contenidos);
          formas.push_back(f);
        }
      } else {
        recorre(c);
      }
    }
  };
  recorre(Parte(F_sPrincipal).xml.document_element().child("w:body"));
  return formas;
}

void TDocumentoOOXML::IndizaMarcadores(TParte& parte) {
  for (auto it = F_Marcadores.begin(); it != F_Marcadores.end();)
    it = it->second.parte == &parte ? F_Marcadores.erase(it) : std::next(it);
  std::map<std::string, pugi::xml_node> finales;
  std::vector<pugi::xml_node> inicios;
  std::function<void(pugi::xml_node)> recorre = [&](pugi::xml_node n) {
    for (pugi::xml_node c : n.children()) {
      if (c.type() != pugi::node_element) continue;
      if (Es(c, "w:bookmarkStart"))
        inicios.push_back(c);
      else if (Es(c, "w:bookmarkEnd"))
        finales.emplace(c.attribute("w:id").value(), c);
      else if (!Es(c, "mc:Fallback"))
        recorre(c);
    }
  };
  recorre(parte.xml.document_element());
  for (pugi::xml_node inicio : inicios) {
    auto fin = finales.find(inicio.attribute("w:id").value());
    if (fin == finales.end()) continue;
    F_Marcadores.emplace(Pliega(inicio.attribute("w:name").value()),
                         TMarcador{&parte, inicio, fin->second});
  }
}

const TDocumentoOOXML::TMarcador* TDocumentoOOXML::Marcador(const std::string& sNombre) const {
  auto it = F_Marcadores.find(Pliega(sNombre));
  return it == F_Marcadores.end() ? nullptr : &it->second;
}

bool TDocumentoOOXML::ExisteMarcador(const std::string& sNombre) const {
  return Marcador(sNombre) != nullptr;
}

bool TDocumentoOOXML::EscribeEnMarcador(const std::string& sNombre, const std::string& sTexto,
                                        int nModo) {
  const TMarcador* m = Marcador(sNombre);
  if (!m) return false;
  TMarcador marcador = *m;
  std::u32string sU32 = texto_word::AU32(sTexto);
  if (nModo == 0) {
    if (ooxml::MarcaTexto(marcador.inicio, marcador.fin)) {
      // Typing over a selection replaces it; a bookmark whose whole text goes, goes too.
      ooxml::BorraEntre(marcador.inicio, marcador.fin);
      ooxml::InsertaTextoJunto(marcador.fin, true, sU32);
      marcador.inicio.parent().remove_child(marcador.inicio);
      marcador.fin.parent().remove_child(marcador.fin);
      IndizaMarcadores(*marcador.parte);
    } else {
      ooxml::InsertaTextoJunto(marcador.fin, true, sU32);
    }
  } else if (nModo == 1) {
    if (!sU32.empty()) ooxml::InsertaTextoJunto(marcador.inicio, false, sU32);
  } else if (nModo == 2) {
    if (!sU32.empty()) ooxml::InsertaTextoJunto(marcador.fin, true, sU32);
  }
  marcador.parte->bModificada = true;
  return true;
}

bool TDocumentoOOXML::BorraMarcador(const std::string& sNombre) {
  const TMarcador* m = Marcador(sNombre);
  if (!m) return false;
  TMarcador marcador = *m;
  if (!ooxml::MarcaTexto(marcador.inicio, marcador.fin)) return true;
  ooxml::BorraEntre(marcador.inicio, marcador.fin);
  marcador.inicio.parent().remove_child(marcador.inicio);
  marcador.fin.parent().remove_child(marcador.fin);
  IndizaMarcadores(*marcador.parte);
  marcador.parte->bModificada = true;
  return true;
}

namespace {

constexpr char32_t kCuadroEnvolvente = 0x20DE;

// The text node of an option line that holds the enclosing square, and the square's place.
bool BuscaCuadro(pugi::xml_node parrafo, pugi::xml_node& texto, std::size_t& nPos) {
  std::vector<pugi::xml_node> runs;
  RunsDe(parrafo, runs);
  for (pugi::xml_node r : runs)
    for (pugi::xml_node t : r.children("w:t")) {
      const std::u32string u = texto_word::AU32(t.text().get());
      if (const auto k = u.find(kCuadroEnvolvente); k != std::u32string::npos) {
        texto = t;
        nPos = k;
        return true;
      }
    }
  return false;
}

}  // namespace

bool TDocumentoOOXML::MarcaOpciones(const std::string& sNombre, const std::vector<int>& opciones,
                                    int nCaja, const std::string& sCaja) {
  const TMarcador* m = Marcador(sNombre);
  if (!m) return false;
  pugi::xml_node inicio = m->inicio;
  pugi::xml_node parrafo = inicio.parent();
  while (parrafo && !Es(parrafo, "w:p")) parrafo = parrafo.parent();
  if (!parrafo) {
    // A marker between paragraphs stands at the start of the next one.
    for (parrafo = inicio.next_sibling(); parrafo && !Es(parrafo, "w:p");)
      parrafo = parrafo.next_sibling();
  }
  // The option lines and the box that follows some of them, up to the first paragraph
  // that is neither (the note or the next question).
  struct TLinea {
    pugi::xml_node parrafo;
    pugi::xml_node caja;
  };
  std::vector<TLinea> lineas;
  for (pugi::xml_node n = parrafo; n; n = n.next_sibling()) {
    if (Es(n, "w:tbl")) {
      if (!lineas.empty() && !lineas.back().caja) lineas.back().caja = n;
      continue;
    }
    if (!Es(n, "w:p")) continue;
    pugi::xml_node t;
    std::size_t k = 0;
    if (BuscaCuadro(n, t, k))
      lineas.push_back({n, {}});
    else if (n != parrafo)
      break;
  }
  const auto Linea = [&](int i) -> const TLinea& {
    if (i < 0 || static_cast<std::size_t>(i) >= lineas.size())
      throw EDocumentoWord(textos_doc::kOpcionFaltante + sNombre + " #" + std::to_string(i + 1));
    return lineas[static_cast<std::size_t>(i)];
  };
  // Everything asked for is checked before anything changes.
  for (int i : opciones) Linea(i);
  pugi::xml_node celda;
  if (nCaja >= 0 && !sCaja.empty()) {
    celda = Linea(nCaja).caja.child("w:tr").child("w:tc").child("w:p");
    if (!celda)
      throw EDocumentoWord(textos_doc::kOpcionFaltante + sNombre + " #" +
                           std::to_string(nCaja + 1));
  }
  for (int i : opciones) {
    pugi::xml_node t;
    std::size_t k = 0;
    BuscaCuadro(Linea(i).parrafo, t, k);
    std::u32string u = texto_word::AU32(t.text().get());
    if (k > 0 && u[k - 1] == U' ') {
      u[k - 1] = U'X';
      t.text().set(texto_word::AUtf8(u).c_str());
    }
  }
  if (celda) {
    // Typed at the end of the box's paragraph, formatted as its paragraph mark.
    pugi::xml_node ancla = celda.append_child("w:bookmarkEnd");
    ooxml::InsertaTextoJunto(ancla, false, texto_word::AU32(sCaja));
    celda.remove_child(ancla);
  }
  m->parte->bModificada = true;
  return true;
}

bool TDocumentoOOXML::AgregaVariable(const std::string& sNombre, const std::string& sValor) {
  TParte* ajustes = Ajustes();
  if (!ajustes) throw EDocumentoWord(textos_doc::kParteFaltante + std::string("settings"));
  pugi::xml_node raiz = ajustes->xml.document_element();
  pugi::xml_node variables = raiz.child("w:docVars");
  if (!variables) {
    // Its place in the settings: right after w:compat, else before what follows it.
    static const char* const kDespues[] = {"w:rsids",
                                           "m:mathPr",
                                           "w:attachedSchema",
                                           "w:themeFontLang",
                                           "w:clrSchemeMapping",
                                           "w:doNotIncludeSubdocsInStats",
                                           "w:doNotAutoCompressPictures",
                                           "w:forceUpgrade",
                                           "w:captions",
                                           "w:readModeInkLockDown",
                                           "w:smartTagType",
                                           "sl:schemaLibrary",
                                           "w:shapeDefaults",
                                           "w:doNotEmbedSmartTags",
                                           "w:decimalSymbol",
                                           "w:listSeparator"};
    pugi::xml_node siguiente;
    for (const char* s : kDespues)
      if ((siguiente = raiz.child(s))) break;
    if (pugi::xml_node compat = raiz.child("w:compat"))
      variables = raiz.insert_child_after("w:docVars", compat);
    else if (siguiente)
      variables = raiz.insert_child_before("w:docVars", siguiente);
    else
      variables = raiz.append_child("w:docVars");
  }
  for (pugi::xml_node v : variables.children("w:docVar"))
    if (IgualSinMayusculas(v.attribute("w:name").value(), sNombre)) return false;
  pugi::xml_node v = variables.append_child("w:docVar");
  v.append_attribute("w:name") = sNombre.c_str();
  v.append_attribute("w:val") =
      texto_word::AUtf8(texto_word::SoloCaracteresXml(texto_word::AU32(sValor))).c_str();
  ajustes->bModificada = true;
  return true;
}

void TDocumentoOOXML::ActualizaCampos() {
  TParte* ajustes = Ajustes();
  if (!ajustes) return;
  auto valor = [&](const std::string& sNombre, std::string& sValor) {
    for (pugi::xml_node v : ajustes->xml.document_element().child("w:docVars").children("w:docVar"))
      if (IgualSinMayusculas(v.attribute("w:name").value(), sNombre)) {
        sValor = v.attribute("w:val").value();
        return true;
      }
    return false;
  };
  TParte& principal = Parte(F_sPrincipal);
  std::vector<pugi::xml_node> parrafos;
  ooxml::ColectaParrafos(principal.xml.document_element().child("w:body"), parrafos);
  for (pugi::xml_node p : parrafos) {
    // Simple fields: the instruction is an attribute, the result its runs.
    for (pugi::xml_node campo : p.children("w:fldSimple")) {
      std::string sValor;
      if (!valor(VariableDeCampo(campo.attribute("w:instr").value()), sValor)) continue;
      pugi::xml_node primero = campo.child("w:r");
      pugi::xml_node run = campo.append_child("w:r");
      if (primero && primero.child("w:rPr")) run.append_copy(primero.child("w:rPr"));
      while (campo.first_child() != run) campo.remove_child(campo.first_child());
      PonTextoEnRun(run, sValor);
      principal.bModificada = true;
    }
    // Complex fields within the paragraph: begin, instruction, separate, result, end.
    std::vector<pugi::xml_node> runs;
    RunsDe(p, runs);
    int nNivel = 0;
    std::string sInstruccion;
    std::vector<pugi::xml_node> resultado;
    bool bEnResultado = false;
    for (pugi::xml_node r : runs) {
      std::string sTipo = r.child("w:fldChar").attribute("w:fldCharType").value();
      if (sTipo == "begin") {
        if (++nNivel == 1) sInstruccion.clear(), resultado.clear(), bEnResultado = false;
      } else if (sTipo == "separate") {
        if (nNivel == 1) bEnResultado = true;
      } else if (sTipo == "end") {
        std::string sValor;
        if (nNivel == 1 && bEnResultado && !resultado.empty() &&
            valor(VariableDeCampo(sInstruccion), sValor)) {
          PonTextoEnRun(resultado.front(), sValor);
          for (size_t i = 1; i < resultado.size(); ++i)
            resultado[i].parent().remove_child(resultado[i]);
          principal.bModificada = true;
        }
        if (nNivel > 0) --nNivel;
      } else if (nNivel == 1 && !bEnResultado) {
        for (pugi::xml_node t : r.children("w:instrText")) sInstruccion += t.text().get();
      } else if (nNivel == 1 && bEnResultado) {
        resultado.push_back(r);
      }
    }
  }
}

void TDocumentoOOXML::Guarda(const std::string& sRuta) {
  if (F_sTipoPrincipal == kTipoPlantilla) {
    TParte& tipos = Parte("[Content_Types].xml");
    pugi::xml_node raiz = tipos.xml.document_element();
    pugi::xml_node sobre;
    for (pugi::xml_node o : raiz.children("Override"))
      if (IgualSinMayusculas(o.attribute("PartName").value(), "/" + F_sPrincipal)) sobre = o;
    if (!sobre) {
      sobre = raiz.append_child("Override");
      sobre.append_attribute("PartName") = ("/" + F_sPrincipal).c_str();
      sobre.append_attribute("ContentType");
    }
    sobre.attribute("ContentType").set_value(kTipoDocumento);
    tipos.bModificada = true;
  }
  for (const auto& [sClave, parte] : F_Partes) {
    if (!parte->bModificada) continue;
    std::ostringstream out;
    parte->xml.save(out, "", kOpcionesEscritura, pugi::encoding_utf8);
    F_Paquete.Reemplaza(parte->sNombre, out.str());
  }
  F_Paquete.Guarda(sRuta);
}

}  // namespace kv
