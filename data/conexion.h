#pragma once
// One named connection's settings: an engine, six texts or a ready connection string.
// Composes the connection string for its engine and opens or closes through its
// connector.
#include <memory>
#include <string>

#include "data/conectores.h"

namespace kv {

class IConexion : public IConector {
 public:
  virtual TTipoMotorBD GetTipoMotorBD() const = 0;
  // The connector object behind the connection.
  virtual TConector* DameObjConector() const = 0;
  virtual void SetUsuario(const std::string& Value) = 0;
  virtual std::string GetUsuario() const = 0;
  virtual void SetPassw(const std::string& Value) = 0;
  virtual std::string GetPassw() const = 0;
  virtual void SetBDNombre(const std::string& Value) = 0;
  virtual std::string GetBDNombre() const = 0;
  virtual void SetUbicacion(const std::string& Value) = 0;
  virtual std::string GetUbicacion() const = 0;
  virtual void SetInstancia(const std::string& Value) = 0;
  virtual std::string GetInstancia() const = 0;
  virtual void SetPuerto(const std::string& Value) = 0;
  virtual std::string GetPuerto() const = 0;
};

// The SQL Server connection string of the six settings.
std::string ArmaStrSQLServer(const std::string& sUsuario, const std::string& sPassw,
                             const std::string& sBDNombre, const std::string& sUbicacion,
                             const std::string& sInstancia, const std::string& sPuerto);
// The Access/Jet connection string of a database file and its password; a value that
// holds ";", "=" or a quote goes between double quotes.
std::string ArmaStrAccess(const std::string& sUbicacion, const std::string& sPassw);

class TConexion final : public IConexion {
 public:
  explicit TConexion(TTipoMotorBD TipoMotorBD);

  // The connection string is given here or composed on the first open while empty.
  void SetStrConexion(const std::string& Value) override { F_sSrtConexion = Value; }
  std::string GetStrConexion() const override { return F_sSrtConexion; }
  void SetConecta(bool Value) override;
  // The remembered state of the last connect or disconnect.
  bool GetConecta() const override { return F_bConectado; }

  TTipoMotorBD GetTipoMotorBD() const override { return F_TipoMotorBD; }
  TConector* DameObjConector() const override;
  void SetUsuario(const std::string& Value) override { F_sUsuario = Value; }
  std::string GetUsuario() const override { return F_sUsuario; }
  void SetPassw(const std::string& Value) override { F_sPassw = Value; }
  std::string GetPassw() const override { return F_sPassw; }
  void SetBDNombre(const std::string& Value) override { F_sBDNombre = Value; }
  std::string GetBDNombre() const override { return F_sBDNombre; }
  void SetUbicacion(const std::string& Value) override { F_sUbicacion = Value; }
  std::string GetUbicacion() const override { return F_sUbicacion; }
  void SetInstancia(const std::string& Value) override { F_sInstancia = Value; }
  std::string GetInstancia() const override { return F_sInstancia; }
  void SetPuerto(const std::string& Value) override { F_sPuerto = Value; }
  std::string GetPuerto() const override { return F_sPuerto; }

 private:
  bool ValidaDatosConexion() const;
  bool ArmaStrConexion();
  bool AbreConexion();
  void CierraConexion();

  TTipoMotorBD F_TipoMotorBD;
  std::string F_sSrtConexion;
  std::string F_sUsuario;
  std::string F_sPassw;
  std::string F_sBDNombre;
  std::string F_sUbicacion;
  std::string F_sInstancia;
  std::string F_sPuerto;
  bool F_bConectado = false;
  std::shared_ptr<IConector> F_Conector;
};

}  // namespace kv
