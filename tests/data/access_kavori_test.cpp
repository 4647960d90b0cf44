// The company database: login rules, connected users, the company record, and the
// object's own registered connection.
#include <gtest/gtest.h>

#include "data/colector_conxs.h"
#include "data/kavori_bd.h"
#include "tests/data/access_casos_login.h"
#include "tests/data/access_proveedor_prueba.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

class KavoriBD : public ::testing::Test {
 protected:
  void SetUp() override {
    bd = carpeta.Escribe("DataBase/Kavori.db");
    prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);
    conexion.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + bd.string() +
                                 ";Jet OLEDB:Database Password=quokka");
    conexion.setConnected(true);
    anterior = ColectorConexiones;
    ColectorConexiones = std::make_shared<TColectorConxs>();
  }
  void TearDown() override { ColectorConexiones = anterior; }
  void Sql(const std::string& s) { prueba::EjecutaSQLite(bd, s); }

  TDialogosDePrueba dialogos;
  TCarpetaTemporal carpeta;
  prueba::TProveedorSQLite jet{"Microsoft.Jet.OLEDB.4.0"};
  std::filesystem::path bd;
  db::Connection conexion;
  std::shared_ptr<IColectorConxs> anterior;
};

TEST_F(KavoriBD, LoginRules) {
  for (const auto& e : prueba::kEmpleados) {
    std::string clave = e.clave, passw = e.passw.value_or("");
    for (auto* t : {&clave, &passw})
      for (std::size_t k = t->find('\''); k != std::string::npos; k = t->find('\'', k + 2))
        t->insert(k, "'");
    Sql("INSERT INTO tEmps VALUES ('" + clave + "', " + (e.passw ? "'" + passw + "'" : "NULL") +
        ", " + std::to_string(e.nivel) + ");");
  }
  TKavoriBD k(&conexion);
  for (const auto& c : prueba::kCasosLogin)
    EXPECT_EQ(k.ValidaAcceso(c.clave, c.passw, c.soloAdmins), c.acceso)
        << c.clave << " / " << c.passw << " / " << c.soloAdmins;
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(KavoriBD, ConnectedUsers) {
  TKavoriBD k(&conexion);
  EXPECT_FALSE(k.UsuariosConectados());
  Sql("INSERT INTO tCompUsr VALUES ('CAJERO');");
  EXPECT_TRUE(k.UsuariosConectados());
  Sql("INSERT INTO tCompUsr VALUES ('ADMIN');");
  EXPECT_TRUE(k.UsuariosConectados());
  EXPECT_TRUE(dialogos->Dialogos().empty());
  // The count cannot be had: counted as connected, after one report.
  Sql("DROP TABLE tCompUsr;");
  EXPECT_TRUE(k.UsuariosConectados());
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{"Error #BD-101.TKavoriBD: Llame a Soporte Técnico. "
                                     "EOleException - no such table: tCompUsr"});
}

TEST_F(KavoriBD, CompanyRecord) {
  TKavoriBD k(&conexion);
  EXPECT_EQ(k.GetEmpresa(), TEmpresa{});  // no row
  Sql("INSERT INTO tEmpresa VALUES ('Cambios del Norte, S.A. de C.V.', NULL, '12-345', 7,"
      " 'Cambios Ñandú');"
      "INSERT INTO tEmpresa VALUES ('Segunda', 'SEG010101AAA', '9', 8, 'Seg');");
  TEmpresa esperada{"Cambios del Norte, S.A. de C.V.", "", "12-345", "7", "Cambios Ñandú"};
  EXPECT_EQ(k.GetEmpresa(), esperada);
  EXPECT_TRUE(dialogos->Dialogos().empty());

  Sql("DROP TABLE tEmpresa;");
  EXPECT_EQ(k.GetEmpresa(), TEmpresa{});
  EXPECT_EQ(dialogos->Dialogos().size(), 1u);
}

TEST_F(KavoriBD, AllNullRecordIsEmpty) {
  Sql("INSERT INTO tEmpresa VALUES (NULL, NULL, NULL, NULL, NULL);");
  TKavoriBD k(&conexion);
  EXPECT_EQ(k.GetEmpresa(), TEmpresa{});
}

TEST_F(KavoriBD, FailingLoginStatementRefusesAfterOneReport) {
  Sql("DROP TABLE tEmps;");
  TKavoriBD k(&conexion);
  EXPECT_FALSE(k.ValidaAcceso("ADMIN", "SECRETO", true));
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{"Error #BD-101.TKavoriBD: Llame a Soporte Técnico. "
                                     "EOleException - no such table: tEmps"});
}

TEST_F(KavoriBD, BorrowedConnectionStaysWithItsOwner) {
  ColectorConexiones->CreaBDPrinc(bd.string(), "", true);
  // Somebody else's registration under "Kavori" is not ours to remove either.
  ASSERT_TRUE(ColectorConexiones->NuevaConexion("Kavori", "", "quokka", "", bd.string(), "", "",
                                                TTipoMotorBD::tmAccess, true));
  db::Connection* principal = nullptr;
  ASSERT_TRUE(ColectorConexiones->DameAccessConex("BDPrincipal", principal));
  {
    TKavoriBD k(principal);
    EXPECT_TRUE(k.GetConectado());
    EXPECT_FALSE(k.UsuariosConectados());
  }
  EXPECT_TRUE(ColectorConexiones->Conectado("BDPrincipal"));
  EXPECT_TRUE(ColectorConexiones->Conectado("Kavori"));
  EXPECT_TRUE(principal->connected());

  db::Connection cerrada;
  EXPECT_FALSE(TKavoriBD(&cerrada).GetConectado());
}

TEST_F(KavoriBD, OwnConnectionRegisteredAndRemoved) {
  const struct {
    std::string sufijo;
    std::string nombre;
  } casos[] = {{"", "Kavori"}, {"2", "Kavori2"}};
  for (const auto& c : casos) {
    {
      auto k = c.sufijo.empty() ? std::make_shared<TKavoriBD>(bd.string())
                                : std::make_shared<TKavoriBD>(bd.string(), c.sufijo);
      EXPECT_TRUE(k->GetConectado());
      EXPECT_TRUE(ColectorConexiones->Conectado(c.nombre));
      EXPECT_FALSE(k->UsuariosConectados());
      EXPECT_EQ(jet.Aperturas().back().Valor("jet oledb:database password"), "quokka");
    }
    db::Connection* x = nullptr;
    EXPECT_FALSE(ColectorConexiones->DameAccessConex(c.nombre, x)) << c.nombre;
  }
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

// The object keeps the registry that lends it its connection: replacing the global one
// leaves it working, and its registration goes from the registry where it was made.
TEST_F(KavoriBD, OwnConnectionOutlivesARegistryChange) {
  std::shared_ptr<IColectorConxs> primero = ColectorConexiones;
  {
    TKavoriBD k(bd.string());
    ColectorConexiones = std::make_shared<TColectorConxs>();
    EXPECT_TRUE(primero->Conectado("Kavori"));
    EXPECT_FALSE(k.UsuariosConectados());
  }
  db::Connection* x = nullptr;
  EXPECT_FALSE(primero->DameAccessConex("Kavori", x));
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(KavoriBD, OwnConnectionThatCannotOpen) {
  auto falta = (carpeta.Ruta() / "falta.mdb").string();
  {
    TKavoriBD k(falta);
    EXPECT_FALSE(k.GetConectado());
    EXPECT_EQ(dialogos->Dialogos().size(), 1u);  // the connector's report
    EXPECT_EQ(k.GetEmpresa(), TEmpresa{});
    EXPECT_TRUE(k.UsuariosConectados());
    EXPECT_FALSE(k.ValidaAcceso("ADMIN", "", true));
    EXPECT_EQ(dialogos->Dialogos().size(), 4u);  // one per failed statement
    EXPECT_EQ(dialogos->Textos()[1],
              "Error #BD-101.TKavoriBD: Llame a Soporte Técnico. EConsultaBD - La consulta no "
              "tiene conexión");
  }
  // Its registration (made, though closed) is removed with it.
  db::Connection* x = nullptr;
  EXPECT_FALSE(ColectorConexiones->DameAccessConex("Kavori", x));

  // A name already taken: no connection of its own, and the other registration stays.
  ASSERT_TRUE(ColectorConexiones->NuevaConexion("Kavori", "", "quokka", "", bd.string(), "", "",
                                                TTipoMotorBD::tmAccess, true));
  {
    TKavoriBD k(bd.string());
    EXPECT_FALSE(k.GetConectado());
  }
  EXPECT_TRUE(ColectorConexiones->Conectado("Kavori"));

  // No registry at all: no connection, no crash.
  ColectorConexiones.reset();
  EXPECT_FALSE(TKavoriBD(bd.string()).GetConectado());
}

}  // namespace
}  // namespace kv
