// The command line shared by the programs: how arguments are read, what each usage error
// writes and returns, and the layout of the help.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diag/cli/opciones.h"

namespace {

using kv::cli::TPrograma;

// A program with both kinds of option, a placeholder with an accent and usage status 1.
const TPrograma kPrueba{"prueba",
                        {"[--clave CONTRASEÑA] ARCHIVO", "--lista"},
                        "Hace una prueba.\n",
                        {{"--clave", "CONTRASEÑA", "la contraseña"}, {"--lista", "", "sólo lista"}},
                        {"prueba --clave x a.txt"},
                        1};

struct TCorrida {
  std::string sLeido;  // arguments as "opcion=valor" or "valor", joined by "|"
  std::string sSalida, sErrores;
  int nSalida = -1;  // -1: the program goes on
};

TCorrida Corre(std::vector<const char*> args) {
  args.insert(args.begin(), "prueba");
  std::ostringstream salida, errores;
  const auto linea =
      kv::cli::LeeArgumentos(kPrueba, static_cast<int>(args.size()), args.data(), salida, errores);
  TCorrida c;
  for (const auto& a : linea.argumentos) {
    if (!c.sLeido.empty()) c.sLeido += "|";
    c.sLeido += a.EsPosicional() ? a.sValor : a.sOpcion + "=" + a.sValor;
  }
  c.sSalida = salida.str();
  c.sErrores = errores.str();
  c.nSalida = linea.nSalida.value_or(-1);
  return c;
}

constexpr const char* kUso =
    "Uso: prueba [--clave CONTRASEÑA] ARCHIVO\n"
    "     prueba --lista\n"
    "Más información: prueba --help\n";

TEST(LineaComandos, ReadsOptionsAndPositionalsInOrder) {
  struct TCaso {
    std::vector<const char*> args;
    std::string sLeido;
  };
  const std::vector<TCaso> casos = {
      {{}, ""},
      {{"a.txt", "--clave", "x"}, "a.txt|--clave=x"},
      {{"--clave=x=y", "a.txt"}, "--clave=x=y|a.txt"},
      {{"--clave", "--lista"}, "--clave=--lista"},  // a value may look like an option
      {{"--clave="}, "--clave="},
      {{"--lista", "-"}, "--lista=|-"},  // a lone dash is an argument (standard input)
      {{"--", "--lista", "-x"}, "--lista|-x"},
      {{"--clave", "-5", "--", "--"}, "--clave=-5|--"},
  };
  for (const auto& k : casos) {
    const TCorrida c = Corre(k.args);
    EXPECT_EQ(c.nSalida, -1) << k.sLeido << c.sErrores;
    EXPECT_EQ(c.sLeido, k.sLeido);
    EXPECT_EQ(c.sSalida + c.sErrores, "") << k.sLeido;
  }
}

TEST(LineaComandos, UsageErrorsWriteTheReasonAndTheUsage) {
  struct TCaso {
    std::vector<const char*> args;
    int nSalida;
    std::string sErrores;
  };
  const std::vector<TCaso> casos = {
      {{"--nada"}, 2, "Opción desconocida: --nada\n"},
      {{"a.txt", "--nada=1"}, 2, "Opción desconocida: --nada=1\n"},
      {{"-x", "a.txt"}, 2, "Opción desconocida: -x\n"},
      {{"--clav", "x"}, 2, "Opción desconocida: --clav\n"},  // no abbreviations
      {{"a.txt", "--clave"}, 1, "Falta el valor de --clave\n"},
      {{"--lista=si"}, 1, "No lleva valor: --lista=si\n"},
  };
  for (const auto& k : casos) {
    const TCorrida c = Corre(k.args);
    EXPECT_EQ(c.nSalida, k.nSalida) << k.sErrores;
    EXPECT_EQ(c.sErrores, k.sErrores + kUso);
    EXPECT_EQ(c.sSalida, "") << k.sErrores;
  }
  std::ostringstream errores;
  EXPECT_EQ(kv::cli::ErrorDeUso(kPrueba, "", errores), 1);
  EXPECT_EQ(errores.str(), kUso);
}

TEST(LineaComandos, HelpAndVersionEndTheProgramWhereverTheyStand) {
  const std::string sAyuda =
      "Uso: prueba [--clave CONTRASEÑA] ARCHIVO\n"
      "     prueba --lista\n"
      "\n"
      "Hace una prueba.\n"
      "\n"
      "Opciones:\n"
      "  --clave CONTRASEÑA  la contraseña\n"
      "  --lista             sólo lista\n"
      "  -h, --help          muestra esta ayuda y termina\n"
      "  --version           muestra la versión y termina\n"
      "\n"
      "Ejemplo:\n"
      "  prueba --clave x a.txt\n";
  for (const std::vector<const char*>& args : {std::vector<const char*>{"--help"},
                                               {"a.txt", "-h", "--nada"},
                                               {"--clave", "x", "--help"}}) {
    const TCorrida c = Corre(args);
    EXPECT_EQ(c.nSalida, 0);
    EXPECT_EQ(c.sSalida, sAyuda);
    EXPECT_EQ(c.sErrores, "");
  }
  TCorrida c = Corre({"a.txt", "--version"});
  EXPECT_EQ(c.nSalida, 0);
  EXPECT_EQ(c.sSalida, "prueba 1.0.0\n");
  // Past "--" they are arguments; "--clave --help" gives the value "--help".
  c = Corre({"--", "--help", "--version"});
  EXPECT_EQ(c.nSalida, -1);
  EXPECT_EQ(c.sLeido, "--help|--version");
  c = Corre({"--clave", "--help"});
  EXPECT_EQ(c.sLeido, "--clave=--help");
}

// The window answers these two before its toolkit reads (and rejects) the rest of the line.
TEST(LineaComandos, HelpOrVersionAloneIgnoresOtherArguments) {
  struct TCaso {
    std::vector<const char*> args;
    std::optional<int> nSalida;
    std::string sSalida;
  };
  const std::vector<TCaso> casos = {
      {{"-platform", "offscreen", "--version"}, 0, "prueba 1.0.0\n"},
      {{"--nada", "-h"}, 0, "Uso: prueba [--clave CONTRASEÑA] ARCHIVO\n"},
      {{"-platform", "offscreen", "carpeta"}, std::nullopt, ""},
      {{"--", "--version"}, std::nullopt, ""},
  };
  for (auto k : casos) {
    k.args.insert(k.args.begin(), "prueba");
    std::ostringstream salida;
    EXPECT_EQ(kv::cli::AtiendeAyudaOVersion(kPrueba, static_cast<int>(k.args.size()), k.args.data(),
                                            salida),
              k.nSalida);
    EXPECT_EQ(salida.str().substr(0, k.sSalida.size()), k.sSalida);
    if (k.sSalida.empty()) {
      EXPECT_EQ(salida.str(), "");
    }
  }
}

}  // namespace
