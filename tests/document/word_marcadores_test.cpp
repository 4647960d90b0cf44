// Writing at bookmarks, deleting and selecting them, document variables.
#include <gtest/gtest.h>

#include <functional>

#include "document/documento_word.h"
#include "document/error_doc.h"
#include "tests/document/word_paquetes.h"

namespace kv {
namespace {

using namespace prueba;

const std::string kNegrita = "<w:b/><w:color w:val=\"000000\"/>";
const std::string kMarcaDeParrafoNegrita = "<w:rPr>" + kNegrita + "</w:rPr>";

// Loads sCuerpo as the template, runs the operation and saves; the saved path.
std::string Opera(TProgramaDePrueba& programa, const std::string& sCuerpo,
                  const std::function<void(TDocumentoWord&)>& operacion,
                  const std::string& sAjustes = "") {
  TPaqueteWord paquete;
  paquete.sCuerpo = sCuerpo + SeccionFinal();
  paquete.sAjustes = sAjustes;
  paquete.Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  EXPECT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  operacion(documento);
  EXPECT_TRUE(documento.GuardaDocumentoWord("salida.docx", "", ""));
  return programa.Ruta("salida.docx");
}

struct TCasoEscritura {
  const char* sNombre;
  std::string sCuerpo;
  std::string sMarcador;
  std::string sValor;
  int nModo;
  std::string sEsperado;         // text with [ ] where the bookmark stands
  std::string sFormatoEsperado;  // run properties of the written text ("" = not checked)
};

TEST(WordMarcadores, EscribeEnCadaModo) {
  const std::string kRecuadro = Parrafo(Marcador(0, "bkm_preg_1"), kMarcaDeParrafoNegrita);
  const std::string kOpcion =
      Parrafo(Marcador(0, "bkm_preg_17") + Texto("     MUY ALTO", "<w:color w:val=\"000000\"/>"));
  const std::string kEnMedio = Parrafo(Texto("a", "<w:i/>") + Marcador(0, "m") + Texto("b"));
  const std::string kEncierra =
      Parrafo(Texto("a") + "<w:bookmarkStart w:id=\"0\" w:name=\"m\"/>" + Texto("MEDIO") +
              "<w:bookmarkEnd w:id=\"0\"/>" + Texto("b"));
  const std::vector<TCasoEscritura> casos = {
      {"modo 0 en un recuadro vacío toma el formato de la marca de párrafo", kRecuadro,
       "bkm_preg_1", "Respuesta: 12", 0, "[]Respuesta: 12", "<w:rPr>" + kNegrita + "</w:rPr>"},
      {"modo 0 con texto vacío escribe un espacio", kRecuadro, "bkm_preg_1", "", 0, "[] ",
       "<w:rPr>" + kNegrita + "</w:rPr>"},
      {"modo 0 al inicio de una opción toma el formato de lo que sigue", kOpcion, "bkm_preg_17",
       "Respuesta: X", 0, "[]Respuesta: X     MUY ALTO",
       "<w:rPr><w:color w:val=\"000000\"/></w:rPr>"},
      {"modo 0 tras un texto toma el formato del carácter anterior", kEnMedio, "m", "X", 0, "a[]Xb",
       "<w:rPr><w:i/></w:rPr>"},
      {"modo 0 sobre un marcador que encierra texto lo reemplaza y el marcador se va", kEncierra,
       "m", "X", 0, "aXb", ""},
      {"modo 1 inserta antes sin ampliar el marcador", kEncierra, "m", "X", 1, "aX[MEDIO]b", ""},
      {"modo 2 inserta después sin ampliar el marcador", kEncierra, "m", "X", 2, "a[MEDIO]Xb", ""},
      {"modo 1 con texto vacío no cambia nada", kEnMedio, "m", "", 1, "a[]b", ""},
      {"otro modo no escribe", kEnMedio, "m", "X", 5, "a[]b", ""},
      {"un marcador que no existe no cambia nada", kEnMedio, "otro", "X", 0, "a[]b", ""},
      {"el nombre no distingue mayúsculas", kRecuadro, "BKM_Preg_1", "X", 0, "[]X", ""},
      {"un marcador entre párrafos escribe al inicio del siguiente",
       "<w:bookmarkStart w:id=\"0\" w:name=\"m\"/><w:bookmarkEnd w:id=\"0\"/>" +
           Parrafo(Texto("b", "<w:u w:val=\"single\"/>")),
       "m", "X", 0, "[]\nXb", "<w:rPr><w:u w:val=\"single\"/></w:rPr>"},
      {"saltos de línea y caracteres de control del texto", kRecuadro, "bkm_preg_1",
       std::string("uno\r\ndos\x02"), 0, "[]unodos", ""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TProgramaDePrueba programa;
    std::string sSalida = Opera(programa, caso.sCuerpo, [&](TDocumentoWord& d) {
      EXPECT_TRUE(d.RepBkmEnTodoDocWord(caso.sMarcador, caso.sValor, caso.nModo));
    });
    EXPECT_EQ(TextoConMarcadores(sSalida, "word/document.xml"), caso.sEsperado);
    if (!caso.sFormatoEsperado.empty()) {
      std::string sEscrito = caso.sValor.empty() ? " " : caso.sValor;
      EXPECT_EQ(FormatoDelTexto(sSalida, "word/document.xml", sEscrito), caso.sFormatoEsperado);
    }
  }
}

TEST(WordMarcadores, LasLineasDeTextoSonSaltosDeLinea) {
  TProgramaDePrueba programa;
  std::string sSalida = Opera(programa, Parrafo(Marcador(0, "m")), [](TDocumentoWord& d) {
    EXPECT_TRUE(d.RepBkmEnTodoDocWord("m", "uno\ndos", 0));
  });
  EXPECT_NE(
      LeeParte(sSalida, "word/document.xml")
          .find(
              "<w:t xml:space=\"preserve\">uno</w:t><w:br/><w:t xml:space=\"preserve\">dos</w:t>"),
      std::string::npos);
}

TEST(WordMarcadores, SinDocumentoLaBusquedaDelMarcadorFalla) {
  TDocumentoWord documento;
  EXPECT_THROW(documento.RepBkmEnTodoDocWord("m", "x", 0), EDocumentoWord);
  EXPECT_THROW(documento.SeleccionaBookmark("m"), EDocumentoWord);
  EXPECT_TRUE(documento.RepBkmEnTodoDocWord("m", "x", 7)) << "other modes ask nothing";
}

struct TCasoBorrado {
  const char* sNombre;
  std::string sCuerpo;
  std::string sMarcador;
  bool bResultado;
  std::string sEsperado;
};

TEST(WordMarcadores, BorraElContenidoMarcado) {
  const std::vector<TCasoBorrado> casos = {
      {"en un párrafo",
       Parrafo(Texto("a") + "<w:bookmarkStart w:id=\"0\" w:name=\"m\"/>" + Texto("MEDIO") +
               Texto("MAS") + "<w:bookmarkEnd w:id=\"0\"/>" + Texto("b")),
       "m", true, "ab"},
      {"entre dos párrafos, que se unen",
       Parrafo(Texto("a") + "<w:bookmarkStart w:id=\"0\" w:name=\"m\"/>" + Texto("X")) +
           Parrafo(Texto("en medio")) +
           Parrafo(Texto("Y") + "<w:bookmarkEnd w:id=\"0\"/>" + Texto("b"),
                   "<w:jc w:val=\"right\"/>"),
       "m", true, "ab"},
      {"un marcador vacío queda", Parrafo(Texto("a") + Marcador(0, "m") + Texto("b")), "m", true,
       "a[]b"},
      {"un marcador que no existe", Parrafo(Texto("a")), "m", false, "a"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TProgramaDePrueba programa;
    std::string sSalida = Opera(programa, caso.sCuerpo, [&](TDocumentoWord& d) {
      EXPECT_EQ(d.BorrarBkmDocWord(caso.sMarcador), caso.bResultado);
    });
    EXPECT_EQ(TextoConMarcadores(sSalida, "word/document.xml"), caso.sEsperado);
  }
  TProgramaDePrueba programa;
  std::string sSalida = Opera(programa, casos[1].sCuerpo,
                              [](TDocumentoWord& d) { EXPECT_TRUE(d.BorrarBkmDocWord("m")); });
  EXPECT_NE(LeeParte(sSalida, "word/document.xml").find("<w:jc w:val=\"right\"/>"),
            std::string::npos)
      << "the joined paragraph keeps the last paragraph mark";
}

TEST(WordMarcadores, SeleccionaSoloUnMarcadorQueExiste) {
  TProgramaDePrueba programa;
  Opera(programa, Parrafo(Marcador(0, "m")), [](TDocumentoWord& d) {
    EXPECT_FALSE(d.SeleccionaBookmark("otro"));
    EXPECT_EQ(d.GetSeleccion(), "");
    EXPECT_TRUE(d.SeleccionaBookmark("M"));
    EXPECT_EQ(d.GetSeleccion(), "M");
  });
}

TEST(WordMarcadores, VariablesYSusCampos) {
  TProgramaDePrueba programa;
  std::string sCampos =
      Parrafo("<w:fldSimple w:instr=\" DOCVARIABLE Cliente \">" + Texto("viejo", "<w:b/>") +
              "</w:fldSimple>") +
      Parrafo(
          "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space="
          "\"preserve\"> DOCVARIABLE \"cliente\" </w:instrText></w:r><w:r><w:fldChar "
          "w:fldCharType=\"separate\"/></w:r>" +
          Texto("re") + Texto("sultado") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>") +
      Parrafo("<w:fldSimple w:instr=\"PAGE\">" + Texto("3") + "</w:fldSimple>");
  std::string sSalida = Opera(
      programa, sCampos,
      [](TDocumentoWord& d) {
        EXPECT_TRUE(d.RepVarEnTodoDocWord("Cliente", "Casa Pérez & Hijos"));
        EXPECT_FALSE(d.RepVarEnTodoDocWord("CLIENTE", "otro")) << "Word refuses a second one";
      },
      "<w:zoom w:percent=\"100\"/><w:compat/><w:rsids/>");
  EXPECT_EQ(TodoElTexto(sSalida, "word/document.xml"), "Casa Pérez & HijosCasa Pérez & Hijos3");
  std::string sAjustes = LeeParte(sSalida, "word/settings.xml");
  EXPECT_NE(sAjustes.find("<w:compat/><w:docVars><w:docVar w:name=\"Cliente\" w:val=\"Casa "
                          "Pérez &amp; Hijos\"/></w:docVars><w:rsids/>"),
            std::string::npos)
      << sAjustes;
  TDocumentoWord sinDocumento;
  EXPECT_THROW(sinDocumento.RepVarEnTodoDocWord("a", "b"), EDocumentoWord);
}

}  // namespace
}  // namespace kv
