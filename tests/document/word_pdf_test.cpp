// The PDF export through LibreOffice: a real conversion checked with pdftotext, and every
// way it can fail, none of which may count as an export or leave files behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "data/db/heartbeat.h"
#include "document/documento_word.h"
#include "document/error_doc.h"
#include "document/pdf_converter.h"
#include "tests/document/word_paquetes.h"

namespace kv {
namespace {

using namespace prueba;
namespace fs = std::filesystem;

TPaqueteWord Formulario() {
  TPaqueteWord paquete;
  paquete.encabezados["header1.xml"] =
      Parrafo(Texto("_", "<w:b/>") + Texto("NombreCC", "<w:b/>") + Texto("_", "<w:b/>"),
              "<w:jc w:val=\"center\"/>");
  paquete.pies["footer1.xml"] = Parrafo(Texto("Pie de página"));
  std::string sCuerpo;
  for (int i = 1; i <= 3; ++i)
    sCuerpo += Parrafo(Texto("Pregunta " + std::to_string(i))) +
               Parrafo(Marcador(i, "bkm_preg_" + std::to_string(i)), "<w:rPr><w:b/></w:rPr>");
  paquete.sCuerpo = sCuerpo + SeccionFinal(
                                  "<w:headerReference w:type=\"default\" r:id=\"header1\"/>"
                                  "<w:footerReference w:type=\"default\" r:id=\"footer1\"/>");
  return paquete;
}

// Fills the form and saves it with its PDF; the result of the save.
bool LlenaYExporta(TProgramaDePrueba& programa, TDocumentoWord& documento,
                   const std::string& sNombre, const std::string& sSubcarpeta) {
  Formulario().Escribe(programa.Ruta("plantilla.dotx"));
  EXPECT_TRUE(documento.CargaDocumentoWord("plantilla.dotx", ""));
  TDatoBusquedaDocWord datos;
  datos.vMatchCase = false;
  datos.vFindText = "_NombreCC_";
  datos.vReplaceWith = "CAMBIOS DEL NORTE SA DE CV";
  documento.RepDatEnTodoDocWord(datos);
  for (int i = 1; i <= 3; ++i)
    EXPECT_TRUE(documento.RepBkmEnTodoDocWord("bkm_preg_" + std::to_string(i),
                                              "Respuesta: " + std::to_string(i * 100), 0));
  documento.SetGeneraPDFDocWord(true);
  documento.SetMuestraDocWord(false);
  return documento.GuardaDocumentoWord(sNombre, sSubcarpeta, "");
}

TEST(WordPdf, ExportaConLibreOffice) {
  TProgramaDePrueba programa;
  fs::create_directories(programa.Ruta("salida"));
  // A PDF of an earlier run is replaced.
  std::ofstream(programa.Ruta("salida/Cuestionario.pdf")) << "viejo";
  TDocumentoWord documento;
  int nEsperas = 0;
  documento.SetProcesaEventos([&] { ++nEsperas; });
  ASSERT_TRUE(LlenaYExporta(programa, documento, "Cuestionario.DOCX", "salida\\"))
      << documento.GetUltimoError();
  EXPECT_EQ(documento.GetUltimoError(), "");
  EXPECT_GT(nEsperas, 0) << "the window gets its events while the converter works";
  std::string sTexto = PdfATexto(programa.Ruta("salida/Cuestionario.pdf"));
  EXPECT_NE(sTexto.find("CAMBIOS DEL NORTE SA DE CV"), std::string::npos) << sTexto;
  EXPECT_NE(sTexto.find("Pregunta 2"), std::string::npos) << sTexto;
  EXPECT_NE(sTexto.find("Respuesta: 200"), std::string::npos) << sTexto;
  EXPECT_EQ(sTexto.find("_NombreCC_"), std::string::npos) << sTexto;
  EXPECT_EQ(programa.Archivos(),
            (std::vector<std::string>{"plantilla.dotx", "salida", "salida/Cuestionario.DOCX",
                                      "salida/Cuestionario.pdf"}));
  documento.MuestraDocumentoWord(1);
  EXPECT_EQ(programa.abiertos, std::vector<std::string>{programa.Ruta("salida/Cuestionario.pdf")});
}

// Without a waiting call of its own (the window sets none), the export keeps the window
// alive through the heartbeat the window set for its database work.
TEST(WordPdf, SinEsperaPropiaAtiendeLaVentanaPorElLatido) {
  TProgramaDePrueba programa;
  fs::create_directories(programa.Ruta("salida"));
  TDocumentoWord documento;
  int nLatidos = 0;
  db::HeartbeatScope latido([&] { ++nLatidos; }, std::chrono::milliseconds(50));
  ASSERT_TRUE(LlenaYExporta(programa, documento, "Cuestionario.DOCX", "salida\\"))
      << documento.GetUltimoError();
  EXPECT_GT(nLatidos, 0);
}

// Each failure: the save answers false, the message says why, no PDF is left and an
// earlier PDF of that name stays as it was.
struct TCasoFallo {
  const char* sNombre;
  std::string sVersion;     // of the stand-in converter; empty: the converter is missing
  std::string sConversion;  // what the stand-in does
  std::string sMensaje;     // the start of the message
  std::chrono::milliseconds limite{std::chrono::seconds(60)};
};

TEST(WordPdf, UnaExportacionSinPdfNuncaEsUnExito) {
  const std::vector<TCasoFallo> casos = {
      {"convertidor inexistente", "", "", "Ocurrió un error al instanciar el programa Word: "},
      {"convertidor antiguo", "5.4.0.3", "printf '%%PDF-1.4' > \"$outdir/$base.pdf\"",
       "La versión del convertidor de PDF es anterior a la 6: 5.4.0.3"},
      {"sale con 0 sin escribir nada", "7.4.7.2", ":",
       "El convertidor de PDF no generó el archivo PDF."},
      {"escribe un archivo vacío", "7.4.7.2", ": > \"$outdir/$base.pdf\"",
       "El convertidor de PDF no generó el archivo PDF."},
      {"escribe algo que no es PDF", "7.4.7.2", "echo hola > \"$outdir/$base.pdf\"",
       "El convertidor de PDF no generó el archivo PDF."},
      {"informa un error aunque escriba", "7.4.7.2",
       "printf '%%PDF-1.4' > \"$outdir/$base.pdf\"; echo 'Error: source file could not be "
       "loaded' >&2",
       "El convertidor de PDF informó: source file could not be loaded"},
      {"no termina a tiempo", "7.4.7.2", "sleep 30",
       "El convertidor de PDF no terminó en el tiempo límite (s): 1", std::chrono::seconds(1)},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TProgramaDePrueba programa;
    std::ofstream(programa.Ruta("Cuestionario.pdf")) << "anterior";
    TDocumentoWord documento;
    documento.Convertidor().program =
        caso.sVersion.empty()
            ? programa.Ruta("no/existe/soffice")
            : ConvertidorFalso(programa.Carpeta(), caso.sVersion, caso.sConversion);
    documento.Convertidor().timeout = caso.limite;
    auto inicio = std::chrono::steady_clock::now();
    EXPECT_FALSE(LlenaYExporta(programa, documento, "Cuestionario.docx", ""));
    EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(20));
    EXPECT_EQ(documento.GetUltimoError().rfind(caso.sMensaje, 0), 0u) << documento.GetUltimoError();
    std::ifstream pdf(programa.Ruta("Cuestionario.pdf"));
    std::string sPdf((std::istreambuf_iterator<char>(pdf)), std::istreambuf_iterator<char>());
    EXPECT_EQ(sPdf, "anterior");
    std::vector<std::string> archivos = programa.Archivos();
    std::erase_if(archivos, [](const std::string& s) { return s.rfind("convertidor-", 0) == 0; });
    EXPECT_EQ(archivos, (std::vector<std::string>{"Cuestionario.docx", "Cuestionario.pdf",
                                                  "plantilla.dotx"}));
  }
}

TEST(WordPdf, UnArchivoQueLibreOfficeNoCargaEsUnError) {
  TProgramaDePrueba programa;
  std::ofstream(programa.Ruta("roto.docx")) << "no es un documento";
  PdfConverter convertidor;
  try {
    convertidor.convert(programa.Ruta("roto.docx"), programa.Ruta("roto.pdf"));
    ADD_FAILURE() << "a file LibreOffice cannot load was exported";
  } catch (const EDocumentoWord& e) {
    EXPECT_EQ(std::string(e.what()),
              "El convertidor de PDF informó: source file could not be loaded");
  }
  EXPECT_EQ(programa.Archivos(), std::vector<std::string>{"roto.docx"});
}

// Whether a process runs (a zombie, killed and waiting for its reaper, does not).
bool Vive(long nPid) {
  std::ifstream in("/proc/" + std::to_string(nPid) + "/stat");
  std::string sEstado;
  if (!std::getline(in, sEstado)) return false;
  const auto n = sEstado.rfind(')');
  return n != std::string::npos && n + 2 < sEstado.size() && sEstado[n + 2] != 'Z';
}

TEST(WordPdf, ElProcesoSeDetieneAlVencerElLimite) {
  TProgramaDePrueba programa;
  const std::string sPid = programa.Ruta("nieto.pid");
  auto inicio = std::chrono::steady_clock::now();
  // The child starts a grandchild and tells its process id.
  ProcessResult r =
      runProcess({"sh", "-c", "sleep 30 & echo $! > '" + sPid + "'; sleep 30; echo nunca"},
                 std::chrono::milliseconds(300));
  EXPECT_TRUE(r.timedOut);
  EXPECT_EQ(r.output, "");
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(5));
  long nNieto = 0;
  ASSERT_TRUE(std::ifstream(sPid) >> nNieto);
  ASSERT_GT(nNieto, 0);
  // Killed with its parent; the reaper may take a moment.
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (Vive(nNieto) && std::chrono::steady_clock::now() < limite)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(Vive(nNieto)) << "the grandchild " << nNieto << " outlived the time limit";
  ProcessResult bien =
      runProcess({"sh", "-c", "echo uno; echo dos >&2; exit 3"}, std::chrono::seconds(10));
  EXPECT_FALSE(bien.timedOut);
  EXPECT_EQ(bien.status, 3);
  EXPECT_EQ(bien.output, "uno\n");
  EXPECT_EQ(bien.errors, "dos\n");
}

TEST(WordPdf, ElConvertidorNoHeredaArchivosAbiertos) {
  int fd = ::open("/dev/null", O_RDONLY);  // without close-on-exec
  ASSERT_GE(fd, 3);
  ProcessResult r = runProcess({"sh", "-c", "ls /proc/$$/fd"}, std::chrono::seconds(10));
  ::close(fd);
  std::vector<std::string> heredados;
  std::istringstream in(r.output);
  for (std::string s; in >> s;) heredados.push_back(s);
  EXPECT_EQ(std::find(heredados.begin(), heredados.end(), std::to_string(fd)), heredados.end())
      << r.output;
}

}  // namespace
}  // namespace kv
