#include "diag/qt/utilerias.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <thread>

#include "diag/programa.h"
#include "diag/texto.h"

namespace kv {
namespace {

QGuiApplication* AppGrafica() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

// Puts the default cursor back when the scope ends, however it ends.
struct TRestauraCursor {
  TRestauraCursor() { PonCursorEspera(); }
  ~TRestauraCursor() { PonCursorNormal(); }
  TRestauraCursor(const TRestauraCursor&) = delete;
  TRestauraCursor& operator=(const TRestauraCursor&) = delete;
};

}  // namespace

void PonCursorEspera() {
  if (AppGrafica() == nullptr) return;
  if (QGuiApplication::overrideCursor() == nullptr)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}

void PonCursorNormal() {
  if (AppGrafica() == nullptr) return;
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

bool CursorEsperaPuesto() {
  if (AppGrafica() == nullptr) return false;
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

std::string TUtilerias::DameDirProg() {
  return DameCarpetaExe() + kSeparador;
}

std::string TUtilerias::DameNomExeProg() {
  return std::filesystem::path(DameRutaEjecutable()).filename().string();
}

std::string TUtilerias::DameRutaCompProg() {
  return DameRutaEjecutable();
}

void TUtilerias::MuestraForm(const std::shared_ptr<IMjVentana>& sFormulario) {
  if (!sFormulario) return;
  TRestauraCursor cursor;
  sFormulario->InicializaVentana();
  sFormulario->MuestraVentana();
}

void TUtilerias::ProcesayEspera(const TProc& Proc) {
  TRestauraCursor cursor;
  Proc();
}

void TUtilerias::ProcesayEspera(const TProc& Proc, QWidget* bnBoton) {
  // The button may be destroyed by the work; QPointer notices.
  struct TRestauraBoton {
    QPointer<QWidget> boton;
    ~TRestauraBoton() {
      PonCursorNormal();
      if (boton) boton->setEnabled(true);
    }
  } restaura{bnBoton};
  PonCursorEspera();
  if (bnBoton != nullptr) bnBoton->setEnabled(false);
  QCoreApplication::processEvents();
  Proc();
}

void TUtilerias::HazPausa(int nSegs) {
  QElapsedTimer reloj;
  reloj.start();
  if (QCoreApplication::instance() == nullptr) {
    if (nSegs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(nSegs));
    return;
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Sleeps until an event comes or the deadline timer wakes the loop, instead of spinning.
  QTimer despertador;
  despertador.setSingleShot(true);
  despertador.setTimerType(Qt::PreciseTimer);
  for (qint64 nResta = nSegs - reloj.elapsed(); nResta > 0; nResta = nSegs - reloj.elapsed()) {
    if (!despertador.isActive()) despertador.start(static_cast<int>(nResta));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

const char* TUtilerias::StringToPAnsiChar(const std::string& sStringVar) {
  F_sAnsi = ACp1252(sStringVar);
  return F_sAnsi.c_str();
}

}  // namespace kv
