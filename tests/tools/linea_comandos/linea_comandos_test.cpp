// Every program answers --help (Spanish usage, its options, an example) and --version on
// standard output with status 0, and refuses an unknown option on standard error with its
// usage and status 2. The window does the first two without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TSalida {
  int nEstado = -1;
  std::string sSalida, sErrores;
};

std::string Comillas(const std::string& s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

// Runs `sComando` under `sEntorno` (env assignments) keeping stdout and stderr apart.
TSalida Corre(const std::string& sEntorno, const std::string& sComando) {
  const std::filesystem::path err = std::filesystem::temp_directory_path() /
                                    ("linea_comandos_" + std::to_string(::getpid()) + ".err");
  const std::string cmd = "env " + sEntorno + " " + sComando + " 2>" + Comillas(err.string());
  TSalida s;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return s;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) s.sSalida.append(buf, n);
  const int st = ::pclose(p);
  s.nEstado = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  std::ifstream f(err);
  std::stringstream ss;
  ss << f.rdbuf();
  s.sErrores = ss.str();
  std::filesystem::remove(err);
  return s;
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
     "Uso: respuestas CARPETA --tipo-cambio TC [--pep CLAVE]...\n"
     "     respuestas CARPETA --peps\n",
     {"--tipo-cambio TC", "--pep CLAVE", "--peps"}},
    {"jetsql",
     KV_EXE_JETSQL,
     "Uso: jetsql [--password CONTRASEÑA] ARCHIVO.mdb \"SQL\"\n",
     {"--password CONTRASEÑA"}},
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
    const std::string exe = Comillas(p.sExe);

    for (const char* sAyuda : {" --help", " -h"}) {
      const TSalida a = Corre(kSinPantalla, exe + sAyuda);
      EXPECT_EQ(a.nEstado, 0) << a.sErrores;
      EXPECT_EQ(a.sErrores, "");
      EXPECT_EQ(a.sSalida.rfind(p.sUso + "\n", 0), 0u) << a.sSalida;
      EXPECT_NE(a.sSalida.find("\nOpciones:\n"), std::string::npos) << a.sSalida;
      for (const std::string& o : p.opciones)
        EXPECT_NE(a.sSalida.find("\n  " + o + "  "), std::string::npos) << o << "\n" << a.sSalida;
      EXPECT_NE(a.sSalida.find("\n  -h, --help  "), std::string::npos) << a.sSalida;
      EXPECT_NE(a.sSalida.find("\n  --version  "), std::string::npos) << a.sSalida;
      const auto nEjemplo = a.sSalida.find("\nEjemplo");
      ASSERT_NE(nEjemplo, std::string::npos) << a.sSalida;
      EXPECT_NE(a.sSalida.find("\n  " + p.sNombre + " ", nEjemplo), std::string::npos) << a.sSalida;
    }

    const TSalida v = Corre(kSinPantalla, exe + " --version");
    EXPECT_EQ(v.nEstado, 0) << v.sErrores;
    EXPECT_EQ(v.sSalida, p.sNombre + " 1.0.0\n");
    EXPECT_EQ(v.sErrores, "");

    for (const std::string sDesconocida : {"--nada", "--nada=1", "-z"}) {
      const TSalida d = Corre(kFueraDePantalla, exe + " " + sDesconocida + " x");
      EXPECT_EQ(d.nEstado, 2) << sDesconocida;
      EXPECT_EQ(d.sSalida, "") << sDesconocida;
      // The window's toolkit may say something about its runtime folder first.
      const std::string sEsperado = "Opción desconocida: " + sDesconocida + "\n" + p.sUso +
                                    "Más información: " + p.sNombre + " --help\n";
      ASSERT_GE(d.sErrores.size(), sEsperado.size()) << d.sErrores;
      EXPECT_EQ(d.sErrores.substr(d.sErrores.size() - sEsperado.size()), sEsperado);
    }
  }
}

}  // namespace
