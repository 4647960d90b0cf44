#pragma once
// Test helpers for Qt; the files' helpers come along (tests/support/archivos.h).
#include "tests/support/archivos.h"

namespace kv {

// Creates the process's QApplication once (offscreen unless QT_QPA_PLATFORM says otherwise).
void AseguraAplicacionQt();

}  // namespace kv
