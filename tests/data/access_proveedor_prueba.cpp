#include "tests/data/access_proveedor_prueba.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>

#include "data/conectores.h"
#include "data/db/error.h"

namespace kv::prueba {

namespace {

const char* const kClaseOle = "EOleException";

struct CierraBD {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using BD = std::unique_ptr<sqlite3, CierraBD>;

struct FinalizaStmt {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

// Jet's UCASE over ASCII letters, enough for the fixtures.
void UCase(sqlite3_context* ctx, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  std::string s(reinterpret_cast<const char*>(sqlite3_value_text(args[0])));
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

BD Abre(const std::string& archivo, int banderas) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(archivo.c_str(), &db, banderas, nullptr);
  BD bd(db);
  if (rc != SQLITE_OK)
    throw db::DbError(kClaseOle, "No se puede abrir el archivo '" + archivo + "'.");
  sqlite3_create_function(db, "UCASE", 1, SQLITE_UTF8, nullptr, UCase, nullptr, nullptr);
  return bd;
}

class SesionSQLite : public db::Session {
 public:
  explicit SesionSQLite(BD bd) : bd_(std::move(bd)) {}

  db::RowSet select(const std::string& sql) override {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(bd_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
      throw db::DbError(kClaseOle, sqlite3_errmsg(bd_.get()));
    std::unique_ptr<sqlite3_stmt, FinalizaStmt> stmt(raw);
    int n = sqlite3_column_count(raw);
    if (n == 0)
      throw db::DbError(kClaseOle, "La operación no se permite si el objeto está cerrado.");
    db::RowSet rs;
    for (int c = 0; c < n; ++c) rs.columns.emplace_back(sqlite3_column_name(raw, c));
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
      std::vector<db::Value> fila;
      for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(raw, c)) {
          case SQLITE_INTEGER:
            fila.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(raw, c)));
            break;
          case SQLITE_FLOAT:
            fila.emplace_back(sqlite3_column_double(raw, c));
            break;
          case SQLITE_NULL:
            fila.emplace_back();
            break;
          default:
            fila.emplace_back(
                std::string(reinterpret_cast<const char*>(sqlite3_column_text(raw, c))));
        }
      }
      rs.rows.push_back(std::move(fila));
    }
    if (rc != SQLITE_DONE) throw db::DbError(kClaseOle, sqlite3_errmsg(bd_.get()));
    return rs;
  }

  void execute(const std::string& sql) override {
    char* err = nullptr;
    if (sqlite3_exec(bd_.get(), sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      std::string msj = err ? err : "error";
      sqlite3_free(err);
      throw db::DbError(kClaseOle, msj);
    }
  }

 private:
  BD bd_;
};

}  // namespace

TProveedorSustituto::TProveedorSustituto(std::string sNombre, db::ProviderFactory factory)
    : F_sNombre(std::move(sNombre)) {
  RegistraProveedores();
  F_Previo = db::findProvider(F_sNombre);
  db::registerProvider(F_sNombre, std::move(factory));
}

TProveedorSustituto::~TProveedorSustituto() {
  db::registerProvider(F_sNombre, F_Previo);
}

std::string TApertura::Valor(const std::string& sClave) const {
  for (const auto& [k, v] : items)
    if (k == sClave) return v;
  return {};
}

TProveedorSQLite::TProveedorSQLite(const std::string& sNombreProveedor, std::string sPassw)
    : F_sPassw(std::move(sPassw)),
      F_Sustituto(sNombreProveedor, [this](const Items& items, db::ConnectMode modo) {
        F_Aperturas.push_back({items, modo});
        const TApertura& a = F_Aperturas.back();
        std::string archivo = a.Valor("data source");
        std::error_code ec;
        if (!std::filesystem::is_regular_file(archivo, ec))
          throw db::DbError(kClaseOle, "No se encuentra el archivo '" + archivo + "'.");
        if (a.Valor("jet oledb:database password") != F_sPassw)
          throw db::DbError(kClaseOle, "No es una contraseña válida.");
        return std::unique_ptr<db::Session>(
            std::make_unique<SesionSQLite>(Abre(archivo, SQLITE_OPEN_READWRITE)));
      }) {}

void EjecutaSQLite(const std::filesystem::path& archivo, const std::string& sql) {
  BD bd = Abre(archivo.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  SesionSQLite(std::move(bd)).execute(sql);
}

}  // namespace kv::prueba
