#include "document/ooxml_story.h"

#include <cstring>
#include <initializer_list>
#include <map>
#include <set>

#include "document/error_doc.h"
#include "document/ooxml_text.h"
#include "document/textos.h"

namespace kv::ooxml {

namespace {

using ooxml::AU32;
using ooxml::AUtf8;

constexpr size_t kElemento = static_cast<size_t>(-1);
constexpr char32_t kSaltoLinea = U'\v';
constexpr char32_t kGuionDuro = 0x1E;
constexpr char32_t kGuionSuave = 0x1F;
constexpr char32_t kObjeto = 0xFFFC;

bool Es(pugi::xml_node n, const char* sNombre) {
  return std::strcmp(n.name(), sNombre) == 0;
}

// One character of a paragraph's text: a position in a w:t, or a whole element (tab, break).
struct TAtomo {
  pugi::xml_node nodo;
  size_t nPos;
};

struct TTextoParrafo {
  std::u32string s;
  std::vector<TAtomo> atomos;
};

bool EsUnoDe(pugi::xml_node n, std::initializer_list<const char*> nombres) {
  for (const char* s : nombres)
    if (Es(n, s)) return true;
  return false;
}

// Elements inside a paragraph that hold runs.
bool EsContenedorEnLinea(pugi::xml_node n) {
  return EsUnoDe(n, {"w:hyperlink", "w:smartTag", "w:customXml", "w:ins", "w:moveTo", "w:fldSimple",
                     "w:dir", "w:bdo", "w:sdtContent"});
}

void ColectaDeRun(pugi::xml_node run, TTextoParrafo& t) {
  for (pugi::xml_node c : run.children()) {
    if (c.type() != pugi::node_element) continue;
    auto agrega = [&](char32_t ch) {
      t.s.push_back(ch);
      t.atomos.push_back({c, kElemento});
    };
    if (Es(c, "w:t")) {
      std::u32string s = AU32(c.text().get());
      for (size_t i = 0; i < s.size(); ++i) {
        t.s.push_back(s[i]);
        t.atomos.push_back({c, i});
      }
    } else if (Es(c, "w:tab") || Es(c, "w:ptab")) {
      agrega(U'\t');
    } else if (Es(c, "w:br") || Es(c, "w:cr")) {
      agrega(kSaltoLinea);
    } else if (Es(c, "w:noBreakHyphen")) {
      agrega(kGuionDuro);
    } else if (Es(c, "w:softHyphen")) {
      agrega(kGuionSuave);
    } else if (Es(c, "w:drawing") || Es(c, "w:pict") || Es(c, "w:object") ||
               Es(c, "mc:AlternateContent") || Es(c, "w:sym") || Es(c, "w:fldChar") ||
               Es(c, "w:footnoteReference") || Es(c, "w:endnoteReference")) {
      agrega(kObjeto);  // a character no search text contains
    }
  }
}

void ColectaEnLinea(pugi::xml_node padre, TTextoParrafo& t) {
  for (pugi::xml_node c : padre.children()) {
    if (c.type() != pugi::node_element) continue;
    if (Es(c, "w:r")) {
      ColectaDeRun(c, t);
    } else if (Es(c, "w:sdt")) {
      if (pugi::xml_node contenido = c.child("w:sdtContent")) ColectaEnLinea(contenido, t);
    } else if (EsContenedorEnLinea(c)) {
      ColectaEnLinea(c, t);
    }
  }
}

TTextoParrafo TextoConAtomos(pugi::xml_node parrafo) {
  TTextoParrafo t;
  ColectaEnLinea(parrafo, t);
  return t;
}

// Text elements for a piece of text: w:t runs of characters, w:tab, w:br...
void AgregaElementosDeTexto(pugi::xml_node run, pugi::xml_node antesDe, const std::u32string& s) {
  auto nuevo = [&](const char* sNombre) {
    return antesDe ? run.insert_child_before(sNombre, antesDe) : run.append_child(sNombre);
  };
  std::u32string sPendiente;
  auto vacia = [&]() {
    if (sPendiente.empty()) return;
    pugi::xml_node t = nuevo("w:t");
    t.append_attribute("xml:space") = "preserve";
    t.text().set(AUtf8(sPendiente).c_str());
    sPendiente.clear();
  };
  for (char32_t c : s) {
    const char* sElemento = nullptr;
    if (c == U'\t') sElemento = "w:tab";
    if (c == kSaltoLinea) sElemento = "w:br";
    if (c == kGuionDuro) sElemento = "w:noBreakHyphen";
    if (c == kGuionSuave) sElemento = "w:softHyphen";
    if (sElemento) {
      vacia();
      nuevo(sElemento);
    } else {
      sPendiente.push_back(c);
    }
  }
  vacia();
}

bool TieneEspecial(const std::u32string& s) {
  for (char32_t c : s)
    if (c == U'\t' || c == kSaltoLinea || c == kGuionDuro || c == kGuionSuave) return true;
  return false;
}

// Text typed or inserted: XML-safe, line ends as line breaks.
std::u32string TextoInsertable(const std::u32string& sTexto) {
  std::u32string s = ooxml::xmlCharsOnly(sTexto), r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'\r') {
      r.push_back(kSaltoLinea);
      if (i + 1 < s.size() && s[i + 1] == U'\n') ++i;
    } else if (s[i] == U'\n') {
      r.push_back(kSaltoLinea);
    } else {
      r.push_back(s[i]);
    }
  }
  return r;
}

// Word's "match case" off: the replacement follows the found text's capitals
// (all capitals, or a capital first letter).
std::u32string AjustaMayusculas(const std::u32string& sEncontrado, std::u32string sReemplazo) {
  int nMayus = 0, nMinus = 0;
  for (char32_t c : sEncontrado) {
    if (ooxml::EsMayuscula(c)) ++nMayus;
    if (ooxml::EsMinuscula(c)) ++nMinus;
  }
  bool bPrimeraMayus = !sEncontrado.empty() && ooxml::EsMayuscula(sEncontrado[0]);
  if (nMayus >= 2 && nMinus == 0) {
    for (char32_t& c : sReemplazo) c = ooxml::AMayuscula(c);
  } else if (bPrimeraMayus && !sReemplazo.empty()) {
    sReemplazo[0] = ooxml::AMayuscula(sReemplazo[0]);
  }
  return sReemplazo;
}

struct TCoincidencia {
  size_t nInicio, nFin;
};

bool CoincideEn(const std::u32string& s, size_t i, const Search& b) {
  const std::u32string& p = b.text;
  for (size_t k = 0; k < p.size(); ++k) {
    char32_t a = s[i + k], c = p[k];
    if (b.matchCase ? a != c : ooxml::foldCase(a) != ooxml::foldCase(c)) return false;
  }
  if (b.wholeWord) {
    if (i > 0 && ooxml::EsLetraODigito(s[i - 1])) return false;
    size_t f = i + p.size();
    if (f < s.size() && ooxml::EsLetraODigito(s[f])) return false;
  }
  return true;
}

// Non-overlapping matches, scanning in the search direction; returned right to left.
std::vector<TCoincidencia> Busca(const std::u32string& s, const Search& b) {
  std::vector<TCoincidencia> r;
  size_t m = b.text.size();
  if (m == 0 || m > s.size()) return r;
  if (b.forward) {
    for (size_t i = 0; i + m <= s.size();) {
      if (CoincideEn(s, i, b)) {
        r.push_back({i, i + m});
        i += m;
      } else {
        ++i;
      }
    }
    return {r.rbegin(), r.rend()};
  }
  for (size_t i = s.size() - m + 1; i-- > 0;) {
    if (CoincideEn(s, i, b)) {
      r.push_back({i, i + m});
      if (i < m) break;
      i -= m - 1;
    }
  }
  return r;
}

// Edits of one paragraph, applied to the XML when all its matches are done.
class TEdicionParrafo {
 public:
  explicit TEdicionParrafo(TTextoParrafo t) : F_t(std::move(t)) {}
  const std::u32string& Texto() const { return F_t.s; }

  void Reemplaza(const TCoincidencia& c, const std::u32string& sNuevo) {
    for (size_t k = c.nFin; k-- > c.nInicio;) {
      const TAtomo& a = F_t.atomos[k];
      F_Runs.insert(a.nodo.parent().internal_object());
      if (a.nPos == kElemento)
        F_Borrar.push_back(a.nodo);
      else
        TextoDe(a.nodo).erase(a.nPos, 1);
    }
    const TAtomo& primero = F_t.atomos[c.nInicio];
    if (primero.nPos == kElemento) {
      pugi::xml_node t = primero.nodo.parent().insert_child_before("w:t", primero.nodo);
      F_Textos.emplace(t.internal_object(), TTexto{t, sNuevo});
    } else {
      TextoDe(primero.nodo).insert(primero.nPos, sNuevo);
    }
  }

  void Aplica() {
    for (auto& [clave, texto] : F_Textos) {
      pugi::xml_node t = texto.nodo;
      if (TieneEspecial(texto.s)) {
        AgregaElementosDeTexto(t.parent(), t, texto.s);
        t.parent().remove_child(t);
      } else if (texto.s.empty()) {
        t.parent().remove_child(t);
      } else {
        if (!t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
        t.text().set(AUtf8(texto.s).c_str());
      }
    }
    for (pugi::xml_node n : F_Borrar) n.parent().remove_child(n);
    for (pugi::xml_node_struct* p : F_Runs) {
      pugi::xml_node run(p);
      bool bVacio = true;
      for (pugi::xml_node c : run.children())
        if (c.type() == pugi::node_element && !Es(c, "w:rPr")) bVacio = false;
      if (bVacio) run.parent().remove_child(run);
    }
  }

 private:
  struct TTexto {
    pugi::xml_node nodo;
    std::u32string s;
  };
  std::u32string& TextoDe(pugi::xml_node t) {
    auto it = F_Textos.find(t.internal_object());
    if (it == F_Textos.end())
      it = F_Textos.emplace(t.internal_object(), TTexto{t, AU32(t.text().get())}).first;
    return it->second.s;
  }

  TTextoParrafo F_t;
  std::map<pugi::xml_node_struct*, TTexto> F_Textos;
  std::vector<pugi::xml_node> F_Borrar;
  std::set<pugi::xml_node_struct*> F_Runs;
};

std::u32string TextoDeReemplazo(const Search& b, const std::u32string& sEncontrado) {
  std::u32string r;
  for (size_t i = 0; i < b.replacementParts.size(); ++i) {
    if (i > 0) r += sEncontrado;
    r += b.replacementParts[i];
  }
  if (!b.matchCase) r = AjustaMayusculas(sEncontrado, r);
  return r;
}

// Elements that hold paragraphs: a search for a paragraph stops there.
bool EsLimiteDeBloque(pugi::xml_node n) {
  return EsUnoDe(n, {"w:body", "w:tc", "w:txbxContent", "w:hdr", "w:ftr", "w:footnote", "w:endnote",
                     "w:comment", "w:docPartBody"}) ||
         !n.parent();
}

// The paragraph that holds an inline node, or an empty node for a block-level one.
pugi::xml_node ParrafoDe(pugi::xml_node n) {
  for (pugi::xml_node p = n.parent(); p && !EsLimiteDeBloque(p); p = p.parent())
    if (Es(p, "w:p")) return p;
  return {};
}

pugi::xml_node PrimerParrafoEn(pugi::xml_node n) {
  if (Es(n, "w:p")) return n;
  if (Es(n, "w:txbxContent") || Es(n, "mc:Fallback")) return {};
  for (pugi::xml_node c : n.children())
    if (pugi::xml_node p = PrimerParrafoEn(c)) return p;
  return {};
}

pugi::xml_node UltimoParrafoEn(pugi::xml_node n) {
  if (Es(n, "w:p")) return n;
  if (Es(n, "w:txbxContent") || Es(n, "mc:Fallback")) return {};
  for (pugi::xml_node c = n.last_child(); c; c = c.previous_sibling())
    if (pugi::xml_node p = UltimoParrafoEn(c)) return p;
  return {};
}

bool EsRunConTexto(pugi::xml_node run) {
  for (pugi::xml_node c : run.children())
    if (Es(c, "w:t") || Es(c, "w:tab") || Es(c, "w:br") || Es(c, "w:noBreakHyphen") ||
        Es(c, "w:sym"))
      return true;
  return false;
}

// The runs with text before and after `marca` inside a paragraph (deleted text and text
// boxes left out).
void RunsVecinos(pugi::xml_node nodo, pugi::xml_node marca, bool& bPasada, pugi::xml_node& antes,
                 pugi::xml_node& despues) {
  for (pugi::xml_node c : nodo.children()) {
    if (despues) return;
    if (c == marca) {
      bPasada = true;
      continue;
    }
    if (c.type() != pugi::node_element) continue;
    if (Es(c, "w:r")) {
      if (!EsRunConTexto(c)) continue;
      if (bPasada)
        despues = c;
      else
        antes = c;
    } else if (Es(c, "w:sdt")) {
      if (pugi::xml_node contenido = c.child("w:sdtContent"))
        RunsVecinos(contenido, marca, bPasada, antes, despues);
    } else if (EsContenedorEnLinea(c)) {
      RunsVecinos(c, marca, bPasada, antes, despues);
    }
  }
}

void QuitaCambios(pugi::xml_node rPr) {
  for (const char* s : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange"})
    while (pugi::xml_node c = rPr.child(s)) rPr.remove_child(c);
}

// Runs that lie after `inicio` and before `fin` in document order below `nodo`.
void RunsEntre(pugi::xml_node nodo, pugi::xml_node inicio, pugi::xml_node fin, bool& bDentro,
               bool& bTerminado, std::vector<pugi::xml_node>& runs) {
  for (pugi::xml_node c : nodo.children()) {
    if (bTerminado) return;
    if (c == inicio) {
      bDentro = true;
    } else if (c == fin) {
      bTerminado = true;
    } else if (Es(c, "w:r")) {
      if (bDentro) runs.push_back(c);
    } else if (c.type() == pugi::node_element && !Es(c, "w:pPr")) {
      RunsEntre(c, inicio, fin, bDentro, bTerminado, runs);
    }
  }
}

void BorraRunsEntre(pugi::xml_node parrafo, pugi::xml_node inicio, pugi::xml_node fin) {
  bool bDentro = !inicio, bTerminado = false;
  std::vector<pugi::xml_node> runs;
  RunsEntre(parrafo, inicio, fin, bDentro, bTerminado, runs);
  for (pugi::xml_node r : runs) r.parent().remove_child(r);
}

}  // namespace

bool isOn(pugi::xml_node elemento) {
  if (!elemento) return false;
  pugi::xml_attribute val = elemento.attribute("w:val");
  if (!val) return true;
  std::string s = val.value();
  return !(s == "0" || s == "false" || s == "off");
}

void collectParagraphs(pugi::xml_node nodo, std::vector<pugi::xml_node>& parrafos) {
  for (pugi::xml_node c : nodo.children()) {
    if (c.type() != pugi::node_element) continue;
    if (Es(c, "w:p"))
      parrafos.push_back(c);
    else if (!Es(c, "w:txbxContent") && !Es(c, "mc:Fallback") && !Es(c, "w:sectPr"))
      collectParagraphs(c, parrafos);
  }
}

std::u32string paragraphText(pugi::xml_node parrafo) {
  return TextoConAtomos(parrafo).s;
}

int replaceInNodes(const std::vector<pugi::xml_node>& nodos, const Search& busqueda) {
  if (busqueda.text.empty()) return 0;
  std::vector<pugi::xml_node> parrafos;
  for (pugi::xml_node n : nodos) {
    if (Es(n, "w:p"))
      parrafos.push_back(n);
    else
      collectParagraphs(n, parrafos);
  }
  if (!busqueda.forward) parrafos.assign(parrafos.rbegin(), parrafos.rend());
  int nHechos = 0;
  for (pugi::xml_node p : parrafos) {
    TEdicionParrafo edicion(TextoConAtomos(p));
    std::vector<TCoincidencia> encontradas = Busca(edicion.Texto(), busqueda);
    if (encontradas.empty()) continue;
    if (busqueda.replace == 0) return nHechos;  // found; a find alone changes nothing
    if (busqueda.replace == 1) {
      // the first one in the search direction
      TCoincidencia c = busqueda.forward ? encontradas.back() : encontradas.front();
      encontradas = {c};
    }
    const std::u32string sTexto = edicion.Texto();
    for (const TCoincidencia& c : encontradas) {
      std::u32string sEncontrado = sTexto.substr(c.nInicio, c.nFin - c.nInicio);
      edicion.Reemplaza(c, TextoDeReemplazo(busqueda, sEncontrado));
      ++nHechos;
    }
    edicion.Aplica();
    if (busqueda.replace == 1) break;
  }
  return nHechos;
}

void insertTextBeside(pugi::xml_node ancla, bool bDespues, const std::u32string& sTexto) {
  pugi::xml_node parrafo = ParrafoDe(ancla);
  pugi::xml_node run;
  if (parrafo) {
    run = bDespues ? ancla.parent().insert_child_after("w:r", ancla)
                   : ancla.parent().insert_child_before("w:r", ancla);
  } else {
    // A marker between paragraphs stands at the start of the next paragraph.
    for (pugi::xml_node s = ancla.next_sibling(); s && !parrafo; s = s.next_sibling())
      parrafo = PrimerParrafoEn(s);
    if (parrafo) {
      pugi::xml_node pPr = parrafo.child("w:pPr");
      run = pPr ? parrafo.insert_child_after("w:r", pPr) : parrafo.prepend_child("w:r");
    } else {
      for (pugi::xml_node s = ancla.previous_sibling(); s && !parrafo; s = s.previous_sibling())
        parrafo = UltimoParrafoEn(s);
      if (!parrafo)
        throw EDocumentoWord(textos_doc::kMarcadorNoAdmitido + std::string(ancla.name()));
      run = parrafo.append_child("w:r");
    }
  }
  bool bPasada = false;
  pugi::xml_node antes, despues;
  RunsVecinos(parrafo, run, bPasada, antes, despues);
  pugi::xml_node formato = antes     ? antes.child("w:rPr")
                           : despues ? despues.child("w:rPr")
                                     : parrafo.child("w:pPr").child("w:rPr");
  if (formato) QuitaCambios(run.append_copy(formato));
  AgregaElementosDeTexto(run, {}, TextoInsertable(sTexto));
}

bool marksText(pugi::xml_node inicio, pugi::xml_node fin) {
  pugi::xml_node p1 = ParrafoDe(inicio), p2 = ParrafoDe(fin);
  if (p1 != p2) return true;
  if (!p1) {
    // Both between paragraphs: collapsed when only markers stand between them.
    if (inicio.parent() != fin.parent()) return true;
    for (pugi::xml_node s = inicio.next_sibling(); s && s != fin; s = s.next_sibling())
      if (s.type() == pugi::node_element && !Es(s, "w:bookmarkStart") && !Es(s, "w:bookmarkEnd"))
        return true;
    return false;
  }
  bool bDentro = false, bTerminado = false;
  std::vector<pugi::xml_node> runs;
  RunsEntre(p1, inicio, fin, bDentro, bTerminado, runs);
  for (pugi::xml_node r : runs)
    if (EsRunConTexto(r) || r.child("w:drawing") || r.child("w:pict")) return true;
  return false;
}

void deleteBetween(pugi::xml_node inicio, pugi::xml_node fin) {
  pugi::xml_node p1 = ParrafoDe(inicio), p2 = ParrafoDe(fin);
  if (!p1 || !p2) throw EDocumentoWord(textos_doc::kMarcadorNoAdmitido + std::string("bookmark"));
  if (p1 == p2) {
    BorraRunsEntre(p1, inicio, fin);
    return;
  }
  bool bHermanos = false;
  for (pugi::xml_node s = p1.next_sibling(); s; s = s.next_sibling())
    if (s == p2) bHermanos = true;
  if (!bHermanos) throw EDocumentoWord(textos_doc::kMarcadorNoAdmitido + std::string("bookmark"));
  BorraRunsEntre(p1, inicio, {});
  while (p1.next_sibling() != p2) p1.parent().remove_child(p1.next_sibling());
  BorraRunsEntre(p2, {}, fin);
  // The joined paragraph keeps the last paragraph mark, as Word does; the content is
  // moved, so handles to the markers stay valid.
  pugi::xml_node destino = p2.child("w:pPr");
  for (pugi::xml_node c = p1.first_child(); c;) {
    pugi::xml_node siguiente = c.next_sibling();
    if (!Es(c, "w:pPr")) destino = destino ? p2.insert_move_after(c, destino) : p2.prepend_move(c);
    c = siguiente;
  }
  p1.parent().remove_child(p1);
}

}  // namespace kv::ooxml
