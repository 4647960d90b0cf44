#pragma once
// Common base of the diagnostics services: holds an optional error manager and forwards
// the two error operations to it (no-ops without one).
#include <memory>
#include <string>

#include "diag/log_errores.h"

namespace kv {

class IInterfacedPadre : public ILogErrores {};

class TInterfacedPadre : public IInterfacedPadre {
 public:
  explicit TInterfacedPadre(std::shared_ptr<ILogErrores> LogErrores = nullptr)
      : F_Errores(std::move(LogErrores)) {}

  void MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                    const std::string& sMsjAdicional) override;
  std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                           bool bIncluyeClave) override;

 private:
  std::shared_ptr<ILogErrores> F_Errores;
};

}  // namespace kv
