#pragma once
// The error manager of every data-access object: the catalogue of database errors.
#include "diag/log_errores.h"

namespace kv {

class TErroresBD : public TManejadorErrores {
 public:
  TErroresBD() { CargaErrores(); }

 protected:
  void CargaErrores() override;
};

}  // namespace kv
