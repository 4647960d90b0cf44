#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "diag/bool_persist.h"
#include "diag/errores_bd.h"
#include "diag/programa.h"
#include "diag/qt/utilerias.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

class Utilerias : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AseguraAplicacionQt(); }
  TUtilerias utilerias;
};

TEST(TInterfacedPadre, ForwardsToItsManagerOrDoesNothing) {
  TDialogosDePrueba dialogos;
  TInterfacedPadre sinManejador;
  sinManejador.MuestraError("BD-101", "K", "x");
  EXPECT_EQ(sinManejador.DameErrorMsj("BD-101", "x", true), "");
  EXPECT_TRUE(dialogos->Dialogos().empty());

  TInterfacedPadre conManejador(std::make_shared<TErroresBD>());
  conManejador.MuestraError("BD-101", "K", "x");
  EXPECT_EQ(conManejador.DameErrorMsj("BD-101", "x", true),
            "Error #BD-101: Llame a Soporte Técnico. x");
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{"Error #BD-101.K: Llame a Soporte Técnico. x"});
}

TEST(TBoolPersist, LatchesAwayFromTheInitialValue) {
  // Each step: 'v'/'f' writes Valor true/false, 'V'/'F' writes Inicial; then the expected read.
  struct Caso {
    bool inicial;
    const char* pasos;
    bool esperado;
  };
  const Caso casos[] = {
      {true, "", true},     {true, "f", false},   {true, "fv", false}, {true, "vvfv", false},
      {true, "fV", true},   {true, "fVf", false}, {false, "v", true},  {false, "vf", true},
      {false, "ff", false}, {true, "F", false},   {true, "Fv", true},  {true, "Fvf", true},
  };
  for (const auto& c : casos) {
    std::shared_ptr<IBoolPersist> exito = std::make_shared<TBoolPersist>(c.inicial);
    for (const char* p = c.pasos; *p != 0; ++p) {
      if (*p == 'v' || *p == 'f') exito->SetValor(*p == 'v');
      if (*p == 'V' || *p == 'F') exito->SetInicial(*p == 'V');
    }
    EXPECT_EQ(exito->GetValor(), c.esperado) << c.inicial << " " << c.pasos;
  }
}

TEST_F(Utilerias, ProgramPathsComeFromTheExecutable) {
  const auto real = std::filesystem::canonical("/proc/self/exe");
  EXPECT_EQ(utilerias.DameRutaCompProg(), real.string());
  EXPECT_EQ(utilerias.DameNomExeProg(), "test_diag_qt");
  EXPECT_EQ(utilerias.DameDirProg(), real.parent_path().string() + "/");
  EXPECT_EQ(DameCarpetaExe(), real.parent_path().string());
  EXPECT_EQ(utilerias.DameDirProg() + utilerias.DameNomExeProg(), utilerias.DameRutaCompProg());

  FijaCarpetaPrograma("/tmp/demo/");
  EXPECT_EQ(DameCarpetaExe(), "/tmp/demo");
  EXPECT_EQ(utilerias.DameDirProg(), "/tmp/demo/");
  EXPECT_EQ(utilerias.DameRutaCompProg(), "/tmp/demo/test_diag_qt");
  FijaCarpetaPrograma(std::nullopt);
  EXPECT_EQ(DameCarpetaExe(), real.parent_path().string());
}

// CPU time of the calling thread in milliseconds.
double MsDeCpu() {
  rusage uso{};
  getrusage(RUSAGE_THREAD, &uso);
  return (uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1000.0 +
         (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1000.0;
}

TEST_F(Utilerias, HazPausaServesEventsForAtLeastTheGivenTime) {
  for (int nMs : {0, 1, 120, 300}) {
    int nTicks = 0;
    QTimer::singleShot(0, [&] { ++nTicks; });
    QTimer::singleShot(nMs / 2, [&] { ++nTicks; });
    QElapsedTimer reloj;
    reloj.start();
    utilerias.HazPausa(nMs);
    EXPECT_GE(reloj.elapsed(), nMs);
    // For 0 the posted zero timer is served by the single pass; otherwise both are.
    if (nMs >= 2) {
      EXPECT_EQ(nTicks, 2) << nMs;
    } else {
      EXPECT_GE(nTicks, 1) << nMs;
    }
    QCoreApplication::processEvents();
  }
}

TEST_F(Utilerias, HazPausaWaitsInsteadOfSpinning) {
  const double antes = MsDeCpu();
  utilerias.HazPausa(600);
  // A spinning loop burns about the whole pause; waiting for events costs almost nothing.
  EXPECT_LT(MsDeCpu() - antes, 300.0);
}

TEST_F(Utilerias, HazPausaServesPostedEventsOnceForZero) {
  bool bServido = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&] { bServido = true; }, Qt::QueuedConnection);
  utilerias.HazPausa(0);
  EXPECT_TRUE(bServido);
}

TEST_F(Utilerias, ProcesayEsperaRestoresCursorAndButtonOnEveryExit) {
  for (const bool bFalla : {false, true}) {
    QPushButton boton;
    bool bCorrio = false;
    const auto trabajo = [&] {
      EXPECT_FALSE(boton.isEnabled());
      EXPECT_TRUE(CursorEsperaPuesto());
      bCorrio = true;
      if (bFalla) throw std::runtime_error("falla");
    };
    if (bFalla) {
      EXPECT_THROW(utilerias.ProcesayEspera(trabajo, &boton), std::runtime_error);
    } else {
      utilerias.ProcesayEspera(trabajo, &boton);
    }
    EXPECT_TRUE(bCorrio);
    EXPECT_TRUE(boton.isEnabled());
    EXPECT_FALSE(CursorEsperaPuesto());

    // The form without a button.
    const auto sinBoton = [&] {
      EXPECT_TRUE(CursorEsperaPuesto());
      if (bFalla) throw std::runtime_error("falla");
    };
    if (bFalla) {
      EXPECT_THROW(utilerias.ProcesayEspera(sinBoton), std::runtime_error);
    } else {
      utilerias.ProcesayEspera(sinBoton);
    }
    EXPECT_FALSE(CursorEsperaPuesto());
  }
}

TEST_F(Utilerias, ProcesayEsperaServesPendingEventsBeforeTheWork) {
  QPushButton boton;
  std::vector<std::string> orden;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&] { orden.push_back("evento"); }, Qt::QueuedConnection);
  utilerias.ProcesayEspera([&] { orden.push_back("trabajo"); }, &boton);
  EXPECT_EQ(orden, (std::vector<std::string>{"evento", "trabajo"}));
}

TEST_F(Utilerias, ProcesayEsperaSurvivesTheButtonBeingDestroyed) {
  auto* boton = new QPushButton;
  utilerias.ProcesayEspera([&] { delete boton; }, boton);
  EXPECT_FALSE(CursorEsperaPuesto());
}

class TVentanaPrueba : public IMjVentana {
 public:
  std::vector<std::string> llamadas;
  bool bFalla = false;
  void InicializaVentana() override { llamadas.push_back("inicializa"); }
  void CargaDatos() override { llamadas.push_back("carga"); }
  void MuestraVentana() override {
    llamadas.push_back(CursorEsperaPuesto() ? "muestra-ocupado" : "muestra");
    if (bFalla) throw std::runtime_error("falla");
  }
  void CierraVentana() override { llamadas.push_back("cierra"); }
};

TEST_F(Utilerias, MuestraFormCallsFirstThenThirdUnderTheBusyCursor) {
  auto ventana = std::make_shared<TVentanaPrueba>();
  utilerias.MuestraForm(ventana);
  EXPECT_EQ(ventana->llamadas, (std::vector<std::string>{"inicializa", "muestra-ocupado"}));
  EXPECT_FALSE(CursorEsperaPuesto());

  ventana->bFalla = true;
  EXPECT_THROW(utilerias.MuestraForm(ventana), std::runtime_error);
  EXPECT_FALSE(CursorEsperaPuesto());
}

TEST_F(Utilerias, BusyCursorIsOneSettingNotAStack) {
  PonCursorEspera();
  PonCursorEspera();
  EXPECT_TRUE(CursorEsperaPuesto());
  PonCursorNormal();
  EXPECT_FALSE(CursorEsperaPuesto());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace kv
