#pragma once
// The SQL Server provider "SQLOLEDB.1": the OLE DB connection string is mapped to a
// FreeTDS connection through unixODBC and statements go to the server as they are.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/db/provider.h"

namespace kv::odbc {

// Registers "SQLOLEDB.1" with the database layer. Safe to call more than once.
void registerOdbcProvider();

// The driver connection of a parsed OLE DB string (keys in lower case).
struct OdbcDestino {
  std::string sCadena;     // "Driver=…;Server=…;Port=…;Database=…;UID=…;PWD=…;…"
  long nTiempoLogin = 15;  // login timeout in seconds ("Connect Timeout")
};

// "Data Source=host\instance,port", "Initial Catalog", "User ID", "Password" and
// "Connect Timeout" become Server/Port/Database/UID/PWD and the login timeout. A port,
// when given, is used directly and the instance is then not looked up.
OdbcDestino MapeaConexion(const std::vector<std::pair<std::string, std::string>>& items,
                          const std::string& sDriver);

// A session on the driver connection; statements go to the server as they are. Throws
// DbError with the driver's diagnostics when the connection is refused.
std::unique_ptr<db::Session> AbreSesionOdbc(const OdbcDestino& destino);

// The FreeTDS driver as the driver manager knows it: "FreeTDS" when /etc/odbcinst.ini
// registers it, otherwise the path of the driver library, "FreeTDS" when none is found.
std::string DriverFreeTDS();

}  // namespace kv::odbc
