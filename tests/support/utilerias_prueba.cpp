#include "tests/support/utilerias_prueba.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace kv {

void TUtileriasSinPausa::HazPausa(int nSegs) {
  const size_t nPausa = Pausas.size();
  Pausas.push_back(nSegs);
  if (AlPausar) AlPausar(nPausa);
  QCoreApplication::processEvents();
}

bool EsperaHasta(const std::function<bool()>& bCondicion, int nMsMax) {
  QElapsedTimer reloj;
  reloj.start();
  while (!bCondicion()) {
    if (reloj.elapsed() >= nMsMax) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

}  // namespace kv
