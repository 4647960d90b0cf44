// Loading the template, saving the document and where the files go.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>

#include "document/documento_word.h"
#include "document/error_doc.h"
#include "document/ooxml_package.h"
#include "tests/document/word_paquetes.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

using namespace prueba;
namespace fs = std::filesystem;

const std::string kTipoDocumento =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";

TPaqueteWord PaqueteSencillo() {
  TPaqueteWord paquete;
  paquete.sCuerpo = Parrafo(Marcador(0, "bkm_preg_1")) + SeccionFinal();
  paquete.otras["word/styles.xml"] =
      "<?xml version=\"1.0\"?><w:styles xmlns:w=\"http://schemas.openxmlformats.org/"
      "wordprocessingml/2006/main\"><!-- a comment kept as it is -->  </w:styles>";
  return paquete;
}

TEST(WordDocumento, UnArchivoQueNoSePuedeUsarMuestraElDialogo) {
  struct TCaso {
    const char* sNombre;
    std::string sContenido;  // empty: the file is missing
  };
  const std::vector<TCaso> casos = {
      {"no existe", ""},
      {"no es un ZIP", "esto no es un paquete"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TProgramaDePrueba programa;
    TDialogosDePrueba dialogos;
    if (!caso.sContenido.empty()) {
      std::ofstream(programa.Ruta("plantilla.dotx")) << caso.sContenido;
    }
    TDocumentoWord documento;
    EXPECT_FALSE(documento.CargaDocumentoWord("plantilla.dotx", ""));
    ASSERT_EQ(dialogos->Dialogos().size(), 1u);
    EXPECT_EQ(dialogos->Dialogos()[0].eTipo, TTipoDialogo::ErrorAceptarCancelar);
    EXPECT_EQ(dialogos->Dialogos()[0].sTexto,
              "No se encontró el Archivo: " + programa.Ruta("plantilla.dotx") +
                  "\r\n Revise que el archivo exista y vuelva a intentarlo.");
    EXPECT_EQ(documento.GetRutaLeeDocWord(), programa.Ruta("plantilla.dotx"));
    EXPECT_FALSE(documento.GetUltimoError().empty());
    EXPECT_THROW(documento.RepBkmEnTodoDocWord("bkm_preg_1", "x", 0), EDocumentoWord);
  }
}

TEST(WordDocumento, PaquetesQueNoSonDeWordNoSeCargan) {
  TProgramaDePrueba programa;
  TDialogosDePrueba dialogos;
  writeZipPackage(programa.Ruta("hoja.dotx"), {{"[Content_Types].xml", "<Types/>"}});
  TDocumentoWord documento;
  EXPECT_FALSE(documento.CargaDocumentoWord("hoja.dotx", ""));
  EXPECT_EQ(dialogos->Dialogos().size(), 1u);
}

TEST(WordDocumento, UnaCargaFallidaNoDejaUsarElDocumentoAnterior) {
  TProgramaDePrueba programa;
  TDialogosDePrueba dialogos;
  PaqueteSencillo().Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  EXPECT_FALSE(documento.CargaDocumentoWord("otra.dotx", ""));
  EXPECT_THROW(documento.RepBkmEnTodoDocWord("bkm_preg_1", "x", 0), EDocumentoWord);
}

TEST(WordDocumento, GuardaComoDocumentoYCopiaLoDemasTalCual) {
  TProgramaDePrueba programa;
  PaqueteSencillo().Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  EXPECT_TRUE(documento.RepBkmEnTodoDocWord("bkm_preg_1", "Respuesta: 1", 0));
  EXPECT_TRUE(documento.GuardaDocumentoWord("salida.docx", "", ""));
  std::string sSalida = programa.Ruta("salida.docx");
  EXPECT_NE(LeeParte(sSalida, "[Content_Types].xml").find(kTipoDocumento), std::string::npos);
  EXPECT_EQ(LeeParte(sSalida, "word/styles.xml"),
            LeeParte(programa.Ruta("plantilla.dotx"), "word/styles.xml"));
  // Untouched entries keep their stored (compressed) bytes; only the changed parts differ.
  auto comprimido = [](const std::string& sRuta, const char* sParte) {
    int nError = 0;
    zip_t* z = zip_open(sRuta.c_str(), ZIP_RDONLY, &nError);
    zip_stat_t st;
    zip_stat_init(&st);
    EXPECT_EQ(zip_stat(z, sParte, 0, &st), 0);
    zip_discard(z);
    return std::make_pair(st.comp_size, st.crc);
  };
  for (const char* sParte : {"word/styles.xml", "word/settings.xml", "_rels/.rels"})
    EXPECT_EQ(comprimido(sSalida, sParte), comprimido(programa.Ruta("plantilla.dotx"), sParte))
        << sParte;
  EXPECT_EQ(TextoDeParte(sSalida, "word/document.xml"), "Respuesta: 1");
  // Saving without a PDF ends the session: the document cannot be used afterwards.
  EXPECT_THROW(documento.RepBkmEnTodoDocWord("bkm_preg_1", "x", 0), EDocumentoWord);
  EXPECT_EQ(programa.Archivos(), (std::vector<std::string>{"plantilla.dotx", "salida.docx"}));
}

// However the main part's type is given, the saved package has the document type.
TEST(WordDocumento, CadaFormaDeTipoSeGuardaComoDocumento) {
  struct TCaso {
    const char* sNombre;
    bool bPlantilla;
    bool bTipoPorDefecto;
  };
  const std::vector<TCaso> casos = {{"plantilla por la extensión .xml", true, true},
                                    {"documento como plantilla", false, false}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TProgramaDePrueba programa;
    TPaqueteWord paquete = PaqueteSencillo();
    paquete.bPlantilla = caso.bPlantilla;
    paquete.bTipoPorDefecto = caso.bTipoPorDefecto;
    paquete.Escribe(programa.Ruta("base.dotx"));
    TDocumentoWord documento;
    ASSERT_TRUE(documento.CargaDocumentoWord("base.dotx", ""));
    EXPECT_TRUE(documento.GuardaDocumentoWord("salida.docx", "", ""));
    std::string sTipos = LeeParte(programa.Ruta("salida.docx"), "[Content_Types].xml");
    EXPECT_NE(
        sTipos.find("<Override PartName=\"/word/document.xml\" ContentType=\"" + kTipoDocumento),
        std::string::npos);
  }
}

TEST(WordDocumento, UnGuardadoFallidoRespondeFalsoYCierraLaSesion) {
  TProgramaDePrueba programa;
  PaqueteSencillo().Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  documento.SetGeneraPDFDocWord(true);
  ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  EXPECT_FALSE(documento.GuardaDocumentoWord("salida.docx", "no_existe\\", ""));
  EXPECT_EQ(documento.GetRutaGuardaDocWord(), programa.Ruta("no_existe/salida.docx"));
  EXPECT_EQ(documento.GetRutaGuardaPDF(), "") << "no export is attempted";
  EXPECT_FALSE(documento.GetUltimoError().empty());
  EXPECT_THROW(documento.RepBkmEnTodoDocWord("bkm_preg_1", "x", 0), EDocumentoWord);
}

// Names and places of the saved document and its PDF (a stand-in converter makes the PDF).
struct TCasoRutas {
  const char* sNombre;
  std::string sSubcarpeta;
  std::string sInfAdicional;
  std::string sDocumento;
  std::string sPdf;
};

TEST(WordDocumento, RutasDelDocumentoYDelPdf) {
  const std::vector<TCasoRutas> casos = {
      {"CuestionarioOperatividad2020.docx", "", "", "CuestionarioOperatividad2020.docx",
       "CuestionarioOperatividad2020.pdf"},
      {"Prueba.DOCX", "", "", "Prueba.DOCX", "Prueba.pdf"},
      {"a.docx", "sub\\", "", "sub/a.docx", "sub/a.pdf"},
      {"a.docx", "sub/otra\\", "", "sub/otra/a.docx", "sub/otra/a.pdf"},
      {"a.docx", "", "_1", "a.docx_1", "a.pdf_1"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(std::string(caso.sNombre) + " en '" + caso.sSubcarpeta + "'");
    TProgramaDePrueba programa;
    fs::create_directories(programa.Ruta("sub/otra"));
    PaqueteSencillo().Escribe(programa.Ruta("plantilla.dotx"));
    TDocumentoWord documento;
    documento.Convertidor().program = ConvertidorFalso(
        programa.Carpeta(), "7.4.7.2", "printf '%%PDF-1.4 falso' > \"$outdir/$base.pdf\"");
    documento.SetGeneraPDFDocWord(true);
    documento.SetMuestraDocWord(false);
    ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
    EXPECT_TRUE(documento.GuardaDocumentoWord(caso.sNombre, caso.sSubcarpeta, caso.sInfAdicional))
        << documento.GetUltimoError();
    EXPECT_EQ(documento.GetRutaGuardaDocWord(), programa.Ruta(caso.sDocumento));
    EXPECT_EQ(documento.GetRutaGuardaPDF(), programa.Ruta(caso.sPdf));
    EXPECT_TRUE(fs::exists(programa.Ruta(caso.sDocumento)));
    EXPECT_TRUE(fs::exists(programa.Ruta(caso.sPdf)));
    documento.MuestraDocumentoWord(1);
    EXPECT_EQ(programa.abiertos, std::vector<std::string>{programa.Ruta(caso.sPdf)});
  }
}

TEST(WordDocumento, UnNombreSinDocxNoSobrescribeElDocumentoConElPdf) {
  TProgramaDePrueba programa;
  PaqueteSencillo().Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  documento.Convertidor().program = ConvertidorFalso(
      programa.Carpeta(), "7.4.7.2", "printf '%%PDF-1.4 falso' > \"$outdir/$base.pdf\"");
  documento.SetGeneraPDFDocWord(true);
  ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  EXPECT_FALSE(documento.GuardaDocumentoWord("informe", "", ""));
  EXPECT_EQ(documento.GetRutaGuardaPDF(), programa.Ruta("informe"));
  EXPECT_EQ(TextoDeParte(programa.Ruta("informe"), "word/document.xml"), "")
      << "the saved document is still a package";
}

TEST(WordDocumento, MuestraLoQueSusPropiedadesPiden) {
  TProgramaDePrueba programa;
  PaqueteSencillo().Escribe(programa.Ruta("plantilla.dotx"));
  TDocumentoWord documento;
  EXPECT_FALSE(documento.GetMuestraWord());
  EXPECT_FALSE(documento.GetGeneraPDFDocWord());
  EXPECT_TRUE(documento.GetMuestraDocWord());
  EXPECT_TRUE(documento.GetMuestraDocPDF());
  documento.MuestraDocumentoWord(1);
  EXPECT_TRUE(programa.abiertos.empty()) << "nothing saved yet, nothing opened";
  ASSERT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  ASSERT_TRUE(documento.GuardaDocumentoWord("salida.docx", "", ""));
  documento.MuestraDocumentoWord(1);
  EXPECT_EQ(programa.abiertos, std::vector<std::string>{programa.Ruta("salida.docx")});
}

}  // namespace
}  // namespace kv
