#pragma once
// Connectors: each owns one database connection object, opens and closes it, and
// reports a failure to do so as "BD-101" through its own error manager, never to
// the caller.
#include <memory>
#include <string>

#include "data/db/connection.h"

namespace kv {

class ILogErrores;

// Engine of a connection.
enum class TTipoMotorBD { tmSQLServer = 0, tmAccess = 1 };

// Registers the providers the connectors open (Access/Jet and SQL Server); runs once.
void RegistraProveedores();

class IConector {
 public:
  virtual ~IConector() = default;
  virtual void SetStrConexion(const std::string& Value) = 0;
  virtual std::string GetStrConexion() const = 0;
  // true connects, false disconnects.
  virtual void SetConecta(bool Value) = 0;
  virtual bool GetConecta() const = 0;
};

class TConector : public IConector {
 public:
  TConector();
  ~TConector() override;
  TConector(const TConector&) = delete;
  TConector& operator=(const TConector&) = delete;

  // The class name failure reports show.
  virtual std::string NombreClase() const = 0;

 protected:
  // Runs accion; a failure is shown as "BD-101" for this connector and gives false.
  bool Atrapa(const std::function<void()>& accion);

  std::shared_ptr<ILogErrores> F_Errores;
};

// A connector over a connection object of type TObjConexion, which it owns.
template <class TObjConexion>
class TTipoConector : public TConector {
 public:
  TTipoConector() : F_Conector(std::make_unique<TObjConexion>()) {
    F_Conector->setLoginPrompt(false);
  }
  ~TTipoConector() override {
    try {
      F_Conector->setConnected(false);
    } catch (...) {
      // Closing while going away: nothing left to report to.
    }
  }

  // The connection object; it stays owned by the connector, callers borrow it.
  TObjConexion* DameConector() const { return F_Conector.get(); }

  void SetStrConexion(const std::string& Value) override { F_Conector->setConnectionString(Value); }
  std::string GetStrConexion() const override { return F_Conector->connectionString(); }
  bool GetConecta() const override { return F_Conector->connected(); }
  void SetConecta(bool Value) override {
    if (Atrapa([&] { F_Conector->setConnected(Value); })) return;
    try {
      F_Conector->setConnected(false);
    } catch (...) {
      // The failure was shown already; the connection simply stays closed.
    }
  }

 protected:
  std::unique_ptr<TObjConexion> F_Conector;
};

using TConectorADO = TTipoConector<db::Connection>;

class TConectSQLServer final : public TConectorADO {
 public:
  TConectSQLServer();
  std::string NombreClase() const override { return "TConectSQLServer"; }
};

// Sets the share-exclusive mode at creation; the "Mode=" item of the connection string
// is applied after it when the connection opens.
class TConectAccess final : public TConectorADO {
 public:
  TConectAccess();
  std::string NombreClase() const override { return "TConectAccess"; }
};

}  // namespace kv
