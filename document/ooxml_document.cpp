#include "document/ooxml_document.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <sstream>

#include "document/error_doc.h"
#include "document/ooxml_text.h"
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
  return ooxml::IgualesSinMayusculas(ooxml::AU32(a), ooxml::AU32(b));
}

std::string Pliega(const std::string& s) {
  std::u32string u = ooxml::AU32(s);
  for (char32_t& c : u) c = ooxml::foldCase(c);
  return ooxml::AUtf8(u);
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

OoxmlDocument::OoxmlDocument(std::string sBytes, const std::string& sNombre)
    : package_(std::move(sBytes), sNombre), name_(sNombre) {
  for (const auto& [sId, rel] : relationships("")) {
    (void)sId;
    if (rel.first == std::string(kRelaciones) + "officeDocument") mainPart_ = rel.second;
  }
  if (mainPart_.empty()) throw EDocumentoWord(textos_doc::kTipoNoAdmitido + name_);
  Part& tipos = part("[Content_Types].xml");
  for (pugi::xml_node o : tipos.xml.document_element().children("Override"))
    if (IgualSinMayusculas(o.attribute("PartName").value(), "/" + mainPart_))
      mainType_ = o.attribute("ContentType").value();
  if (mainType_.empty()) {
    // No override: the default of the part's extension applies.
    std::string sExtension = mainPart_.substr(mainPart_.rfind('.') + 1);
    for (pugi::xml_node d : tipos.xml.document_element().children("Default"))
      if (IgualSinMayusculas(d.attribute("Extension").value(), sExtension))
        mainType_ = d.attribute("ContentType").value();
  }
  if (mainType_ != kTipoDocumento && mainType_ != kTipoPlantilla)
    throw EDocumentoWord(textos_doc::kTipoNoAdmitido + name_);
  Part& principal = part(mainPart_);
  if (!Es(principal.xml.document_element(), "w:document"))
    throw EDocumentoWord(textos_doc::kEspacioNoAdmitido + mainPart_);
  mainRelationships_.clear();
  std::vector<std::string> historias;
  for (const auto& [sId, rel] : relationships(mainPart_)) {
    mainRelationships_[sId] = rel.second;
    if (rel.first == std::string(kRelaciones) + "settings") settingsPart_ = rel.second;
    if (rel.first == std::string(kRelaciones) + "header" ||
        rel.first == std::string(kRelaciones) + "footer")
      historias.push_back(rel.second);
  }
  indexBookmarks(principal);
  for (const auto& s : historias)
    if (package_.contains(s)) indexBookmarks(part(s));
}

OoxmlDocument::~OoxmlDocument() = default;

OoxmlDocument::Part& OoxmlDocument::part(const std::string& sNombre) {
  std::string sClave = Minusculas(sNombre);
  if (auto it = parts_.find(sClave); it != parts_.end()) return *it->second;
  auto parte = std::make_unique<Part>();
  parte->sNombre = sNombre;
  std::string sBytes = package_.read(sNombre);
  pugi::xml_parse_result r =
      parte->xml.load_buffer(sBytes.data(), sBytes.size(), kOpcionesLectura, pugi::encoding_auto);
  if (!r)
    throw EDocumentoWord(textos_doc::kParteXmlInvalida + sNombre + " (" + r.description() + ")");
  pugi::xml_node raiz = parte->xml.document_element();
  if (std::strncmp(raiz.name(), "w:", 2) == 0 &&
      std::strcmp(raiz.attribute("xmlns:w").value(), kEspacioW) != 0)
    throw EDocumentoWord(textos_doc::kEspacioNoAdmitido + sNombre);
  return *(parts_[sClave] = std::move(parte));
}

std::map<std::string, std::pair<std::string, std::string>> OoxmlDocument::relationships(
    const std::string& sParte) {
  std::string sCarpeta = CarpetaDeParte(sParte);
  std::string sRels = sCarpeta + "_rels/" + sParte.substr(sCarpeta.size()) + ".rels";
  std::map<std::string, std::pair<std::string, std::string>> r;
  if (!package_.contains(sRels)) return r;
  for (pugi::xml_node rel : part(sRels).xml.document_element().children("Relationship")) {
    if (std::strcmp(rel.attribute("TargetMode").value(), "External") == 0) continue;
    r[rel.attribute("Id").value()] = {rel.attribute("Type").value(),
                                      ResuelveDestino(sCarpeta, rel.attribute("Target").value())};
  }
  return r;
}

std::vector<OoxmlDocument::Section> OoxmlDocument::sections() {
  std::vector<Section> secciones;
  pugi::xml_node cuerpo = part(mainPart_).xml.document_element().child("w:body");
  Section actual;
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
      actual = Section();
    }
  }
  if (!actual.nodos.empty() || actual.sectPr || secciones.empty())
    secciones.push_back(std::move(actual));
  return secciones;
}

int OoxmlDocument::sectionCount() {
  return static_cast<int>(sections().size());
}

OoxmlDocument::Part* OoxmlDocument::settings() {
  if (settingsPart_.empty() || !package_.contains(settingsPart_)) return nullptr;
  return &part(settingsPart_);
}

bool OoxmlDocument::oddAndEvenPages() {
  Part* ajustes = settings();
  return ajustes && ooxml::isOn(ajustes->xml.document_element().child("w:evenAndOddHeaders"));
}

bool OoxmlDocument::differentFirstPage(int nSeccion) {
  std::vector<Section> secciones = sections();
  return nSeccion >= 0 && nSeccion < static_cast<int>(secciones.size()) &&
         ooxml::isOn(secciones[static_cast<size_t>(nSeccion)].sectPr.child("w:titlePg"));
}

std::string OoxmlDocument::sectionStory(const std::vector<Section>& secciones, size_t nSeccion,
                                        const char* sElemento, const char* sTipo) const {
  for (size_t i = nSeccion + 1; i-- > 0;) {
    for (pugi::xml_node ref : secciones[i].sectPr.children(sElemento)) {
      std::string sTipoRef = ref.attribute("w:type").value();
      if (sTipoRef.empty()) sTipoRef = "default";
      if (sTipoRef != sTipo) continue;
      auto it = mainRelationships_.find(ref.attribute("r:id").value());
      return it == mainRelationships_.end() ? std::string() : it->second;
    }
  }
  return "";
}

void OoxmlDocument::replaceInPart(const std::string& sNombre, const ooxml::Search& busqueda) {
  if (sNombre.empty() || !package_.contains(sNombre)) return;
  Part& parte = part(sNombre);
  if (ooxml::replaceInNodes({parte.xml.document_element()}, busqueda) > 0) parte.bModificada = true;
}

void OoxmlDocument::replaceEverywhere(const ooxml::Search& busqueda) {
  std::vector<Section> secciones = sections();
  bool bParesEImpares = oddAndEvenPages();
  Part& principal = part(mainPart_);
  for (size_t i = 0; i < secciones.size(); ++i) {
    std::vector<const char*> tipos;
    if (bParesEImpares) tipos.push_back("even");
    if (ooxml::isOn(secciones[i].sectPr.child("w:titlePg"))) tipos.push_back("first");
    tipos.push_back("default");
    for (const char* sTipo : tipos) {
      replaceInPart(sectionStory(secciones, i, "w:headerReference", sTipo), busqueda);
      replaceInPart(sectionStory(secciones, i, "w:footerReference", sTipo), busqueda);
    }
    if (ooxml::replaceInNodes(secciones[i].nodos, busqueda) > 0) principal.bModificada = true;
  }
  for (const Shape& forma : shapes()) {
    if (!forma.bCuadroTexto) continue;  // lines, pictures and other shapes are passed over
    for (pugi::xml_node contenido : forma.contenidos)
      if (ooxml::replaceInNodes({contenido}, busqueda) > 0) principal.bModificada = true;
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

std::vector<OoxmlDocument::Shape> OoxmlDocument::shapes() {
  std::vector<Shape> formas;
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
        Shape f;
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
          Shape f;
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
  recorre(part(mainPart_).xml.document_element().child("w:body"));
  return formas;
}

void OoxmlDocument::indexBookmarks(Part& parte) {
  for (auto it = bookmarks_.begin(); it != bookmarks_.end();)
    it = it->second.parte == &parte ? bookmarks_.erase(it) : std::next(it);
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
    bookmarks_.emplace(Pliega(inicio.attribute("w:name").value()),
                       Bookmark{&parte, inicio, fin->second});
  }
}

const OoxmlDocument::Bookmark* OoxmlDocument::bookmark(const std::string& sNombre) const {
  auto it = bookmarks_.find(Pliega(sNombre));
  return it == bookmarks_.end() ? nullptr : &it->second;
}

bool OoxmlDocument::hasBookmark(const std::string& sNombre) const {
  return bookmark(sNombre) != nullptr;
}

bool OoxmlDocument::writeAtBookmark(const std::string& sNombre, const std::string& sTexto,
                                    int nModo) {
  const Bookmark* m = bookmark(sNombre);
  if (!m) return false;
  Bookmark marcador = *m;
  std::u32string sU32 = ooxml::AU32(sTexto);
  if (nModo == 0) {
    if (ooxml::marksText(marcador.inicio, marcador.fin)) {
      // Typing over a selection replaces it; a bookmark whose whole text goes, goes too.
      ooxml::deleteBetween(marcador.inicio, marcador.fin);
      ooxml::insertTextBeside(marcador.fin, true, sU32);
      marcador.inicio.parent().remove_child(marcador.inicio);
      marcador.fin.parent().remove_child(marcador.fin);
      indexBookmarks(*marcador.parte);
    } else {
      ooxml::insertTextBeside(marcador.fin, true, sU32);
    }
  } else if (nModo == 1) {
    if (!sU32.empty()) ooxml::insertTextBeside(marcador.inicio, false, sU32);
  } else if (nModo == 2) {
    if (!sU32.empty()) ooxml::insertTextBeside(marcador.fin, true, sU32);
  }
  marcador.parte->bModificada = true;
  return true;
}

bool OoxmlDocument::deleteBookmark(const std::string& sNombre) {
  const Bookmark* m = bookmark(sNombre);
  if (!m) return false;
  Bookmark marcador = *m;
  if (!ooxml::marksText(marcador.inicio, marcador.fin)) return true;
  ooxml::deleteBetween(marcador.inicio, marcador.fin);
  marcador.inicio.parent().remove_child(marcador.inicio);
  marcador.fin.parent().remove_child(marcador.fin);
  indexBookmarks(*marcador.parte);
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
      const std::u32string u = ooxml::AU32(t.text().get());
      if (const auto k = u.find(kCuadroEnvolvente); k != std::u32string::npos) {
        texto = t;
        nPos = k;
        return true;
      }
    }
  return false;
}

}  // namespace

bool OoxmlDocument::tickOptions(const std::string& sNombre, const std::vector<int>& opciones,
                                int nCaja, const std::string& sCaja) {
  const Bookmark* m = bookmark(sNombre);
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
    std::u32string u = ooxml::AU32(t.text().get());
    if (k > 0 && u[k - 1] == U' ') {
      u[k - 1] = U'X';
      t.text().set(ooxml::AUtf8(u).c_str());
    }
  }
  if (celda) {
    // Typed at the end of the box's paragraph, formatted as its paragraph mark.
    pugi::xml_node ancla = celda.append_child("w:bookmarkEnd");
    ooxml::insertTextBeside(ancla, false, ooxml::AU32(sCaja));
    celda.remove_child(ancla);
  }
  m->parte->bModificada = true;
  return true;
}

bool OoxmlDocument::addVariable(const std::string& sNombre, const std::string& sValor) {
  Part* ajustes = settings();
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
  v.append_attribute("w:val") = ooxml::AUtf8(ooxml::xmlCharsOnly(ooxml::AU32(sValor))).c_str();
  ajustes->bModificada = true;
  return true;
}

void OoxmlDocument::updateFields() {
  Part* ajustes = settings();
  if (!ajustes) return;
  auto valor = [&](const std::string& sNombre, std::string& sValor) {
    for (pugi::xml_node v : ajustes->xml.document_element().child("w:docVars").children("w:docVar"))
      if (IgualSinMayusculas(v.attribute("w:name").value(), sNombre)) {
        sValor = v.attribute("w:val").value();
        return true;
      }
    return false;
  };
  Part& principal = part(mainPart_);
  std::vector<pugi::xml_node> parrafos;
  ooxml::collectParagraphs(principal.xml.document_element().child("w:body"), parrafos);
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

void OoxmlDocument::save(const std::string& sRuta) {
  if (mainType_ == kTipoPlantilla) {
    Part& tipos = part("[Content_Types].xml");
    pugi::xml_node raiz = tipos.xml.document_element();
    pugi::xml_node sobre;
    for (pugi::xml_node o : raiz.children("Override"))
      if (IgualSinMayusculas(o.attribute("PartName").value(), "/" + mainPart_)) sobre = o;
    if (!sobre) {
      sobre = raiz.append_child("Override");
      sobre.append_attribute("PartName") = ("/" + mainPart_).c_str();
      sobre.append_attribute("ContentType");
    }
    sobre.attribute("ContentType").set_value(kTipoDocumento);
    tipos.bModificada = true;
  }
  for (const auto& [sClave, parte] : parts_) {
    if (!parte->bModificada) continue;
    std::ostringstream out;
    parte->xml.save(out, "", kOpcionesEscritura, pugi::encoding_utf8);
    package_.replace(parte->sNombre, out.str());
  }
  package_.save(sRuta);
}

}  // namespace kv
