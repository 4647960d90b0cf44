// The layer on the questionnaire template the program carries: the company name in the
// header, the 212 answers at their bookmarks, the .docx and the PDF.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>

#include "document/documento_word.h"
#include "document/ooxml_story.h"
#include "document/ooxml_text.h"
#include "document/template/plantilla.h"
#include "tests/document/word_paquetes.h"

namespace kv {
namespace {

using namespace prueba;

const std::string kPlantilla = "PlantillaCuestionarioOperatividad2020.dotx";
const std::string kNombre = "CAMBIOS DEL NORTE, S.A. DE C.V.";

std::string Respuesta(int n) {
  return "Respuesta: #" + std::to_string(n) + "#";
}

void LlenaCuestionario(TProgramaDePrueba& programa, TDocumentoWord& documento) {
  auto bytes = PlantillaCuestionario();
  std::ofstream(programa.Ruta(kPlantilla), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(documento.CargaDocumentoWord(kPlantilla, ""));
  TDatoBusquedaDocWord datos;
  datos.vMatchCase = false;
  datos.vFindText = "_NombreCC_";
  datos.vReplaceWith = kNombre;
  documento.RepDatEnTodoDocWord(datos);
  for (int n = 1; n <= 212; ++n)
    ASSERT_TRUE(documento.RepBkmEnTodoDocWord("bkm_preg_" + std::to_string(n), Respuesta(n), 0));
}

TEST(WordCuestionario, CadaRespuestaAlInicioDeSuMarcadorConSuFormato) {
  TProgramaDePrueba programa;
  TDocumentoWord documento;
  LlenaCuestionario(programa, documento);
  ASSERT_TRUE(documento.GuardaDocumentoWord("CuestionarioOperatividad2020.docx", "", ""));
  const std::string sDocx = programa.Ruta("CuestionarioOperatividad2020.docx");
  EXPECT_EQ(TextoDeParte(sDocx, "word/header1.xml").find(kNombre), 0u);
  std::string sXml = LeeParte(sDocx, "word/document.xml");
  EXPECT_EQ(sXml.find("_NombreCC_"), std::string::npos);
  pugi::xml_document doc;
  ASSERT_TRUE(
      doc.load_buffer(sXml.data(), sXml.size(), pugi::parse_default | pugi::parse_ws_pcdata));
  for (int n = 1; n <= 212; ++n) {
    SCOPED_TRACE(n);
    std::string sMarcador = "bkm_preg_" + std::to_string(n);
    pugi::xml_node inicio = doc.find_node([&](pugi::xml_node x) {
      return std::string(x.name()) == "w:bookmarkStart" &&
             sMarcador == x.attribute("w:name").value();
    });
    ASSERT_TRUE(inicio);
    std::string sParrafo = ooxml::AUtf8(ooxml::paragraphText(inicio.parent()));
    EXPECT_EQ(sParrafo.rfind(Respuesta(n), 0), 0u) << sParrafo;
    // Bold in the answer boxes; the choice lists of questions 5 and 17 are not bold.
    bool bNegrita = FormatoDelTexto(sDocx, "word/document.xml", Respuesta(n)).find("<w:b/>") !=
                    std::string::npos;
    EXPECT_EQ(bNegrita, n != 5 && n != 17);
  }
}

TEST(WordCuestionario, ElPdfLlevaRespuestasNombreYPaginas) {
  TProgramaDePrueba programa;
  TDocumentoWord documento;
  LlenaCuestionario(programa, documento);
  documento.SetGeneraPDFDocWord(true);
  ASSERT_TRUE(documento.GuardaDocumentoWord("CuestionarioOperatividad2020.docx", "", ""))
      << documento.GetUltimoError();
  std::string sTexto = PdfATexto(programa.Ruta("CuestionarioOperatividad2020.pdf"));
  size_t nAnterior = 0;
  for (int n = 1; n <= 212; ++n) {
    size_t nPos = sTexto.find(Respuesta(n));
    ASSERT_NE(nPos, std::string::npos) << n;
    EXPECT_GT(nPos, nAnterior) << "answers in question order, " << n;
    nAnterior = nPos;
  }
  std::vector<std::string> paginas;
  std::string sPagina;
  for (char c : sTexto) {
    if (c == '\f') {
      paginas.push_back(sPagina);
      sPagina.clear();
    } else {
      sPagina.push_back(c);
    }
  }
  ASSERT_GT(paginas.size(), 1u);
  for (size_t i = 0; i < paginas.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_NE(paginas[i].find(kNombre), std::string::npos);
    // Spaces collapsed: pdftotext lays the footer out with its own spacing.
    std::string sPlana;
    for (char c : paginas[i])
      if (!(std::isspace(static_cast<unsigned char>(c)) && !sPlana.empty() && sPlana.back() == ' '))
        sPlana.push_back(std::isspace(static_cast<unsigned char>(c)) ? ' ' : c);
    std::string sPie = "Página " + std::to_string(i + 1) + " | " + std::to_string(paginas.size());
    EXPECT_NE(sPlana.find(sPie), std::string::npos) << paginas[i];
  }
}

}  // namespace
}  // namespace kv
