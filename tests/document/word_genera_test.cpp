// The questionnaire document from start to end: steps, status texts, results and which
// files stay, on the successful path and on every way out.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "diag/imensajero.h"
#include "document/error_doc.h"
#include "document/genera_cuestionario.h"
#include "tests/document/word_paquetes.h"
#include "tests/support/archivos.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

using namespace prueba;
namespace fs = std::filesystem;

class TMensajeroGrabado : public IMensajero {
 public:
  void MsjEnTx(const std::string& s) override { textos.push_back(s); }
  void MsjTxTemp(const std::string& s) override { textos.push_back("temp:" + s); }
  void MsjTxEspera(const std::string& s, bool) override { textos.push_back("espera:" + s); }
  void CampoObligatorio(QLabel*, QWidget*) override {}
  void SetTxLabel(QLabel*) override {}
  void SetDefColorAlerta(bool) override {}
  bool GetDefColorAlerta() const override { return false; }
  std::vector<std::string> textos;
};

const std::string kPlantilla = "PlantillaCuestionarioOperatividad2020.dotx";
const std::string kDocumento = "CuestionarioOperatividad2020.docx";

// A three-question form, its bytes, and what the run saw.
struct TCorrida {
  TProgramaDePrueba programa;
  TDialogosDePrueba dialogos;
  TMensajeroGrabado mensajero;
  std::string sBytes;
  std::vector<int> preguntadas;
  std::unique_ptr<TDocumentoWord> documento = std::make_unique<TDocumentoWord>();

  explicit TCorrida(const std::string& sConversion = "printf '%%PDF-1.4' > \"$outdir/$base.pdf\"") {
    TPaqueteWord paquete;
    paquete.encabezados["header1.xml"] = Parrafo(Texto("_") + Texto("NombreCC") + Texto("_"));
    for (int i = 1; i <= 3; ++i)
      paquete.sCuerpo += Parrafo(Texto("P" + std::to_string(i))) +
                         Parrafo(Marcador(i, "bkm_preg_" + std::to_string(i)));
    paquete.sCuerpo += SeccionFinal("<w:headerReference w:type=\"default\" r:id=\"header1\"/>");
    paquete.Escribe(programa.Ruta("fuente.dotx"));
    std::ifstream in(programa.Ruta("fuente.dotx"), std::ios::binary);
    sBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(programa.Ruta("fuente.dotx"));
    documento->Convertidor().program = ConvertidorFalso(programa.Carpeta(), "7.4.7.2", sConversion);
  }

  TFuentesCuestionario Fuentes(int nTotal, int nFalla = 0) {
    TFuentesCuestionario f;
    f.nTotalPreguntas = nTotal;
    f.DameRazonSocial = [] { return std::string("CASA"); };
    f.RespondePregunta = [this, nFalla](int n, std::string& s) {
      preguntadas.push_back(n);
      s = n == nFalla ? "** E R R O R **" : "Respuesta: " + std::to_string(n);
      return n != nFalla;
    };
    f.plantilla = {reinterpret_cast<const unsigned char*>(sBytes.data()), sBytes.size()};
    f.sNombrePlantilla = kPlantilla;
    f.sNombreDocumento = kDocumento;
    return f;
  }

  // The folder's files other than the stand-in converter.
  std::vector<std::string> Archivos() const {
    std::vector<std::string> r = programa.Archivos();
    std::erase_if(r, [](const std::string& s) { return s.rfind("convertidor-", 0) == 0; });
    return r;
  }
};

TEST(WordGeneraCuestionario, UnaCorridaCompletaDejaSoloElPdf) {
  TCorrida corrida;
  // The stand-in converter proves the steps; the real export is tested apart.
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)));
  EXPECT_EQ(corrida.mensajero.textos,
            (std::vector<std::string>{"espera:Iniciando...", "Por favor espere... 33%",
                                      "Por favor espere... 66%", "espera:Por favor espere... 100%",
                                      "espera:Preparando reporte..."}));
  EXPECT_EQ(corrida.preguntadas, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(corrida.Archivos(), std::vector<std::string>{"CuestionarioOperatividad2020.pdf"});
  EXPECT_EQ(corrida.programa.abiertos,
            std::vector<std::string>{corrida.programa.Ruta("CuestionarioOperatividad2020.pdf")});
  EXPECT_FALSE(corrida.documento) << "the document object is released";
}

TEST(WordGeneraCuestionario, PorcentajesCon212Preguntas) {
  TCorrida corrida;
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(212)));
  const auto& t = corrida.mensajero.textos;
  ASSERT_EQ(t.size(), 214u);
  EXPECT_EQ(t[1], "Por favor espere... 0%");
  EXPECT_EQ(t[106], "Por favor espere... 50%");
  EXPECT_EQ(t[211], "Por favor espere... 99%");
  EXPECT_EQ(t[212], "espera:Por favor espere... 100%");
}

TEST(WordGeneraCuestionario, SinPreguntasIgualGuardaYExporta) {
  TCorrida corrida;
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(0)));
  EXPECT_TRUE(corrida.preguntadas.empty());
  EXPECT_EQ(corrida.Archivos(), std::vector<std::string>{"CuestionarioOperatividad2020.pdf"});
}

TEST(WordGeneraCuestionario, UnaPreguntaFallidaDetieneTodoSinDejarArchivos) {
  TCorrida corrida;
  EXPECT_FALSE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3, 2)));
  EXPECT_EQ(corrida.preguntadas, (std::vector<int>{1, 2}));
  EXPECT_EQ(corrida.mensajero.textos.back(), "espera:Error...");
  EXPECT_TRUE(corrida.Archivos().empty());
  EXPECT_TRUE(corrida.programa.abiertos.empty());
  EXPECT_FALSE(corrida.documento);
}

TEST(WordGeneraCuestionario, UnaExportacionFallidaNoDejaArchivos) {
  TCorrida corrida(":");  // the converter writes nothing
  EXPECT_FALSE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)));
  EXPECT_TRUE(corrida.Archivos().empty());
  EXPECT_TRUE(corrida.programa.abiertos.empty());
}

TEST(WordGeneraCuestionario, UnaPlantillaInservibleMuestraElDialogoYSeBorra) {
  TCorrida corrida;
  corrida.sBytes = "no es un paquete";
  EXPECT_FALSE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)));
  EXPECT_EQ(corrida.dialogos->Dialogos().size(), 1u);
  EXPECT_TRUE(corrida.preguntadas.empty());
  EXPECT_TRUE(corrida.Archivos().empty());
}

TEST(WordGeneraCuestionario, UnaCarpetaSinEscrituraLlegaAlLlamadorSinDejarNada) {
  TCorrida corrida;
  FijaCarpetaPrograma(corrida.programa.Ruta("no_existe"));
  try {
    GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3));
    ADD_FAILURE() << "no error";
  } catch (const EDocumentoWord& e) {
    EXPECT_EQ(
        std::string(e.what()),
        "No se puede escribir en la carpeta del programa: " + corrida.programa.Ruta("no_existe") +
            " (No such file or directory). Dé permiso de escritura en esa carpeta al "
            "usuario que ejecuta este programa y vuelva a intentarlo.");
  }
  EXPECT_TRUE(corrida.preguntadas.empty());
  EXPECT_TRUE(corrida.mensajero.textos.empty());
  EXPECT_FALSE(corrida.documento);
  EXPECT_TRUE(corrida.Archivos().empty());
}

TEST(WordGeneraCuestionario, UnErrorAlResponderLlegaAlLlamadorTrasLaLimpieza) {
  TCorrida corrida;
  TFuentesCuestionario fuentes = corrida.Fuentes(3);
  fuentes.RespondePregunta = [](int, std::string&) -> bool { throw std::runtime_error("falla"); };
  EXPECT_THROW(GeneraCuestionario(corrida.documento, corrida.mensajero, fuentes),
               std::runtime_error);
  EXPECT_FALSE(corrida.documento);
  EXPECT_TRUE(corrida.Archivos().empty());
}

TEST(WordGeneraCuestionario, ElNombreSeEscribeTalCual) {
  TCorrida corrida;
  TFuentesCuestionario fuentes = corrida.Fuentes(1);
  fuentes.DameRazonSocial = [] { return std::string("CASA ^ CAMBIO ^p & <SA>"); };
  std::string sEncabezado;
  // The saved .docx is removed at the end: look at it when the PDF is opened.
  AsignaAbridorArchivos([&](const std::string&) {
    sEncabezado = TextoDeParte(corrida.documento->GetRutaGuardaDocWord(), "word/header1.xml");
    return true;
  });
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, fuentes));
  EXPECT_EQ(sEncabezado, "CASA ^ CAMBIO ^p & <SA>");
}

// A stand-in converter that never answers, not even its version.
std::string ConvertidorMudo(const std::string& sCarpeta) {
  const std::string sRuta = sCarpeta + "/convertidor-mudo";
  std::ofstream(sRuta) << "#!/bin/sh\nsleep 30\n";
  fs::permissions(sRuta, fs::perms::owner_all);
  return sRuta;
}

// A process id that no process has any more.
long PidTerminado() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

// What must be right before any answer is computed; each failure stops at once with a
// message that says what to do, asks no question and leaves the folder as it was.
TEST(WordGeneraCuestionario, LasRevisionesPreviasDetienenAntesDeResponder) {
  struct TCaso {
    const char* sNombre;
    std::function<void(TCorrida&)> prepara;
    std::function<std::string(TCorrida&)> mensaje;
  };
  const std::vector<TCaso> casos = {
      {"convertidor inexistente",
       [](TCorrida& c) { c.documento->Convertidor().program = "soffice-inexistente"; },
       [](TCorrida&) {
         return std::string(
             "No se encontró LibreOffice (soffice-inexistente), que este programa usa para crear "
             "el PDF. Instale el paquete libreoffice-writer y vuelva a intentarlo. Detalle: "
             "no se pudo ejecutar el convertidor soffice-inexistente (No such file or "
             "directory)");
       }},
      {"convertidor que no responde",
       [](TCorrida& c) {
         c.documento->Convertidor().program = ConvertidorMudo(c.programa.Carpeta());
         c.documento->Convertidor().versionTimeout = std::chrono::seconds(1);
       },
       [](TCorrida& c) {
         return "LibreOffice (" + c.programa.Ruta("convertidor-mudo") +
                ") no respondió al pedirle su versión. Revise su instalación (paquete "
                "libreoffice-writer) y vuelva a intentarlo.";
       }},
      {"convertidor antiguo",
       [](TCorrida& c) {
         c.documento->Convertidor().program = ConvertidorFalso(c.programa.Carpeta(), "5.4.0.3", "");
       },
       [](TCorrida&) {
         return std::string(
             "La versión de LibreOffice instalada (5.4.0.3) es anterior a la 6. Actualice el "
             "paquete libreoffice-writer y vuelva a intentarlo.");
       }},
      {"carpeta de sólo lectura",
       [](TCorrida& c) {
         fs::permissions(c.programa.Carpeta(), fs::perms::owner_read | fs::perms::owner_exec);
       },
       [](TCorrida& c) {
         return "No se puede escribir en la carpeta del programa: " + c.programa.Carpeta() +
                " (es de sólo lectura). Dé permiso de escritura en esa carpeta al usuario que "
                "ejecuta este programa y vuelva a intentarlo.";
       }},
      {"PDF anterior de sólo lectura",
       [](TCorrida& c) {
         fs::permissions(c.programa.Ruta("CuestionarioOperatividad2020.pdf"),
                         fs::perms::owner_read);
       },
       [](TCorrida& c) {
         return "El archivo " + c.programa.Ruta("CuestionarioOperatividad2020.pdf") +
                " es de sólo lectura y no se reemplazó. Quítele el atributo de sólo lectura (o "
                "muévalo a otra carpeta) y vuelva a intentarlo.";
       }},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sNombre);
    TCorrida corrida;
    std::ofstream(corrida.programa.Ruta("CuestionarioOperatividad2020.pdf")) << "anterior";
    caso.prepara(corrida);
    const auto antes = corrida.Archivos();
    const auto inicio = std::chrono::steady_clock::now();
    std::string sMensaje;
    try {
      GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3));
    } catch (const EDocumentoWord& e) {
      sMensaje = e.what();
    }
    fs::permissions(corrida.programa.Carpeta(), fs::perms::owner_all);
    EXPECT_EQ(sMensaje, caso.mensaje(corrida));
    EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(10));
    EXPECT_TRUE(corrida.preguntadas.empty());
    EXPECT_TRUE(corrida.mensajero.textos.empty());
    EXPECT_FALSE(corrida.documento);
    EXPECT_EQ(corrida.Archivos(), antes);
    EXPECT_EQ(Lee(corrida.programa.Ruta("CuestionarioOperatividad2020.pdf")), "anterior");
  }
}

// A converter that fails after the answers: false with the converter's cause, no working
// file left, the earlier PDF as it was.
TEST(WordGeneraCuestionario, UnaExportacionFallidaDiceLaCausa) {
  struct TCaso {
    const char* sConversion;
    const char* sCausa;
  };
  const TCaso casos[] = {
      {":", "El convertidor de PDF no generó el archivo PDF."},
      {"echo 'Error: source file could not be loaded' >&2",
       "El convertidor de PDF informó: source file could not be loaded"},
      {"sleep 30", "El convertidor de PDF no terminó en el tiempo límite (s): 1"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.sConversion);
    TCorrida corrida(caso.sConversion);
    corrida.documento->Convertidor().timeout = std::chrono::seconds(1);
    std::ofstream(corrida.programa.Ruta("CuestionarioOperatividad2020.pdf")) << "anterior";
    std::string sCausa = "sin tocar";
    EXPECT_FALSE(
        GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3), &sCausa));
    EXPECT_EQ(sCausa, caso.sCausa);
    EXPECT_EQ(corrida.preguntadas, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(corrida.Archivos(), std::vector<std::string>{"CuestionarioOperatividad2020.pdf"});
    EXPECT_EQ(Lee(corrida.programa.Ruta("CuestionarioOperatividad2020.pdf")), "anterior");
    EXPECT_TRUE(corrida.programa.abiertos.empty());
  }
  TCorrida corrida;
  std::string sCausa;
  EXPECT_FALSE(
      GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3, 2), &sCausa));
  EXPECT_EQ(sCausa, "No se obtuvo la respuesta de la pregunta 2.");
}

// Two runs on one folder at once: the second is refused at once and touches nothing of the
// first, which ends with its own PDF. Each run writes under names of its own.
TEST(WordGeneraCuestionario, DosCorridasALaVezEnUnaCarpeta) {
  TCorrida primera("printf '%%PDF-1.4 %s' \"$base\" > \"$outdir/$base.pdf\"");
  const std::string sPrograma = primera.documento->Convertidor().program;
  TMensajeroGrabado mensajero2;
  std::vector<std::string> durante;
  std::string sRechazo;
  std::vector<int> preguntadas2;
  TFuentesCuestionario fuentes = primera.Fuentes(3);
  fuentes.RespondePregunta = [&](int n, std::string& s) {
    primera.preguntadas.push_back(n);
    s = "Respuesta: " + std::to_string(n);
    if (n == 2) {
      durante = primera.Archivos();
      auto documento2 = std::make_unique<TDocumentoWord>();
      documento2->Convertidor().program = sPrograma;
      TFuentesCuestionario fuentes2 = primera.Fuentes(3);
      fuentes2.RespondePregunta = [&](int m, std::string& r) {
        preguntadas2.push_back(m);
        r = "otra";
        return true;
      };
      try {
        GeneraCuestionario(documento2, mensajero2, fuentes2);
      } catch (const EDocumentoWord& e) {
        sRechazo = e.what();
      }
      EXPECT_EQ(primera.Archivos(), durante) << "the second run touched the first's files";
    }
    return true;
  };
  EXPECT_TRUE(GeneraCuestionario(primera.documento, primera.mensajero, fuentes));
  EXPECT_EQ(sRechazo.rfind("Otra ventana o computadora ya está generando el reporte " +
                               primera.programa.Ruta("CuestionarioOperatividad2020.pdf") +
                               " (proceso " + std::to_string(::getpid()) + ", equipo ",
                           0),
            0u)
      << sRechazo;
  EXPECT_TRUE(sRechazo.ends_with("). Espere a que termine y vuelva a intentarlo.")) << sRechazo;
  EXPECT_TRUE(preguntadas2.empty());
  EXPECT_TRUE(mensajero2.textos.empty());
  EXPECT_EQ(primera.preguntadas, (std::vector<int>{1, 2, 3}));
  // While the first ran: its working template, named for this run, and its lock.
  ASSERT_EQ(durante.size(), 2u);
  const std::string sPlantilla = "PlantillaCuestionarioOperatividad2020.dotx";
  const std::string sPrefijo = ".kv-" + std::to_string(::getpid()) + "-";
  EXPECT_EQ(durante[0].rfind(sPrefijo, 0), 0u) << durante[0];
  EXPECT_TRUE(durante[0].ends_with("-" + sPlantilla)) << durante[0];
  EXPECT_EQ(durante[1], "CuestionarioOperatividad2020.pdf.lock");
  EXPECT_EQ(primera.Archivos(), std::vector<std::string>{"CuestionarioOperatividad2020.pdf"});
  // The PDF is the first run's own export.
  EXPECT_EQ(Lee(primera.programa.Ruta("CuestionarioOperatividad2020.pdf")),
            "%PDF-1.4 " + durante[0].substr(0, durante[0].size() - sPlantilla.size()) +
                "CuestionarioOperatividad2020");

  // A later run gets other names.
  std::vector<std::string> despues;
  fuentes.RespondePregunta = [&](int, std::string& s) {
    if (despues.empty()) despues = primera.Archivos();
    s = "x";
    return true;
  };
  primera.documento = std::make_unique<TDocumentoWord>();
  primera.documento->Convertidor().program = sPrograma;
  EXPECT_TRUE(GeneraCuestionario(primera.documento, primera.mensajero, fuentes));
  ASSERT_EQ(despues.size(), 3u);
  EXPECT_TRUE(despues[0].ends_with("-" + sPlantilla)) << despues[0];
  EXPECT_NE(despues[0], durante[0]);
}

// What runs that died left behind: their lock is taken over, their working files in the
// folder and their converter profiles in the temporary folder go; a live process's
// profile stays.
TEST(WordGeneraCuestionario, LoQueDejaronCorridasMuertasSeRetira) {
  TCorrida corrida;
  const long nMuerto = PidTerminado();
  char sEquipo[256] = {};
  ::gethostname(sEquipo, sizeof sEquipo - 1);
  std::ofstream(corrida.programa.Ruta("CuestionarioOperatividad2020.pdf.lock"))
      << nMuerto << "\ncuestionario-operatividad\n"
      << sEquipo << "\n";
  std::ofstream(corrida.programa.Ruta(".kv-" + std::to_string(nMuerto) +
                                      "-0badf00d-CuestionarioOperatividad2020.docx"))
      << "a medias";
  fs::create_directory(corrida.programa.Ruta(".kv-pdf-Ab12Cd"));
  std::ofstream(corrida.programa.Ruta(".kv-pdf-Ab12Cd/CuestionarioOperatividad2020.pdf")) << "%PDF";
  std::ofstream(corrida.programa.Ruta("notas.txt")) << "del usuario";
  const fs::path temporal = fs::temp_directory_path();
  const fs::path perfilMuerto = temporal / ("kv-perfil-" + std::to_string(nMuerto) + "-Xy12Zw");
  const fs::path perfilVivo = temporal / ("kv-perfil-" + std::to_string(::getpid()) + "-Xy12Zw");
  fs::create_directories(perfilMuerto / "user");
  fs::create_directories(perfilVivo / "user");

  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(1)));
  EXPECT_EQ(corrida.Archivos(),
            (std::vector<std::string>{"CuestionarioOperatividad2020.pdf", "notas.txt"}));
  EXPECT_FALSE(fs::exists(perfilMuerto));
  EXPECT_TRUE(fs::exists(perfilVivo));
  fs::remove_all(perfilVivo);
}

}  // namespace
}  // namespace kv
