#pragma once
// The error trap of the data-access classes: runs an action and turns any failure into
// one "BD-101" report "<failure class> - <message>" for the given class.
#include <functional>
#include <string>

namespace kv {

class ILogErrores;

// True when the action ran; false after a failure was shown through Errores.
bool EjecutaAtrapando(ILogErrores& Errores, const std::string& sNomClase,
                      const std::function<void()>& accion);

}  // namespace kv
