// The main window on the offscreen platform: its design, the instructions, the keyboard
// handling of the entries, the PEP grid and the two commands with a scripted questionnaire.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/inicio.h"
#include "app/modelo_peps.h"
#include "app/textos.h"
#include "data/colector_conxs.h"
#include "data/db/connection.h"
#include "data/db/query.h"
#include "diag/mensajero.h"
#include "diag/programa.h"
#include "tests/app/ventana_prueba.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using namespace textos_app;

std::string T(const QString& s) {
  return s.toStdString();
}

QColor ColorDe(const QWidget* w) {
  return w->palette().color(QPalette::WindowText);
}

TEST_F(VentanaPrueba, DesignOfEveryCaption) {
  TfrmPrincipal& frm = Ventana();
  EXPECT_EQ(T(frm.windowTitle()), kTituloVentana);
  EXPECT_EQ(frm.size(), QSize(690, 730));
  EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
  EXPECT_EQ(frm.palette().color(QPalette::Window), QColor(Qt::white));

  const QColor teal(0, 128, 128), gris(72, 72, 72), marron(128, 0, 0);
  struct Caso {
    QLabel* etiqueta;
    const char* texto;
    QRect r;
    QColor color;
    int px;
    Qt::Alignment alineacion;
    bool negrita;
  };
  const Caso casos[] = {
      {frm.Label1, kLabel1, {182, 20, 345, 19}, teal, 16, Qt::AlignLeft, true},
      {frm.Label6, kLabel6, {88, 74, 337, 19}, teal, 16, Qt::AlignLeft, false},
      {frm.txCambio, kTxCambio, {219, 113, 79, 13}, gris, 11, Qt::AlignRight, false},
      {frm.Label2, kLabel2, {470, 145, 135, 11}, gris, 9, Qt::AlignRight, false},
      {frm.Label4, kLabel4, {88, 190, 300, 19}, teal, 16, Qt::AlignLeft, false},
      {frm.txUsuario, kTxUsuario, {153, 227, 129, 13}, gris, 11, Qt::AlignRight, false},
      {frm.txPassw, kTxPassw, {236, 254, 46, 13}, gris, 11, Qt::AlignRight, false},
      {frm.Label9, kLabel9, {88, 315, 262, 19}, teal, 16, Qt::AlignLeft, false},
      {frm.Label8, kLabel8, {95, 348, 332, 33}, gris, 9, Qt::AlignLeft, false},
      {frm.txPaso4, kTxPaso4, {88, 420, 503, 38}, teal, 16, Qt::AlignLeft, false},
      {frm.Label7, kLabel7, {95, 476, 255, 11}, gris, 9, Qt::AlignLeft, false},
      {frm.Label11, kLabel11, {77, 63, 357, 36}, teal, 15, Qt::AlignHCenter, false},
      {frm.txPruebas, kTxPruebas, {62, 682, 80, 14}, marron, 12, Qt::AlignLeft, true},
      {frm.Label5, kLabel5, {7, 709, 22, 13}, gris, 11, Qt::AlignRight, false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(T(c.etiqueta->text()), c.texto);
    // The edge the caption is aligned to stays; a wider text may widen the box.
    const QRect g = c.etiqueta->geometry();
    EXPECT_EQ(g.top(), c.r.top());
    EXPECT_EQ(g.height(), c.r.height());
    EXPECT_GE(g.width(), c.r.width());
    if (c.alineacion == Qt::AlignRight) {
      EXPECT_EQ(g.right(), c.r.right());
    }
    if (c.alineacion == Qt::AlignLeft) {
      EXPECT_EQ(g.left(), c.r.left());
    }
    if (c.etiqueta->wordWrap()) {
      EXPECT_EQ(g, c.r);
    }
    EXPECT_GE(g.width(), c.etiqueta->wordWrap() ? 0 : c.etiqueta->sizeHint().width());
    EXPECT_EQ(ColorDe(c.etiqueta), c.color);
    EXPECT_EQ(c.etiqueta->font().pixelSize(), c.px);
    EXPECT_EQ(c.etiqueta->font().bold(), c.negrita);
    EXPECT_EQ(c.etiqueta->alignment() & Qt::AlignHorizontal_Mask, c.alineacion);
  }
  EXPECT_TRUE(frm.Label8->wordWrap());
  EXPECT_TRUE(frm.txPaso4->wordWrap());
  EXPECT_TRUE(frm.Label11->wordWrap());
  EXPECT_EQ(frm.txMensajes->geometry(), QRect(62, 658, 579, 14));
  EXPECT_EQ(frm.txMensajes->font().pixelSize(), 12);
  EXPECT_EQ(frm.pnIgnorar->geometry(), QRect(633, 440, 511, 181));
  EXPECT_EQ(frm.pnIgnorar->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(VentanaPrueba, EntriesButtonsAndGridDesign) {
  TfrmPrincipal& frm = Ventana();
  struct Caso {
    QWidget* control;
    QRect r;
    const char* hint;
  };
  const Caso casos[] = {
      {frm.edCambio, {320, 110, 121, 21}, kHintCambio},
      {frm.edUsuario, {304, 224, 121, 21}, kHintUsuario},
      {frm.edPassw, {304, 251, 121, 21}, kHintPassw},
      {frm.bnDetectaPEPs, {479, 335, 105, 25}, kHintDetectaPEPs},
      {frm.grdPEPs, {95, 491, 498, 122}, kHintPEPs},
      {frm.bnGenReporte, {512, 678, 105, 25}, ""},
      {frm.bnRespuestasCC,
       {312, 678, 190, 25},
       "Responda las preguntas que el programa no puede contestar con la base de datos"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.hint);
    EXPECT_EQ(c.control->geometry(), c.r);
    EXPECT_EQ(T(c.control->toolTip()), c.hint);
  }
  EXPECT_EQ(T(frm.edCambio->text()), kCambioInicial);
  EXPECT_EQ(T(frm.bnDetectaPEPs->text()), kBnDetectaPEPs);
  EXPECT_EQ(T(frm.bnGenReporte->text()), kBnGenReporte);
  EXPECT_EQ(frm.edPassw->echoMode(), QLineEdit::Password);

  // Tab order: rate, key, password, detection, grid, the house's answers, report.
  const QWidget* esperado[] = {frm.edCambio, frm.edUsuario,      frm.edPassw,     frm.bnDetectaPEPs,
                               frm.grdPEPs,  frm.bnRespuestasCC, frm.bnGenReporte};
  QWidget* w = frm.edCambio;
  for (std::size_t i = 1; i < std::size(esperado); ++i) {
    do w = w->nextInFocusChain();
    while ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus);
    EXPECT_EQ(w, esperado[i]) << "position " << i;
  }

  auto* titulos = frm.grdPEPs->horizontalHeader();
  EXPECT_EQ(titulos->sectionSize(0), 84);
  EXPECT_EQ(titulos->sectionSize(1), 391);
  EXPECT_EQ(T(frm.dsPEPs()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString()),
            kTituloMarcarPEP);
  EXPECT_EQ(T(frm.dsPEPs()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString()),
            kTituloNombre);
  EXPECT_TRUE(frm.grdPEPs->verticalHeader()->isHidden());
  EXPECT_EQ(frm.grdPEPs->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(VentanaPrueba, InitialState) {
  TfrmPrincipal& frm = Ventana();
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
  EXPECT_FALSE(frm.bnGenReporte->isEnabled());
  EXPECT_FALSE(frm.grdPEPs->isEnabled());
  EXPECT_EQ(frm.dsPEPs()->rowCount(), 0);
  EXPECT_TRUE(frm.pnIgnorar->isHidden());
  EXPECT_TRUE(frm.txPruebas->isHidden());
  EXPECT_FALSE(frm.txMensajes->isHidden());
  EXPECT_EQ(T(frm.txMensajes->text()), "");
  EXPECT_EQ(ColorDe(frm.txMensajes), QColor(255, 0, 0));
  EXPECT_EQ(ColorDe(frm.txPaso4), QColor(0, 128, 128));
}

TEST_F(VentanaPrueba, DecliningTheInstructionsClosesBeforeAnyDiskWork) {
  TfrmPrincipal& frm = Ventana();
  dialogos->Responde({false});
  frm.show();
  // The dialog comes from the window's own queue, after the window is on screen.
  EXPECT_TRUE(dialogos->Dialogos().empty());
  QApplication::processEvents();
  ASSERT_EQ(dialogos->Dialogos().size(), 1u);
  EXPECT_EQ(dialogos->Dialogos()[0].eTipo, TTipoDialogo::AdvertenciaSiNo);
  EXPECT_EQ(dialogos->Dialogos()[0].sTexto, kIndicaciones);
  EXPECT_FALSE(frm.isVisible());
  EXPECT_FALSE(ColectorConexiones->Conectado(kConexionPrincipal));
  EXPECT_EQ(guion->nCreados, 0);
}

TEST_F(VentanaPrueba, AcceptingTheInstructionsFocusesTheRate) {
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setFocus();
  MuestraYAcepta();
  EXPECT_TRUE(frm.isVisible());
  EXPECT_EQ(frm.focusWidget(), frm.edCambio);
  EXPECT_EQ(T(frm.edCambio->text()), "19.26");
}

TEST_F(VentanaPrueba, RateEntryKeyFilter) {
  TfrmPrincipal& frm = Ventana();
  struct Caso {
    const char* inicial;
    char tecla;
    const char* final;
  };
  const Caso casos[] = {
      {"19", '.', "19."},     {"19.2", '.', "19.2"},   {"", '.', ""},     {"0", '.', "0"},
      {"19", 'a', "19"},      {"19", '-', "19"},       {"19", ',', "19"}, {"", '7', "7"},
      {"19.2", '6', "19.26"}, {"19.26", '\b', "19.2"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(std::string(c.inicial) + " + " + c.tecla);
    frm.edCambio->setText(QString::fromLatin1(c.inicial));
    frm.edCambio->setCursorPosition(frm.edCambio->text().size());
    if (c.tecla == '\b')
      QTest::keyClick(frm.edCambio, Qt::Key_Backspace);
    else
      QTest::keyClick(frm.edCambio, c.tecla);
    EXPECT_EQ(T(frm.edCambio->text()), c.final);
  }
}

TEST_F(VentanaPrueba, KeyAndPasswordTurnToCapitals) {
  TfrmPrincipal& frm = Ventana();
  QTest::keyClicks(frm.edUsuario, QStringLiteral("admin 1"));
  EXPECT_EQ(T(frm.edUsuario->text()), "ADMIN 1");
  QTest::keyClicks(frm.edPassw, QStringLiteral("cambios"));
  EXPECT_EQ(T(frm.edPassw->text()), "CAMBIOS");
  EXPECT_EQ(T(frm.edPassw->displayText()), "*******");
  frm.edUsuario->clear();
  frm.edUsuario->insert(QString::fromUtf8("peña"));
  EXPECT_EQ(T(frm.edUsuario->text()), "PEÑA");
}

TEST_F(VentanaPrueba, EnterMovesOnShiftEnterBack) {
  TfrmPrincipal& frm = Ventana();
  MuestraYAcepta();
  struct Caso {
    QLineEdit* desde;
    Qt::KeyboardModifiers mod;
    QWidget* hacia;
  };
  const Caso casos[] = {
      {frm.edCambio, Qt::NoModifier, frm.edUsuario},
      {frm.edUsuario, Qt::NoModifier, frm.edPassw},
      {frm.edPassw, Qt::NoModifier, frm.bnDetectaPEPs},
      {frm.edPassw, Qt::ShiftModifier, frm.edUsuario},
      {frm.edUsuario, Qt::ShiftModifier, frm.edCambio},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(T(c.desde->toolTip()));
    c.desde->setFocus();
    const QString antes = c.desde->text();
    QTest::keyClick(c.desde, Qt::Key_Return, c.mod);
    EXPECT_EQ(frm.focusWidget(), c.hacia);
    EXPECT_EQ(c.desde->text(), antes);
  }
  // The keypad's Enter too.
  frm.edCambio->setFocus();
  QTest::keyClick(frm.edCambio, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(frm.focusWidget(), frm.edUsuario);
  // Enter on the focused button presses it (here the key entry is still empty).
  frm.bnDetectaPEPs->setFocus();
  QTest::keyClick(frm.bnDetectaPEPs, Qt::Key_Return);
  EXPECT_EQ(T(frm.txMensajes->text()), kFaltaUsuario);
}

// The validation stops at the first failure, before anything is opened.
TEST_F(VentanaPrueba, ValidationOrderAndTexts) {
  struct Caso {
    const char* usuario;
    const char* cambio;
    const char* mensaje;
    bool bEnCambio;  // the alert is on the rate entry (else on the key entry)
  };
  const Caso casos[] = {
      {"", "", kFaltaUsuario, false},      {" \t", "19.26", kFaltaUsuario, false},
      {"ADMIN", "", kFaltaCambio, true},   {"ADMIN", "  ", kFaltaCambio, true},
      {"ADMIN", "0", kCambioCero, true},   {"ADMIN", "0.0", kCambioCero, true},
      {"ADMIN", "abc", kCambioCero, true}, {"ADMIN", "19,26", kCambioCero, true},
      {"ADMIN", "-3", kCambioCero, true},
  };
  TfrmPrincipal& frm = Ventana();
  for (bool bReporte : {false, true}) {
    for (const Caso& c : casos) {
      SCOPED_TRACE(std::string(c.usuario) + "/" + c.cambio + (bReporte ? " report" : " detect"));
      frm.edUsuario->setText(QString::fromLatin1(c.usuario));
      frm.edCambio->setText(QString::fromLatin1(c.cambio));
      frm.bnGenReporte->setEnabled(bReporte);
      frm.bnDetectaPEPs->setFocus();
      (bReporte ? frm.bnGenReporte : frm.bnDetectaPEPs)->click();
      EXPECT_EQ(T(frm.txMensajes->text()), c.mensaje);
      EXPECT_EQ(frm.focusWidget(), c.bEnCambio ? frm.edCambio : frm.edUsuario);
      EXPECT_TRUE(dialogos->Dialogos().empty());
    }
  }
  EXPECT_EQ(guion->nCreados, 0);
}

// The rate is read with "." whatever the locale says.
TEST_F(VentanaPrueba, RateReadWithFullStopUnderCommaLocale) {
  const QLocale anterior;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  QLocale::setDefault(anterior);
  ASSERT_EQ(guion->nCreados, 1);
  EXPECT_DOUBLE_EQ(guion->dTCambio, 19.26);
}

TEST_F(VentanaPrueba, ProgramFolderFilesAnyLetterCase) {
  struct Caso {
    const char* nombre;
    const char* contenido;
    bool bHay;
    int nNumEmp;
  };
  const Caso casos[] = {
      {"Kavori.INI", "[Control]\r\nEmpresaActiva=3\r\n", true, 3},
      {"kavori.ini", "[control]\nempresaactiva = 7\n", true, 7},
      {"KAVORI.INI", "[Otra]\nEmpresaActiva=5\n[CONTROL]\nEMPRESAACTIVA=12\n", true, 12},
      {"Kavori.INI", "[Control]\nEmpresaActiva=0\n", false, 0},
      {"Kavori.INI", "[Control]\nEmpresaActiva=-2\n", false, -2},
      {"Kavori.INI", "[Control]\nEmpresaActiva=dos\n", false, 0},
      {"Kavori.INI", "[Control]\nOtra=4\n", false, 0},
      {"Kavori.INI", "[Otra]\nEmpresaActiva=4\n", false, 0},
      {"Kavori.INI", "\xEF\xBB\xBF[Control]\n; comentario\nEmpresaActiva=9\n", true, 9},
  };
  TfrmPrincipal& frm = Ventana();
  int nNumEmp = -99;
  EXPECT_FALSE(frm.DameNumEmpresa(nNumEmp));
  EXPECT_EQ(nNumEmp, -99) << "untouched without the file";
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.contenido);
    TCarpetaTemporal otra;
    FijaCarpetaPrograma(otra.Ruta().string());
    otra.Escribe(c.nombre, c.contenido);
    nNumEmp = -99;
    EXPECT_EQ(frm.DameNumEmpresa(nNumEmp), c.bHay);
    EXPECT_EQ(nNumEmp, c.nNumEmp);
  }
}

TEST_F(VentanaPrueba, MissingDatabaseStopsBothCommands) {
  carpeta.Escribe("Kavori.INI", "[Control]\nEmpresaActiva=1\n");
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{kErrorCarpetaKavori});
  EXPECT_FALSE(frm.bnGenReporte->isEnabled());
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());

  dialogos->Limpia();
  dialogos->Responde({true});
  frm.bnGenReporte->setEnabled(true);
  frm.bnGenReporte->click();
  EXPECT_EQ(dialogos->Textos(),
            (std::vector<std::string>{ConfirmacionSinRespuestasCC(), kErrorCarpetaKavori}));
  EXPECT_EQ(T(frm.txMensajes->text()), kReporteFallido);
  EXPECT_EQ(guion->nCreados, 0);
}

// Each refusal of a run, in the order the run checks, for both commands.
TEST_F(VentanaPrueba, RefusalsOfTheRuns) {
  struct Caso {
    const char* nombre;
    const char* ini;  // content of Kavori.INI, nullptr: no file
    bool bConectados;
    bool bAcceso;
    const char* caja;
    const char* llamadas;
  };
  const char* const kIni1 = "[Control]\nEmpresaActiva=1\n";
  const Caso casos[] = {
      {"no INI", nullptr, false, true, kSinNumEmpresa, ""},
      {"company 0", "[Control]\nEmpresaActiva=0\n", false, true, kSinNumEmpresa, ""},
      {"users connected", kIni1, true, true, kUsuarioConectado, "UsuariosConectados "},
      {"login refused", kIni1, false, false, kAccesoNegadoCaja, "UsuariosConectados ValidaAcceso "},
  };
  for (bool bReporte : {false, true}) {
    for (const Caso& c : casos) {
      SCOPED_TRACE(std::string(c.nombre) + (bReporte ? " report" : " detect"));
      TCarpetaTemporal otra;
      FijaCarpetaPrograma(otra.Ruta().string());
      CopiaBD(otra);
      if (c.ini) otra.Escribe("Kavori.INI", c.ini);
      *guion = TGuionCuestionario{};
      guion->bUsuariosConectados = c.bConectados;
      guion->bAcceso = c.bAcceso;
      dialogos->Limpia();
      TfrmPrincipal& frm = VentanaNueva();
      frm.edUsuario->setText(QStringLiteral("ADMIN"));
      if (bReporte) {
        dialogos->Responde({true});
        frm.bnGenReporte->setEnabled(true);
        frm.bnGenReporte->click();
      } else {
        frm.bnDetectaPEPs->click();
      }
      std::vector<std::string> esperado{c.caja};
      if (bReporte) esperado.insert(esperado.begin(), ConfirmacionSinRespuestasCC());
      EXPECT_EQ(dialogos->Textos(), esperado);
      EXPECT_EQ(guion->llamadas, c.llamadas);
      // Detection: alert on the key entry; report: on the password, after the status.
      if (!c.bAcceso) {
        EXPECT_EQ(frm.focusWidget(), bReporte ? frm.edPassw : frm.edUsuario);
      }
      const char* estado = bReporte     ? kReporteFallido
                           : !c.bAcceso ? kAccesoNegadoEstado
                                        : kConectandoBD;
      EXPECT_EQ(T(frm.txMensajes->text()), estado);
      EXPECT_EQ(frm.bnGenReporte->isEnabled(), bReporte);
      EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
      EXPECT_FALSE(CursorEsperaPuesto());
    }
  }
}

TEST_F(VentanaPrueba, LoginGetsTheEntriesUntrimmed) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN  "));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(guion->sUsuario, "ADMIN  ");
  EXPECT_EQ(guion->sPassw, "");
  EXPECT_EQ(guion->nNumEmp, 1);
}

TEST_F(VentanaPrueba, DetectionWithRowsEnablesGridAndReport) {
  PreparaCarpeta();
  guion->nombres = {"ANA PEREZ", "LUIS GARCIA", "MARIA LOPEZ"};
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.edPassw->setText(QStringLiteral("CAMBIOS"));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(guion->llamadas, "UsuariosConectados ValidaAcceso DetectaPEPs ");
  EXPECT_EQ(guion->sPassw, "CAMBIOS");
  // While the detection ran, neither command could be pressed.
  EXPECT_FALSE(guion->bDetectaHabilitadoDurante);
  EXPECT_FALSE(guion->bReporteHabilitadoDurante);
  EXPECT_TRUE(dialogos->Dialogos().empty());
  EXPECT_EQ(T(frm.txMensajes->text()), kDeteccionFinalizada);
  EXPECT_TRUE(frm.bnGenReporte->isEnabled());
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
  EXPECT_TRUE(frm.grdPEPs->isEnabled());
  EXPECT_TRUE(frm.pnIgnorar->isHidden());
  EXPECT_EQ(frm.dsPEPs()->rowCount(), 3);
  EXPECT_EQ(T(frm.dsPEPs()->index(1, 1).data().toString()), "LUIS GARCIA");
  EXPECT_EQ(frm.dsPEPs()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_FALSE(CursorEsperaPuesto());
  // The temporary message goes after 3 s.
  QTest::qWait(3300);
  EXPECT_EQ(T(frm.txMensajes->text()), "");
}

TEST_F(VentanaPrueba, DetectionWithNobodyShowsTheNotice) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  EXPECT_FALSE(frm.pnIgnorar->isHidden());
  EXPECT_EQ(frm.pnIgnorar->pos(), QPoint(88, 464));
  EXPECT_EQ(ColorDe(frm.txPaso4), QColor(128, 128, 128));
  EXPECT_TRUE(frm.bnGenReporte->isEnabled());
  EXPECT_FALSE(frm.grdPEPs->isEnabled());
  EXPECT_EQ(T(frm.txMensajes->text()), kDeteccionFinalizada);
  // A new detection hides the notice first; a failed one leaves it hidden.
  guion->bDetecta = false;
  frm.bnDetectaPEPs->click();
  EXPECT_TRUE(frm.pnIgnorar->isHidden());
  EXPECT_EQ(ColorDe(frm.txPaso4), QColor(0, 128, 128));
  EXPECT_TRUE(frm.bnGenReporte->isEnabled()) << "unchanged by a failed detection";
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
}

TEST_F(VentanaPrueba, GridTogglesByClickAndSpace) {
  PreparaCarpeta();
  guion->nombres = {"ANA PEREZ", "LUIS GARCIA", "MARIA LOPEZ"};
  TfrmPrincipal& frm = Ventana();
  MuestraYAcepta();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  ASSERT_TRUE(frm.grdPEPs->isEnabled());
  TTablaPEPs& tabla = dm.vtPEPs;
  auto* vista = frm.grdPEPs->viewport();
  const auto clic = [&](int fila, int col) {
    QTest::mouseClick(vista, Qt::LeftButton, {},
                      frm.grdPEPs->visualRect(frm.dsPEPs()->index(fila, col)).center());
  };
  clic(1, 0);
  EXPECT_TRUE(tabla.Fila(1).EsPEP.value_or(false));
  EXPECT_EQ(frm.grdPEPs->currentIndex().row(), 1);
  EXPECT_EQ(frm.dsPEPs()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  clic(1, 0);
  EXPECT_FALSE(tabla.Fila(1).EsPEP.value_or(false));
  clic(2, 1);  // a name: nothing changes
  for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(tabla.Fila(i).EsPEP.value_or(false));

  frm.grdPEPs->setFocus();
  frm.grdPEPs->setCurrentIndex(frm.dsPEPs()->index(0, 0));
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_TRUE(tabla.Fila(0).EsPEP.value_or(false));
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_FALSE(tabla.Fila(0).EsPEP.value_or(false));
  QTest::keyClick(frm.grdPEPs, Qt::Key_Down);
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_TRUE(tabla.Fila(1).EsPEP.value_or(false));
  // Space on a name does nothing.
  QTest::keyClick(frm.grdPEPs, Qt::Key_Right);
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_TRUE(tabla.Fila(1).EsPEP.value_or(false));
  EXPECT_FALSE(tabla.Fila(2).EsPEP.value_or(false));
  // A new detection starts over without ticks.
  frm.bnDetectaPEPs->click();
  EXPECT_FALSE(tabla.Fila(1).EsPEP.value_or(false));
}

TEST_F(VentanaPrueba, ReportAnsweredNoOrYes) {
  PreparaCarpeta();
  guion->nombres = {"ANA PEREZ", "LUIS GARCIA", "MARIA LOPEZ"};
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  dm.vtPEPs.EstableceEsPEP(0, true);
  dm.vtPEPs.EstableceEsPEP(2, true);
  guion->llamadas.clear();

  dialogos->Responde({false});
  frm.bnGenReporte->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{ConfirmacionSinRespuestasCC()});
  EXPECT_EQ(T(frm.txMensajes->text()), kProcesoCancelado);
  EXPECT_EQ(guion->llamadas, "");

  // A click on a box while the report reads the table changes nothing.
  guion->alGenerar = [&] {
    QTest::mouseClick(frm.grdPEPs->viewport(), Qt::LeftButton, {},
                      frm.grdPEPs->visualRect(frm.dsPEPs()->index(1, 0)).center());
    QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  };
  frm.grdPEPs->setCurrentIndex(frm.dsPEPs()->index(2, 0));
  for (bool bExito : {true, false}) {
    dialogos->Limpia();
    guion->bGenera = bExito;
    guion->llamadas.clear();
    dialogos->Responde({true});
    frm.bnGenReporte->click();
    EXPECT_EQ(guion->llamadas, "UsuariosConectados ValidaAcceso GeneraReporte ");
    EXPECT_EQ(guion->marcasAlGenerar, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(guion->bDetectaHabilitadoDurante);
    EXPECT_FALSE(guion->bReporteHabilitadoDurante);
    EXPECT_EQ(T(frm.txMensajes->text()), bExito ? kReporteCorrecto : kReporteFallido);
    EXPECT_TRUE(frm.bnGenReporte->isEnabled());
    EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
  }
}

TEST_F(VentanaPrueba, SecondCommandReusesTheConnection) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  ASSERT_EQ(guion->nCreados, 1);
  db::Connection* primera = guion->Conector;
  frm.bnDetectaPEPs->click();
  ASSERT_EQ(guion->nCreados, 2);
  EXPECT_EQ(guion->Conector, primera);
  EXPECT_TRUE(ColectorConexiones->Conectado(kConexionPrincipal));
}

TEST_F(VentanaPrueba, AnErrorInsideARunIsShownAndTheButtonsComeBack) {
  PreparaCarpeta();
  guion->bLanza = true;
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{"falla de prueba"});
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
  EXPECT_FALSE(frm.bnGenReporte->isEnabled());
  EXPECT_FALSE(CursorEsperaPuesto());
}

// A database whose statements last until the window's timer has ticked three times.
class TSesionEspera : public db::Session {
 public:
  explicit TSesionEspera(std::atomic<int>& nTics) : F_nTics(nTics) {}
  db::RowSet select(const std::string&) override {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (F_nTics.load() < 3 && std::chrono::steady_clock::now() < limite)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    db::RowSet rs;
    rs.columns = {"r"};
    rs.rows.push_back({db::Value(std::string(F_nTics.load() >= 3 ? "con tics" : "sin tics"))});
    return rs;
  }
  void execute(const std::string&) override {}

 private:
  std::atomic<int>& F_nTics;
};

TEST_F(VentanaPrueba, WhileTheDatabaseWorksTheWindowServesEventsAndACloseWaits) {
  PreparaCarpeta();
  std::atomic<int> nTics{0};
  db::registerProvider("Prueba.Espera", [&nTics](const auto&, db::ConnectMode) {
    return std::make_unique<TSesionEspera>(nTics);
  });
  TfrmPrincipal& frm = Ventana();
  MuestraYAcepta();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  ASSERT_TRUE(frm.bnGenReporte->isEnabled());

  // The user closes the window while the report's query runs.
  QTimer reloj;
  reloj.setInterval(5);
  QObject::connect(&reloj, &QTimer::timeout, [&] {
    if (++nTics == 2) frm.close();
  });
  std::string sResultado;
  bool bVisibleDurante = false;
  guion->alGenerar = [&] {
    db::Connection conexion;
    conexion.setConnectionString("Provider=Prueba.Espera");
    conexion.setConnected(true);
    db::Query consulta(&conexion);
    consulta.addSql("SELECT r");
    reloj.start();
    consulta.open();
    reloj.stop();
    sResultado = consulta.fieldByName("r").toString();
    bVisibleDurante = frm.isVisible();
  };
  dialogos->Responde({true});
  frm.bnGenReporte->click();
  EXPECT_EQ(sResultado, "con tics");
  EXPECT_TRUE(bVisibleDurante);
  EXPECT_EQ(T(frm.txMensajes->text()), kReporteCorrecto);
  // The close comes once the command has ended.
  QApplication::processEvents();
  EXPECT_FALSE(frm.isVisible());
}

}  // namespace
}  // namespace kv
