#pragma once
// The connection registry: the program's database connections under exact names. It
// creates, opens, closes and removes them and lends out their connection objects.
#include <map>
#include <memory>
#include <string>

#include "data/conexion.h"

namespace kv {

class IColectorConxs {
 public:
  virtual ~IColectorConxs() = default;
  // Registers a connection given by its connection string; false when the name is taken.
  virtual bool NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                             TTipoMotorBD TipoMotor, bool bConectado) = 0;
  // Registers a connection given by its settings; false when the name is taken.
  virtual bool NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                             const std::string& sPassw, const std::string& sBDNombre,
                             const std::string& sUbicacion, const std::string& sInstancia,
                             const std::string& sPuerto, TTipoMotorBD TipoMotor,
                             bool bConectado) = 0;
  virtual bool Conecta(const std::string& sNomConect) = 0;
  virtual void Desconecta(const std::string& sNomConect) = 0;
  virtual bool Conectado(const std::string& sNomConect) const = 0;
  virtual void EliminaConex(const std::string& sNomConect) = 0;
  virtual void EliminaConexiones(const std::string& sNomExcepto) = 0;
  // The connection object of a SQL Server (resp. Access) connection, borrowed: valid
  // while the name stays registered. False, Conector untouched, otherwise.
  virtual bool DameSQLConex(const std::string& sNomConect, db::Connection*& Conector) const = 0;
  virtual bool DameAccessConex(const std::string& sNomConect, db::Connection*& Conector) const = 0;
  // Registers the company database as "BDPrincipal" unless that name is registered.
  virtual void CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto,
                           bool bConectado) = 0;
};

class TColectorConxs final : public IColectorConxs {
 public:
  TColectorConxs() = default;
  ~TColectorConxs() override;

  bool NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                     TTipoMotorBD TipoMotor, bool bConectado) override;
  bool NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                     const std::string& sPassw, const std::string& sBDNombre,
                     const std::string& sUbicacion, const std::string& sInstancia,
                     const std::string& sPuerto, TTipoMotorBD TipoMotor, bool bConectado) override;
  bool Conecta(const std::string& sNomConect) override;
  void Desconecta(const std::string& sNomConect) override;
  bool Conectado(const std::string& sNomConect) const override;
  void EliminaConex(const std::string& sNomConect) override;
  void EliminaConexiones(const std::string& sNomExcepto) override;
  bool DameSQLConex(const std::string& sNomConect, db::Connection*& Conector) const override;
  bool DameAccessConex(const std::string& sNomConect, db::Connection*& Conector) const override;
  void CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto,
                   bool bConectado) override;

 private:
  bool Registra(const std::string& sNomConect, std::shared_ptr<IConexion> Conexion,
                bool bConectado);
  IConexion* Busca(const std::string& sNomConect) const;
  bool DameConex(const std::string& sNomConect, TTipoMotorBD TipoMotor,
                 db::Connection*& Conector) const;

  std::map<std::string, std::shared_ptr<IConexion>> F_GpoConexiones;
};

// The program's one registry; start-up sets it, and the program clears it before it ends.
extern std::shared_ptr<IColectorConxs> ColectorConexiones;

}  // namespace kv
