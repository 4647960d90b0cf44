// Build-time generator of the questionnaire template.
//
// Reads the readable sources (contenido/: sections, the 212 questions, option lists and the
// cover text; paquete/: the fixed parts of the package), writes the Word template package
// (.dotx) and the same bytes as a C++ array for the questionnaire_template library, and the
// questionnaire's content (sections, questions, notes, options) as C++ tables, so that the
// program shows the very texts the template carries.
// The output is byte for byte reproducible: fixed entry order, dates and attributes.
//
// Usage: generador_plantilla CONTENIDO_DIR PAQUETE_DIR SALIDA.dotx SALIDA.cpp [CONTENIDO.cpp]

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kTotalPreguntas = 212;

// Answer boxes: 7.25 cm for most questions, the whole text width for names and lists of
// names. The question text, the boxes and the options start at the list's hanging indent.
constexpr int kSangria = 567;
constexpr int kAnchoCaja = 4110;
constexpr int kAnchoCajaAncha = 12240 - 851 - 758 - kSangria;
constexpr int kAltoCaja = 397;

// The bookmark of this question stands at the start of its first option line.
constexpr int kPreguntaMarcaEnOpcion = 17;
// The answer typed at the bookmark of this choice question is not bold.
constexpr int kPreguntaSinNegrita = 5;

// Every entry of the archive carries this DOS date and time (15 Jan 2020, 00:00).
constexpr zip_uint16_t kFechaDos = ((2020 - 1980) << 9) | (1 << 5) | 15;
constexpr zip_uint16_t kHoraDos = 0;

// Package parts in archive order; word/document.xml is generated from its skeleton.
const std::vector<std::string> kPartes = {
    "[Content_Types].xml",
    "_rels/.rels",
    "word/document.xml",
    "word/_rels/document.xml.rels",
    "word/styles.xml",
    "word/numbering.xml",
    "word/settings.xml",
    "word/webSettings.xml",
    "word/fontTable.xml",
    "word/theme/theme1.xml",
    "word/header1.xml",
    "word/footer1.xml",
    "word/footnotes.xml",
    "word/endnotes.xml",
    "customXml/item1.xml",
    "customXml/itemProps1.xml",
    "customXml/_rels/item1.xml.rels",
    "docProps/core.xml",
    "docProps/app.xml",
};
const std::string kMarcaCuerpo = "<!--CUERPO-->";

struct Opcion {
  std::string texto;
  bool conCaja = false;  // followed by an empty box for the house's own value
};

enum class Area { Caja, CajaAncha, Lista };

struct Pregunta {
  int numero = 0;
  int seccion = 0;
  Area area = Area::Caja;
  std::string opciones;  // name of the option list, empty for a box
  std::string texto;
  std::string nota;  // empty when the question has no guidance note
};

struct Seccion {
  int numero = 0;
  int primera = 0;
  int ultima = 0;
  std::string acento;  // theme colour: accent1 ... accent6
  std::string color;   // RGB of its dark shade
  std::string titulo;
};

struct Portada {
  std::string titulo;
  std::string subtitulo;
  std::vector<std::string> instrucciones;
};

// ---------------------------------------------------------------------------------------
// Reading the sources

[[noreturn]] void FallaFuente(const fs::path& archivo, int linea, const std::string& msj) {
  throw std::runtime_error(archivo.string() + ":" + std::to_string(linea) + ": " + msj);
}

std::string LeeArchivo(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  if (!f) throw std::runtime_error("no se puede leer " + ruta.string());
  std::ostringstream s;
  s << f.rdbuf();
  if (!f.good() && !f.eof()) throw std::runtime_error("error al leer " + ruta.string());
  return s.str();
}

// The meaningful lines of a source file: comments (#) and blank lines are skipped, a
// trailing carriage return is dropped. Each line keeps its line number for messages.
std::vector<std::pair<int, std::string>> LineasUtiles(const fs::path& ruta) {
  std::istringstream entrada(LeeArchivo(ruta));
  std::vector<std::pair<int, std::string>> lineas;
  std::string linea;
  for (int n = 1; std::getline(entrada, linea); ++n) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    if (linea.empty() || linea[0] == '#') continue;
    lineas.emplace_back(n, linea);
  }
  return lineas;
}

std::vector<std::string> Campos(const std::string& linea) {
  std::vector<std::string> campos;
  std::string::size_type inicio = 0;
  for (;;) {
    const auto tab = linea.find('\t', inicio);
    campos.push_back(linea.substr(inicio, tab - inicio));
    if (tab == std::string::npos) return campos;
    inicio = tab + 1;
  }
}

int Numero(const std::string& texto, const fs::path& archivo, int linea) {
  if (texto.empty() || texto.size() > 4 ||
      !std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; }))
    FallaFuente(archivo, linea, "se esperaba un número y no \"" + texto + "\"");
  return std::stoi(texto);
}

std::vector<Seccion> LeeSecciones(const fs::path& ruta) {
  std::vector<Seccion> secciones;
  for (const auto& [n, linea] : LineasUtiles(ruta)) {
    const auto c = Campos(linea);
    if (c.size() != 6) FallaFuente(ruta, n, "se esperaban 6 campos");
    Seccion s{
        Numero(c[0], ruta, n), Numero(c[1], ruta, n), Numero(c[2], ruta, n), c[3], c[4], c[5]};
    const int esperada = secciones.empty() ? 1 : secciones.back().ultima + 1;
    if (s.numero != static_cast<int>(secciones.size()) + 1 || s.primera != esperada ||
        s.ultima < s.primera)
      FallaFuente(ruta, n, "las secciones deben ir en orden y cubrir las preguntas sin huecos");
    if (s.acento.rfind("accent", 0) != 0 || s.color.size() != 6 || s.titulo.empty())
      FallaFuente(ruta, n, "acento, color o título inválido");
    secciones.push_back(s);
  }
  if (secciones.empty() || secciones.back().ultima != kTotalPreguntas)
    throw std::runtime_error(ruta.string() + ": las secciones no llegan a la pregunta " +
                             std::to_string(kTotalPreguntas));
  return secciones;
}

// Options are written in capitals in the source; a lower-case ASCII letter is a slip.
bool EnMayusculas(const std::string& texto) {
  return std::none_of(texto.begin(), texto.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::map<std::string, std::vector<Opcion>> LeeOpciones(const fs::path& ruta) {
  static const std::string kConCaja = " [caja]";
  std::map<std::string, std::vector<Opcion>> listas;
  std::vector<Opcion>* actual = nullptr;
  for (const auto& [n, linea] : LineasUtiles(ruta)) {
    if (linea.front() == '[' && linea.back() == ']') {
      const auto nombre = linea.substr(1, linea.size() - 2);
      if (!listas.emplace(nombre, std::vector<Opcion>{}).second)
        FallaFuente(ruta, n, "lista repetida: " + nombre);
      actual = &listas[nombre];
      continue;
    }
    if (actual == nullptr) FallaFuente(ruta, n, "opción fuera de una lista");
    Opcion o{linea, false};
    if (o.texto.size() > kConCaja.size() &&
        o.texto.compare(o.texto.size() - kConCaja.size(), kConCaja.size(), kConCaja) == 0) {
      o.texto.resize(o.texto.size() - kConCaja.size());
      o.conCaja = true;
    }
    if (!EnMayusculas(o.texto)) FallaFuente(ruta, n, "las opciones van en mayúsculas");
    actual->push_back(o);
  }
  for (const auto& [nombre, opciones] : listas)
    if (opciones.empty()) throw std::runtime_error(ruta.string() + ": lista vacía " + nombre);
  return listas;
}

std::vector<Pregunta> LeePreguntas(const fs::path& ruta, const std::vector<Seccion>& secciones,
                                   const std::map<std::string, std::vector<Opcion>>& listas) {
  std::vector<Pregunta> preguntas;
  for (const auto& [n, linea] : LineasUtiles(ruta)) {
    const auto c = Campos(linea);
    if (c.size() != 6) FallaFuente(ruta, n, "se esperaban 6 campos");
    Pregunta p;
    p.numero = Numero(c[0], ruta, n);
    p.seccion = Numero(c[1], ruta, n);
    if (p.numero != static_cast<int>(preguntas.size()) + 1)
      FallaFuente(ruta, n, "se esperaba la pregunta " + std::to_string(preguntas.size() + 1));
    if (p.seccion < 1 || p.seccion > static_cast<int>(secciones.size()) ||
        p.numero < secciones[p.seccion - 1].primera || p.numero > secciones[p.seccion - 1].ultima)
      FallaFuente(ruta, n, "la pregunta no pertenece a la sección " + c[1]);
    if (c[2] == "caja") {
      p.area = Area::Caja;
    } else if (c[2] == "caja_ancha") {
      p.area = Area::CajaAncha;
    } else if (c[2] == "lista") {
      p.area = Area::Lista;
    } else {
      FallaFuente(ruta, n, "área desconocida: " + c[2]);
    }
    if (p.area == Area::Lista) {
      if (listas.find(c[3]) == listas.end()) FallaFuente(ruta, n, "lista desconocida: " + c[3]);
      p.opciones = c[3];
    } else if (c[3] != "-") {
      FallaFuente(ruta, n, "una pregunta de recuadro no lleva opciones");
    }
    p.texto = c[4];
    if (p.texto.empty()) FallaFuente(ruta, n, "pregunta sin texto");
    if (c[5] != "-") p.nota = c[5];
    preguntas.push_back(p);
  }
  if (preguntas.size() != kTotalPreguntas)
    throw std::runtime_error(ruta.string() + ": se esperaban " + std::to_string(kTotalPreguntas) +
                             " preguntas");
  return preguntas;
}

Portada LeePortada(const fs::path& ruta) {
  const auto lineas = LineasUtiles(ruta);
  if (lineas.size() < 2) throw std::runtime_error(ruta.string() + ": falta título o subtítulo");
  Portada p{lineas[0].second, lineas[1].second, {}};
  for (std::size_t i = 2; i < lineas.size(); ++i) p.instrucciones.push_back(lineas[i].second);
  return p;
}

// ---------------------------------------------------------------------------------------
// The body of word/document.xml

std::string Escapa(const std::string& texto) {
  std::string r;
  r.reserve(texto.size());
  for (char c : texto) {
    switch (c) {
      case '&':
        r += "&amp;";
        break;
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      case '"':
        r += "&quot;";
        break;
      default:
        r += c;
    }
  }
  return r;
}

std::string Corrida(const std::string& texto, const std::string& propiedades = "") {
  std::string r = "<w:r>";
  if (!propiedades.empty()) r += "<w:rPr>" + propiedades + "</w:rPr>";
  const bool conservar = !texto.empty() && (texto.front() == ' ' || texto.back() == ' ');
  r += conservar ? "<w:t xml:space=\"preserve\">" : "<w:t>";
  return r + Escapa(texto) + "</w:t></w:r>";
}

std::string Parrafo(const std::string& pPr, const std::string& contenido) {
  return "<w:p><w:pPr>" + pPr + "</w:pPr>" + contenido + "</w:p>\n";
}

std::string Estilo(const std::string& id) {
  return "<w:pStyle w:val=\"" + id + "\"/>";
}

// A collapsed bookmark: the answer of the question is typed at this point.
std::string Marcador(int pregunta) {
  const auto id = std::to_string(pregunta - 1);
  return "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"bkm_preg_" + std::to_string(pregunta) +
         "\"/><w:bookmarkEnd w:id=\"" + id + "\"/>";
}

// 1.5 pt line in the section's colour, below the heading or closing the section.
std::string Raya(const Seccion& s) {
  return "<w:pBdr><w:bottom w:val=\"single\" w:sz=\"12\" w:space=\"1\" w:color=\"" + s.color +
         "\" w:themeColor=\"" + s.acento + "\" w:themeShade=\"80\"/></w:pBdr>";
}

std::string PropiedadesRespuesta(bool negrita) {
  return std::string(negrita ? "<w:b/><w:bCs/>" : "<w:b w:val=\"0\"/><w:bCs w:val=\"0\"/>") +
         "<w:color w:val=\"000000\"/>";
}

// One-cell table with single borders; its only paragraph is empty, bold and black and holds
// the bookmark of the question when one is given.
std::string Recuadro(int ancho, int pregunta, bool unirConSiguiente) {
  const auto w = std::to_string(ancho);
  std::string pPr = unirConSiguiente ? "<w:keepNext/>" : "";
  pPr += "<w:spacing w:before=\"40\" w:after=\"40\"/><w:rPr>" + PropiedadesRespuesta(true) +
         "</w:rPr>";
  return "<w:tbl><w:tblPr><w:tblStyle w:val=\"Tablaconcuadrcula\"/><w:tblW w:w=\"" + w +
         "\" w:type=\"dxa\"/><w:tblInd w:w=\"" + std::to_string(kSangria) +
         "\" w:type=\"dxa\"/><w:tblLayout w:type=\"fixed\"/><w:tblLook w:val=\"04A0\" "
         "w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"1\" w:lastColumn=\"0\" w:noHBand=\"0\" "
         "w:noVBand=\"1\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"" +
         w + "\"/></w:tblGrid><w:tr><w:trPr><w:cantSplit/><w:trHeight w:val=\"" +
         std::to_string(kAltoCaja) + "\"/></w:trPr><w:tc><w:tcPr><w:tcW w:w=\"" + w +
         "\" w:type=\"dxa\"/><w:vAlign w:val=\"center\"/></w:tcPr>" +
         Parrafo(pPr, pregunta > 0 ? Marcador(pregunta) : "") + "</w:tc></w:tr></w:tbl>\n";
}

// An option line: five spaces, the enclosing square U+20DE drawn around the last one, a
// space and the option. The space after the square is widened a little: the square is
// wider than the space it encloses and would otherwise touch the option's first letter.
std::string LineaOpcion(const Opcion& o, bool unirConSiguiente, const std::string& inicio) {
  const std::string pPr = Estilo("Opcin") + (unirConSiguiente ? "" : "<w:keepNext w:val=\"0\"/>");
  return Parrafo(pPr, inicio + Corrida("     \u20DE") + Corrida(" ", "<w:spacing w:val=\"80\"/>") +
                          Corrida(o.texto));
}

std::string AreaDeRespuesta(const Pregunta& p,
                            const std::map<std::string, std::vector<Opcion>>& listas) {
  const bool conNota = !p.nota.empty();
  if (p.area != Area::Lista)
    return Recuadro(p.area == Area::Caja ? kAnchoCaja : kAnchoCajaAncha, p.numero, conNota);

  std::string xml;
  const bool marcaEnOpcion = p.numero == kPreguntaMarcaEnOpcion;
  if (!marcaEnOpcion) {
    xml += Parrafo(Estilo("Respuesta") + "<w:rPr>" +
                       PropiedadesRespuesta(p.numero != kPreguntaSinNegrita) + "</w:rPr>",
                   Marcador(p.numero));
  }
  const auto& opciones = listas.at(p.opciones);
  for (std::size_t i = 0; i < opciones.size(); ++i) {
    const bool ultima = i + 1 == opciones.size();
    const auto& o = opciones[i];
    xml += LineaOpcion(o, !ultima || o.conCaja || conNota,
                       marcaEnOpcion && i == 0 ? Marcador(p.numero) : "");
    if (o.conCaja) xml += Recuadro(kAnchoCaja, 0, !ultima || conNota);
  }
  return xml;
}

std::string Cuerpo(const Portada& portada, const std::vector<Seccion>& secciones,
                   const std::vector<Pregunta>& preguntas,
                   const std::map<std::string, std::vector<Opcion>>& listas) {
  std::string xml = Parrafo(Estilo("Ttulo"), Corrida(portada.titulo)) +
                    Parrafo(Estilo("Subttulo"), Corrida(portada.subtitulo));
  for (const auto& texto : portada.instrucciones)
    xml += Parrafo(Estilo("Instrucciones"), Corrida(texto));

  for (const auto& s : secciones) {
    const std::string color = "<w:color w:val=\"" + s.color + "\" w:themeColor=\"" + s.acento +
                              "\" w:themeShade=\"80\"/>";
    xml += Parrafo(
        Estilo("TtuloSeccin") + Raya(s) + "<w:rPr><w:b/>" + color + "<w:sz w:val=\"28\"/></w:rPr>",
        Corrida(s.titulo, "<w:b/>" + color + "<w:sz w:val=\"28\"/><w:szCs w:val=\"28\"/>"));
    for (int n = s.primera; n <= s.ultima; ++n) {
      const auto& p = preguntas[n - 1];
      xml += Parrafo(
          Estilo("Pregunta") + "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>",
          Corrida(p.texto));
      xml += AreaDeRespuesta(p, listas);
      if (!p.nota.empty()) xml += Parrafo(Estilo("Nota"), Corrida(p.nota));
    }
    xml += Parrafo(Estilo("CierreSeccin") + Raya(s), "");
  }
  return xml;
}

// ---------------------------------------------------------------------------------------
// Writing the package

struct CierraZip {
  void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipPtr = std::unique_ptr<zip_t, CierraZip>;

struct LiberaFuente {
  void operator()(zip_source_t* s) const { zip_source_free(s); }
};
using FuentePtr = std::unique_ptr<zip_source_t, LiberaFuente>;

[[noreturn]] void FallaZip(const std::string& que, zip_error_t* error) {
  throw std::runtime_error(que + ": " + zip_error_strerror(error));
}

void EscribeDotx(const fs::path& salida,
                 const std::vector<std::pair<std::string, std::string>>& partes) {
  int codigo = 0;
  ZipPtr zip(zip_open(salida.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &codigo));
  if (!zip) {
    zip_error_t error;
    zip_error_init_with_code(&error, codigo);
    const std::string msj = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw std::runtime_error("no se puede crear " + salida.string() + ": " + msj);
  }
  for (const auto& [nombre, datos] : partes) {
    FuentePtr fuente(zip_source_buffer(zip.get(), datos.data(), datos.size(), 0));
    if (!fuente) FallaZip(nombre, zip_get_error(zip.get()));
    const zip_int64_t i = zip_file_add(zip.get(), nombre.c_str(), fuente.get(), ZIP_FL_ENC_UTF_8);
    if (i < 0) FallaZip(nombre, zip_get_error(zip.get()));
    fuente.release();  // the archive owns the source now
    const auto indice = static_cast<zip_uint64_t>(i);
    if (zip_set_file_compression(zip.get(), indice, ZIP_CM_DEFLATE, 9) != 0 ||
        zip_file_set_dostime(zip.get(), indice, kHoraDos, kFechaDos, 0) != 0 ||
        zip_file_set_external_attributes(zip.get(), indice, 0, ZIP_OPSYS_DOS, 0) != 0)
      FallaZip(nombre, zip_get_error(zip.get()));
  }
  if (zip_close(zip.get()) != 0) FallaZip(salida.string(), zip_get_error(zip.get()));
  zip.release();  // zip_close freed the archive
}

// A text as a C++ string literal: quotes, backslashes and control bytes escaped.
std::string LiteralCpp(const std::string& texto) {
  std::string r = "\"";
  for (unsigned char c : texto) {
    if (c == '"' || c == '\\') {
      r += '\\';
      r += static_cast<char>(c);
    } else if (c < 0x20) {
      char oct[8];
      std::snprintf(oct, sizeof oct, "\\%03o", c);
      r += oct;
    } else {
      r += static_cast<char>(c);
    }
  }
  return r + "\"";
}

// Writes a generated source file whole.
void Guarda(const fs::path& salida, const std::string& texto) {
  std::ofstream f(salida, std::ios::binary | std::ios::trunc);
  f << texto;
  f.close();
  if (!f) throw std::runtime_error("no se puede escribir " + salida.string());
}

void EscribeArreglo(const fs::path& salida, const std::string& bytes) {
  std::ostringstream s;
  s << "// Generated by generador_plantilla from document/template/contenido and\n"
       "// document/template/paquete. Do not edit.\n"
       "#include \"document/template/plantilla.h\"\n\n"
       "#include \"document/template/contenido.h\"\n\n"
       "namespace kv {\nnamespace {\n\nconst unsigned char kPlantilla[] = {";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 16 == 0) s << "\n   ";
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02x,", static_cast<unsigned char>(bytes[i]));
    s << hex;
  }
  // The questions' texts come from the content's table (contenido.h), written once.
  s << "\n};\n\n}  // namespace\n\n"
       "std::span<const unsigned char> PlantillaCuestionario() { return kPlantilla; }\n\n"
       "const char* TextoPregunta(int nPregunta) {\n"
       "  const auto preguntas = PreguntasCuestionario();\n"
       "  if (nPregunta < 1 || nPregunta > static_cast<int>(preguntas.size())) return \"\";\n"
       "  return preguntas[static_cast<std::size_t>(nPregunta - 1)].sTexto;\n"
       "}\n\n"
       "}  // namespace kv\n";
  Guarda(salida, s.str());
}

void EscribeContenido(const fs::path& salida, const std::vector<Seccion>& secciones,
                      const std::vector<Pregunta>& preguntas,
                      const std::map<std::string, std::vector<Opcion>>& listas) {
  std::ostringstream s;
  s << "// Generated by generador_plantilla from document/template/contenido. Do not edit.\n"
       "#include \"document/template/contenido.h\"\n\n"
       "namespace kv {\nnamespace {\n\n";
  for (const auto& [nombre, opciones] : listas) {
    s << "const TOpcionCuestionario kLista_" << nombre << "[] = {\n";
    for (const auto& o : opciones)
      s << "    {" << LiteralCpp(o.texto) << ", " << (o.conCaja ? "true" : "false") << "},\n";
    s << "};\n";
  }
  s << "\nconst TSeccionCuestionario kSecciones[] = {\n";
  for (const auto& x : secciones)
    s << "    {" << x.numero << ", " << x.primera << ", " << x.ultima << ", "
      << LiteralCpp(x.titulo) << "},\n";
  s << "};\n\nconst TPreguntaCuestionario kPreguntas[] = {\n";
  for (const auto& p : preguntas) {
    const char* area = p.area == Area::Caja        ? "TAreaRespuesta::Caja"
                       : p.area == Area::CajaAncha ? "TAreaRespuesta::CajaAncha"
                                                   : "TAreaRespuesta::Lista";
    s << "    {" << p.numero << ", " << p.seccion << ", " << area << ", "
      << (p.opciones.empty() ? "{}" : "kLista_" + p.opciones) << ", " << LiteralCpp(p.opciones)
      << ",\n     " << LiteralCpp(p.texto) << ",\n     " << LiteralCpp(p.nota) << "},\n";
  }
  s << "};\n\n}  // namespace\n\n"
       "std::span<const TSeccionCuestionario> SeccionesCuestionario() { return kSecciones; }\n"
       "std::span<const TPreguntaCuestionario> PreguntasCuestionario() { return kPreguntas; }\n\n"
       "}  // namespace kv\n";
  Guarda(salida, s.str());
}

void Genera(const fs::path& contenido, const fs::path& paquete, const fs::path& dotx,
            const fs::path& cpp, const fs::path& cppContenido) {
  const auto secciones = LeeSecciones(contenido / "secciones.tsv");
  const auto listas = LeeOpciones(contenido / "opciones.txt");
  const auto preguntas = LeePreguntas(contenido / "preguntas.tsv", secciones, listas);
  const auto portada = LeePortada(contenido / "introduccion.txt");

  std::vector<std::pair<std::string, std::string>> partes;
  for (const auto& nombre : kPartes) {
    auto datos = LeeArchivo(paquete / nombre);
    if (nombre == "word/document.xml") {
      const auto pos = datos.find(kMarcaCuerpo);
      if (pos == std::string::npos)
        throw std::runtime_error(nombre + ": falta la marca " + kMarcaCuerpo);
      datos.replace(pos, kMarcaCuerpo.size(), Cuerpo(portada, secciones, preguntas, listas));
    }
    partes.emplace_back(nombre, std::move(datos));
  }
  EscribeDotx(dotx, partes);
  EscribeArreglo(cpp, LeeArchivo(dotx));
  if (!cppContenido.empty()) EscribeContenido(cppContenido, secciones, preguntas, listas);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::cerr << "uso: generador_plantilla CONTENIDO PAQUETE SALIDA.dotx SALIDA.cpp "
                 "[CONTENIDO.cpp]\n";
    return 2;
  }
  try {
    Genera(argv[1], argv[2], argv[3], argv[4], argc == 6 ? argv[5] : "");
  } catch (const std::exception& e) {
    std::cerr << "generador_plantilla: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
