// The main window on the offscreen platform: its design, the instructions, the keyboard
// handling of the entries, the PEP grid and the two commands with a scripted questionnaire.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/inicio.h"
#include "app/modelo_peps.h"
#include "data/colector_conxs.h"
#include "data/db/connection.h"
#include "data/db/query.h"
#include "diag/bitacora.h"
#include "diag/programa.h"
#include "diag/qt/mensajero.h"
#include "tests/app/ventana_prueba.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// The main window's own suite; the other window suites derive their fixtures from
// VentanaPrueba too.
class FrmPrincipal : public VentanaPrueba {};

std::string T(const QString& s) {
  return s.toStdString();
}

QColor ColorDe(const QWidget* w) {
  return w->palette().color(QPalette::WindowText);
}

TEST_F(FrmPrincipal, DesignOfEveryCaption) {
  TfrmPrincipal& frm = Ventana();
  EXPECT_EQ(T(frm.windowTitle()), "Cuestionario Operatividad 2020");
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
  // Control -> caption, as the user reads it, with its design.
  // clang-format off
  const Caso casos[] = {
      {frm.Label1, "Cuestionario de Operatividad CNBV - 2020",
       {182, 20, 345, 19}, teal, 16, Qt::AlignLeft, true},
      {frm.Label6, "1.- Indique Tipo de Cambio promedio del 2019",
       {88, 74, 337, 19}, teal, 16, Qt::AlignLeft, false},
      {frm.txCambio, "Tipo de Cambio*",
       {219, 113, 79, 13}, gris, 11, Qt::AlignRight, false},
      {frm.Label2, "*Tipo de cambio sugerido: 19.26",
       {470, 145, 135, 11}, gris, 9, Qt::AlignRight, false},
      {frm.Label4, "2.- Indique Clave y Contraseña del Kavori",
       {88, 190, 300, 19}, teal, 16, Qt::AlignLeft, false},
      {frm.txUsuario, "Clave de Entrada a Kavori",
       {153, 227, 129, 13}, gris, 11, Qt::AlignRight, false},
      {frm.txPassw, "Password",
       {236, 254, 46, 13}, gris, 11, Qt::AlignRight, false},
      {frm.Label9, "3.- Presione el botón \"Detectar PEPs\"",
       {88, 315, 262, 19}, teal, 16, Qt::AlignLeft, false},
      {frm.Label8, "Se mostrará en el paso 4 de este programa, una lista de Usuarios que realizaron "
       "operaciones con su CC durante 2019, y que fueron considerados como posibles PEPs",
       {95, 348, 332, 33}, gris, 9, Qt::AlignLeft, false},
      {frm.txPaso4, "4.- De la siguiente lista, marque sólo los Usuarios que se consideraron como PEPs",
       {88, 420, 503, 38}, teal, 16, Qt::AlignLeft, false},
      {frm.Label7, "Tip: NO marque los Usuarios que dictaminó como homónimos",
       {95, 476, 255, 11}, gris, 9, Qt::AlignLeft, false},
      {frm.Label11, "No se detectaron operaciones con ningún PEP. Ignore este paso y presione el botón "
       "\"Generar reporte\".",
       {77, 63, 357, 36}, teal, 15, Qt::AlignHCenter, false},
      {frm.txPruebas, "Versión BETA",
       {62, 682, 80, 14}, marron, 12, Qt::AlignLeft, true},
      {frm.Label5, "v1.9",
       {7, 709, 22, 13}, gris, 11, Qt::AlignRight, false},
  };
  // clang-format on
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

// The ink of a widget as rendered: the sum over its pixels of how far each is from white.
double Tinta(QWidget* w) {
  const QImage img = w->grab().toImage();
  double d = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) d += 255 - qGray(img.pixel(x, y));
  return d / 255;
}

// The title renders bold, not only asks for it: in a capture it holds clearly more ink than
// the same text in the regular face, and it stays within the width of the steps' frames.
TEST_F(FrmPrincipal, TheTitleRendersBold) {
  TfrmPrincipal& frm = Ventana();
  QLabel regular(frm.Label1->text(), &frm);
  QFont fuente = frm.Label1->font();
  fuente.setBold(false);
  regular.setFont(fuente);
  regular.setPalette(frm.Label1->palette());
  regular.setGeometry(frm.Label1->geometry());
  const double dNegrita = Tinta(frm.Label1);
  const double dRegular = Tinta(&regular);
  EXPECT_GT(dNegrita, 1.3 * dRegular) << dNegrita << " against " << dRegular;
  EXPECT_GE(frm.Label1->geometry().left(), frm.Shape2->geometry().left());
  EXPECT_LE(frm.Label1->geometry().right(), frm.Shape2->geometry().right());
  EXPECT_GE(frm.Label1->geometry().width(),
            QFontMetrics(frm.Label1->font()).horizontalAdvance(frm.Label1->text()));
}

TEST_F(FrmPrincipal, EntriesButtonsAndGridDesign) {
  TfrmPrincipal& frm = Ventana();
  struct Caso {
    QWidget* control;
    QRect r;
    const char* hint;
  };
  const Caso casos[] = {
      {frm.edCambio, {320, 110, 121, 21}, "Tipo de Cambio a utilizar"},
      {frm.edUsuario, {304, 224, 121, 21}, "Usuario administrador para acceder a Kavori"},
      {frm.edPassw,
       {304, 251, 121, 21},
       "Contraseña del usuario administrador para acceder a Kavori"},
      {frm.bnDetectaPEPs, {479, 335, 105, 25}, "Cargará una lista de posibles PEPs en el paso 4"},
      {frm.grdPEPs, {95, 491, 498, 122}, "Haga click en el recuadro si el Usuario es un PEP"},
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
  EXPECT_EQ(T(frm.edCambio->text()), "19.26");
  EXPECT_EQ(T(frm.bnDetectaPEPs->text()), "Detectar PEPs");
  EXPECT_EQ(T(frm.bnGenReporte->text()), "Generar reporte");
  EXPECT_EQ(frm.edPassw->echoMode(), QLineEdit::Password);

  // Tab order, pressed: rate, key, password, detection, grid, the house's answers, report,
  // and round again; Shift+Tab goes back the same way.
  frm.grdPEPs->setEnabled(true);
  frm.bnGenReporte->setEnabled(true);
  MuestraYAcepta();
  QWidget* const orden[] = {frm.edCambio, frm.edUsuario,      frm.edPassw,     frm.bnDetectaPEPs,
                            frm.grdPEPs,  frm.bnRespuestasCC, frm.bnGenReporte};
  const int nOrden = static_cast<int>(std::size(orden));
  for (int i = 1; i <= nOrden; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), orden[i % nOrden]) << "Tab " << i;
  }
  for (int i = nOrden - 1; i >= 0; --i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), orden[i]) << "Shift+Tab to " << i;
  }

  auto* titulos = frm.grdPEPs->horizontalHeader();
  EXPECT_EQ(titulos->sectionSize(0), 84);
  EXPECT_EQ(titulos->sectionSize(1), 391);
  EXPECT_EQ(T(frm.dsPEPs()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString()),
            "Marcar PEP");
  EXPECT_EQ(T(frm.dsPEPs()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString()),
            "Nombre del Usuario");
  EXPECT_TRUE(frm.grdPEPs->verticalHeader()->isHidden());
  EXPECT_EQ(frm.grdPEPs->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(FrmPrincipal, InitialState) {
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

TEST_F(FrmPrincipal, DecliningTheInstructionsClosesBeforeAnyDiskWork) {
  TfrmPrincipal& frm = Ventana();
  dialogos->Responde({false});
  frm.show();
  // The dialog comes from the window's own queue, after the window is on screen.
  EXPECT_TRUE(dialogos->Dialogos().empty());
  QApplication::processEvents();
  ASSERT_EQ(dialogos->Dialogos().size(), 1u);
  EXPECT_EQ(dialogos->Dialogos()[0].eTipo, TTipoDialogo::AdvertenciaSiNo);
  EXPECT_EQ(dialogos->Dialogos()[0].sTexto, Dice("indicaciones"));
  EXPECT_FALSE(frm.isVisible());
  EXPECT_FALSE(ColectorConexiones->Conectado("BDPrincipal"));
  EXPECT_EQ(guion->nCreados, 0);
}

TEST_F(FrmPrincipal, AcceptingTheInstructionsFocusesTheRate) {
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setFocus();
  MuestraYAcepta();
  EXPECT_TRUE(frm.isVisible());
  EXPECT_EQ(frm.focusWidget(), frm.edCambio);
  EXPECT_EQ(T(frm.edCambio->text()), "19.26");
}

// Real key presses in each entry: typed characters go through the entry's rule, editing
// keys, Tab and the shortcuts do their usual work, Enter moves on. A paste follows the rate's
// rule too.
TEST_F(FrmPrincipal, KeysPressedInEachEntry) {
  TfrmPrincipal& frm = Ventana();
  MuestraYAcepta();
  struct Tecla {
    int tecla;  // a Qt::Key, or a character typed
    Qt::KeyboardModifiers mod = Qt::NoModifier;
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
  struct Caso {
    const char* nombre;
    QLineEdit* entrada;
    const char* inicial;
    int nCursor;  // -1: at the end
    std::vector<Tecla> teclas;
    const char* portapapeles;  // before the keys; nullptr: left as it is
    QWidget* foco;             // where the focus ends
    const char* final;
  };
  QLineEdit* cambio = frm.edCambio;
  QLineEdit* usuario = frm.edUsuario;
  QLineEdit* passw = frm.edPassw;
  // clang-format off
  const Caso casos[] = {
      {"tab", cambio, "19.26", -1, {{Qt::Key_Tab}}, nullptr, usuario, "19.26"},
      {"tab, key", usuario, "ADMIN", -1, {{Qt::Key_Tab}}, nullptr, passw, "ADMIN"},
      {"tab, password", passw, "X", -1, {{Qt::Key_Tab}}, nullptr, frm.bnDetectaPEPs, "X"},
      {"shift+tab", usuario, "ADMIN", -1, {{Qt::Key_Tab, shift}}, nullptr, cambio, "ADMIN"},
      {"backtab", passw, "", -1, {{Qt::Key_Backtab, shift}}, nullptr, usuario, ""},
      {"enter", cambio, "19.26", -1, {{Qt::Key_Return}}, nullptr, usuario, "19.26"},
      {"shift+enter", passw, "X", -1, {{Qt::Key_Return, shift}}, nullptr, usuario, "X"},
      {"delete", cambio, "19.26", 0, {{Qt::Key_Delete}}, nullptr, cambio, "9.26"},
      {"backspace", cambio, "19.26", -1, {{Qt::Key_Backspace}}, nullptr, cambio, "19.2"},
      {"arrows", cambio, "19.26", -1, {{Qt::Key_Left}, {Qt::Key_Left}, {Qt::Key_Backspace}}, nullptr, cambio, "1926"},
      {"right, delete", cambio, "19.26", 0, {{Qt::Key_Right}, {Qt::Key_Delete}}, nullptr, cambio, "1.26"},
      {"home, digit", cambio, "19.26", -1, {{Qt::Key_Home}, {'2'}}, nullptr, cambio, "219.26"},
      {"ctrl+a, digit", cambio, "19.26", 2, {{Qt::Key_A, ctrl}, {'7'}}, nullptr, cambio, "7"},
      {"ctrl+a, ctrl+v", cambio, "19.26", -1, {{Qt::Key_A, ctrl}, {Qt::Key_V, ctrl}}, "20.5", cambio, "20.5"},
      {"paste of letters", cambio, "19.26", -1, {{Qt::Key_A, ctrl}, {Qt::Key_V, ctrl}}, "abc", cambio, "19.26"},
      {"paste with comma", cambio, "", -1, {{Qt::Key_V, ctrl}}, "19,26", cambio, "19.26"},
      {"paste with blanks", cambio, "", -1, {{Qt::Key_V, ctrl}}, " 18.9 ", cambio, "18.9"},
      {"paste of a second point", cambio, "19.2", -1, {{Qt::Key_V, ctrl}}, ".5", cambio, "19.2"},
      {"digit", cambio, "19.2", -1, {{'6'}}, nullptr, cambio, "19.26"},
      {"point", cambio, "19", -1, {{'.'}}, nullptr, cambio, "19."},
      {"second point", cambio, "19.2", -1, {{'.'}}, nullptr, cambio, "19.2"},
      {"point first", cambio, "", -1, {{'.'}}, nullptr, cambio, ""},
      {"point after 0", cambio, "0", -1, {{'.'}}, nullptr, cambio, "0"},
      {"comma", cambio, "19", -1, {{','}, {'2'}, {'6'}}, nullptr, cambio, "19.26"},
      {"comma after the point", cambio, "19.2", -1, {{','}}, nullptr, cambio, "19.2"},
      {"letter", cambio, "19", -1, {{'a'}}, nullptr, cambio, "19"},
      {"minus", cambio, "19", -1, {{'-'}}, nullptr, cambio, "19"},
      {"space", cambio, "19", -1, {{' '}}, nullptr, cambio, "19"},
      {"ctrl+a, letter, key", usuario, "ABC", -1, {{Qt::Key_A, ctrl}, {'x'}}, nullptr, usuario, "X"},
      {"delete, key", usuario, "ABC", 0, {{Qt::Key_Delete}}, nullptr, usuario, "BC"},
      {"ctrl+a, backspace, password", passw, "CLAVE", -1, {{Qt::Key_A, ctrl}, {Qt::Key_Backspace}}, nullptr, passw, ""},
      {"paste into the key", usuario, "", -1, {{Qt::Key_V, ctrl}}, "admin", usuario, "ADMIN"},
  };
  // clang-format on
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    c.entrada->setText(QString::fromLatin1(c.inicial));
    c.entrada->setCursorPosition(c.nCursor < 0 ? static_cast<int>(c.entrada->text().size())
                                               : c.nCursor);
    c.entrada->setFocus();
    if (c.portapapeles) QApplication::clipboard()->setText(QString::fromLatin1(c.portapapeles));
    for (const Tecla& t : c.teclas) {
      if (t.tecla < 0x80 && t.mod == Qt::NoModifier && std::isprint(t.tecla))
        QTest::keyClick(QApplication::focusWidget(), static_cast<char>(t.tecla));
      else
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(t.tecla), t.mod);
    }
    EXPECT_EQ(QApplication::focusWidget(), c.foco);
    EXPECT_EQ(T(c.entrada->text()), c.final);
  }
  // Ctrl+C copies what the rate entry shows.
  frm.edCambio->setText(QStringLiteral("21.5"));
  frm.edCambio->setFocus();
  QApplication::clipboard()->clear();
  QTest::keyClick(frm.edCambio, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(frm.edCambio, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(T(QApplication::clipboard()->text()), "21.5");
}

// A comma as decimal point, however it reached the entry, reads as the point; a rate outside
// 5 to 100 pesos per dollar needs the user's word before the report.
TEST_F(FrmPrincipal, RateWithCommaAndRateOutsideThePlausibleRange) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnGenReporte->setEnabled(true);
  struct Caso {
    const char* cambio;
    double dLeido;
    const char* pregunta;  // nullptr: none
    bool bRespuesta;
  };
  const char* const kFuera =
      " está fuera del rango usual (de 5 a 100 pesos por dólar). ¿Desea "
      "generar el reporte con ese tipo de cambio?";
  // clang-format off
  const Caso casos[] = {
      {"5", 5, nullptr, false},
      {"100", 100, nullptr, false},
      {"19.26", 19.26, nullptr, false},
      {"19,26", 19.26, nullptr, false},
      {"4.99", 4.99, "El tipo de cambio 4.99", false},
      {"1926", 1926, "El tipo de cambio 1926", false},
      {"100.01", 100.01, "El tipo de cambio 100.01", true},
      {"0,5", 0.5, "El tipo de cambio 0.5", true},
  };
  // clang-format on
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.cambio);
    frm.edCambio->setText(QString::fromLatin1(c.cambio));
    dialogos->Limpia();
    guion->llamadas.clear();
    guion->dTCambio = 0;
    const bool bCorre = c.pregunta == nullptr || c.bRespuesta;
    if (c.pregunta) dialogos->Responde({c.bRespuesta});
    if (bCorre) dialogos->Responde({true});
    frm.bnGenReporte->click();
    std::vector<std::string> esperado;
    if (c.pregunta) esperado.push_back(std::string(c.pregunta) + kFuera);
    if (bCorre) esperado.push_back(ConfirmacionSinRespuestasCC());
    EXPECT_EQ(dialogos->Textos(), esperado);
    EXPECT_EQ(guion->llamadas, bCorre ? "UsuariosConectados ValidaAcceso GeneraReporte " : "");
    EXPECT_EQ(T(frm.txMensajes->text()),
              bCorre ? Dice("reporte generado") : Dice("proceso cancelado"));
    if (bCorre) {
      EXPECT_DOUBLE_EQ(guion->dTCambio, c.dLeido);
    } else {
      EXPECT_EQ(frm.focusWidget(), frm.edCambio);
    }
  }
}

// A report that fails with a known cause says it in a box after the status line's text,
// with the log file support can ask for.
TEST_F(FrmPrincipal, AFailedReportSaysWhyInABox) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  struct Caso {
    bool bGenera;
    const char* causa;
    bool bCaja;
  };
  const Caso casos[] = {
      {false, "El convertidor de PDF no generó el archivo PDF.", true},
      {false, "", false},
      {true, "algo que no cuenta", false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.causa);
    guion->bGenera = c.bGenera;
    guion->sCausa = c.causa;
    dialogos->Limpia();
    dialogos->Responde({true});
    frm.bnGenReporte->click();
    std::vector<std::string> esperado{ConfirmacionSinRespuestasCC()};
    if (c.bCaja)
      esperado.push_back(std::string(c.causa) +
                         "\r\n\r\nQuedó registrado para Soporte Técnico en: " + DameRutaBitacora());
    EXPECT_EQ(dialogos->Textos(), esperado);
    EXPECT_EQ(T(frm.txMensajes->text()),
              c.bGenera ? Dice("reporte generado") : Dice("reporte fallido"));
  }
}

TEST_F(FrmPrincipal, KeyAndPasswordTurnToCapitals) {
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

TEST_F(FrmPrincipal, EnterMovesOnShiftEnterBack) {
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
  EXPECT_EQ(T(frm.txMensajes->text()), Dice("falta el usuario"));
}

// The validation stops at the first failure, before anything is opened.
TEST_F(FrmPrincipal, ValidationOrderAndTexts) {
  struct Caso {
    const char* usuario;
    const char* cambio;
    std::string mensaje;
    bool bEnCambio;  // the alert is on the rate entry (else on the key entry)
  };
  const Caso casos[] = {
      {"", "", Dice("falta el usuario"), false},
      {" \t", "19.26", Dice("falta el usuario"), false},
      {"ADMIN", "", Dice("falta el tipo de cambio"), true},
      {"ADMIN", "  ", Dice("falta el tipo de cambio"), true},
      {"ADMIN", "0", Dice("tipo de cambio no positivo"), true},
      {"ADMIN", "0.0", Dice("tipo de cambio no positivo"), true},
      {"ADMIN", "abc", Dice("tipo de cambio no positivo"), true},
      {"ADMIN", "19,2,6", Dice("tipo de cambio no positivo"), true},
      {"ADMIN", "-3", Dice("tipo de cambio no positivo"), true},
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
TEST_F(FrmPrincipal, RateReadWithFullStopUnderCommaLocale) {
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

TEST_F(FrmPrincipal, ProgramFolderFilesAnyLetterCase) {
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

TEST_F(FrmPrincipal, MissingDatabaseStopsBothCommands) {
  carpeta.Escribe("Kavori.INI", "[Control]\nEmpresaActiva=1\n");
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{Dice("fuera de la carpeta del Kavori")});
  EXPECT_FALSE(frm.bnGenReporte->isEnabled());
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());

  dialogos->Limpia();
  dialogos->Responde({true});
  frm.bnGenReporte->setEnabled(true);
  frm.bnGenReporte->click();
  EXPECT_EQ(dialogos->Textos(), (std::vector<std::string>{ConfirmacionSinRespuestasCC(),
                                                          Dice("fuera de la carpeta del Kavori")}));
  EXPECT_EQ(T(frm.txMensajes->text()), Dice("reporte fallido"));
  EXPECT_EQ(guion->nCreados, 0);
}

// Each refusal of a run, in the order the run checks, for both commands.
TEST_F(FrmPrincipal, RefusalsOfTheRuns) {
  struct Caso {
    const char* nombre;
    const char* ini;  // content of Kavori.INI, nullptr: no file
    bool bConectados;
    bool bAcceso;
    std::string caja;
    const char* llamadas;
  };
  const char* const kIni1 = "[Control]\nEmpresaActiva=1\n";
  const Caso casos[] = {
      {"no INI", nullptr, false, true, Dice("sin número de empresa"), ""},
      {"company 0", "[Control]\nEmpresaActiva=0\n", false, true, Dice("sin número de empresa"), ""},
      {"users connected", kIni1, true, true, Dice("usuario conectado"), "UsuariosConectados "},
      {"login refused", kIni1, false, false, Dice("acceso negado (caja)"),
       "UsuariosConectados ValidaAcceso "},
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
      const std::string estado = bReporte     ? Dice("reporte fallido")
                                 : !c.bAcceso ? Dice("acceso negado (estado)")
                                              : Dice("conectando");
      EXPECT_EQ(T(frm.txMensajes->text()), estado);
      EXPECT_EQ(frm.bnGenReporte->isEnabled(), bReporte);
      EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
      EXPECT_FALSE(CursorEsperaPuesto());
    }
  }
}

TEST_F(FrmPrincipal, LoginGetsTheEntriesUntrimmed) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN  "));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(guion->sUsuario, "ADMIN  ");
  EXPECT_EQ(guion->sPassw, "");
  EXPECT_EQ(guion->nNumEmp, 1);
}

TEST_F(FrmPrincipal, DetectionWithRowsEnablesGridAndReport) {
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
  EXPECT_EQ(T(frm.txMensajes->text()), Dice("detección terminada"));
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

TEST_F(FrmPrincipal, DetectionWithNobodyShowsTheNotice) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  EXPECT_FALSE(frm.pnIgnorar->isHidden());
  EXPECT_EQ(frm.pnIgnorar->pos(), QPoint(88, 464));
  EXPECT_EQ(ColorDe(frm.txPaso4), QColor(128, 128, 128));
  EXPECT_TRUE(frm.bnGenReporte->isEnabled());
  EXPECT_FALSE(frm.grdPEPs->isEnabled());
  EXPECT_EQ(T(frm.txMensajes->text()), Dice("detección terminada"));
  // A new detection hides the notice first; a failed one leaves it hidden.
  guion->bDetecta = false;
  frm.bnDetectaPEPs->click();
  EXPECT_TRUE(frm.pnIgnorar->isHidden());
  EXPECT_EQ(ColorDe(frm.txPaso4), QColor(0, 128, 128));
  EXPECT_TRUE(frm.bnGenReporte->isEnabled()) << "unchanged by a failed detection";
  EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
}

TEST_F(FrmPrincipal, GridTogglesByClickAndSpace) {
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
  EXPECT_TRUE(tabla.Row(1).EsPEP.value_or(false));
  EXPECT_EQ(frm.grdPEPs->currentIndex().row(), 1);
  EXPECT_EQ(frm.dsPEPs()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  clic(1, 0);
  EXPECT_FALSE(tabla.Row(1).EsPEP.value_or(false));
  clic(2, 1);  // a name: nothing changes
  for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(tabla.Row(i).EsPEP.value_or(false));

  frm.grdPEPs->setFocus();
  frm.grdPEPs->setCurrentIndex(frm.dsPEPs()->index(0, 0));
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_TRUE(tabla.Row(0).EsPEP.value_or(false));
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_FALSE(tabla.Row(0).EsPEP.value_or(false));
  QTest::keyClick(frm.grdPEPs, Qt::Key_Down);
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_TRUE(tabla.Row(1).EsPEP.value_or(false));
  // Space on a name does nothing.
  QTest::keyClick(frm.grdPEPs, Qt::Key_Right);
  QTest::keyClick(frm.grdPEPs, Qt::Key_Space);
  EXPECT_TRUE(tabla.Row(1).EsPEP.value_or(false));
  EXPECT_FALSE(tabla.Row(2).EsPEP.value_or(false));
  // A new detection starts over without ticks.
  frm.bnDetectaPEPs->click();
  EXPECT_FALSE(tabla.Row(1).EsPEP.value_or(false));
}

TEST_F(FrmPrincipal, ReportAnsweredNoOrYes) {
  PreparaCarpeta();
  guion->nombres = {"ANA PEREZ", "LUIS GARCIA", "MARIA LOPEZ"};
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  dm.vtPEPs.SetEsPEP(0, true);
  dm.vtPEPs.SetEsPEP(2, true);
  guion->llamadas.clear();

  dialogos->Responde({false});
  frm.bnGenReporte->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{ConfirmacionSinRespuestasCC()});
  EXPECT_EQ(T(frm.txMensajes->text()), Dice("proceso cancelado"));
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
    EXPECT_EQ(T(frm.txMensajes->text()),
              bExito ? Dice("reporte generado") : Dice("reporte fallido"));
    EXPECT_TRUE(frm.bnGenReporte->isEnabled());
    EXPECT_TRUE(frm.bnDetectaPEPs->isEnabled());
  }
}

TEST_F(FrmPrincipal, SecondCommandReusesTheConnection) {
  PreparaCarpeta();
  TfrmPrincipal& frm = Ventana();
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  ASSERT_EQ(guion->nCreados, 1);
  db::Connection* primera = guion->Conector;
  frm.bnDetectaPEPs->click();
  ASSERT_EQ(guion->nCreados, 2);
  EXPECT_EQ(guion->Conector, primera);
  EXPECT_TRUE(ColectorConexiones->Conectado("BDPrincipal"));
}

TEST_F(FrmPrincipal, AnErrorInsideARunIsShownAndTheButtonsComeBack) {
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

TEST_F(FrmPrincipal, WhileTheDatabaseWorksTheWindowServesEventsAndACloseWaits) {
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
  EXPECT_EQ(T(frm.txMensajes->text()), Dice("reporte generado"));
  // The close comes once the command has ended.
  QApplication::processEvents();
  EXPECT_FALSE(frm.isVisible());
}

}  // namespace
}  // namespace kv
