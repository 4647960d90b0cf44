#pragma once
// Opening a file with the desktop's associated program, for EjecutaArchivo (diag/programa.h).
#include <string>

namespace kv {

// Opens sArchivo with QDesktopServices; needs a QGuiApplication (throws std::logic_error
// without one). True when the desktop reports success.
bool AbreConEscritorio(const std::string& sArchivo);

}  // namespace kv
