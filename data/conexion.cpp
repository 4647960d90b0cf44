#include "data/conexion.h"

#include "data/texto_bd.h"

namespace kv {

namespace {

// A value of an Access connection string: as is, or between double quotes (each one
// inside doubled) when it holds what would end or split the item.
std::string ValorCadena(const std::string& sValor) {
  if (sValor.find_first_of(";=\"'") == std::string::npos) return sValor;
  return Entrecomillado(sValor, '"');
}

}  // namespace

std::string ArmaStrSQLServer(const std::string& sUsuario, const std::string& sPassw,
                             const std::string& sBDNombre, const std::string& sUbicacion,
                             const std::string& sInstancia, const std::string& sPuerto) {
  std::string s = "Provider=SQLOLEDB.1;Password=" + sPassw + ";Persist Security Info=True;" +
                  "User ID=" + sUsuario + ";Initial Catalog=" + sBDNombre +
                  ";Data Source=" + sUbicacion;
  if (!EnBlanco(sInstancia)) s += "\\" + sInstancia;
  if (!sPuerto.empty()) s += "," + sPuerto;
  return s;
}

std::string ArmaStrAccess(const std::string& sUbicacion, const std::string& sPassw) {
  std::string s = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ValorCadena(sUbicacion) +
                  ";Persist Security Info=True" + ";Mode=Share Deny None";
  if (!EnBlanco(sPassw)) s += ";Jet OLEDB:Database Password=" + ValorCadena(sPassw);
  return s;
}

TConexion::TConexion(TTipoMotorBD TipoMotorBD) : F_TipoMotorBD(TipoMotorBD) {
  if (TipoMotorBD == TTipoMotorBD::tmSQLServer)
    F_Conector = std::make_shared<TConectSQLServer>();
  else
    F_Conector = std::make_shared<TConectAccess>();
}

void TConexion::SetConecta(bool Value) {
  if (Value) {
    F_bConectado = AbreConexion();
  } else {
    CierraConexion();
    F_bConectado = false;
  }
}

TConector* TConexion::DameObjConector() const {
  return dynamic_cast<TConector*>(F_Conector.get());
}

bool TConexion::ValidaDatosConexion() const {
  for (const std::string* s :
       {&F_sUsuario, &F_sPassw, &F_sBDNombre, &F_sUbicacion, &F_sInstancia, &F_sPuerto})
    if (!EnBlanco(*s)) return true;
  return false;
}

bool TConexion::ArmaStrConexion() {
  if (!ValidaDatosConexion()) return false;
  if (F_TipoMotorBD == TTipoMotorBD::tmSQLServer)
    F_sSrtConexion =
        ArmaStrSQLServer(F_sUsuario, F_sPassw, F_sBDNombre, F_sUbicacion, F_sInstancia, F_sPuerto);
  else
    F_sSrtConexion = ArmaStrAccess(F_sUbicacion, F_sPassw);
  return true;
}

bool TConexion::AbreConexion() {
  if (F_sSrtConexion.empty()) return ArmaStrConexion() && AbreConexion();
  F_Conector->SetStrConexion(F_sSrtConexion);
  F_Conector->SetConecta(true);
  return F_Conector->GetConecta();
}

void TConexion::CierraConexion() {
  F_Conector->SetConecta(false);
}

}  // namespace kv
