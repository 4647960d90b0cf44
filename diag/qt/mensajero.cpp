#include "diag/qt/mensajero.h"

#include <QCoreApplication>
#include <QPalette>

namespace kv {
namespace {

std::unique_ptr<QTimer> CreaCronometro(int nMs) {
  auto cronometro = std::make_unique<QTimer>();
  cronometro->setSingleShot(true);
  cronometro->setInterval(nMs);
  // A coarse timer may fire up to 5 % early; the intervals are minimums.
  cronometro->setTimerType(Qt::PreciseTimer);
  return cronometro;
}

// Enabling a running timer leaves it running: it is not restarted.
void Habilita(QTimer& cronometro) {
  if (!cronometro.isActive()) cronometro.start();
}

}  // namespace

QColor ColorAlerta() {
  return QColor(255, 0, 0);
}
QColor ColorGris() {
  return QColor(128, 128, 128);
}

QColor DameColorFuente(const QLabel* txLabel) {
  return txLabel->palette().color(QPalette::WindowText);
}

void PonColorFuente(QLabel* txLabel, const QColor& cColor) {
  QPalette paleta = txLabel->palette();
  paleta.setColor(QPalette::WindowText, cColor);
  txLabel->setPalette(paleta);
}

TMensajero::TMensajero(std::shared_ptr<IUtilerias> aUtilerias)
    : F_Cronometro(CreaCronometro(kMsIntervaloLimpieza)),
      F_CronAdvert(CreaCronometro(kMsIntervaloAlerta)),
      F_Utilerias(aUtilerias ? std::move(aUtilerias) : std::make_shared<TUtilerias>()) {
  QObject::connect(F_CronAdvert.get(), &QTimer::timeout, [this] { Parpadea(); });
  QObject::connect(F_Cronometro.get(), &QTimer::timeout, [this] { Limpia(); });
}

TMensajero::~TMensajero() {
  F_Cronometro->stop();
  F_CronAdvert->stop();
}

void TMensajero::ColoreaEstado() {
  if (F_txLabel) PonColorFuente(F_txLabel, F_bDefCAlerta ? ColorAlerta() : ColorGris());
}

void TMensajero::SetTxLabel(QLabel* txLabel) {
  F_txLabel = txLabel;
  if (!F_txLabel) return;
  F_txLabel->clear();
  ColoreaEstado();
  F_txLabel->setVisible(true);
}

void TMensajero::SetDefColorAlerta(bool bValor) {
  F_bDefCAlerta = bValor;
  ColoreaEstado();
}

void TMensajero::MsjEnTx(const std::string& sTexto) {
  if (F_txLabel) F_txLabel->setText(QString::fromStdString(sTexto));
  // Lets the label repaint although the caller keeps the thread busy.
  QCoreApplication::processEvents();
}

void TMensajero::MsjTxTemp(const std::string& sTexto) {
  MsjEnTx(sTexto);
  Habilita(*F_Cronometro);
}

void TMensajero::MsjTxEspera(const std::string& sTexto, bool bTLargo) {
  MsjEnTx(sTexto);
  F_Utilerias->HazPausa(bTLargo ? kMsPausaLarga : kMsPausaCorta);
}

void TMensajero::Limpia() {
  F_Cronometro->stop();
  if (F_txLabel) F_txLabel->clear();
}

void TMensajero::CampoObligatorio(QLabel* txLabel, QWidget* edEdit) {
  F_txAdv = txLabel;
  if (edEdit != nullptr && edEdit->isEnabled()) edEdit->setFocus();
  Habilita(*F_CronAdvert);
}

void TMensajero::Parpadea() {
  F_CronAdvert->stop();
  // A run that a newer alert interrupted gets its own colour back here.
  if (F_txAdvAnt) PonColorFuente(F_txAdvAnt, F_cColorAnt);
  F_txAdvAnt = F_txAdv;
  if (F_txAdv) F_cColorAnt = DameColorFuente(F_txAdv);
  // The label and its colour are read anew at every step: a nested run may change them.
  for (int i = 1; i <= kPasosParpadeo; ++i) {
    if (F_txAdv) PonColorFuente(F_txAdv, i % 2 == 0 ? ColorAlerta() : F_cColorAnt);
    F_Utilerias->HazPausa(kMsPasoParpadeo);
  }
}

}  // namespace kv
