#include "data/odbc/odbc_provider.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <mutex>

#include "data/db/error.h"
#include "data/db/provider.h"
#include "data/textos.h"
#include "diag/texto.h"
#include "jet/mdb/jet4_format.h"

namespace kv::odbc {

namespace {

// An ODBC attribute value, braced when it holds characters the driver would read as
// syntax; "}" inside braces is doubled.
std::string ValorOdbc(const std::string& v) {
  bool llaves = v.find_first_of(";{}=") != std::string::npos ||
                (!v.empty() && (std::isspace(static_cast<unsigned char>(v.front())) ||
                                std::isspace(static_cast<unsigned char>(v.back()))));
  if (!llaves) return v;
  std::string out = "{";
  for (char c : v) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

// One ODBC handle, freed (and a connection disconnected) when it goes.
template <SQLSMALLINT Tipo>
class Handle {
 public:
  Handle() = default;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Libera(); }
  SQLHANDLE get() const { return h_; }
  SQLHANDLE* out() {
    Libera();
    return &h_;
  }
  void MarcaConectado() { conectado_ = true; }

 private:
  void Libera() {
    if (h_ == SQL_NULL_HANDLE) return;
    if constexpr (Tipo == SQL_HANDLE_DBC) {
      if (conectado_) SQLDisconnect(h_);
    }
    SQLFreeHandle(Tipo, h_);
    h_ = SQL_NULL_HANDLE;
    conectado_ = false;
  }
  SQLHANDLE h_ = SQL_NULL_HANDLE;
  bool conectado_ = false;
};

bool Exito(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// The driver's diagnostic records of a handle, joined by blanks.
std::string Diagnostico(SQLSMALLINT tipo, SQLHANDLE h) {
  std::string out;
  if (h == SQL_NULL_HANDLE) return textos_datos::kOdbcSinDiagnostico;
  for (SQLSMALLINT i = 1;; ++i) {
    SQLCHAR estado[6] = {0};
    SQLINTEGER nativo = 0;
    SQLCHAR msj[SQL_MAX_MESSAGE_LENGTH + 1] = {0};
    SQLSMALLINT largo = 0;
    SQLRETURN rc = SQLGetDiagRec(tipo, h, i, estado, &nativo, msj, sizeof msj - 1, &largo);
    if (!Exito(rc)) break;
    std::string texto(reinterpret_cast<const char*>(msj));
    // Drivers repeat a record once per attempt; each text is said once.
    if (texto.empty() || out.find(texto) != std::string::npos) continue;
    if (!out.empty()) out += ' ';
    out += texto;
  }
  return out.empty() ? textos_datos::kOdbcSinDiagnostico : out;
}

[[noreturn]] void Falla(SQLSMALLINT tipo, SQLHANDLE h) {
  throw db::DbError(textos_datos::kClaseErrorOdbc, Diagnostico(tipo, h));
}

void Verifica(SQLRETURN rc, SQLSMALLINT tipo, SQLHANDLE h) {
  if (!Exito(rc)) Falla(tipo, h);
}

// Jet day number of a date and time (days since 30 Dec 1899, the fraction is the time).
double DiaJet(const SQL_TIMESTAMP_STRUCT& t) {
  return jet4::dateTime(jet4::dayNumber(t.year, t.month, t.day),
                        t.hour * 3600.0 + t.minute * 60.0 + t.second + t.fraction / 1e9);
}

class OdbcSession : public db::Session {
 public:
  explicit OdbcSession(const OdbcDestino& destino) {
    if (!Exito(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, env_.out())))
      throw db::DbError(textos_datos::kClaseErrorOdbc, textos_datos::kOdbcFallaAmbiente);
    Verifica(SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION,
                           reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
             SQL_HANDLE_ENV, env_.get());
    Verifica(SQLAllocHandle(SQL_HANDLE_DBC, env_.get(), dbc_.out()), SQL_HANDLE_ENV, env_.get());
    Verifica(SQLSetConnectAttr(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                               reinterpret_cast<SQLPOINTER>(destino.nTiempoLogin), 0),
             SQL_HANDLE_DBC, dbc_.get());
    std::string cadena = destino.sCadena;
    SQLCHAR salida[1024];
    SQLSMALLINT largo = 0;
    SQLRETURN rc = SQLDriverConnect(dbc_.get(), nullptr, reinterpret_cast<SQLCHAR*>(cadena.data()),
                                    SQL_NTS, salida, sizeof salida, &largo, SQL_DRIVER_NOPROMPT);
    Verifica(rc, SQL_HANDLE_DBC, dbc_.get());
    dbc_.MarcaConectado();
  }

  db::RowSet select(const std::string& sql) override {
    Handle<SQL_HANDLE_STMT> stmt;
    Ejecuta(stmt, sql);
    SQLSMALLINT ncols = 0;
    Verifica(SQLNumResultCols(stmt.get(), &ncols), SQL_HANDLE_STMT, stmt.get());
    if (ncols <= 0)
      throw db::DbError(textos_datos::kClaseErrorOdbc, textos_datos::kOdbcSinRegistros);
    db::RowSet rs;
    std::vector<Columna> cols(static_cast<std::size_t>(ncols));
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(ncols); ++c) {
      SQLCHAR nombre[256] = {0};
      SQLSMALLINT largo = 0;
      Columna& col = cols[c - 1];
      Verifica(SQLDescribeCol(stmt.get(), c, nombre, sizeof nombre, &largo, &col.tipo, &col.tamano,
                              &col.decimales, &col.nulos),
               SQL_HANDLE_STMT, stmt.get());
      rs.columns.emplace_back(reinterpret_cast<const char*>(nombre));
    }
    for (;;) {
      SQLRETURN rc = SQLFetch(stmt.get());
      if (rc == SQL_NO_DATA) break;
      Verifica(rc, SQL_HANDLE_STMT, stmt.get());
      std::vector<db::Value> fila;
      fila.reserve(cols.size());
      for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(ncols); ++c)
        fila.push_back(LeeValor(stmt, c, cols[c - 1]));
      rs.rows.push_back(std::move(fila));
    }
    return rs;
  }

  void execute(const std::string& sql) override {
    Handle<SQL_HANDLE_STMT> stmt;
    Ejecuta(stmt, sql);
  }

 private:
  struct Columna {
    SQLSMALLINT tipo = 0;
    SQLULEN tamano = 0;
    SQLSMALLINT decimales = 0;
    SQLSMALLINT nulos = 0;
  };

  void Ejecuta(Handle<SQL_HANDLE_STMT>& stmt, const std::string& sql) {
    Verifica(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), stmt.out()), SQL_HANDLE_DBC, dbc_.get());
    std::string texto = sql;
    SQLRETURN rc = SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(texto.data()),
                                 static_cast<SQLINTEGER>(texto.size()));
    // A statement that touched no rows answers SQL_NO_DATA; that is no failure.
    if (rc != SQL_NO_DATA) Verifica(rc, SQL_HANDLE_STMT, stmt.get());
  }

  static db::Value LeeValor(Handle<SQL_HANDLE_STMT>& stmt, SQLUSMALLINT c, const Columna& col) {
    SQLLEN ind = 0;
    switch (col.tipo) {
      case SQL_BIT:
      case SQL_TINYINT:
      case SQL_SMALLINT:
      case SQL_INTEGER:
      case SQL_BIGINT: {
        SQLBIGINT v = 0;
        Verifica(SQLGetData(stmt.get(), c, SQL_C_SBIGINT, &v, sizeof v, &ind), SQL_HANDLE_STMT,
                 stmt.get());
        if (ind == SQL_NULL_DATA) return {};
        // Yes/no values travel as -1/0, as from the Access side.
        if (col.tipo == SQL_BIT) return std::int64_t{v != 0 ? -1 : 0};
        return std::int64_t{v};
      }
      case SQL_DECIMAL:
      case SQL_NUMERIC:
        if (col.decimales == 0 && col.tamano <= 18) {
          SQLBIGINT v = 0;
          Verifica(SQLGetData(stmt.get(), c, SQL_C_SBIGINT, &v, sizeof v, &ind), SQL_HANDLE_STMT,
                   stmt.get());
          if (ind == SQL_NULL_DATA) return {};
          return std::int64_t{v};
        }
        [[fallthrough]];
      case SQL_REAL:
      case SQL_FLOAT:
      case SQL_DOUBLE: {
        double v = 0;
        Verifica(SQLGetData(stmt.get(), c, SQL_C_DOUBLE, &v, sizeof v, &ind), SQL_HANDLE_STMT,
                 stmt.get());
        if (ind == SQL_NULL_DATA) return {};
        return v;
      }
      case SQL_TYPE_DATE:
      case SQL_TYPE_TIMESTAMP:
      case SQL_DATETIME: {
        SQL_TIMESTAMP_STRUCT t{};
        Verifica(SQLGetData(stmt.get(), c, SQL_C_TYPE_TIMESTAMP, &t, sizeof t, &ind),
                 SQL_HANDLE_STMT, stmt.get());
        if (ind == SQL_NULL_DATA) return {};
        return db::DateTime{DiaJet(t)};
      }
      default:
        return LeeTexto(stmt, c);
    }
  }

  // Any other column as text (the driver delivers UTF-8), read in pieces.
  static db::Value LeeTexto(Handle<SQL_HANDLE_STMT>& stmt, SQLUSMALLINT c) {
    std::string texto;
    char buf[4096];
    for (;;) {
      SQLLEN ind = 0;
      SQLRETURN rc = SQLGetData(stmt.get(), c, SQL_C_CHAR, buf, sizeof buf, &ind);
      if (rc == SQL_NO_DATA) break;
      Verifica(rc, SQL_HANDLE_STMT, stmt.get());
      if (ind == SQL_NULL_DATA) return {};
      std::size_t n = (ind == SQL_NO_TOTAL || ind >= static_cast<SQLLEN>(sizeof buf))
                          ? sizeof buf - 1
                          : static_cast<std::size_t>(ind);
      texto.append(buf, n);
      if (rc == SQL_SUCCESS) break;
    }
    return texto;
  }

  Handle<SQL_HANDLE_ENV> env_;
  Handle<SQL_HANDLE_DBC> dbc_;
};

// Splits "host\instance,port" into its three parts, each trimmed.
void PartesServidor(const std::string& fuente, std::string& host, std::string& instancia,
                    std::string& puerto) {
  std::string resto = fuente;
  auto coma = resto.rfind(',');
  if (coma != std::string::npos) {
    puerto = Recorta(resto.substr(coma + 1));
    resto.erase(coma);
  }
  auto diag = resto.find('\\');
  if (diag != std::string::npos) {
    instancia = Recorta(resto.substr(diag + 1));
    resto.erase(diag);
  }
  host = Recorta(resto);
  // The local machine under the names SQL Server's own tools accept.
  if (host.empty() || host == "." || host == "(local)") host = "localhost";
}

}  // namespace

OdbcDestino MapeaConexion(const std::vector<std::pair<std::string, std::string>>& items,
                          const std::string& sDriver) {
  std::string fuente, catalogo, usuario, passw, tiempo;
  for (const auto& [k, v] : items) {
    if (k == "data source" || k == "server" || k == "address")
      fuente = v;
    else if (k == "initial catalog" || k == "database")
      catalogo = v;
    else if (k == "user id" || k == "uid")
      usuario = v;
    else if (k == "password" || k == "pwd")
      passw = v;
    else if (k == "connect timeout" || k == "timeout")
      tiempo = v;
  }
  std::string host, instancia, puerto;
  PartesServidor(fuente, host, instancia, puerto);

  OdbcDestino d;
  std::string& s = d.sCadena;
  s = "Driver=" + ValorOdbc(sDriver);
  if (!puerto.empty()) {
    s += ";Server=" + ValorOdbc(host) + ";Port=" + ValorOdbc(puerto);
  } else if (!instancia.empty()) {
    // Without a port the driver asks the server's browser service for the instance.
    s += ";Server=" + ValorOdbc(host + "\\" + instancia);
  } else {
    s += ";Server=" + ValorOdbc(host);
  }
  if (!catalogo.empty()) s += ";Database=" + ValorOdbc(catalogo);
  s += ";UID=" + ValorOdbc(usuario) + ";PWD=" + ValorOdbc(passw);
  s += ";ClientCharset=UTF-8";
  std::string t = Recorta(tiempo);
  if (!t.empty() &&
      std::all_of(t.begin(), t.end(), [](unsigned char ch) { return std::isdigit(ch); }) &&
      t.size() < 6)
    d.nTiempoLogin = std::stol(t);
  return d;
}

std::unique_ptr<db::Session> AbreSesionOdbc(const OdbcDestino& destino) {
  return std::make_unique<OdbcSession>(destino);
}

std::string DriverFreeTDS() {
  // Registered under its usual name?
  Handle<SQL_HANDLE_ENV> env;
  bool registrado = false;
  if (Exito(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, env.out())) &&
      Exito(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION,
                          reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
    SQLCHAR desc[256], attrs[1024];
    SQLSMALLINT ld = 0, la = 0;
    SQLUSMALLINT dir = SQL_FETCH_FIRST;
    while (Exito(SQLDrivers(env.get(), dir, desc, sizeof desc, &ld, attrs, sizeof attrs, &la))) {
      dir = SQL_FETCH_NEXT;
      if (std::string(reinterpret_cast<const char*>(desc)) == "FreeTDS") registrado = true;
    }
  }
  if (registrado) return "FreeTDS";
  // Otherwise the driver library itself, where Debian and others install it.
  std::error_code ec;
  for (const char* dir : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc",
                          "/usr/lib/odbc", "/usr/lib64", "/usr/local/lib"}) {
    std::filesystem::path p = std::filesystem::path(dir) / "libtdsodbc.so";
    if (std::filesystem::exists(p, ec)) return p.string();
  }
  return "FreeTDS";
}

void registerOdbcProvider() {
  static std::once_flag una;
  std::call_once(una, [] {
    db::registerProvider("SQLOLEDB.1",
                         [](const std::vector<std::pair<std::string, std::string>>& items,
                            db::ConnectMode) -> std::unique_ptr<db::Session> {
                           static const std::string driver = DriverFreeTDS();
                           return AbreSesionOdbc(MapeaConexion(items, driver));
                         });
  });
}

}  // namespace kv::odbc
