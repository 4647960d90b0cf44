// Find and replace over the stories of a document, as Word's find leaves them.
#include <gtest/gtest.h>

#include "document/documento_word.h"
#include "document/error_doc.h"
#include "tests/document/word_paquetes.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

using namespace prueba;

// Loads the package as the template, runs the replacement and saves the document.
std::string ReemplazaYGuarda(TProgramaDePrueba& programa, const TPaqueteWord& paquete,
                             const TDatoBusquedaDocWord& datos) {
  paquete.Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  EXPECT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  documento.RepDatEnTodoDocWord(datos);
  EXPECT_TRUE(documento.GuardaDocumentoWord("salida.docx", "", ""));
  return programa.Ruta("salida.docx");
}

TDatoBusquedaDocWord Datos(const std::string& sBuscar, const std::string& sReemplazo,
                           bool bMayusculas = false) {
  TDatoBusquedaDocWord d;
  d.vFindText = sBuscar;
  d.vReplaceWith = sReemplazo;
  d.vMatchCase = bMayusculas;
  return d;
}

struct TCasoReemplazo {
  const char* sNombre;
  std::string sCuerpo;
  TDatoBusquedaDocWord datos;
  std::string sEsperado;
};

TEST(WordBusqueda, ReemplazaComoWord) {
  const std::string kB = "<w:b/>";
  auto conCambio = [](TDatoBusquedaDocWord d, auto cambio) {
    cambio(d);
    return d;
  };
  const std::vector<TCasoReemplazo> casos = {
      {"texto repartido en tres runs",
       Parrafo(Texto("Casa: ") + Texto("_", kB) + Texto("NombreCC", kB) + Texto("_", kB) +
               Texto(" fin")),
       Datos("_NombreCC_", "CAMBIOS DEL NORTE"), "Casa: CAMBIOS DEL NORTE fin"},
      {"sin distinguir mayúsculas", Parrafo(Texto("a _nombrecc_ b")), Datos("_NombreCC_", "X"),
       "a X b"},
      {"distinguiendo mayúsculas no encuentra", Parrafo(Texto("a _nombrecc_ b")),
       Datos("_NombreCC_", "X", true), "a _nombrecc_ b"},
      {"varias apariciones en un párrafo, partidas",
       Parrafo(Texto("_Nom") + Texto("breCC_ y _NombreCC") + Texto("_")), Datos("_NombreCC_", "Z"),
       "Z y Z"},
      {"texto encontrado en mayúsculas pasa el reemplazo a mayúsculas",
       Parrafo(Texto("HOLA hola Hola")), Datos("hola", "adiós"), "ADIÓS adiós Adiós"},
      {"letras acentuadas sin distinguir mayúsculas", Parrafo(Texto("ÁRBOL")),
       Datos("árbol", "pino"), "PINO"},
      {"palabra completa", Parrafo(Texto("gato gatos gato")),
       conCambio(Datos("gato", "perro"), [](auto& d) { d.vMatchWholeWord = true; }),
       "perro gatos perro"},
      {"sólo la primera", Parrafo(Texto("uno uno")) + Parrafo(Texto("uno")),
       conCambio(Datos("uno", "dos"), [](auto& d) { d.vReplace = 1; }), "dos uno\nuno"},
      {"sin reemplazo sólo busca", Parrafo(Texto("uno")),
       conCambio(Datos("uno", "dos"), [](auto& d) { d.vReplace.reset(); }), "uno"},
      {"códigos ^& y ^t", Parrafo(Texto("clave")), Datos("clave", "[^&]^tfin"), "[clave]\tfin"},
      {"caracteres de XML en el reemplazo", Parrafo(Texto("x")), Datos("x", "A&B <C> \"D\""),
       "A&B <C> \"D\""},
      {"caracteres de control del reemplazo se descartan", Parrafo(Texto("x")),
       Datos("x", std::string("a\x01") + "b"), "ab"},
      {"en celdas de tabla",
       "<w:tbl><w:tr><w:tc>" + Parrafo(Texto("_Nombre") + Texto("CC_")) + "</w:tc></w:tr></w:tbl>" +
           Parrafo(""),
       Datos("_NombreCC_", "N"), "N\n"},
      {"un texto vacío no cambia nada", Parrafo(Texto("abc")), Datos("", "X"), "abc"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TProgramaDePrueba programa;
    TPaqueteWord paquete;
    paquete.sCuerpo = caso.sCuerpo + SeccionFinal();
    std::string sSalida = ReemplazaYGuarda(programa, paquete, caso.datos);
    EXPECT_EQ(TextoDeParte(sSalida, "word/document.xml"), caso.sEsperado);
  }
}

TEST(WordBusqueda, ElReemplazoTomaElFormatoDelPrimerCaracter) {
  TProgramaDePrueba programa;
  TPaqueteWord paquete;
  paquete.sCuerpo =
      Parrafo(Texto("_", "<w:b/>") + Texto("NombreCC", "<w:i/>") + Texto("_")) + SeccionFinal();
  std::string sSalida = ReemplazaYGuarda(programa, paquete, Datos("_NombreCC_", "Nombre"));
  std::string sXml = LeeParte(sSalida, "word/document.xml");
  EXPECT_NE(sXml.find("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Nombre</w:t></w:r>"),
            std::string::npos)
      << sXml;
  EXPECT_EQ(sXml.find("<w:i/>"), std::string::npos) << "emptied runs are removed";
}

TEST(WordBusqueda, CodigosYOpcionesNoAdmitidosSonErroresDelDocumento) {
  TProgramaDePrueba programa;
  TPaqueteWord paquete;
  paquete.sCuerpo = Parrafo(Texto("x")) + SeccionFinal();
  paquete.Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  TDatoBusquedaDocWord parrafo = Datos("x", "a^pb");
  EXPECT_THROW(documento.RepDatEnTodoDocWord(parrafo), EDocumentoWord);
  TDatoBusquedaDocWord comodines = Datos("x", "y");
  comodines.vMatchWildcards = true;
  EXPECT_THROW(documento.RepDatEnTodoDocWord(comodines), EDocumentoWord);
}

TEST(WordBusqueda, SinDocumentoElErrorLlegaAlLlamador) {
  TDocumentoWord documento;
  EXPECT_THROW(documento.RepDatEnTodoDocWord(Datos("a", "b")), EDocumentoWord);
}

// Which headers and footers are searched, by the page-setup flags.
struct TCasoEncabezados {
  bool bPrimeraDiferente;
  bool bParesEImpares;
  bool bPrimeraCambia;
  bool bParesCambia;
};

TEST(WordBusqueda, EncabezadosYPiesSegunLaConfiguracionDePagina) {
  const std::vector<TCasoEncabezados> casos = {
      {false, false, false, false},
      {true, false, true, false},
      {false, true, false, true},
      {true, true, true, true},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(testing::Message() << "primera diferente " << caso.bPrimeraDiferente
                                    << ", pares e impares " << caso.bParesEImpares);
    TProgramaDePrueba programa;
    TPaqueteWord paquete;
    const std::string sMarca = Parrafo(Texto("_") + Texto("NombreCC") + Texto("_"));
    for (const char* s : {"hdefault.xml", "hfirst.xml", "heven.xml"})
      paquete.encabezados[s] = sMarca;
    for (const char* s : {"fdefault.xml", "ffirst.xml", "feven.xml"}) paquete.pies[s] = sMarca;
    std::string sRefs;
    for (const char* t : {"default", "first", "even"})
      sRefs += std::string("<w:headerReference w:type=\"") + t + "\" r:id=\"h" + t + "\"/>" +
               "<w:footerReference w:type=\"" + t + "\" r:id=\"f" + t + "\"/>";
    paquete.sCuerpo = Parrafo(Texto("cuerpo")) + SeccionFinal(sRefs, caso.bPrimeraDiferente);
    if (caso.bParesEImpares) paquete.sAjustes = "<w:evenAndOddHeaders/>";
    std::string sSalida = ReemplazaYGuarda(programa, paquete, Datos("_NombreCC_", "CASA"));
    auto esperado = [](bool bCambia) { return bCambia ? "CASA" : "_NombreCC_"; };
    for (const char* p : {"h", "f"}) {
      EXPECT_EQ(TextoDeParte(sSalida, std::string("word/") + p + "default.xml"), "CASA");
      EXPECT_EQ(TextoDeParte(sSalida, std::string("word/") + p + "first.xml"),
                esperado(caso.bPrimeraCambia));
      EXPECT_EQ(TextoDeParte(sSalida, std::string("word/") + p + "even.xml"),
                esperado(caso.bParesCambia));
    }
  }
}

TEST(WordBusqueda, UnaSeccionSinEncabezadoPropioUsaElDeLaAnterior) {
  TProgramaDePrueba programa;
  TPaqueteWord paquete;
  paquete.encabezados["h1.xml"] = Parrafo(Texto("_NombreCC_"));
  paquete.encabezados["h2.xml"] = Parrafo(Texto("_NombreCC_"));
  // Section 1 has only a default header; section 2 a first-page one of its own and
  // the default one inherited.
  paquete.sCuerpo =
      Parrafo(Texto("uno"),
              "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"h1\"/></w:sectPr>") +
      Parrafo(Texto("dos")) +
      SeccionFinal("<w:headerReference w:type=\"first\" r:id=\"h2\"/>", true);
  std::string sSalida = ReemplazaYGuarda(programa, paquete, Datos("_NombreCC_", "N"));
  EXPECT_EQ(TextoDeParte(sSalida, "word/h1.xml"), "N");
  EXPECT_EQ(TextoDeParte(sSalida, "word/h2.xml"), "N");
}

// A floating DrawingML shape: a text box (txBox) or another shape carrying text.
std::string Forma(const std::string& sGeometria, bool bCuadroTexto, const std::string& sTexto) {
  return "<w:r><w:drawing><wp:anchor><a:graphic><a:graphicData uri=\"http://schemas.microsoft.com/"
         "office/word/2010/wordprocessingShape\"><wps:wsp><wps:cNvSpPr" +
         std::string(bCuadroTexto ? " txBox=\"1\"" : "") + "/><wps:spPr><a:prstGeom prst=\"" +
         sGeometria + "\"/></wps:spPr><wps:txbx><w:txbxContent>" + Parrafo(Texto(sTexto)) +
         "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor>"
         "</w:drawing></w:r>";
}

TEST(WordBusqueda, CuadrosDeTextoSiOtrasFormasNo) {
  TProgramaDePrueba programa;
  TPaqueteWord paquete;
  std::string sCuadroConRespaldo =
      "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor><a:graphic>"
      "<a:graphicData><wps:wsp><wps:cNvSpPr txBox=\"1\"/><wps:txbx><w:txbxContent>" +
      Parrafo(Texto("_Nombre") + Texto("CC_")) +
      "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing>"
      "</mc:Choice><mc:Fallback><w:pict><v:shape type=\"#_x0000_t202\" style=\"position:absolute\">"
      "<v:textbox><w:txbxContent>" +
      Parrafo(Texto("_NombreCC_")) +
      "</w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r>";
  std::string sCuadroVml =
      "<w:r><w:pict><v:shape type=\"#_x0000_t202\" style=\"position:absolute;width:100pt\">"
      "<v:textbox><w:txbxContent>" +
      Parrafo(Texto("vml _NombreCC_")) + "</w:txbxContent></v:textbox></v:shape></w:pict></w:r>";
  paquete.sCuerpo = Parrafo(Forma("rect", true, "caja _NombreCC_")) +
                    Parrafo(Forma("line", false, "línea _NombreCC_")) +
                    Parrafo(Forma("rect", false, "rectángulo _NombreCC_")) +
                    Parrafo(sCuadroConRespaldo) + Parrafo(sCuadroVml) + SeccionFinal();
  std::string sSalida = ReemplazaYGuarda(programa, paquete, Datos("_NombreCC_", "N"));
  EXPECT_EQ(TodoElTexto(sSalida, "word/document.xml"),
            "caja Nlínea _NombreCC_rectángulo _NombreCC_NNvml N");
}

}  // namespace
}  // namespace kv
