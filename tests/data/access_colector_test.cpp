// The connection registry: exact names, every operation, "BDPrincipal".
#include <gtest/gtest.h>

#include "data/colector_conxs.h"
#include "tests/data/access_proveedor_prueba.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

class ColectorConxs : public ::testing::Test {
 protected:
  void SetUp() override {
    bd = carpeta.Escribe("DataBase/Kavori.db");
    prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);
    otra = carpeta.Escribe("Otra.db");
    prueba::EjecutaSQLite(otra, prueba::kEsquemaKavori);
  }
  std::string Cadena(const std::filesystem::path& p) { return ArmaStrAccess(p.string(), "quokka"); }
  std::string Ruta(db::Connection* c) {
    return db::parseConnectionString(c->connectionString())[1].second;
  }

  TDialogosDePrueba dialogos;
  TCarpetaTemporal carpeta;
  prueba::TProveedorSQLite jet{"Microsoft.Jet.OLEDB.4.0"};
  std::filesystem::path bd, otra;
  TColectorConxs col;
};

TEST_F(ColectorConxs, CreaBDPrincClosedThenConectaOpensOnce) {
  col.CreaBDPrinc(bd.string(), "", false);
  EXPECT_FALSE(col.Conectado("BDPrincipal"));
  EXPECT_TRUE(jet.Aperturas().empty());
  EXPECT_TRUE(col.Conecta("BDPrincipal"));
  EXPECT_TRUE(col.Conecta("BDPrincipal"));  // already open: not opened again
  EXPECT_EQ(jet.Aperturas().size(), 1u);
  EXPECT_TRUE(col.Conectado("BDPrincipal"));

  db::Connection* c = nullptr;
  ASSERT_TRUE(col.DameAccessConex("BDPrincipal", c));
  EXPECT_EQ(c->connectionString(),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + bd.string() +
                ";Persist Security Info=True;Mode=Share Deny None;Jet OLEDB:Database "
                "Password=quokka");
  EXPECT_TRUE(c->connected());
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(ColectorConxs, CreaBDPrincKeepsTheFirstPath) {
  col.CreaBDPrinc(bd.string(), "", true);
  col.CreaBDPrinc(otra.string(), "", true);
  db::Connection* c = nullptr;
  ASSERT_TRUE(col.DameAccessConex("BDPrincipal", c));
  EXPECT_EQ(Ruta(c), bd.string());
  EXPECT_EQ(jet.Aperturas().size(), 1u);
}

TEST_F(ColectorConxs, NamesAreExact) {
  col.CreaBDPrinc(bd.string(), "", true);
  db::Connection* c = nullptr;
  for (const char* nombre : {"bdprincipal", "BDPRINCIPAL", " BDPrincipal", "BDPrincipal ", ""}) {
    EXPECT_FALSE(col.Conectado(nombre)) << nombre;
    EXPECT_FALSE(col.Conecta(nombre)) << nombre;
    EXPECT_FALSE(col.DameAccessConex(nombre, c)) << nombre;
    EXPECT_EQ(c, nullptr);
    col.Desconecta(nombre);
    col.EliminaConex(nombre);
  }
  EXPECT_TRUE(col.Conectado("BDPrincipal"));
  // The lower-case name is a new, separate registration.
  EXPECT_TRUE(col.NuevaConexion("bdprincipal", Cadena(otra), TTipoMotorBD::tmAccess, true));
  db::Connection *a = nullptr, *b = nullptr;
  ASSERT_TRUE(col.DameAccessConex("BDPrincipal", a));
  ASSERT_TRUE(col.DameAccessConex("bdprincipal", b));
  EXPECT_NE(a, b);
}

TEST_F(ColectorConxs, TakenNameKeepsThePresentConnection) {
  ASSERT_TRUE(col.NuevaConexion("K", Cadena(bd), TTipoMotorBD::tmAccess, true));
  db::Connection* antes = nullptr;
  ASSERT_TRUE(col.DameAccessConex("K", antes));
  // The new one still tries to open (and reports) before it is dropped.
  EXPECT_FALSE(col.NuevaConexion("K", "", "", "", (carpeta.Ruta() / "no.mdb").string(), "", "",
                                 TTipoMotorBD::tmAccess, true));
  EXPECT_EQ(dialogos->Dialogos().size(), 1u);
  db::Connection* despues = nullptr;
  ASSERT_TRUE(col.DameAccessConex("K", despues));
  EXPECT_EQ(antes, despues);
  EXPECT_TRUE(despues->connected());
  EXPECT_TRUE(col.Conectado("K"));
}

TEST_F(ColectorConxs, DesconectaKeepsEliminaRemoves) {
  ASSERT_TRUE(col.NuevaConexion("A", Cadena(bd), TTipoMotorBD::tmAccess, true));
  col.Desconecta("A");
  EXPECT_FALSE(col.Conectado("A"));
  db::Connection* c = nullptr;
  ASSERT_TRUE(col.DameAccessConex("A", c));
  EXPECT_FALSE(c->connected());
  EXPECT_TRUE(col.Conecta("A"));

  col.EliminaConex("A");
  c = nullptr;
  EXPECT_FALSE(col.DameAccessConex("A", c));
  EXPECT_FALSE(col.Conectado("A"));
  EXPECT_FALSE(col.Conecta("A"));
}

TEST_F(ColectorConxs, EliminaConexionesSparesOneExactName) {
  const struct {
    const char* excepto;
    std::vector<std::string> quedan;
  } casos[] = {
      {"BDPrincipal", {"BDPrincipal"}},
      {"bdprincipal", {}},
      {"NoRegistrada", {}},
      {"B", {"B"}},
  };
  for (const auto& caso : casos) {
    TColectorConxs c;
    c.CreaBDPrinc(bd.string(), "", true);
    for (const char* n : {"A", "B", "C"})
      ASSERT_TRUE(c.NuevaConexion(n, Cadena(otra), TTipoMotorBD::tmAccess, n[0] == 'B'));
    c.EliminaConexiones(caso.excepto);
    std::vector<std::string> quedan;
    db::Connection* x = nullptr;
    for (const char* n : {"A", "B", "BDPrincipal", "C"})
      if (c.DameAccessConex(n, x)) quedan.push_back(n);
    EXPECT_EQ(quedan, caso.quedan) << caso.excepto;
  }
}

TEST_F(ColectorConxs, EngineMismatchGivesFalseAndLeavesConectorAlone) {
  ASSERT_TRUE(col.NuevaConexion("S", "Provider=SQLOLEDB.1;Data Source=x", TTipoMotorBD::tmSQLServer,
                                false));
  ASSERT_TRUE(col.NuevaConexion("A", Cadena(bd), TTipoMotorBD::tmAccess, false));
  db::Connection* const marca = reinterpret_cast<db::Connection*>(0x10);
  db::Connection* c = marca;
  EXPECT_FALSE(col.DameAccessConex("S", c));
  EXPECT_FALSE(col.DameSQLConex("A", c));
  EXPECT_EQ(c, marca);
  EXPECT_TRUE(col.DameSQLConex("S", c));
  EXPECT_NE(c, marca);
  EXPECT_FALSE(c->connected());  // handing out never opens
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(ColectorConxs, FailedOpenReportsOnceAndConectaIsFalse) {
  ASSERT_TRUE(col.NuevaConexion("M", "", "", "", (carpeta.Ruta() / "no.mdb").string(), "", "",
                                TTipoMotorBD::tmAccess, false));
  EXPECT_TRUE(dialogos->Dialogos().empty());
  EXPECT_FALSE(col.Conecta("M"));
  ASSERT_EQ(dialogos->Textos().size(), 1u);
  EXPECT_EQ(dialogos->Textos()[0].rfind("Error #BD-101.TConectAccess: Llame a Soporte Técnico. "
                                        "EOleException - ",
                                        0),
            0u);
}

}  // namespace
}  // namespace kv
