// SQL Server through unixODBC and FreeTDS: the mapping of the connection string, a
// refused connection reported once by the SQL Server connector, and the reading of
// results through a driver that runs here (SQLite's ODBC driver).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "data/colector_conxs.h"
#include "data/db/connection.h"
#include "data/db/error.h"
#include "data/odbc/odbc_provider.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

TEST(MapeaConexion, OleDbStringToFreeTds) {
  const struct {
    std::string ole;
    std::string odbc;
    long tiempo;
  } casos[] = {
      {ArmaStrSQLServer("sa", "pw", "Kavori", "srv", "SQLEXPRESS", "1433"),
       "Driver=FreeTDS;Server=srv;Port=1433;Database=Kavori;UID=sa;PWD=pw;ClientCharset=UTF-8", 15},
      {ArmaStrSQLServer("sa", "pw", "Kavori", "srv", "SQLEXPRESS", ""),
       "Driver=FreeTDS;Server=srv\\SQLEXPRESS;Database=Kavori;UID=sa;PWD=pw;ClientCharset=UTF-8",
       15},
      {ArmaStrSQLServer("sa", "pw", "", "10.0.0.5", "", "   "),  // blank port: none
       "Driver=FreeTDS;Server=10.0.0.5;UID=sa;PWD=pw;ClientCharset=UTF-8", 15},
      {"Provider=SQLOLEDB.1;Password='p;w}x';User ID=sa;Initial Catalog=Kav ori;"
       "Data Source=(local),1500",
       "Driver=FreeTDS;Server=localhost;Port=1500;Database=Kav ori;UID=sa;PWD={p;w}}x};"
       "ClientCharset=UTF-8",
       15},
      {"Provider=SQLOLEDB.1;Password=' a';User ID=u;Data Source=.\\INST;Connect Timeout=3",
       "Driver=FreeTDS;Server=localhost\\INST;UID=u;PWD={ a};ClientCharset=UTF-8", 3},
  };
  for (const auto& c : casos) {
    auto d = odbc::MapeaConexion(db::parseConnectionString(c.ole), "FreeTDS");
    EXPECT_EQ(d.sCadena, c.odbc) << c.ole;
    EXPECT_EQ(d.nTiempoLogin, c.tiempo) << c.ole;
  }
  EXPECT_EQ(odbc::MapeaConexion({}, "/usr/lib/odbc/libtdsodbc.so").sCadena,
            "Driver=/usr/lib/odbc/libtdsodbc.so;Server=localhost;UID=;PWD=;ClientCharset=UTF-8");
}

// A port on 127.0.0.1 that nothing listens on.
int PuertoCerrado() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t n = sizeof a;
  EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&a), &n), 0);
  close(s);
  return ntohs(a.sin_port);
}

// The driver found loads: a connection to a closed port is refused by FreeTDS itself, not
// by the driver manager for want of a driver.
TEST(DriverFreeTDS, FoundOnThisMachine) {
  const std::string d = odbc::DriverFreeTDS();
  const auto destino =
      odbc::MapeaConexion(db::parseConnectionString(
                              "Provider=SQLOLEDB.1;User ID=sa;Password=pw;Data Source=127.0.0.1," +
                              std::to_string(PuertoCerrado()) + ";Connect Timeout=2"),
                          d);
  try {
    odbc::AbreSesionOdbc(destino);
    ADD_FAILURE() << "conectó a un puerto cerrado";
  } catch (const db::DbError& e) {
    const std::string texto = e.what();
    EXPECT_NE(texto.find("[FreeTDS]"), std::string::npos) << d << ": " << texto;
    EXPECT_EQ(texto.find("[Driver Manager]"), std::string::npos) << d << ": " << texto;
  }
}

TEST(ConectSQLServer, RefusedConnectionReportedOnce) {
  TDialogosDePrueba dialogos;
  TColectorConxs col;
  const std::string cadena =
      ArmaStrSQLServer("sa", "pw", "Kavori", "127.0.0.1", "", std::to_string(PuertoCerrado())) +
      ";Connect Timeout=2";
  EXPECT_TRUE(col.NuevaConexion("S", cadena, TTipoMotorBD::tmSQLServer, true));
  EXPECT_FALSE(col.Conectado("S"));
  ASSERT_EQ(dialogos->Textos().size(), 1u);
  const std::string texto = dialogos->Textos()[0];
  const std::string inicio =
      "Error #BD-101.TConectSQLServer: Llame a Soporte Técnico. EOdbcError - ";
  ASSERT_EQ(texto.rfind(inicio, 0), 0u) << texto;
  EXPECT_GT(texto.size(), inicio.size() + 10) << texto;  // the driver's own words follow
  EXPECT_NE(texto.find("FreeTDS"), std::string::npos) << texto;
  EXPECT_NE(texto.find("Unable to connect"), std::string::npos) << texto;
  db::Connection* c = nullptr;
  ASSERT_TRUE(col.DameSQLConex("S", c));
  EXPECT_FALSE(c->connected());
}

// The ODBC session over a SQLite file through Debian's SQLite3 ODBC driver: every kind
// of column comes back as the Access side gives it, nulls stay nulls, long texts whole.
TEST(SesionOdbc, ReadsEveryKindOfColumn) {
  std::string sDriver;
  for (const char* dir : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc"})
    if (std::filesystem::exists(std::string(dir) + "/libsqlite3odbc.so"))
      sDriver = std::string(dir) + "/libsqlite3odbc.so";
  ASSERT_FALSE(sDriver.empty()) << "libsqliteodbc is in the package list";
  TCarpetaTemporal carpeta;
  odbc::OdbcDestino destino;
  destino.sCadena = "Driver=" + sDriver + ";Database=" + (carpeta.Ruta() / "prueba.db").string();
  auto sesion = odbc::AbreSesionOdbc(destino);
  sesion->execute(
      "CREATE TABLE t (Id INTEGER, Monto DOUBLE, Nombre VARCHAR(50), Activo BIT, "
      "Fecha TIMESTAMP, Notas TEXT)");
  const std::string largo(10000, 'x');
  sesion->execute("INSERT INTO t VALUES (1, 2.5, 'Ñandú Pérez', 1, '2019-12-31 18:00:00', '" +
                  largo + "ü')");
  sesion->execute("INSERT INTO t VALUES (2, NULL, NULL, 0, NULL, '')");
  // A statement that touches no rows is no failure.
  sesion->execute("DELETE FROM t WHERE Id = 99");

  const db::RowSet rs = sesion->select("SELECT * FROM t ORDER BY Id");
  ASSERT_EQ(rs.columns,
            (std::vector<std::string>{"Id", "Monto", "Nombre", "Activo", "Fecha", "Notas"}));
  ASSERT_EQ(rs.rows.size(), 2u);
  const auto& a = rs.rows[0];
  EXPECT_EQ(a[0], db::Value(1));
  EXPECT_EQ(a[1], db::Value(2.5));
  EXPECT_EQ(a[2], db::Value(std::string("Ñandú Pérez")));
  EXPECT_EQ(a[3], db::Value(-1));  // yes as Access gives it
  EXPECT_EQ(a[4], db::Value(db::DateTime{43830.75}));
  EXPECT_EQ(a[5], db::Value(largo + "ü"));
  const auto& b = rs.rows[1];
  for (int c : {1, 2, 4}) EXPECT_TRUE(b[c].isNull()) << c;
  EXPECT_EQ(b[3], db::Value(0));
  EXPECT_EQ(b[5], db::Value(std::string()));

  // The driver's own words reach the caller; a statement without rows is refused by select.
  try {
    sesion->select("SELECT * FROM nada");
    ADD_FAILURE() << "no error";
  } catch (const db::DbError& e) {
    EXPECT_EQ(e.className(), "EOdbcError");
    EXPECT_NE(std::string(e.what()).find("nada"), std::string::npos) << e.what();
  }
  EXPECT_THROW(sesion->select("DELETE FROM t WHERE Id = 1"), db::DbError);
}

}  // namespace
}  // namespace kv
