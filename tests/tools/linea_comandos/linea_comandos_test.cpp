// Every program answers --help (Spanish usage, its options, an example) and --version on
// standard output with status 0, and refuses an unknown option on standard error with its
// usage and status 2. The window does the first two without a display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/mdbwrite/lectores.h"

namespace {

namespace t = kv::mdbw::test;

// Runs `sComando` under `sEntorno` (env assignments), standard output and error apart.
t::SplitResult Corre(const std::string& sEntorno, const std::string& sComando) {
  return t::runApart("env " + sEntorno + " " + sComando);
}

struct TPrograma {
  std::string sNombre, sExe;
  std::string sUso;                   // the usage lines, as written
  std::vector<std::string> opciones;  // its own options, each shown in the help
};

const std::vector<TPrograma> kProgramas = {
    {"cuestionario-operatividad",
     KV_EXE_CUESTIONARIO_OPERATIVIDAD,
     "Uso: cuestionario-operatividad [CARPETA]\n",
     {}},
    {"respuestas",
     KV_EXE_RESPUESTAS,
     "Uso: respuestas CARPETA --tipo-cambio TC [--pep CLAVE]... [--respuestas-cc ARCHIVO] "
     "[--evidencia SALIDA.xlsx]\n"
     "     respuestas CARPETA --peps\n",
     {"--tipo-cambio TC", "--pep CLAVE", "--respuestas-cc ARCHIVO", "--evidencia SALIDA.xlsx",
      "--peps"}},
    {"jetsql",
     KV_EXE_JETSQL,
     "Uso: jetsql [--password CONTRASEÑA] [--tiempo-limite SEGUNDOS] ARCHIVO.mdb \"SQL\"\n",
     {"--password CONTRASEÑA", "--tiempo-limite SEGUNDOS"}},
    {"kavori-demo",
     KV_EXE_KAVORI_DEMO,
     "Uso: kavori-demo CARPETA [--operaciones N] [--semilla S]\n",
     {"--operaciones N", "--semilla S"}},
    {"mdbwrite",
     KV_EXE_MDBWRITE,
     "Uso: mdbwrite [--password CONTRASEÑA] SALIDA.mdb ENTRADA.csv [ENTRADA.csv ...]\n",
     {"--password CONTRASEÑA"}},
};

// No display at all, and a toolkit that would need one: the window must answer first.
constexpr const char* kSinPantalla = "-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
constexpr const char* kFueraDePantalla = "QT_QPA_PLATFORM=offscreen";

TEST(Programas, EveryProgramAnswersHelpVersionAndUnknownOptions) {
  for (const TPrograma& p : kProgramas) {
    SCOPED_TRACE(p.sNombre);
    const std::string exe = t::shellQuote(p.sExe);

    for (const char* sAyuda : {" --help", " -h"}) {
      const t::SplitResult a = Corre(kSinPantalla, exe + sAyuda);
      EXPECT_EQ(a.status, 0) << a.err;
      EXPECT_EQ(a.err, "");
      EXPECT_EQ(a.out.rfind(p.sUso + "\n", 0), 0u) << a.out;
      EXPECT_NE(a.out.find("\nOpciones:\n"), std::string::npos) << a.out;
      for (const std::string& o : p.opciones)
        EXPECT_NE(a.out.find("\n  " + o + "  "), std::string::npos) << o << "\n" << a.out;
      EXPECT_NE(a.out.find("\n  -h, --help  "), std::string::npos) << a.out;
      EXPECT_NE(a.out.find("\n  --version  "), std::string::npos) << a.out;
      const auto nEjemplo = a.out.find("\nEjemplo");
      ASSERT_NE(nEjemplo, std::string::npos) << a.out;
      EXPECT_NE(a.out.find("\n  " + p.sNombre + " ", nEjemplo), std::string::npos) << a.out;
    }

    const t::SplitResult v = Corre(kSinPantalla, exe + " --version");
    EXPECT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.out, p.sNombre + " 1.0.0\n");
    EXPECT_EQ(v.err, "");

    for (const std::string sDesconocida : {"--nada", "--nada=1", "-z"}) {
      const t::SplitResult d = Corre(kFueraDePantalla, exe + " " + sDesconocida + " x");
      EXPECT_EQ(d.status, 2) << sDesconocida;
      EXPECT_EQ(d.out, "") << sDesconocida;
      // The window's toolkit may say something about its runtime folder first.
      const std::string sEsperado = "Opción desconocida: " + sDesconocida + "\n" + p.sUso +
                                    "Más información: " + p.sNombre + " --help\n";
      ASSERT_GE(d.err.size(), sEsperado.size()) << d.err;
      EXPECT_EQ(d.err.substr(d.err.size() - sEsperado.size()), sEsperado);
    }
  }
}

}  // namespace
