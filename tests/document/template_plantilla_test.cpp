// The embedded questionnaire template: what the report and the document layer rely on
// (parts, page setup, header placeholder, footer fields, numbered questions, bookmarks and
// their places) and the layout of the answer areas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/template/plantilla.h"
#include "tests/document/template_paquete.h"

namespace kv {
namespace {

using prueba::TextoDe;

constexpr int kTotal = 212;
const std::string kCuadro = "     \u20DE ";  // five spaces, enclosing square, space

// Choice questions and their number of options; every other question has an answer box.
const std::map<int, int> kOpciones = {{5, 8},   {7, 32},  {9, 2},   {11, 32}, {13, 2},  {15, 2},
                                      {17, 4},  {18, 2},  {19, 45}, {20, 2},  {21, 45}, {25, 8},
                                      {27, 3},  {28, 2},  {30, 2},  {36, 3},  {37, 2},  {69, 2},
                                      {101, 2}, {133, 2}, {165, 2}, {197, 2}, {209, 2}, {211, 2}};
const std::set<int> kConCajaTrasOpciones = {5, 27, 36};
const std::set<int> kConNota = {4, 6, 12, 13, 16, 17, 18, 28};

struct TSeccionEsperada {
  const char* titulo;
  int primera;
  int ultima;
  const char* acento;
};
const TSeccionEsperada kSecciones[] = {
    {"Información General", 1, 17, "accent1"},
    {"Operación con entidades financieras nacionales", 18, 27, "accent2"},
    {"Operación con entidades financieras extranjeras", 28, 36, "accent6"},
    {"Operaciones de compra de dólares americanos", 37, 68, "accent4"},
    {"Operaciones de compra de otras divisas", 69, 100, "accent1"},
    {"Operaciones de venta de dólares americanos", 101, 132, "accent2"},
    {"Operaciones de venta de otras divisas", 133, 164, "accent6"},
    {"Operaciones de compra de documentos a la vista denominados y pagaderos en moneda "
     "extranjera a cargo de entidades financieras",
     165, 196, "accent4"},
    {"Operaciones de venta de documentos a la vista denominados y pagaderos en moneda "
     "extranjera a cargo de entidades financieras",
     197, 208, "accent1"},
    {"Traslado de valores", 209, 212, "accent2"},
};

bool Activo(pugi::xml_node propiedad) {
  if (!propiedad) return false;
  const std::string v = propiedad.attribute("w:val").as_string("true");
  return v != "0" && v != "false" && v != "off";
}

std::string Estilo(pugi::xml_node parrafo) {
  return parrafo.child("w:pPr").child("w:pStyle").attribute("w:val").as_string();
}

bool EsPregunta(pugi::xml_node nodo) {
  return std::strcmp(nodo.name(), "w:p") == 0 && nodo.child("w:pPr").child("w:numPr");
}

// The last paragraph of an element of an answer area (the paragraph itself, or that of a box).
pugi::xml_node UltimoParrafo(pugi::xml_node nodo) {
  if (std::strcmp(nodo.name(), "w:p") == 0) return nodo;
  const auto ps = nodo.select_nodes(".//w:p");
  return ps.empty() ? pugi::xml_node() : ps[ps.size() - 1].node();
}

class PlantillaEmbebida : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    partes_ = new std::vector<prueba::TParteZip>(prueba::LeeZip(kv::PlantillaCuestionario()));
    porNombre_ = new std::map<std::string, std::string>(prueba::PartesPorNombre(*partes_));
    xml_ = new std::map<std::string, pugi::xml_document>();
    for (const auto& [nombre, datos] : *porNombre_)
      prueba::CargaXml((*xml_)[nombre], nombre, datos);
    // The body in order, and where each question paragraph stands in it.
    cuerpo_ = new std::vector<pugi::xml_node>();
    preguntas_ = new std::vector<std::size_t>();
    for (auto n : Raiz("word/document.xml").child("w:body").children()) {
      if (EsPregunta(n)) preguntas_->push_back(cuerpo_->size());
      cuerpo_->push_back(n);
    }
  }
  static void TearDownTestSuite() {
    delete preguntas_;
    delete cuerpo_;
    delete xml_;
    delete porNombre_;
    delete partes_;
  }

  static pugi::xml_node Raiz(const std::string& parte) { return (*xml_)[parte].document_element(); }

  // The body nodes after question n up to the next question or section heading.
  static std::vector<pugi::xml_node> Area(int n) {
    std::vector<pugi::xml_node> area;
    for (std::size_t i = (*preguntas_)[n - 1] + 1; i < cuerpo_->size(); ++i) {
      const auto nodo = (*cuerpo_)[i];
      if (EsPregunta(nodo) || Estilo(nodo) == "TtuloSeccin" || Estilo(nodo) == "CierreSeccin" ||
          std::strcmp(nodo.name(), "w:sectPr") == 0)
        break;
      area.push_back(nodo);
    }
    return area;
  }

  // keep-with-next of a paragraph: its own setting, else that of its style chain.
  static bool UnidoConSiguiente(pugi::xml_node parrafo) {
    if (auto k = parrafo.child("w:pPr").child("w:keepNext")) return Activo(k);
    std::string estilo = Estilo(parrafo);
    const auto estilos = Raiz("word/styles.xml");
    for (int vueltas = 0; !estilo.empty() && vueltas < 10; ++vueltas) {
      const auto s = estilos.find_child_by_attribute("w:style", "w:styleId", estilo.c_str());
      if (auto k = s.child("w:pPr").child("w:keepNext")) return Activo(k);
      estilo = s.child("w:basedOn").attribute("w:val").as_string();
    }
    return false;
  }

  static inline std::vector<prueba::TParteZip>* partes_ = nullptr;
  static inline std::map<std::string, std::string>* porNombre_ = nullptr;
  static inline std::map<std::string, pugi::xml_document>* xml_ = nullptr;
  static inline std::vector<pugi::xml_node>* cuerpo_ = nullptr;
  static inline std::vector<std::size_t>* preguntas_ = nullptr;
};

TEST_F(PlantillaEmbebida, TieneExactamenteLasPartesDeUnaPlantillaDeWord) {
  std::vector<std::string> nombres;
  for (const auto& p : *partes_) nombres.push_back(p.nombre);
  const std::vector<std::string> esperadas = {"[Content_Types].xml",
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
                                              "docProps/app.xml"};
  EXPECT_EQ(nombres, esperadas);

  const auto tipos = Raiz("[Content_Types].xml");
  const auto principal =
      tipos.find_child_by_attribute("Override", "PartName", "/word/document.xml");
  EXPECT_STREQ(principal.attribute("ContentType").value(),
               "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml");
  // Every declared part exists, and every XML part but the relationships has a declared type.
  for (auto o : tipos.children("Override"))
    EXPECT_TRUE(porNombre_->count(std::string(o.attribute("PartName").value()).substr(1)))
        << o.attribute("PartName").value();
  for (const auto& nombre : nombres) {
    if (nombre.ends_with(".rels") || nombre == "[Content_Types].xml" ||
        nombre == "customXml/item1.xml")
      continue;
    EXPECT_TRUE(tipos.find_child_by_attribute("Override", "PartName", ("/" + nombre).c_str()))
        << nombre;
  }
  // The document's relationships point at parts of the package.
  for (auto r : Raiz("word/_rels/document.xml.rels").children("Relationship")) {
    std::string destino = r.attribute("Target").value();
    destino = destino.starts_with("../") ? destino.substr(3) : "word/" + destino;
    EXPECT_TRUE(porNombre_->count(destino)) << destino;
  }
}

TEST_F(PlantillaEmbebida, EsReproducibleConFechasFijas) {
  // Every entry carries the same fixed date, so rebuilding gives the same bytes.
  for (const auto& p : *partes_) EXPECT_EQ(p.modificado, partes_->front().modificado) << p.nombre;
  std::tm fecha{};
  const time_t t = partes_->front().modificado;
  localtime_r(&t, &fecha);
  EXPECT_EQ(fecha.tm_year + 1900, 2020);
}

TEST_F(PlantillaEmbebida, ConfiguracionDePaginaCartaVerticalUnaSeccion) {
  const auto cuerpo = Raiz("word/document.xml").child("w:body");
  EXPECT_EQ(cuerpo.select_nodes(".//w:sectPr").size(), 1u);
  const auto sect = cuerpo.last_child();
  ASSERT_STREQ(sect.name(), "w:sectPr");
  EXPECT_EQ(sect.child("w:pgSz").attribute("w:w").as_int(), 12240);
  EXPECT_EQ(sect.child("w:pgSz").attribute("w:h").as_int(), 15840);
  EXPECT_STRNE(sect.child("w:pgSz").attribute("w:orient").as_string(), "landscape");
  const auto m = sect.child("w:pgMar");
  EXPECT_EQ(m.attribute("w:top").as_int(), 1417);
  EXPECT_EQ(m.attribute("w:right").as_int(), 758);
  EXPECT_EQ(m.attribute("w:bottom").as_int(), 1417);
  EXPECT_EQ(m.attribute("w:left").as_int(), 851);
  EXPECT_EQ(m.attribute("w:header").as_int(), 708);
  EXPECT_EQ(m.attribute("w:footer").as_int(), 708);

  // Only the default header and footer; no different first page, no even pages.
  EXPECT_FALSE(sect.child("w:titlePg"));
  EXPECT_FALSE(Raiz("word/settings.xml").child("w:evenAndOddHeaders"));
  std::vector<std::string> referencias;
  for (auto r : sect.children())
    if (std::string n = r.name(); n == "w:headerReference" || n == "w:footerReference")
      referencias.push_back(n + ":" + r.attribute("w:type").value());
  EXPECT_EQ(referencias,
            (std::vector<std::string>{"w:headerReference:default", "w:footerReference:default"}));

  const auto compat =
      Raiz("word/settings.xml")
          .child("w:compat")
          .find_child_by_attribute("w:compatSetting", "w:name", "compatibilityMode");
  EXPECT_EQ(compat.attribute("w:val").as_int(), 15);
  const auto rpr =
      Raiz("word/styles.xml").child("w:docDefaults").child("w:rPrDefault").child("w:rPr");
  EXPECT_EQ(rpr.child("w:sz").attribute("w:val").as_int(), 22);
  EXPECT_STREQ(rpr.child("w:lang").attribute("w:val").value(), "es-MX");
  EXPECT_STREQ(rpr.child("w:rFonts").attribute("w:asciiTheme").value(), "minorHAnsi");
}

TEST_F(PlantillaEmbebida, MarcadorDelNombreEnTresPiezasSoloEnElEncabezado) {
  const auto parrafos = Raiz("word/header1.xml").children("w:p");
  const std::vector<pugi::xml_node> ps(parrafos.begin(), parrafos.end());
  ASSERT_EQ(ps.size(), 2u);
  std::vector<std::string> piezas;
  for (auto t : ps[0].select_nodes(".//w:t")) piezas.push_back(t.node().text().get());
  EXPECT_EQ(piezas, (std::vector<std::string>{"_", "NombreCC", "_"}));
  EXPECT_STREQ(ps[0].child("w:pPr").child("w:jc").attribute("w:val").value(), "center");
  for (auto r : ps[0].children("w:r")) {
    EXPECT_TRUE(Activo(r.child("w:rPr").child("w:b")));
    EXPECT_EQ(r.child("w:rPr").child("w:sz").attribute("w:val").as_int(), 28);
    EXPECT_STREQ(r.child("w:rPr").child("w:color").attribute("w:val").value(), "000000");
  }
  EXPECT_EQ(TextoDe(ps[1]), "");

  // The placeholder occurs in no other part: neither in the bytes nor in the text of any
  // paragraph, where Word's find would also match it across runs.
  for (const auto& [nombre, datos] : *porNombre_) {
    if (nombre == "word/header1.xml") continue;
    EXPECT_EQ(datos.find("NombreCC"), std::string::npos) << nombre;
    for (const auto& p : Raiz(nombre).select_nodes("//w:p"))
      EXPECT_EQ(TextoDe(p.node()).find("_NombreCC_"), std::string::npos) << nombre;
  }
}

TEST_F(PlantillaEmbebida, PieConNumeroDePaginaYTotalDePaginas) {
  const auto pie = Raiz("word/footer1.xml");
  ASSERT_EQ(pie.select_nodes("w:p").size(), 1u);
  const auto p = pie.child("w:p");
  EXPECT_STREQ(p.child("w:pPr").child("w:jc").attribute("w:val").value(), "right");
  // Text and fields in order: "Página ", PAGE, " | ", NUMPAGES.
  std::string secuencia;
  for (auto r : p.children("w:r")) {
    EXPECT_EQ(r.child("w:rPr").child("w:sz").attribute("w:val").as_int(), 24);
    if (auto instr = r.child("w:instrText")) {
      std::string codigo = instr.text().get();
      codigo = codigo.substr(codigo.find_first_not_of(' '));
      secuencia += "{" + codigo.substr(0, codigo.find(' ')) + "}";
    } else if (auto fld = r.child("w:fldChar")) {
      if (std::string(fld.attribute("w:fldCharType").value()) == "separate") secuencia += "=";
    } else {
      secuencia += r.child("w:t").text().get();
    }
  }
  EXPECT_EQ(secuencia, "Página {PAGE}=1 | {NUMPAGES}=1");
}

TEST_F(PlantillaEmbebida, PreguntasEnUnaSolaListaNumeradaSinReinicios) {
  ASSERT_EQ(preguntas_->size(), static_cast<std::size_t>(kTotal));
  for (std::size_t i : *preguntas_) {
    const auto num = (*cuerpo_)[i].child("w:pPr").child("w:numPr");
    EXPECT_EQ(num.child("w:numId").attribute("w:val").as_int(), 1);
    EXPECT_EQ(num.child("w:ilvl").attribute("w:val").as_int(), 0);
    EXPECT_FALSE(TextoDe((*cuerpo_)[i]).empty());
  }
  // No other paragraph anywhere (tables included) is numbered.
  EXPECT_EQ(Raiz("word/document.xml").select_nodes(".//w:numPr").size(),
            static_cast<std::size_t>(kTotal));

  const auto numeracion = Raiz("word/numbering.xml");
  ASSERT_EQ(numeracion.select_nodes("w:num").size(), 1u);
  const auto num = numeracion.child("w:num");
  EXPECT_EQ(num.attribute("w:numId").as_int(), 1);
  EXPECT_FALSE(num.child("w:lvlOverride"));
  const auto abstracto = numeracion.find_child_by_attribute(
      "w:abstractNum", "w:abstractNumId", num.child("w:abstractNumId").attribute("w:val").value());
  const auto nivel = abstracto.find_child_by_attribute("w:lvl", "w:ilvl", "0");
  EXPECT_EQ(nivel.child("w:start").attribute("w:val").as_int(), 1);
  EXPECT_STREQ(nivel.child("w:numFmt").attribute("w:val").value(), "decimal");
  EXPECT_STREQ(nivel.child("w:lvlText").attribute("w:val").value(), "%1.");
  EXPECT_FALSE(nivel.child("w:lvlRestart"));
  // The number starts at the margin and "212." fits in the hanging indent (0.8 cm or more).
  const auto sangria = nivel.child("w:pPr").child("w:ind");
  EXPECT_EQ(sangria.attribute("w:left").as_int(), sangria.attribute("w:hanging").as_int());
  EXPECT_GE(sangria.attribute("w:hanging").as_int(), 454);
}

TEST_F(PlantillaEmbebida, MarcadoresColapsadosUnoPorPreguntaEnSuLugar) {
  // Only in the body, exactly 212, named bkm_preg_1 to bkm_preg_212 with ids 0 to 211.
  for (const auto& [nombre, datos] : *porNombre_) {
    if (nombre != "word/document.xml") {
      EXPECT_EQ(datos.find("bookmark"), std::string::npos) << nombre;
    }
  }
  const auto inicios = Raiz("word/document.xml").select_nodes(".//w:bookmarkStart");
  ASSERT_EQ(inicios.size(), static_cast<std::size_t>(kTotal));
  EXPECT_EQ(Raiz("word/document.xml").select_nodes(".//w:bookmarkEnd").size(), inicios.size());

  for (int n = 1; n <= kTotal; ++n) {
    SCOPED_TRACE("pregunta " + std::to_string(n));
    const std::string nombre = "bkm_preg_" + std::to_string(n);
    const auto nodo = Raiz("word/document.xml")
                          .select_node(("//w:bookmarkStart[@w:name='" + nombre + "']").c_str())
                          .node();
    ASSERT_TRUE(nodo);
    EXPECT_EQ(nodo.attribute("w:id").as_int(), n - 1);
    // Collapsed: the end follows at once, and both stand first in their paragraph.
    const auto fin = nodo.next_sibling();
    EXPECT_STREQ(fin.name(), "w:bookmarkEnd");
    EXPECT_EQ(fin.attribute("w:id").as_int(), n - 1);
    const auto parrafo = nodo.parent();
    ASSERT_STREQ(parrafo.name(), "w:p");
    auto primero = parrafo.first_child();
    if (std::strcmp(primero.name(), "w:pPr") == 0) primero = primero.next_sibling();
    EXPECT_EQ(primero, nodo);

    // After the paragraph of question n, before that of question n + 1.
    const auto area = Area(n);
    const bool enArea = std::any_of(area.begin(), area.end(), [&](pugi::xml_node a) {
      return a == parrafo ||
             a.select_node((".//w:bookmarkStart[@w:name='" + nombre + "']").c_str());
    });
    EXPECT_TRUE(enArea);
  }
}

TEST_F(PlantillaEmbebida, RecuadrosDeRespuestaConSuMarcador) {
  int recuadros = 0;
  int angostos = 0;
  for (int n = 1; n <= kTotal; ++n) {
    if (kOpciones.count(n)) continue;
    SCOPED_TRACE("pregunta " + std::to_string(n));
    const auto area = Area(n);
    ASSERT_FALSE(area.empty());
    const auto tabla = area.front();
    ASSERT_STREQ(tabla.name(), "w:tbl");
    EXPECT_EQ(tabla.select_nodes("w:tr").size(), 1u);
    EXPECT_EQ(tabla.select_nodes("w:tr/w:tc").size(), 1u);
    EXPECT_STREQ(tabla.child("w:tblPr").child("w:tblStyle").attribute("w:val").value(),
                 "Tablaconcuadrcula");
    const auto parrafos = tabla.select_nodes("w:tr/w:tc/w:p");
    ASSERT_EQ(parrafos.size(), 1u);
    const auto p = parrafos.first().node();
    EXPECT_STREQ(p.child("w:bookmarkStart").attribute("w:name").value(),
                 ("bkm_preg_" + std::to_string(n)).c_str());
    EXPECT_EQ(TextoDe(p), "");
    const auto rpr = p.child("w:pPr").child("w:rPr");
    EXPECT_TRUE(Activo(rpr.child("w:b")));
    EXPECT_STREQ(rpr.child("w:color").attribute("w:val").value(), "000000");
    EXPECT_TRUE(UnidoConSiguiente((*cuerpo_)[(*preguntas_)[n - 1]]));
    ++recuadros;
    // About 7.25 cm (4110 twentieths of a point) for most questions.
    if (tabla.child("w:tblPr").child("w:tblW").attribute("w:w").as_int() == 4110) ++angostos;
  }
  EXPECT_EQ(recuadros, 188);
  EXPECT_GT(angostos, 188 / 2);
  // The only other tables are the empty boxes after the last option of 5, 27 and 36.
  EXPECT_EQ(Raiz("word/document.xml").select_nodes("w:body/w:tbl").size(), 191u);
}

TEST_F(PlantillaEmbebida, ListasDeOpcionesConSuMarcadorYSusOpciones) {
  for (const auto& [n, cuantas] : kOpciones) {
    SCOPED_TRACE("pregunta " + std::to_string(n));
    const auto area = Area(n);
    ASSERT_FALSE(area.empty());
    EXPECT_TRUE(UnidoConSiguiente((*cuerpo_)[(*preguntas_)[n - 1]]));
    std::size_t i = 0;
    if (n != 17) {
      // The bookmark has a line of its own above the options.
      const auto p = area[i++];
      ASSERT_STREQ(p.name(), "w:p");
      EXPECT_STREQ(p.child("w:bookmarkStart").attribute("w:name").value(),
                   ("bkm_preg_" + std::to_string(n)).c_str());
      EXPECT_EQ(TextoDe(p), "");
      const auto rpr = p.child("w:pPr").child("w:rPr");
      EXPECT_EQ(Activo(rpr.child("w:b")), n != 5) << "negrita";
      EXPECT_STREQ(rpr.child("w:color").attribute("w:val").value(), "000000");
      EXPECT_TRUE(UnidoConSiguiente(p));
    } else {
      // At 17 the bookmark starts the first option line itself.
      EXPECT_STREQ(area[0].child("w:bookmarkStart").attribute("w:name").value(), "bkm_preg_17");
      EXPECT_TRUE(TextoDe(area[0]).starts_with(kCuadro));
    }
    int opciones = 0;
    std::set<std::string> distintas;
    for (; i < area.size() && TextoDe(area[i]).starts_with(kCuadro); ++i) {
      const std::string opcion = TextoDe(area[i]).substr(kCuadro.size());
      EXPECT_TRUE(distintas.insert(opcion).second) << "repetida: " << opcion;
      EXPECT_FALSE(opcion.empty());
      EXPECT_TRUE(std::none_of(opcion.begin(), opcion.end(), [](char c) {
        return c >= 'a' && c <= 'z';
      })) << opcion;
      const bool siguenMas = i + 1 < area.size();
      EXPECT_EQ(UnidoConSiguiente(area[i]), siguenMas) << opcion;
      ++opciones;
    }
    EXPECT_EQ(opciones, cuantas);
    // Then, at 5, 27 and 36, an empty box without bookmark for the house's own value.
    if (kConCajaTrasOpciones.count(n)) {
      ASSERT_LT(i, area.size());
      EXPECT_STREQ(area[i].name(), "w:tbl");
      EXPECT_FALSE(area[i].select_node(".//w:bookmarkStart"));
      EXPECT_EQ(TextoDe(area[i]), "");
      EXPECT_TRUE(TextoDe(area[i - 1]).ends_with("ESPECIFIQUE SU PROPIO VALOR:"));
      ++i;
    }
    EXPECT_EQ(area.size() - i, kConNota.count(n)) << "solo puede seguir la nota";
  }
}

TEST_F(PlantillaEmbebida, NotasDeOrientacionTrasSuAreaDeRespuesta) {
  std::set<int> conNota;
  for (int n = 1; n <= kTotal; ++n) {
    const auto area = Area(n);
    if (!area.empty() && Estilo(area.back()) == "Nota") {
      conNota.insert(n);
      EXPECT_FALSE(TextoDe(area.back()).empty());
      // The answer area keeps with its note.
      ASSERT_GE(area.size(), 2u);
      EXPECT_TRUE(UnidoConSiguiente(UltimoParrafo(area[area.size() - 2]))) << n;
    }
  }
  EXPECT_EQ(conNota, kConNota);
}

TEST_F(PlantillaEmbebida, SeccionesConTituloRayasYColores) {
  std::vector<pugi::xml_node> titulos, cierres;
  for (auto n : *cuerpo_) {
    if (Estilo(n) == "TtuloSeccin") titulos.push_back(n);
    if (Estilo(n) == "CierreSeccin") cierres.push_back(n);
  }
  ASSERT_EQ(titulos.size(), std::size(kSecciones));
  ASSERT_EQ(cierres.size(), std::size(kSecciones));
  for (std::size_t s = 0; s < titulos.size(); ++s) {
    const auto& e = kSecciones[s];
    SCOPED_TRACE(e.titulo);
    EXPECT_EQ(TextoDe(titulos[s]), e.titulo);
    // The heading comes right before its first question; the closing line after the answer
    // area of its last one.
    EXPECT_EQ(titulos[s].next_sibling(), (*cuerpo_)[(*preguntas_)[e.primera - 1]]);
    const auto area = Area(e.ultima);
    EXPECT_EQ((area.empty() ? (*cuerpo_)[(*preguntas_)[e.ultima - 1]] : area.back()).next_sibling(),
              cierres[s]);

    const auto run = titulos[s].child("w:r").child("w:rPr");
    EXPECT_TRUE(Activo(run.child("w:b")));
    EXPECT_EQ(run.child("w:sz").attribute("w:val").as_int(), 28);
    EXPECT_STREQ(run.child("w:color").attribute("w:themeColor").value(), e.acento);
    EXPECT_STREQ(run.child("w:color").attribute("w:themeShade").value(), "80");
    for (auto linea : {titulos[s], cierres[s]}) {
      const auto borde = linea.child("w:pPr").child("w:pBdr").child("w:bottom");
      EXPECT_STREQ(borde.attribute("w:val").value(), "single");
      EXPECT_EQ(borde.attribute("w:sz").as_int(), 12);  // eighths of a point: 1.5 pt
      EXPECT_STREQ(borde.attribute("w:themeColor").value(), e.acento);
      EXPECT_STREQ(borde.attribute("w:color").value(),
                   run.child("w:color").attribute("w:val").value());
    }
  }
}

}  // namespace
}  // namespace kv
