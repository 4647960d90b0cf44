#include "tests/support/aplicacion_qt.h"

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace kv {

void AseguraAplicacionQt() {
  if (QCoreApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char nombre[] = "pruebas";
  static char* argv[] = {nombre, nullptr};
  // Kept for the whole process; reachable through the static, so not a leak.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

}  // namespace kv
