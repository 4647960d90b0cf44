#include "app/dlg_respuestas_cc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

#include "app/textos.h"
#include "app/ubicacion_respuestas_cc.h"
#include "diag/dialogos.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

using T = TTipoRespuestaCC;

const char* const kEstiloTitulo = "color: rgb(0, 128, 128); font-weight: bold; font-size: 15px;";
const char* const kEstiloNota = "color: rgb(72, 72, 72); font-style: italic;";
const char* const kEstiloDepende = "color: rgb(72, 72, 72);";
const char* const kEstiloError = "color: rgb(192, 0, 0);";
const char* const kEstiloAviso = "color: rgb(160, 96, 0);";
// Width the questions have inside the scroll area, and what a check box adds to its text.
constexpr int kAnchoUtil = 700;
constexpr int kAnchoCasilla = 40;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}
QString Q(const char* s) {
  return QString::fromUtf8(s);
}

QLabel* Etiqueta(const QString& sTexto, const char* sEstilo, QWidget* padre) {
  auto* l = new QLabel(sTexto, padre);
  l->setWordWrap(true);
  l->setStyleSheet(QString::fromLatin1(sEstilo));
  return l;
}

QString Recorta(const QString& s) {
  return s.trimmed();
}

}  // namespace

TdlgRespuestasCC::TdlgRespuestasCC(const TLecturaRespuestasCC& lectura, fs::path ruta,
                                   QWidget* padre)
    : QDialog(padre),
      F_Guardadas(lectura.respuestas),
      F_bArchivoConErrores(!lectura.Correcta()),
      F_Ruta(std::move(ruta)) {
  CreaControles();
  // The entries show what the file held.
  for (auto& [n, e] : F_Entradas) {
    const TRespuestaCC* r = F_Guardadas.Respuesta(n);
    if (r == nullptr) continue;
    if (e.linea) e.linea->setText(Q(r->sTexto));
    if (e.texto) e.texto->setPlainText(Q(r->sTexto));
    if (e.opcion && !r->opciones.empty()) e.opcion->setCurrentText(Q(r->opciones.front()));
    for (QCheckBox* c : e.casillas)
      for (const auto& sOpcion : r->opciones)
        if (c->text() == Q(sOpcion)) c->setChecked(true);
    if (e.especifique) e.especifique->setText(Q(r->sEspecifique));
  }
  Actualiza();
}

void TdlgRespuestasCC::CreaControles() {
  setWindowTitle(Q(textos_app::kTituloRespuestasCC));
  QFont fuente(QStringLiteral("Tahoma"));
  fuente.setPixelSize(12);
  setFont(fuente);
  resize(780, 660);

  auto* principal = new QVBoxLayout(this);
  principal->addWidget(Etiqueta(Q(textos_app::kIntroRespuestasCC), "", this));
  principal->addWidget(
      Etiqueta(Q(textos_app::kArchivoRespuestasEn) + Q(F_Ruta.string()), kEstiloDepende, this));

  scPreguntas = new QScrollArea(this);
  scPreguntas->setWidgetResizable(true);
  scPreguntas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* lienzo = new QWidget(scPreguntas);
  auto* columna = new QVBoxLayout(lienzo);
  int nSeccion = 0;
  for (const TPreguntaCC& p : PreguntasCC()) {
    const TPreguntaCuestionario& c = ContenidoPregunta(p.nNumero);
    if (c.nSeccion != nSeccion) {
      nSeccion = c.nSeccion;
      auto* titulo =
          Etiqueta(Q(SeccionesCuestionario()[nSeccion - 1].sTitulo), kEstiloTitulo, lienzo);
      titulo->setContentsMargins(0, nSeccion == 1 ? 0 : 12, 0, 2);
      columna->addWidget(titulo);
    }
    columna->addWidget(CreaPregunta(p, lienzo));
  }
  columna->addStretch();
  scPreguntas->setWidget(lienzo);
  principal->addWidget(scPreguntas, 1);

  auto* pie = new QHBoxLayout();
  txFaltan = new QLabel(this);
  pie->addWidget(txFaltan, 1);
  auto* botones = new QDialogButtonBox(this);
  QPushButton* bnGuardar =
      botones->addButton(Q(textos_app::kBnGuardar), QDialogButtonBox::AcceptRole);
  QPushButton* bnCancelar =
      botones->addButton(Q(textos_app::kBnCancelar), QDialogButtonBox::RejectRole);
  bnGuardar->setDefault(true);
  connect(bnGuardar, &QPushButton::clicked, this, [this] { Guarda(); });
  connect(bnCancelar, &QPushButton::clicked, this, [this] { reject(); });
  pie->addWidget(botones);
  principal->addLayout(pie);
}

QWidget* TdlgRespuestasCC::CreaPregunta(const TPreguntaCC& p, QWidget* padre) {
  const TPreguntaCuestionario& c = ContenidoPregunta(p.nNumero);
  TEntrada e;
  e.tipo = p.tipo;
  e.marco = new QWidget(padre);
  auto* v = new QVBoxLayout(e.marco);
  v->setContentsMargins(0, 6, 0, 6);
  v->setSpacing(3);
  auto* pregunta = Etiqueta(
      QStringLiteral("<b>%1.</b> %2").arg(p.nNumero).arg(Q(c.sTexto).toHtmlEscaped()), "", e.marco);
  pregunta->setTextFormat(Qt::RichText);
  v->addWidget(pregunta);
  if (*c.sNota != '\0') v->addWidget(Etiqueta(Q(c.sNota), kEstiloNota, e.marco));
  if (p.nDependeDe != 0)
    v->addWidget(Etiqueta(Q(textos_app::kDependeDe).arg(p.nDependeDe).arg(Q(p.sSiAplica)),
                          kEstiloDepende, e.marco));

  const auto alCambiar = [this] { Actualiza(); };
  switch (p.tipo) {
    case T::Texto:
    case T::RFC:
    case T::Entero:
    case T::Monto: {
      e.linea = new QLineEdit(e.marco);
      const bool bCorto = p.tipo == T::Entero || p.tipo == T::Monto || p.tipo == T::RFC;
      if (bCorto) e.linea->setMaximumWidth(220);
      if (p.tipo == T::RFC) {
        QLineEdit* linea = e.linea;
        connect(linea, &QLineEdit::textEdited, this, [linea](const QString& s) {
          const int nPos = linea->cursorPosition();
          linea->setText(s.toUpper());
          linea->setCursorPosition(nPos);
        });
      }
      connect(e.linea, &QLineEdit::textChanged, this, alCambiar);
      v->addWidget(e.linea);
      break;
    }
    case T::TextoLargo:
      e.texto = new QPlainTextEdit(e.marco);
      e.texto->setTabChangesFocus(true);
      e.texto->setFixedHeight(QFontMetrics(font()).lineSpacing() * 3 + 12);
      connect(e.texto, &QPlainTextEdit::textChanged, this, alCambiar);
      v->addWidget(e.texto);
      break;
    case T::Una: {
      auto* fila = new QHBoxLayout();
      e.opcion = new QComboBox(e.marco);
      e.opcion->addItem(Q(textos_app::kSinResponder));
      for (const auto& o : c.opciones) e.opcion->addItem(Q(o.sTexto));
      connect(e.opcion, &QComboBox::currentIndexChanged, this, alCambiar);
      fila->addWidget(e.opcion);
      for (const auto& o : c.opciones) {
        if (!o.bConCaja) continue;
        fila->addWidget(new QLabel(Q(textos_app::kEspecifique), e.marco));
        e.especifique = new QLineEdit(e.marco);
        connect(e.especifique, &QLineEdit::textChanged, this, alCambiar);
        fila->addWidget(e.especifique, 1);
      }
      if (!e.especifique) fila->addStretch(1);
      v->addLayout(fila);
      break;
    }
    case T::Varias: {
      auto* rejilla = new QGridLayout();
      rejilla->setHorizontalSpacing(12);
      rejilla->setVerticalSpacing(2);
      // As many columns (three at most) as fit the dialog's width, filled down.
      const int nOpciones = static_cast<int>(c.opciones.size());
      const QFontMetrics medidas(font());
      int nColumnas = 3;
      for (; nColumnas > 1; --nColumnas) {
        const int nFilasPrueba = (nOpciones + nColumnas - 1) / nColumnas;
        int nAncho = 0;
        for (int k = 0; k < nColumnas; ++k) {
          int nColumna = 0;
          for (int i = k * nFilasPrueba; i < std::min(nOpciones, (k + 1) * nFilasPrueba); ++i)
            nColumna = std::max(nColumna, medidas.horizontalAdvance(Q(c.opciones[i].sTexto)));
          nAncho += nColumna + kAnchoCasilla;
        }
        if (nAncho <= kAnchoUtil) break;
      }
      const int nFilas = (nOpciones + nColumnas - 1) / nColumnas;
      for (std::size_t i = 0; i < c.opciones.size(); ++i) {
        auto* casilla = new QCheckBox(Q(c.opciones[i].sTexto), e.marco);
        connect(casilla, &QCheckBox::toggled, this, alCambiar);
        // Down the columns, as the printed list reads.
        rejilla->addWidget(casilla, static_cast<int>(i) % nFilas, static_cast<int>(i) / nFilas);
        e.casillas.push_back(casilla);
      }
      v->addLayout(rejilla);
      break;
    }
  }
  e.mensaje = Etiqueta(QString(), kEstiloError, e.marco);
  e.mensaje->hide();
  v->addWidget(e.mensaje);
  F_Entradas[p.nNumero] = e;
  return e.marco;
}

TRespuestaCC TdlgRespuestasCC::RespuestaDe(int nPregunta) const {
  const TEntrada& e = F_Entradas.at(nPregunta);
  TRespuestaCC r;
  if (e.linea) r.sTexto = Recorta(e.linea->text()).toStdString();
  if (e.texto) r.sTexto = Recorta(e.texto->toPlainText()).toStdString();
  if (e.opcion && e.opcion->currentIndex() > 0) {
    r.opciones.push_back(e.opcion->currentText().toStdString());
    const auto& o = ContenidoPregunta(nPregunta).opciones[e.opcion->currentIndex() - 1];
    if (o.bConCaja && e.especifique) r.sEspecifique = Recorta(e.especifique->text()).toStdString();
  }
  for (QCheckBox* c : e.casillas)
    if (c->isChecked()) r.opciones.push_back(c->text().toStdString());
  return r;
}

TRespuestasCC TdlgRespuestasCC::Recoge() const {
  TRespuestasCC respuestas;
  for (const auto& [n, e] : F_Entradas) respuestas.Fija(n, RespuestaDe(n));
  return respuestas;
}

void TdlgRespuestasCC::Actualiza() {
  // An answer with an error counts as still to be given.
  TRespuestasCC respuestas;
  for (const auto& [n, e] : F_Entradas)
    if (TRespuestaCC r = RespuestaDe(n); ValidaRespuestaCC(n, r).empty())
      respuestas.Fija(n, std::move(r));
  for (auto& [n, e] : F_Entradas) {
    const TPreguntaCC* p = BuscaPreguntaCC(n);
    e.marco->setEnabled(p->nDependeDe == 0 || respuestas.Aplica(n));
    if (e.especifique) {
      const int i = e.opcion->currentIndex();
      e.especifique->setEnabled(i > 0 && ContenidoPregunta(n).opciones[i - 1].bConCaja);
    }
    const TRespuestaCC r = RespuestaDe(n);
    const std::string sError = ValidaRespuestaCC(n, r);
    const std::string sAviso = sError.empty() ? AvisoRespuestaCC(n, r) : std::string();
    e.mensaje->setText(Q(sError.empty() ? sAviso : sError));
    e.mensaje->setStyleSheet(QString::fromLatin1(sError.empty() ? kEstiloAviso : kEstiloError));
    e.mensaje->setVisible(!sError.empty() || !sAviso.empty());
  }
  txFaltan->setText(Q(textos_app::kFaltanRespuestasCC).arg(respuestas.Pendientes()));
}

bool TdlgRespuestasCC::Guarda() {
  Actualiza();
  const TRespuestasCC respuestas = Recoge();
  for (const auto& [n, e] : F_Entradas) {
    if (ValidaRespuestaCC(n, RespuestaDe(n)).empty()) continue;
    scPreguntas->ensureWidgetVisible(e.marco);
    DameDialogos()->Mensaje(textos_app::kHayErrores + std::to_string(n) + ".");
    return false;
  }

  fs::path ruta = F_Ruta;
  std::error_code ec;
  if (F_bArchivoConErrores && fs::exists(ruta, ec)) {
    // The damaged file is kept aside, not lost.
    const fs::path copia = ruta.string() + textos_app::kSufijoCopiaAnterior;
    if (!DameDialogos()->AdvertenciaSiNo(std::string(textos_app::kReemplazarArchivo) + "\n" +
                                         ruta.string() + "\n\n" + textos_app::kReemplazarPregunta +
                                         copia.filename().string() + "."))
      return false;
    fs::copy_file(ruta, copia, fs::copy_options::overwrite_existing, ec);
    if (ec && ec != std::errc::permission_denied && ec != std::errc::read_only_file_system) {
      DameDialogos()->Mensaje(textos_app::kNoSeGuardaron + copia.string() + " (" + ec.message() +
                              ")");
      return false;
    }
  }
  TGuardadoRespuestasCC guardado = GuardaArchivoRespuestasCC(ruta, respuestas);
  const fs::path usuario = RutaRespuestasCCUsuario();
  if (!guardado.bOk && guardado.bSinPermiso && ruta != usuario) {
    if (!DameDialogos()->AdvertenciaSiNo(std::string(textos_app::kCarpetaSinPermiso) + "\n" +
                                         guardado.sError + "\n\n" + textos_app::kGuardarEnUsuario +
                                         "\n" + usuario.string()))
      return false;
    ruta = usuario;
    guardado = GuardaArchivoRespuestasCC(ruta, respuestas);
  }
  if (!guardado.bOk) {
    DameDialogos()->Mensaje(textos_app::kNoSeGuardaron + guardado.sError);
    return false;
  }
  F_Ruta = ruta;
  F_Guardadas = respuestas;
  F_bArchivoConErrores = false;
  accept();
  return true;
}

void TdlgRespuestasCC::reject() {
  if (!(Recoge() == F_Guardadas) && !DameDialogos()->AdvertenciaSiNo(textos_app::kDescartarCambios))
    return;
  QDialog::reject();
}

bool MuestraRespuestasCC(QWidget* padre) {
  const fs::path ruta = RutaRespuestasCCEnUso();
  const TLecturaRespuestasCC lectura = LeeArchivoRespuestasCC(ruta);
  if (!lectura.Correcta()) {
    std::string sTexto = std::string(textos_app::kArchivoConErrores) + "\n" + ruta.string() + "\n";
    const std::size_t nMax = 10;
    for (std::size_t i = 0; i < lectura.errores.size() && i < nMax; ++i)
      sTexto += "\n" + lectura.errores[i];
    if (lectura.errores.size() > nMax) sTexto += "\n…";
    DameDialogos()->Mensaje(sTexto);
  }
  TdlgRespuestasCC dialogo(lectura, ruta, padre);
  return dialogo.exec() == QDialog::Accepted;
}

}  // namespace kv
