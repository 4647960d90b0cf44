// The program folder chosen at start: the argument, the executable's folder, the folder
// remembered from an earlier start, or the one picked in the dialog (remembered then).
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/carpeta_programa.h"
#include "diag/programa.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class CarpetaPrograma : public ::testing::Test {
 protected:
  void SetUp() override {
    AseguraAplicacionQt();
    // The user's settings live in a temporary folder for the test.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(ajustes.Ruta().string()));
    FijaCarpetaPrograma(exe.Ruta().string());  // stands for the executable's folder
  }
  void TearDown() override { FijaCarpetaPrograma(std::nullopt); }

  // Runs the choice with a dialog that answers from `respuestas` in order (nothing = cancel)
  // and notes where each question started.
  std::optional<std::string> Elige(std::optional<std::string> sArgumento,
                                   std::vector<std::optional<std::string>> respuestas = {}) {
    auto pide = [&](const std::string& sInicial) -> std::optional<std::string> {
      inicios.push_back(sInicial);
      if (respuestas.empty()) return std::nullopt;
      auto r = respuestas.front();
      respuestas.erase(respuestas.begin());
      return r;
    };
    return EligeCarpetaPrograma(sArgumento, *DameAjustes(), pide);
  }
  std::string Recordada() { return DameAjustes()->value("carpetaKavori").toString().toStdString(); }

  TCarpetaTemporal ajustes, exe, kavori, otra;
  TDialogosDePrueba dialogos;
  std::vector<std::string> inicios;
};

TEST_F(CarpetaPrograma, ArgumentIsUsedAsGivenAndNeverRemembered) {
  kavori.Escribe("Kavori.INI", "[Control]\nEmpresaActiva=1\n");
  exe.Escribe("Kavori.INI");
  const fs::path previa = fs::current_path();
  fs::current_path(kavori.Ruta().parent_path());
  const std::string sRelativa = kavori.Ruta().filename().string() + "/./";
  EXPECT_EQ(Elige(sRelativa), kavori.Ruta().string());
  fs::current_path(previa);
  // A folder without Kavori.INI is taken too: the commands say what is missing.
  EXPECT_EQ(Elige(otra.Ruta().string() + "/"), otra.Ruta().string());
  EXPECT_TRUE(inicios.empty());
  EXPECT_EQ(Recordada(), "");
  EXPECT_TRUE(dialogos->Textos().empty());
  // Nothing was left in the folders by the check that they can be written.
  EXPECT_EQ(std::distance(fs::directory_iterator(kavori.Ruta()), fs::directory_iterator()), 1);
  EXPECT_TRUE(fs::is_empty(otra.Ruta()));
}

TEST_F(CarpetaPrograma, MissingArgumentFolderStopsTheStart) {
  const std::string sNoExiste = (otra.Ruta() / "no_existe").string();
  otra.Escribe("archivo.txt", "x");
  for (const std::string& s : {sNoExiste, (otra.Ruta() / "archivo.txt").string(), std::string()}) {
    dialogos->Limpia();
    EXPECT_EQ(Elige(s), std::nullopt) << s;
    EXPECT_EQ(dialogos->Textos(),
              std::vector<std::string>{"No existe la carpeta del Kavori indicada: " + s});
  }
  EXPECT_TRUE(inicios.empty());
}

TEST_F(CarpetaPrograma, ExecutablesFolderWithIniNeedsNoQuestion) {
  exe.Escribe("KAVORI.ini");
  DameAjustes()->setValue("carpetaKavori", QString::fromStdString(kavori.Ruta().string()));
  kavori.Escribe("Kavori.INI");
  EXPECT_EQ(Elige(std::nullopt), exe.Ruta().string());
  EXPECT_TRUE(inicios.empty());
  EXPECT_TRUE(dialogos->Textos().empty());
}

TEST_F(CarpetaPrograma, PickedFolderIsRememberedForTheNextStart) {
  kavori.Escribe("kavori.ini", "[Control]\nEmpresaActiva=1\n");
  // First start: a folder without Kavori.INI is refused and the dialog opens again there.
  EXPECT_EQ(Elige(std::nullopt, {otra.Ruta().string(), kavori.Ruta().string() + "/"}),
            kavori.Ruta().string());
  EXPECT_EQ(inicios,
            (std::vector<std::string>{QDir::homePath().toStdString(), otra.Ruta().string()}));
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{
                "La carpeta elegida no tiene Kavori.INI; elija la carpeta del Kavori: " +
                otra.Ruta().string()});
  // It is kept in the user's settings file.
  std::ifstream archivo(ajustes.Ruta() / "cuestionario-operatividad" /
                        "cuestionario-operatividad.ini");
  const std::string sTexto((std::istreambuf_iterator<char>(archivo)),
                           std::istreambuf_iterator<char>());
  EXPECT_NE(sTexto.find("carpetaKavori=" + kavori.Ruta().string()), std::string::npos) << sTexto;

  // Next start: no question.
  inicios.clear();
  dialogos->Limpia();
  EXPECT_EQ(Elige(std::nullopt), kavori.Ruta().string());
  EXPECT_TRUE(inicios.empty());
  EXPECT_TRUE(dialogos->Textos().empty());

  // The remembered folder lost its Kavori.INI: asked again from there; cancelling ends the
  // start and keeps what was remembered.
  fs::remove(kavori.Ruta() / "kavori.ini");
  EXPECT_EQ(Elige(std::nullopt, {std::nullopt}), std::nullopt);
  EXPECT_EQ(inicios, std::vector<std::string>{kavori.Ruta().string()});
  EXPECT_EQ(Recordada(), kavori.Ruta().string());
}

TEST_F(CarpetaPrograma, FolderThatCannotBeWrittenIsSaidAtOnce) {
  // A folder without write permission (as a process's /proc folder is) is read-only even for
  // an administrator.
  EXPECT_EQ(Elige("/proc/self"), "/proc/self");
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{
                "No se puede escribir en la carpeta del programa: /proc/self (es de sólo "
                "lectura). Dé permiso de escritura en esa carpeta al usuario que ejecuta este "
                "programa y vuelva a intentarlo."});
}

}  // namespace
}  // namespace kv
