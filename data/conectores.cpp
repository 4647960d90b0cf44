#include "data/conectores.h"

#include <mutex>

#include "data/atrapa_errores.h"
#include "data/odbc/odbc_provider.h"
#include "diag/errores_bd.h"
#include "jet/jet_provider.h"

namespace kv {

void RegistraProveedores() {
  static std::once_flag una;
  std::call_once(una, [] {
    jet::registerJetProvider();
    odbc::registerOdbcProvider();
  });
}

TConector::TConector() : F_Errores(std::make_shared<TErroresBD>()) {
  RegistraProveedores();
}

TConector::~TConector() = default;

bool TConector::Atrapa(const std::function<void()>& accion) {
  return EjecutaAtrapando(*F_Errores, NombreClase(), accion);
}

TConectSQLServer::TConectSQLServer() = default;

TConectAccess::TConectAccess() {
  F_Conector->setMode(db::ConnectMode::ShareExclusive);
}

}  // namespace kv
