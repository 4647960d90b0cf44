#pragma once
// Stand-in providers for the data-access tests: a SQLite file playing a company
// database (with its password check), and a swap of a provider name for one test.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "data/db/provider.h"

namespace kv::prueba {

using Items = std::vector<std::pair<std::string, std::string>>;

// Puts factory in the place of a provider name (after the program's own providers are
// registered) and restores the previous one when it goes.
class TProveedorSustituto {
 public:
  TProveedorSustituto(std::string sNombre, db::ProviderFactory factory);
  ~TProveedorSustituto();
  TProveedorSustituto(const TProveedorSustituto&) = delete;
  TProveedorSustituto& operator=(const TProveedorSustituto&) = delete;

 private:
  std::string F_sNombre;
  db::ProviderFactory F_Previo;
};

// What a stand-in was asked to open.
struct TApertura {
  Items items;
  db::ConnectMode modo;
  std::string Valor(const std::string& sClave) const;
};

// A provider that opens the SQLite file named by "Data Source" when the "Jet OLEDB:Database
// Password" item equals sPassw; failures are DbError("EOleException", …) as ADO reports them.
// Every open is recorded.
class TProveedorSQLite {
 public:
  TProveedorSQLite(const std::string& sNombreProveedor, std::string sPassw = "quokka");

  const std::vector<TApertura>& Aperturas() const { return F_Aperturas; }

 private:
  std::string F_sPassw;
  std::vector<TApertura> F_Aperturas;
  TProveedorSustituto F_Sustituto;
};

// Runs SQL statements on a SQLite file (creating it), to build fixtures.
void EjecutaSQLite(const std::filesystem::path& archivo, const std::string& sql);

// The company-database tables the login, users and company checks read, empty.
inline constexpr const char* kEsquemaKavori =
    "CREATE TABLE tEmps (ClaveEmp TEXT, Password TEXT, Nivel INTEGER);"
    "CREATE TABLE tCompUsr (ClaveEmp TEXT);"
    "CREATE TABLE tEmpresa (Empresa TEXT, RFC TEXT, RegistroCC TEXT, NumEmp INTEGER,"
    " NomComercial TEXT);";

}  // namespace kv::prueba
