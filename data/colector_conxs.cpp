#include "data/colector_conxs.h"

#include <vector>

#include "data/textos.h"

namespace kv {

std::shared_ptr<IColectorConxs> ColectorConexiones;

TColectorConxs::~TColectorConxs() {
  F_GpoConexiones.clear();
}

bool TColectorConxs::Registra(const std::string& sNomConect, std::shared_ptr<IConexion> Conexion,
                              bool bConectado) {
  // The open attempt comes before the name check, as callers expect.
  Conexion->SetConecta(bConectado);
  if (F_GpoConexiones.count(sNomConect)) return false;
  F_GpoConexiones.emplace(sNomConect, std::move(Conexion));
  return true;
}

bool TColectorConxs::NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                                   TTipoMotorBD TipoMotor, bool bConectado) {
  auto Conexion = std::make_shared<TConexion>(TipoMotor);
  Conexion->SetStrConexion(sStrConexion);
  return Registra(sNomConect, std::move(Conexion), bConectado);
}

bool TColectorConxs::NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                                   const std::string& sPassw, const std::string& sBDNombre,
                                   const std::string& sUbicacion, const std::string& sInstancia,
                                   const std::string& sPuerto, TTipoMotorBD TipoMotor,
                                   bool bConectado) {
  auto Conexion = std::make_shared<TConexion>(TipoMotor);
  Conexion->SetUsuario(sUsuario);
  Conexion->SetPassw(sPassw);
  Conexion->SetBDNombre(sBDNombre);
  Conexion->SetUbicacion(sUbicacion);
  Conexion->SetInstancia(sInstancia);
  Conexion->SetPuerto(sPuerto);
  return Registra(sNomConect, std::move(Conexion), bConectado);
}

IConexion* TColectorConxs::Busca(const std::string& sNomConect) const {
  auto it = F_GpoConexiones.find(sNomConect);
  return it == F_GpoConexiones.end() ? nullptr : it->second.get();
}

bool TColectorConxs::Conecta(const std::string& sNomConect) {
  IConexion* c = Busca(sNomConect);
  if (!c) return false;
  if (!c->GetConecta()) c->SetConecta(true);
  return c->GetConecta();
}

void TColectorConxs::Desconecta(const std::string& sNomConect) {
  if (IConexion* c = Busca(sNomConect)) c->SetConecta(false);
}

bool TColectorConxs::Conectado(const std::string& sNomConect) const {
  IConexion* c = Busca(sNomConect);
  return c && c->GetConecta();
}

void TColectorConxs::EliminaConex(const std::string& sNomConect) {
  auto it = F_GpoConexiones.find(sNomConect);
  if (it == F_GpoConexiones.end()) return;
  it->second->SetConecta(false);
  F_GpoConexiones.erase(it);
}

void TColectorConxs::EliminaConexiones(const std::string& sNomExcepto) {
  std::vector<std::string> nombres;
  for (const auto& [nombre, conexion] : F_GpoConexiones)
    if (nombre != sNomExcepto) nombres.push_back(nombre);
  for (const auto& nombre : nombres) EliminaConex(nombre);
}

bool TColectorConxs::DameConex(const std::string& sNomConect, TTipoMotorBD TipoMotor,
                               db::Connection*& Conector) const {
  IConexion* c = Busca(sNomConect);
  if (!c || c->GetTipoMotorBD() != TipoMotor) return false;
  auto* obj = dynamic_cast<TConectorADO*>(c->DameObjConector());
  if (!obj) return false;
  Conector = obj->DameConector();
  return true;
}

bool TColectorConxs::DameSQLConex(const std::string& sNomConect, db::Connection*& Conector) const {
  return DameConex(sNomConect, TTipoMotorBD::tmSQLServer, Conector);
}

bool TColectorConxs::DameAccessConex(const std::string& sNomConect,
                                     db::Connection*& Conector) const {
  return DameConex(sNomConect, TTipoMotorBD::tmAccess, Conector);
}

void TColectorConxs::CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto,
                                 bool bConectado) {
  if (Busca(textos_datos::kNomBDPrinc)) return;
  NuevaConexion(textos_datos::kNomBDPrinc, "", textos_datos::kPasswBDPrinc, "", sUbicacionBD, "",
                sPuerto, TTipoMotorBD::tmAccess, bConectado);
}

}  // namespace kv
