#include "app/frm_principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QValidator>
#include <charconv>
#include <cmath>
#include <exception>

#include "app/archivo_ini.h"
#include "app/dlg_respuestas_cc.h"
#include "app/dm_main.h"
#include "app/modelo_peps.h"
#include "app/textos.h"
#include "app/ubicacion_respuestas_cc.h"
#include "data/colector_conxs.h"
#include "data/db/heartbeat.h"
#include "diag/bitacora.h"
#include "diag/dialogos.h"
#include "diag/programa.h"
#include "diag/qt/mensajero.h"
#include "diag/qt/tecla_decimal.h"
#include "diag/qt/utilerias.h"
#include "engine/evidencia.h"
#include "engine/textos.h"

namespace kv {
namespace {

const QColor kTeal(0, 128, 128);
const QColor kGrisOscuro(72, 72, 72);
const QColor kMarron(128, 0, 0);
const QColor kPlata(192, 192, 192);
const QColor kGris(128, 128, 128);
const char* const kFamilia = "Tahoma";

QString Q(const char* s) {
  return QString::fromUtf8(s);
}

QFont Fuente(int nPixeles, bool bNegrita = false) {
  QFont fuente(QString::fromLatin1(kFamilia));
  fuente.setPixelSize(nPixeles);
  fuente.setBold(bNegrita);
  return fuente;
}

QLabel* CreaEtiqueta(QWidget* padre, const char* sTexto, QRect r, const QColor& color, int nPixeles,
                     Qt::Alignment alineacion = Qt::AlignLeft, bool bNegrita = false,
                     bool bAjusta = false) {
  auto* l = new QLabel(Q(sTexto), padre);
  l->setGeometry(r);
  l->setFont(Fuente(nPixeles, bNegrita));
  l->setAlignment(alineacion | Qt::AlignTop);
  l->setWordWrap(bAjusta);
  PonColorFuente(l, color);
  // A one-line caption wider than its box (the system's font may run wider than the
  // design's) grows away from the edge it is aligned to, so no letter is cut off.
  const int nAncho = QFontMetrics(l->font()).horizontalAdvance(l->text()) + 1;
  if (!bAjusta && nAncho > r.width()) {
    const int nExtra = nAncho - r.width();
    if (alineacion & Qt::AlignRight)
      r.setLeft(r.left() - nExtra);
    else if (alineacion & Qt::AlignHCenter)
      r.adjust(-(nExtra + 1) / 2, 0, nExtra / 2, 0);
    else
      r.setRight(r.right() + nExtra);
    l->setGeometry(r);
  }
  return l;
}

// Turns every letter into its capital as it is typed or pasted.
class TValidadorMayusculas : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& sEntrada, int&) const override {
    sEntrada = sEntrada.toUpper();
    return Acceptable;
  }
};

// A single comma in a text without a full stop is the decimal point.
QString ComaComoPunto(QString s) {
  if (s.count(u',') == 1 && !s.contains(u'.')) s.replace(u',', u'.');
  return s;
}

// Without leading and trailing blanks and control characters.
QString Recorta(const QString& s) {
  qsizetype ini = 0;
  qsizetype fin = s.size();
  while (ini < fin && s[ini].unicode() <= u' ') ++ini;
  while (fin > ini && s[fin - 1].unicode() <= u' ') --fin;
  return s.mid(ini, fin - ini);
}

// What reaches the rate entry other than by typing (a paste, a drop): a number with at most
// one decimal point; a lone comma counts as that point and blanks around it go.
class TValidadorTipoCambio : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& sEntrada, int& nPos) const override {
    if (const QString s = sEntrada.trimmed(); s != sEntrada) {
      sEntrada = s;
      nPos = std::min<int>(nPos, static_cast<int>(s.size()));
    }
    sEntrada = ComaComoPunto(sEntrada);
    static const QRegularExpression numero(QStringLiteral("^[0-9]*\\.?[0-9]*$"));
    return numero.match(sEntrada).hasMatch() ? Acceptable : Invalid;
  }
};

}  // namespace

TShape::TShape(QWidget* padre) : QWidget(padre) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kPlata, 1));
  p.setBrush(Qt::NoBrush);
  // Corner ellipses a quarter of the shorter side wide.
  const qreal r = std::min(width(), height()) / 8.0;
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), r, r);
}

TfrmPrincipal::TfrmPrincipal(TdmMain& dmMain, TFabricaCuestionario fabrica, QWidget* padre)
    : QWidget(padre), F_dmMain(dmMain), F_Fabrica(std::move(fabrica)) {
  CreaControles();
  FormCreate();
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::CreaControles() {
  setWindowTitle(Q(textos_app::kTituloVentana));
  setFixedSize(690, 730);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
  setFont(Fuente(11));
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  p.setColor(QPalette::WindowText, Qt::black);
  setPalette(p);
  setAutoFillBackground(true);
  if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
    QRect r(QPoint(0, 0), size());
    r.moveCenter(pantalla->availableGeometry().center());
    move(r.topLeft());
  }

  // The frames go first so that every control lies above them.
  Shape2 = new TShape(this);
  Shape2->setGeometry(71, 65, 546, 99);
  Shape1 = new TShape(this);
  Shape1->setGeometry(71, 179, 545, 111);
  Shape3 = new TShape(this);
  Shape3->setGeometry(71, 303, 545, 93);
  Shape4 = new TShape(this);
  Shape4->setGeometry(71, 409, 546, 243);

  const auto derecha = Qt::AlignRight;
  Label1 = CreaEtiqueta(this, textos_app::kTituloCuestionario, {182, 20, 345, 19}, kTeal, 16,
                        Qt::AlignLeft, true);
  Label6 = CreaEtiqueta(this, textos_app::kPaso1TipoCambio, {88, 74, 337, 19}, kTeal, 16);
  txCambio = CreaEtiqueta(this, textos_app::kEtiquetaTipoCambio, {219, 113, 79, 13}, kGrisOscuro,
                          11, derecha);
  edCambio = new QLineEdit(Q(textos_app::kCambioInicial), this);
  edCambio->setGeometry(320, 110, 121, 21);
  edCambio->setToolTip(Q(textos_app::kAyudaTipoCambio));
  edCambio->setValidator(new TValidadorTipoCambio(edCambio));
  Label2 = CreaEtiqueta(this, textos_app::kTipoCambioSugerido, {470, 145, 135, 11}, kGrisOscuro, 9,
                        derecha);

  Label4 = CreaEtiqueta(this, textos_app::kPaso2ClaveYContrasena, {88, 190, 300, 19}, kTeal, 16);
  txUsuario = CreaEtiqueta(this, textos_app::kEtiquetaClaveEntrada, {153, 227, 129, 13},
                           kGrisOscuro, 11, derecha);
  edUsuario = new QLineEdit(this);
  edUsuario->setGeometry(304, 224, 121, 21);
  edUsuario->setToolTip(Q(textos_app::kAyudaClaveEntrada));
  edUsuario->setValidator(new TValidadorMayusculas(edUsuario));
  txPassw = CreaEtiqueta(this, textos_app::kEtiquetaPassword, {236, 254, 46, 13}, kGrisOscuro, 11,
                         derecha);
  edPassw = new QLineEdit(this);
  edPassw->setGeometry(304, 251, 121, 21);
  edPassw->setToolTip(Q(textos_app::kAyudaPassword));
  edPassw->setValidator(new TValidadorMayusculas(edPassw));
  edPassw->setEchoMode(QLineEdit::Password);
  edPassw->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

  Label9 = CreaEtiqueta(this, textos_app::kPaso3PresioneDetectar, {88, 315, 262, 19}, kTeal, 16);
  Label8 = CreaEtiqueta(this, textos_app::kPaso3Explicacion, {95, 348, 332, 33}, kGrisOscuro, 9,
                        Qt::AlignLeft, false, true);
  bnDetectaPEPs = new QPushButton(Q(textos_app::kBotonDetectarPEPs), this);
  bnDetectaPEPs->setGeometry(479, 335, 105, 25);
  bnDetectaPEPs->setToolTip(Q(textos_app::kAyudaDetectarPEPs));

  txPaso4 = CreaEtiqueta(this, textos_app::kPaso4MarqueLosPEPs, {88, 420, 503, 38}, kTeal, 16,
                         Qt::AlignLeft, false, true);
  Label7 = CreaEtiqueta(this, textos_app::kTipHomonimos, {95, 476, 255, 11}, kGrisOscuro, 9);

  grdPEPs = new QTableView(this);
  grdPEPs->setGeometry(95, 491, 498, 122);
  F_dsPEPs = new TModeloPEPs(F_dmMain.vtPEPs, this);
  grdPEPs->setModel(F_dsPEPs);
  grdPEPs->setItemDelegate(new TDelegadoPEPs(grdPEPs));
  grdPEPs->setToolTip(Q(textos_app::kAyudaMarcarPEP));
  grdPEPs->setFont(Fuente(11));
  grdPEPs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdPEPs->setSelectionMode(QAbstractItemView::SingleSelection);
  grdPEPs->setSelectionBehavior(QAbstractItemView::SelectItems);
  grdPEPs->setShowGrid(false);
  grdPEPs->setTabKeyNavigation(true);
  grdPEPs->setWordWrap(false);
  grdPEPs->verticalHeader()->hide();
  grdPEPs->verticalHeader()->setDefaultSectionSize(17);
  auto* titulos = grdPEPs->horizontalHeader();
  titulos->setFont(Fuente(11));
  QPalette pt = titulos->palette();
  pt.setColor(QPalette::ButtonText, kTeal);
  pt.setColor(QPalette::WindowText, kTeal);
  titulos->setPalette(pt);
  titulos->setSectionResizeMode(QHeaderView::Fixed);
  titulos->setHighlightSections(false);
  titulos->resizeSection(TModeloPEPs::kColMarca, 84);
  titulos->resizeSection(TModeloPEPs::kColNombre, 391);
  grdPEPs->installEventFilter(this);
  connect(grdPEPs, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& i) { grdPEPsCellClick(i); });
  connect(F_dsPEPs, &QAbstractItemModel::rowsInserted, this, [this] { HabilitaRejilla(); });
  connect(F_dsPEPs, &QAbstractItemModel::modelReset, this, [this] { HabilitaRejilla(); });

  pnIgnorar = new QWidget(this);
  pnIgnorar->setGeometry(633, 440, 511, 181);
  QPalette pb = pnIgnorar->palette();
  pb.setColor(QPalette::Window, Qt::white);
  pnIgnorar->setPalette(pb);
  pnIgnorar->setAutoFillBackground(true);
  pnIgnorar->hide();
  Label11 = CreaEtiqueta(pnIgnorar, textos_app::kAvisoSinPEPs, {77, 63, 357, 36}, kTeal, 15,
                         Qt::AlignHCenter, false, true);

  txMensajes = CreaEtiqueta(this, textos_app::kMensajesDeDiseno, {62, 658, 579, 14}, kMarron, 12,
                            Qt::AlignHCenter);
  txPruebas = CreaEtiqueta(this, textos_app::kVersionBeta, {62, 682, 80, 14}, kMarron, 12,
                           Qt::AlignLeft, true);
  bnGenReporte = new QPushButton(Q(textos_app::kBotonGenerarReporte), this);
  bnGenReporte->setGeometry(512, 678, 105, 25);
  bnGenReporte->setEnabled(false);
  Label5 =
      CreaEtiqueta(this, textos_app::kVersionPrograma, {7, 709, 22, 13}, kGrisOscuro, 11, derecha);
  bnRespuestasCC = new QPushButton(Q(textos_app::kBnRespuestasCC), this);
  bnRespuestasCC->setGeometry(312, 678, 190, 25);
  bnRespuestasCC->setToolTip(Q(textos_app::kHintRespuestasCC));
  bnRespuestasCC->setAutoDefault(true);
  connect(bnRespuestasCC, &QPushButton::clicked, this, [this] { bnRespuestasCCClick(); });

  // Enter on a focused button presses it, as Space does.
  bnDetectaPEPs->setAutoDefault(true);
  bnGenReporte->setAutoDefault(true);
  connect(bnDetectaPEPs, &QPushButton::clicked, this, [this] { bnDetectaPEPsClick(); });
  connect(bnGenReporte, &QPushButton::clicked, this, [this] { bnGenReporteClick(); });
  for (QLineEdit* ed : {edCambio, edUsuario, edPassw}) ed->installEventFilter(this);

  // Tab order: rate, key, password, detection, grid, report.
  edCambio->setFocus();
  QWidget::setTabOrder(edCambio, edUsuario);
  QWidget::setTabOrder(edUsuario, edPassw);
  QWidget::setTabOrder(edPassw, bnDetectaPEPs);
  QWidget::setTabOrder(bnDetectaPEPs, grdPEPs);
  QWidget::setTabOrder(grdPEPs, bnRespuestasCC);
  QWidget::setTabOrder(bnRespuestasCC, bnGenReporte);
}

void TfrmPrincipal::FormCreate() {
  F_Utilerias = std::make_shared<TUtilerias>();
  _MensajeroForm = std::make_shared<TMensajero>(F_Utilerias);
  _MensajeroForm->SetTxLabel(txMensajes);
  InicializaPantalla();
  txPruebas->hide();
}

void TfrmPrincipal::InicializaPantalla() {
  F_bReporteHabilitado = false;
  bnGenReporte->setEnabled(false);
  pnIgnorar->hide();
  PonColorFuente(txPaso4, kTeal);
  grdPEPs->setEnabled(false);
}

void TfrmPrincipal::showEvent(QShowEvent* evento) {
  QWidget::showEvent(evento);
  // Only when the program shows the window, not when the desktop restores it.
  if (!evento->spontaneous()) FormShow();
}

void TfrmPrincipal::FormShow() {
  QCoreApplication::postEvent(this, new QEvent(kMsjIndicaciones));
}

void TfrmPrincipal::closeEvent(QCloseEvent* evento) {
  // The running command still uses the window and the database: close when it ends.
  F_bCierrePendiente = F_bEnProceso;
  if (F_bEnProceso)
    evento->ignore();
  else
    QWidget::closeEvent(evento);
}

bool TfrmPrincipal::event(QEvent* evento) {
  if (evento->type() == kMsjIndicaciones) {
    MuestraIndicaciones();
    return true;
  }
  return QWidget::event(evento);
}

void TfrmPrincipal::MuestraIndicaciones() {
  if (DameDialogos()->AdvertenciaSiNo(textos_app::kIndicaciones))
    edCambio->setFocus();
  else
    close();
}

bool TfrmPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() != QEvent::KeyPress) return QWidget::eventFilter(objeto, evento);
  auto* tecla = static_cast<QKeyEvent*>(evento);
  if (objeto == grdPEPs) return grdPEPsKeyPress(tecla);
  if (objeto != edCambio && objeto != edUsuario && objeto != edPassw) return false;
  auto* Sender = static_cast<QWidget*>(objeto);
  F_bShift = tecla->modifiers().testFlag(Qt::ShiftModifier);
  const auto KeyPress = [&](QChar& Key) {
    return objeto == edCambio ? edCambioKeyPress(Key) : edPasswKeyPress(Sender, Key);
  };
  if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
    QChar Key(13);
    return KeyPress(Key);
  }
  // Only typed characters go through the handlers: Tab, Delete, Backspace, the arrows and
  // the shortcuts (Ctrl+A, Ctrl+C, Ctrl+V...) are the entry's own business.
  if (!EsTextoTecleado(*tecla)) return false;
  for (QChar Key : tecla->text())
    if (KeyPress(Key)) return true;
  return false;
}

void TfrmPrincipal::AvanzaConEnter(QWidget* Sender, QChar& Key) {
  if (Key.unicode() != 13) return;
  // From the sender along the tab chain to the next control that takes the focus by tab.
  QWidget* w = Sender;
  do {
    w = F_bShift ? w->previousInFocusChain() : w->nextInFocusChain();
    if (w == Sender) break;
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() &&
        w->isVisibleTo(this) && isAncestorOf(w)) {
      w->setFocus(F_bShift ? Qt::BacktabFocusReason : Qt::TabFocusReason);
      break;
    }
  } while (true);
  Key = QChar(u'\0');
}

bool TfrmPrincipal::edCambioKeyPress(QChar& Key) {
  // A comma is the decimal point of a Spanish keyboard: taken as one while there is none.
  const bool bComa = Key == u',' && !edCambio->text().contains(u'.');
  if (bComa) Key = u'.';
  FiltraTeclaDecimal(edCambio, Key);
  if (bComa && !Key.isNull()) {
    edCambio->insert(QStringLiteral("."));
    return true;
  }
  if (!Key.isNull()) AvanzaConEnter(edCambio, Key);
  return Key.isNull();
}

bool TfrmPrincipal::edPasswKeyPress(QWidget* Sender, QChar& Key) {
  AvanzaConEnter(Sender, Key);
  return Key.isNull();
}

void TfrmPrincipal::HabilitaRejilla() {
  // Enabled once the table has rows; nothing disables it again.
  if (F_dsPEPs->rowCount() > 0) grdPEPs->setEnabled(true);
}

void TfrmPrincipal::grdPEPsCellClick(const QModelIndex& indice) {
  // Ticks stay as they are while a command reads or refills the table.
  if (F_bEnProceso || !indice.isValid() || indice.column() != TModeloPEPs::kColMarca) return;
  const auto nFila = static_cast<std::size_t>(indice.row());
  F_dmMain.vtPEPs.SetEsPEP(nFila, !F_dmMain.vtPEPs.Row(nFila).EsPEP.value_or(false));
}

bool TfrmPrincipal::grdPEPsKeyPress(QKeyEvent* tecla) {
  // Space toggles the box of the current row while the current cell is in the tick column.
  const QModelIndex actual = grdPEPs->currentIndex();
  if (tecla->key() != Qt::Key_Space || !actual.isValid() ||
      actual.column() != TModeloPEPs::kColMarca)
    return false;
  grdPEPsCellClick(actual);
  return true;
}

double TfrmPrincipal::DameTipoCambio() const {
  const std::string s = ComaComoPunto(Recorta(edCambio->text())).toStdString();
  if (s.empty()) return 0;
  const char* ini = s.data();
  const char* fin = ini + s.size();
  if (*ini == '+') ++ini;
  double d = 0;
  const auto [ptr, ec] = std::from_chars(ini, fin, d);
  if (ec != std::errc() || ptr != fin || !std::isfinite(d)) return 0;
  return d;
}

bool TfrmPrincipal::FaltanDatos() {
  if (Recorta(edUsuario->text()).isEmpty()) {
    _MensajeroForm->CampoObligatorio(txUsuario, edUsuario);
    _MensajeroForm->MsjTxTemp(textos_app::kFaltaUsuario);
    return true;
  }
  if (Recorta(edCambio->text()).isEmpty()) {
    _MensajeroForm->CampoObligatorio(txCambio, edCambio);
    _MensajeroForm->MsjTxTemp(textos_app::kFaltaCambio);
    return true;
  }
  if (DameTipoCambio() <= 0) {
    _MensajeroForm->CampoObligatorio(txCambio, edCambio);
    _MensajeroForm->MsjTxTemp(textos_app::kCambioCero);
    return true;
  }
  return false;
}

bool TfrmPrincipal::DameNumEmpresa(int& nNumEmp) {
  const auto sRuta = BuscaArchivoIgnorandoMayusculas(DameCarpetaExe(), textos_app::kArchivoIni);
  if (!sRuta) return false;
  nNumEmp = LeeEnteroIni(*sRuta, textos_app::kSeccionControl, textos_app::kClaveEmpresaActiva, 0);
  return nNumEmp > 0;
}

bool TfrmPrincipal::ConectaBD(db::Connection*& Conector) {
  const auto sRuta = BuscaArchivoIgnorandoMayusculas(
      DameCarpetaExe(), std::string(textos_app::kCarpetaBD) + kSeparador + textos_app::kArchivoBD);
  if (!sRuta) {
    DameDialogos()->Mensaje(textos_app::kErrorCarpetaKavori);
    return false;
  }
  _MensajeroForm->MsjTxEspera(textos_app::kConectandoBD, false);
  if (!ColectorConexiones) return false;
  ColectorConexiones->CreaBDPrinc(*sRuta, "", false);
  if (!ColectorConexiones->Conecta(textos_app::kConexionPrincipal)) return false;
  if (!ColectorConexiones->DameAccessConex(textos_app::kConexionPrincipal, Conector)) return false;
  return Conector != nullptr && Conector->connected();
}

void TfrmPrincipal::MuestraAvisoSinPEPs(bool bMostrar) {
  if (bMostrar) {
    pnIgnorar->move(88, 464);
    pnIgnorar->show();
    pnIgnorar->raise();
    PonColorFuente(txPaso4, kGris);
  } else {
    pnIgnorar->hide();
    PonColorFuente(txPaso4, kTeal);
  }
}

void TfrmPrincipal::EjecutaComando(QPushButton* bnBoton, const std::function<void()>& trabajo) {
  QPushButton* otro = bnBoton == bnDetectaPEPs ? bnGenReporte : bnDetectaPEPs;
  try {
    // The other command stays off for the run: it must not start inside this one.
    struct TBloqueo {
      TfrmPrincipal& frm;
      QPushButton* otro;
      ~TBloqueo() {
        frm.F_bEnProceso = false;
        otro->setEnabled(otro == frm.bnGenReporte ? frm.F_bReporteHabilitado : true);
        frm.bnRespuestasCC->setEnabled(true);
      }
    } bloqueo{*this, otro};
    F_bEnProceso = true;
    otro->setEnabled(false);
    bnRespuestasCC->setEnabled(false);
    // The database works on a worker meanwhile; this thread keeps painting the window.
    db::HeartbeatScope latido([] { QCoreApplication::processEvents(); }, kMsLatido);
    F_Utilerias->ProcesayEspera(trabajo, bnBoton);
  } catch (const std::exception& e) {
    // What escapes a work is shown once cursor and buttons are back, and kept in the log.
    RegistraEnBitacora(e.what());
    DameDialogos()->Mensaje(e.what());
  }
  // A close asked for during the run happens now that nothing uses the window.
  if (F_bCierrePendiente) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TfrmPrincipal::bnDetectaPEPsClick() {
  if (F_bEnProceso || FaltanDatos()) return;
  MuestraAvisoSinPEPs(false);
  EjecutaComando(bnDetectaPEPs, [this] { ProcesaDeteccion(); });
}

std::unique_ptr<IRepCuestionarioCNBV> TfrmPrincipal::AbreCuestionario(bool bDeteccion) {
  // The detection puts the default cursor back before each of its boxes; the report
  // leaves the busy cursor up.
  const auto Caja = [bDeteccion](const char* sTexto) {
    if (bDeteccion) PonCursorNormal();
    DameDialogos()->Mensaje(sTexto);
  };
  db::Connection* Conector = nullptr;
  if (!ConectaBD(Conector)) return nullptr;
  const double dTCambio = DameTipoCambio();
  int nNumEmp = 0;
  if (!DameNumEmpresa(nNumEmp)) {
    Caja(textos_app::kSinNumEmpresa);
    return nullptr;
  }
  auto cuestionario = F_Fabrica ? F_Fabrica(Conector, _MensajeroForm, dTCambio, nNumEmp) : nullptr;
  if (!cuestionario) return nullptr;
  if (cuestionario->UsuariosConectados()) {
    Caja(textos_app::kUsuarioConectado);
    return nullptr;
  }
  if (!cuestionario->ValidaAcceso(edUsuario->text().toStdString(), edPassw->text().toStdString(),
                                  true)) {
    // The detection flags the key, the report the password after its status text.
    if (bDeteccion) edUsuario->setFocus();
    Caja(textos_app::kAccesoNegadoCaja);
    if (bDeteccion) _MensajeroForm->CampoObligatorio(txUsuario, edUsuario);
    _MensajeroForm->MsjTxEspera(textos_app::kAccesoNegadoEstado, true);
    if (!bDeteccion) _MensajeroForm->CampoObligatorio(txPassw, edPassw);
    return nullptr;
  }
  return cuestionario;
}

void TfrmPrincipal::ProcesaDeteccion() {
  if (auto cuestionario = AbreCuestionario(true)) {
    if (cuestionario->DetectaPEPs(F_dmMain.vtPEPs)) {
      MuestraAvisoSinPEPs(F_dmMain.vtPEPs.IsEmpty());
      F_bReporteHabilitado = true;
      if (!F_bEnProceso) bnGenReporte->setEnabled(true);
      _MensajeroForm->MsjTxTemp(textos_app::kDeteccionFinalizada);
    }
  }
  PonCursorNormal();
}

bool TfrmPrincipal::ConfirmaTipoCambio() {
  const double d = DameTipoCambio();
  if (d >= kTipoCambioMinimo && d <= kTipoCambioMaximo) return true;
  const std::string sPregunta = textos_app::kTipoCambioInusual +
                                ComaComoPunto(Recorta(edCambio->text())).toStdString() +
                                textos_app::kTipoCambioInusualPregunta;
  if (DameDialogos()->AdvertenciaSiNo(sPregunta)) return true;
  _MensajeroForm->CampoObligatorio(txCambio, edCambio);
  _MensajeroForm->MsjTxEspera(textos_app::kProcesoCancelado, false);
  return false;
}

void TfrmPrincipal::bnGenReporteClick() {
  if (F_bEnProceso || FaltanDatos() || !ConfirmaTipoCambio()) return;
  _MensajeroForm->MsjTxEspera(textos_app::kAdvertencia, false);
  if (DameDialogos()->AdvertenciaSiNo(
          TextoConfirmacionReporte(CargaRespuestasCC().respuestas.Pendientes())))
    EjecutaComando(bnGenReporte, [this] { ProcesaReporte(); });
  else
    _MensajeroForm->MsjTxEspera(textos_app::kProcesoCancelado, false);
}

void TfrmPrincipal::bnRespuestasCCClick() {
  if (F_bEnProceso) return;
  if (MuestraRespuestasCC(this)) _MensajeroForm->MsjTxTemp(textos_app::kRespuestasGuardadas);
}

void TfrmPrincipal::ProcesaReporte() {
  auto cuestionario = AbreCuestionario(false);
  const bool bResultado = cuestionario && cuestionario->GeneraReporte(F_dmMain.vtPEPs);
  if (!bResultado) {
    _MensajeroForm->MsjEnTx(textos_app::kReporteFallido);
    // After the status line's failure text, the cause in a box, with where support finds it.
    if (const std::string sCausa = cuestionario ? cuestionario->DameCausaFalla() : std::string();
        !sCausa.empty())
      DameDialogos()->Mensaje(sCausa + textos_app::kVeaBitacora + DameRutaBitacora());
    return;
  }
  // The evidence workbook beside the PDF, only after a successful report.
  const std::string sEvidencia = DameCarpetaExe() + kSeparador + textos_motor::kArchivoEvidencia;
  _MensajeroForm->MsjEnTx(textos_app::kGuardandoEvidencia);
  try {
    if (cuestionario->GeneraEvidencia(sEvidencia)) {
      _MensajeroForm->MsjEnTx(std::string(textos_app::kReporteCorrecto) + textos_app::kEvidenciaEn +
                              sEvidencia);
      return;
    }
  } catch (const EEvidencia& e) {
    _MensajeroForm->MsjEnTx(textos_app::kReporteSinEvidencia);
    DameDialogos()->Mensaje(std::string(textos_app::kReporteSinEvidencia) + "\n" + e.what());
    return;
  }
  _MensajeroForm->MsjEnTx(textos_app::kReporteCorrecto);
}

}  // namespace kv
