// Ticking options of the template's choice lists: the space inside the enclosing square
// becomes "X" in the chosen lines, the box after "ESPECIFIQUE SU PROPIO VALOR:" takes its text.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "document/documento_word.h"
#include "document/genera_cuestionario.h"
#include "document/template/plantilla.h"
#include "tests/document/word_paquetes.h"

namespace kv {
namespace {

using namespace prueba;

const std::string kPlantilla = "PlantillaCuestionarioOperatividad2020.dotx";

// The lines of the body from the one starting with sDesde, n of them.
std::vector<std::string> Lineas(const std::string& sTexto, const std::string& sDesde, int n) {
  std::istringstream in(sTexto);
  std::vector<std::string> r;
  for (std::string l; std::getline(in, l) && static_cast<int>(r.size()) < n;)
    if (!r.empty() || l.rfind(sDesde, 0) == 0) r.push_back(l);
  return r;
}

TEST(WordOpciones, ChosenSquaresGetAnXAndTheBoxItsText) {
  TProgramaDePrueba programa;
  auto bytes = PlantillaCuestionario();
  std::ofstream(programa.Ruta(kPlantilla), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  TDocumentoWord documento;
  ASSERT_TRUE(documento.CargaDocumentoWord(kPlantilla, ""));
  ASSERT_TRUE(documento.MarcaOpcionesDocWord("bkm_preg_9", {1}, -1, ""));
  // At 17 the bookmark stands in the first option line itself.
  ASSERT_TRUE(documento.MarcaOpcionesDocWord("bkm_preg_17", {0, 3}, -1, ""));
  ASSERT_TRUE(documento.MarcaOpcionesDocWord("bkm_preg_36", {2}, 2, "EUROS \"EUR\""));
  // A line the list does not have is refused and leaves the list as it was.
  EXPECT_FALSE(documento.MarcaOpcionesDocWord("bkm_preg_13", {2}, -1, ""));
  EXPECT_FALSE(documento.MarcaOpcionesDocWord("bkm_preg_13", {0}, 0, "SIN CAJA"));
  EXPECT_TRUE(documento.MarcaOpcionesDocWord("bkm_no_existe", {0}, -1, ""));
  ASSERT_TRUE(documento.GuardaDocumentoWord("Cuestionario.docx", "", ""));

  const std::string sTexto = TextoDeParte(programa.Ruta("Cuestionario.docx"), "word/document.xml");
  const std::string sCuadro = "\u20DE";
  EXPECT_EQ(Lineas(sTexto, "¿Abrió nuevas sucursales durante 2019?", 4),
            (std::vector<std::string>{"¿Abrió nuevas sucursales durante 2019?", "",
                                      "     " + sCuadro + " SI", "    X" + sCuadro + " NO"}));
  EXPECT_EQ(Lineas(sTexto, "¿Qué nivel de riesgo", 5),
            (std::vector<std::string>{
                "¿Qué nivel de riesgo obtuvo el centro cambiario en su evaluación de riesgos más "
                "reciente?",
                "    X" + sCuadro + " MUY ALTO", "     " + sCuadro + " ALTO",
                "     " + sCuadro + " MEDIO", "    X" + sCuadro + " BAJO"}));
  EXPECT_EQ(
      Lineas(sTexto, "¿En qué moneda están denominadas", 5),
      (std::vector<std::string>{
          "¿En qué moneda están denominadas principalmente sus cuentas en entidades "
          "financieras del extranjero?",
          "", "     " + sCuadro + " MONEDA NACIONAL", "     " + sCuadro + " DÓLARES AMERICANOS",
          "    X" + sCuadro + " ESPECIFIQUE SU PROPIO VALOR:"}));
  // The box's text takes the box's bold black.
  EXPECT_NE(sTexto.find("\nEUROS \"EUR\"\n"), std::string::npos);
  EXPECT_NE(
      FormatoDelTexto(programa.Ruta("Cuestionario.docx"), "word/document.xml", "EUROS \"EUR\"")
          .find("<w:b"),
      std::string::npos);
  EXPECT_EQ(Lineas(sTexto, "¿Cuenta con un sistema automatizado", 4)[2], "     " + sCuadro + " SI");
}

}  // namespace
}  // namespace kv
