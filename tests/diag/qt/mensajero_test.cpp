#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest/QTest>
#include <iostream>
#include <memory>
#include <vector>

#include "diag/qt/mensajero.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/utilerias_prueba.h"

namespace kv {
namespace {

const QColor kGrisOscuro(64, 64, 64);
const QColor kAzul(0, 0, 255);

// A window with the status label and two captioned entries.
class Mensajero : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AseguraAplicacionQt(); }

  void SetUp() override {
    auto* capas = new QVBoxLayout(&ventana);
    for (QWidget* w :
         std::initializer_list<QWidget*>{&estado, &txCambio, &edCambio, &txUsuario, &edUsuario})
      capas->addWidget(w);
    estado.setText("Texto de diseño");
    estado.setVisible(false);
    PonColorFuente(&estado, kAzul);
    PonColorFuente(&txCambio, kGrisOscuro);
    PonColorFuente(&txUsuario, kAzul);
  }

  QWidget ventana;
  QLabel estado{&ventana};
  QLabel txCambio{"Tipo de Cambio*", &ventana};
  QLineEdit edCambio{&ventana};
  QLabel txUsuario{"Clave de Entrada a Kavori", &ventana};
  QLineEdit edUsuario{&ventana};
};

// Colours of a label at each blink pause, with fake pauses that do not wait.
class MensajeroParpadeo : public Mensajero {
 protected:
  void SetUp() override {
    Mensajero::SetUp();
    utilerias->AlPausar = [this](size_t nPausa) {
      colores.push_back({DameColorFuente(&txCambio), DameColorFuente(&txUsuario)});
      if (AlPaso) AlPaso(nPausa);
    };
  }
  // Serves events until the alert timer has fired and its run has ended.
  void CorreAlerta() {
    const size_t antes = utilerias->Pausas.size();
    EsperaHasta([&] { return utilerias->Pausas.size() > antes; }, 5000);
  }

  std::shared_ptr<TUtileriasSinPausa> utilerias = std::make_shared<TUtileriasSinPausa>();
  TMensajero mensajero{utilerias};
  struct Colores {
    QColor cambio, usuario;
  };
  std::vector<Colores> colores;
  std::function<void(size_t)> AlPaso;
};

std::vector<QColor> Esperado(const QColor& propio) {
  std::vector<QColor> v;
  for (int i = 1; i <= 9; ++i) v.push_back(i % 2 == 0 ? ColorAlerta() : propio);
  return v;
}

TEST_F(Mensajero, AttachingTheLabelClearsColoursAndShowsIt) {
  TMensajero mensajero(std::make_shared<TUtileriasSinPausa>());
  EXPECT_TRUE(mensajero.GetDefColorAlerta());
  mensajero.SetTxLabel(&estado);
  EXPECT_EQ(estado.text(), "");
  EXPECT_EQ(DameColorFuente(&estado), QColor(255, 0, 0));
  EXPECT_FALSE(estado.isHidden());

  mensajero.MsjEnTx("Conectando…");
  mensajero.SetDefColorAlerta(false);
  EXPECT_FALSE(mensajero.GetDefColorAlerta());
  EXPECT_EQ(DameColorFuente(&estado), QColor(128, 128, 128));
  mensajero.SetDefColorAlerta(true);
  EXPECT_EQ(DameColorFuente(&estado), QColor(255, 0, 0));
  EXPECT_EQ(estado.text().toStdString(), "Conectando…");

  // Attached with grey chosen first, the label starts grey.
  TMensajero gris(std::make_shared<TUtileriasSinPausa>());
  gris.SetDefColorAlerta(false);
  gris.SetTxLabel(&estado);
  EXPECT_EQ(DameColorFuente(&estado), QColor(128, 128, 128));
}

TEST_F(Mensajero, MessagesServePendingEventsAndWorkWithoutALabel) {
  auto utilerias = std::make_shared<TUtileriasSinPausa>();
  TMensajero mensajero(utilerias);
  int nServidos = 0;
  const auto encola = [&] {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { ++nServidos; }, Qt::QueuedConnection);
  };
  encola();
  mensajero.MsjEnTx("sin etiqueta");
  encola();
  mensajero.MsjTxEspera("sin etiqueta", true);
  mensajero.MsjTxEspera("sin etiqueta", false);
  EXPECT_EQ(nServidos, 2);
  EXPECT_EQ(utilerias->Pausas, (std::vector<int>{1000, 400}));
  EXPECT_EQ(estado.text().toStdString(), "Texto de diseño");

  mensajero.SetTxLabel(&estado);
  mensajero.MsjTxEspera("Proceso cancelado.", false);
  EXPECT_EQ(estado.text().toStdString(), "Proceso cancelado.");
  mensajero.SetTxLabel(nullptr);
  mensajero.MsjEnTx("perdido");
  EXPECT_EQ(estado.text().toStdString(), "Proceso cancelado.");
}

TEST_F(Mensajero, WaitingMessagesPauseAtLeastTheirTime) {
  TMensajero mensajero(std::make_shared<TUtilerias>());
  mensajero.SetTxLabel(&estado);
  for (const auto& [bLargo, nMs] : {std::pair{true, 1000}, std::pair{false, 400}}) {
    QString visto;
    QTimer::singleShot(nMs / 2, [&] { visto = estado.text(); });
    QElapsedTimer reloj;
    reloj.start();
    mensajero.MsjTxEspera("Espere…", bLargo);
    EXPECT_GE(reloj.elapsed(), nMs);
    EXPECT_EQ(visto.toStdString(), "Espere…");  // shown, and events served, during the pause
  }
}

// The clearing of temporary messages, with real pauses: each case is a script of messages,
// waits and checks on the label.
struct PasoBorrado {
  enum Tipo {
    Temporal,        // MsjTxTemp(texto)
    Permanente,      // MsjEnTx(texto)
    Espera,          // MsjTxEspera(texto, long pause)
    PausaAntesTick,  // waits nMs; a label already cleared means a machine too slow: skip
    Pausa,           // waits nMs
    Muestra,         // the label shows texto
    SeBorraEntre,    // the label clears between nMs and nHastaMs after the script began
  } tipo;
  const char* texto = "";
  int nMs = 0;
  int nHastaMs = 0;
};

TEST_F(Mensajero, TemporaryMessageClearingTick) {
  using P = PasoBorrado;
  const struct {
    const char* nombre;
    std::vector<PasoBorrado> pasos;
  } casos[] = {
      // Cleared by the first message's tick (3 s), not 3 s after the second one (5 s).
      {"the first message's tick, not the last",
       {{P::Temporal, "uno"},
        {P::PausaAntesTick, "", 2000},
        {P::Temporal, "dos"},
        {P::Muestra, "dos"},
        {P::SeBorraEntre, "", 3000, 4900}}},
      // One shot: a later permanent message stays.
      {"a pending clearing also clears a permanent message, once",
       {{P::Temporal, "temporal"},
        {P::Permanente, "permanente"},
        {P::Muestra, "permanente"},
        {P::SeBorraEntre, "", 3000, 10000},
        {P::Permanente, "se queda"},
        {P::Pausa, "", 3300},
        {P::Muestra, "se queda"}}},
      // The tick comes about 500 ms into the pause.
      {"the tick fires during a waiting pause",
       {{P::Temporal, "temporal"},
        {P::PausaAntesTick, "", 2500},
        {P::Espera, "esperando"},
        {P::Muestra, ""}}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    // Each case has its own messenger: its clearing timer goes with it.
    TMensajero mensajero(std::make_shared<TUtilerias>());
    mensajero.SetTxLabel(&estado);
    QElapsedTimer reloj;
    reloj.start();
    bool bLento = false;
    for (const auto& paso : caso.pasos) {
      switch (paso.tipo) {
        case P::Temporal:
          mensajero.MsjTxTemp(paso.texto);
          break;
        case P::Permanente:
          mensajero.MsjEnTx(paso.texto);
          break;
        case P::Espera:
          mensajero.MsjTxEspera(paso.texto, true);
          break;
        case P::PausaAntesTick:
          QTest::qWait(paso.nMs);
          bLento = estado.text().isEmpty();
          break;
        case P::Pausa:
          QTest::qWait(paso.nMs);
          break;
        case P::Muestra:
          EXPECT_EQ(estado.text().toStdString(), paso.texto);
          break;
        case P::SeBorraEntre:
          ASSERT_TRUE(EsperaHasta([&] { return estado.text().isEmpty(); }, 10000));
          EXPECT_GE(reloj.elapsed(), paso.nMs);
          EXPECT_LT(reloj.elapsed(), paso.nHastaMs);
          break;
      }
      if (bLento) break;
    }
    if (bLento) std::cout << "machine too slow, case not judged: " << caso.nombre << '\n';
  }
}

TEST_F(MensajeroParpadeo, BlinkRunStartsFromTheEventLoopAndEndsInTheOwnColour) {
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
  edUsuario.setFocus();
  mensajero.CampoObligatorio(&txCambio, &edCambio);
  EXPECT_EQ(QApplication::focusWidget(), &edCambio);
  EXPECT_TRUE(utilerias->Pausas.empty());  // not yet: the alert timer starts it
  CorreAlerta();
  EXPECT_EQ(utilerias->Pausas, std::vector<int>(9, 300));
  std::vector<QColor> vistos;
  for (const auto& c : colores) vistos.push_back(c.cambio);
  EXPECT_EQ(vistos, Esperado(kGrisOscuro));
  EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);
  EXPECT_EQ(DameColorFuente(&txUsuario), kAzul);
}

TEST_F(MensajeroParpadeo, DisabledOrMissingEntryKeepsTheFocusButStillBlinks) {
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
  edUsuario.setFocus();
  edCambio.setEnabled(false);
  mensajero.CampoObligatorio(&txCambio, &edCambio);
  EXPECT_EQ(QApplication::focusWidget(), &edUsuario);
  CorreAlerta();
  mensajero.CampoObligatorio(&txCambio, nullptr);
  CorreAlerta();
  EXPECT_EQ(QApplication::focusWidget(), &edUsuario);
  EXPECT_EQ(utilerias->Pausas.size(), 18u);
  EXPECT_EQ(colores[1].cambio, ColorAlerta());
  EXPECT_EQ(colores[10].cambio, ColorAlerta());
  EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);
}

TEST_F(MensajeroParpadeo, TwoAlertsBeforeTheTickGiveOneRunOnTheLatest) {
  mensajero.CampoObligatorio(&txCambio, nullptr);
  mensajero.CampoObligatorio(&txUsuario, nullptr);
  CorreAlerta();
  QTest::qWait(200);
  EXPECT_EQ(utilerias->Pausas.size(), 9u);
  for (const auto& c : colores) EXPECT_EQ(c.cambio, kGrisOscuro);
  EXPECT_EQ(colores[1].usuario, ColorAlerta());
}

TEST_F(MensajeroParpadeo, NewAlertDuringARunRestoresTheFirstCaption) {
  // At the third step of the first run, an alert on the other caption comes in; its run
  // happens inside the first one's pause.
  AlPaso = [this](size_t nPausa) {
    if (nPausa != 2) return;
    EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);  // step 3 is an own-colour step
    mensajero.CampoObligatorio(&txUsuario, nullptr);
    EsperaHasta([&] { return utilerias->Pausas.size() > 3; }, 5000);
  };
  mensajero.CampoObligatorio(&txCambio, nullptr);
  CorreAlerta();
  // 3 pauses of the first run, 9 of the nested one, the first run's 6 remaining steps.
  ASSERT_EQ(utilerias->Pausas.size(), 18u);
  // Second step of the first run: the first caption red.
  EXPECT_EQ(colores[1].cambio, ColorAlerta());
  // Pause i is step i - 2 of the nested run, then step i - 8 of the first run; even steps
  // are red.
  // The nested run: the first caption back in its own colour, the second one blinking.
  for (size_t i = 3; i < 12; ++i) {
    EXPECT_EQ(colores[i].cambio, kGrisOscuro) << i;
    EXPECT_EQ(colores[i].usuario, i % 2 == 0 ? ColorAlerta() : kAzul) << i;
  }
  // The first run's remaining steps blink the newest caption, ending in its colour.
  for (size_t i = 12; i < 18; ++i) {
    EXPECT_EQ(colores[i].cambio, kGrisOscuro) << i;
    EXPECT_EQ(colores[i].usuario, i % 2 == 0 ? ColorAlerta() : kAzul) << i;
  }
  EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);
  EXPECT_EQ(DameColorFuente(&txUsuario), kAzul);
}

TEST_F(MensajeroParpadeo, SameCaptionAgainDuringItsRedPhaseKeepsItsOwnColour) {
  AlPaso = [this](size_t nPausa) {
    if (nPausa != 1) return;
    EXPECT_EQ(DameColorFuente(&txCambio), ColorAlerta());
    mensajero.CampoObligatorio(&txCambio, nullptr);
    EsperaHasta([&] { return utilerias->Pausas.size() > 2; }, 5000);
  };
  mensajero.CampoObligatorio(&txCambio, nullptr);
  CorreAlerta();
  ASSERT_EQ(utilerias->Pausas.size(), 18u);
  EXPECT_EQ(colores[2].cambio, kGrisOscuro);  // the nested run starts from the own colour
  EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);
}

TEST_F(MensajeroParpadeo, RealPausesTakeTheWholeRun) {
  TMensajero real(std::make_shared<TUtilerias>());
  QElapsedTimer reloj;
  reloj.start();
  real.CampoObligatorio(&txCambio, nullptr);
  QTest::qWait(200);  // the tick comes and the run, with its own pauses, runs inside the wait
  EXPECT_GE(reloj.elapsed(), 2700 + 50);
  EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);
}

TEST_F(MensajeroParpadeo, CaptionDestroyedDuringTheRun) {
  auto* efimera = new QLabel("efímera", &ventana);
  AlPaso = [&](size_t nPausa) {
    if (nPausa == 4) delete efimera;
  };
  mensajero.CampoObligatorio(efimera, nullptr);
  CorreAlerta();
  EXPECT_EQ(utilerias->Pausas.size(), 9u);
  AlPaso = nullptr;
  mensajero.CampoObligatorio(&txCambio, nullptr);  // the next run does not touch the old one
  CorreAlerta();
  EXPECT_EQ(DameColorFuente(&txCambio), kGrisOscuro);
}

}  // namespace
}  // namespace kv
