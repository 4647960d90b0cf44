#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "diag/programa.h"
#include "tests/support/aplicacion_qt.h"

namespace kv {
namespace {

// Installs an opener that records the files instead of launching anything.
class ProgramaEjecutaArchivo : public ::testing::Test {
 protected:
  void SetUp() override {
    anterior = AsignaAbridorArchivos([this](const std::string& s) {
      abiertos.push_back(s);
      if (bLanza) throw std::runtime_error("sin escritorio");
      return bExito;
    });
  }
  void TearDown() override { AsignaAbridorArchivos(anterior); }

  TCarpetaTemporal carpeta;
  std::vector<std::string> abiertos;
  bool bLanza = false;
  bool bExito = true;
  TAbridorArchivos anterior;
};

TEST_F(ProgramaEjecutaArchivo, OpensExistingFilesOnly) {
  const std::string pdf = carpeta.Escribe("Cuestionario.pdf", "%PDF").string();
  struct Caso {
    std::string archivo;
    bool lanza;
    bool exito;
    bool resultado;
    bool abierto;
  };
  const Caso casos[] = {
      {pdf, false, true, true, true},
      {pdf, false, false, true, true},  // the desktop's own failure is not reported
      {pdf, true, true, false, true},   // only a raised error is
      {(carpeta.Ruta() / "falta.pdf").string(), false, true, true, false},
      {(carpeta.Ruta() / "falta.pdf").string(), true, true, true, false},
      {carpeta.Ruta().string(), false, true, true, false},  // a folder is not a file
  };
  for (const auto& c : casos) {
    abiertos.clear();
    bLanza = c.lanza;
    bExito = c.exito;
    EXPECT_EQ(EjecutaArchivo(c.archivo, kMostrarNormal), c.resultado) << c.archivo;
    EXPECT_EQ(abiertos,
              c.abierto ? std::vector<std::string>{c.archivo} : std::vector<std::string>{})
        << c.archivo;
  }
}

TEST(BuscaArchivoIgnorandoMayusculas, FindsWhateverTheLetterCase) {
  TCarpetaTemporal carpeta;
  const auto ini = carpeta.Escribe("KAVORI.ini").string();
  const auto mdb = carpeta.Escribe("database/KAVORI.MDB").string();
  const auto acento = carpeta.Escribe("AÑO/Índice.txt").string();
  carpeta.Escribe("Otra/kavori.mdb/x");  // a folder named like the file does not count
  const std::string raiz = carpeta.Ruta().string();
  struct Caso {
    const char* relativa;
    std::optional<std::string> esperado;
  };
  const Caso casos[] = {
      {"Kavori.INI", ini},
      {"KAVORI.ini", ini},
      {"DataBase/Kavori.mdb", mdb},
      {"DataBase\\Kavori.mdb", mdb},
      {"./database//KAVORI.MDB", mdb},
      {"año/índice.TXT", acento},
      {"Kavori.mdb", std::nullopt},
      {"Otra/Kavori.mdb", std::nullopt},
      {"DataBase", std::nullopt},  // a folder is not a file
      {"", std::nullopt},
      {"Falta/Kavori.mdb", std::nullopt},
  };
  for (const auto& c : casos)
    EXPECT_EQ(BuscaArchivoIgnorandoMayusculas(raiz, c.relativa), c.esperado) << c.relativa;
  EXPECT_EQ(BuscaArchivoIgnorandoMayusculas(raiz + "/no-existe", "Kavori.INI"), std::nullopt);
}

TEST(BuscaArchivoIgnorandoMayusculas, ExactNameWinsThenNameOrder) {
  TCarpetaTemporal carpeta;
  const auto exacto = carpeta.Escribe("Kavori.INI").string();
  const auto mayus = carpeta.Escribe("KAVORI.INI").string();
  carpeta.Escribe("kavori.ini");
  const std::string raiz = carpeta.Ruta().string();
  EXPECT_EQ(BuscaArchivoIgnorandoMayusculas(raiz, "Kavori.INI"), exacto);
  EXPECT_EQ(BuscaArchivoIgnorandoMayusculas(raiz, "kAVORI.ini"), mayus);
}

}  // namespace
}  // namespace kv
