// Connection strings, opening and closing through the connectors, and the "BD-101"
// report of a failed open.
#include <gtest/gtest.h>

#include "data/conexion.h"
#include "data/db/connection.h"
#include "data/db/error.h"
#include "tests/data/access_proveedor_prueba.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

const char* const kJet = "Microsoft.Jet.OLEDB.4.0";

TEST(ArmaStrAccess, PasswordOnlyWhenNotBlank) {
  const struct {
    const char* passw;
    const char* esperada;
  } casos[] = {
      {"",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/bd/Kavori.mdb;Persist Security Info=True;"
       "Mode=Share Deny None"},
      {"   ",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/bd/Kavori.mdb;Persist Security "
       "Info=True;Mode=Share Deny None"},
      {"quokka",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/bd/Kavori.mdb;Persist Security "
       "Info=True;Mode=Share Deny None;Jet OLEDB:Database Password=quokka"},
      {" a b ",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/bd/Kavori.mdb;Persist Security "
       "Info=True;Mode=Share Deny None;Jet OLEDB:Database Password= a b "},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ArmaStrAccess("/bd/Kavori.mdb", c.passw), c.esperada) << c.passw;
}

// A value holding ";", "=" or a quote would end the item or start another one: it goes
// between double quotes and reads back whole.
TEST(ArmaStrAccess, ValuesThatWouldSplitTheStringAreQuoted) {
  const struct {
    const char* ruta;
    const char* passw;
    const char* esperada;
  } casos[] = {
      {"/home/cc/Kavori Software/DataBase/Kavori.mdb", "quokka",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/home/cc/Kavori Software/DataBase/Kavori.mdb;"
       "Persist Security Info=True;Mode=Share Deny None;Jet OLEDB:Database Password=quokka"},
      {"/a;b/Kavori.mdb", "quokka",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/a;b/Kavori.mdb\";Persist Security "
       "Info=True;Mode=Share Deny None;Jet OLEDB:Database Password=quokka"},
      {"/x;Data Source=/otro/archivo.mdb/Kavori.mdb", "",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/x;Data Source=/otro/archivo.mdb/"
       "Kavori.mdb\";Persist Security Info=True;Mode=Share Deny None"},
      {"/o'hara/Kavori.mdb", "",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/o'hara/Kavori.mdb\";Persist Security "
       "Info=True;Mode=Share Deny None"},
      {"/di \"hola\"/Kavori.mdb", "p;w",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/di \"\"hola\"\"/Kavori.mdb\";Persist "
       "Security Info=True;Mode=Share Deny None;Jet OLEDB:Database Password=\"p;w\""},
  };
  for (const auto& c : casos) {
    const std::string cadena = ArmaStrAccess(c.ruta, c.passw);
    EXPECT_EQ(cadena, c.esperada) << c.ruta;
    std::vector<std::pair<std::string, std::string>> esperados = {{"provider", kJet},
                                                                  {"data source", c.ruta},
                                                                  {"persist security info", "True"},
                                                                  {"mode", "Share Deny None"}};
    if (*c.passw) esperados.emplace_back("jet oledb:database password", c.passw);
    EXPECT_EQ(db::parseConnectionString(cadena), esperados) << c.ruta;
  }
}

TEST(ArmaStrSQLServer, InstanceAndPortParts) {
  const struct {
    const char* instancia;
    const char* puerto;
    const char* fuente;
  } casos[] = {
      {"SQLEXPRESS", "1433", "srv\\SQLEXPRESS,1433"},
      {"", "", "srv"},
      {"   ", "", "srv"},             // blank instance: no "\" part
      {"", "   ", "srv,   "},         // blank port still appended
      {" INST ", "", "srv\\ INST "},  // instance appended untrimmed
      {"SQLEXPRESS", "", "srv\\SQLEXPRESS"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ArmaStrSQLServer("sa", "pw", "Kavori", "srv", c.instancia, c.puerto),
              std::string("Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;"
                          "Initial Catalog=Kavori;Data Source=") +
                  c.fuente)
        << c.instancia << "|" << c.puerto;
}

class Conexion : public ::testing::Test {
 protected:
  TDialogosDePrueba dialogos;
  TCarpetaTemporal carpeta;
};

TEST_F(Conexion, ComposesOnFirstOpenOnlyWhileEmpty) {
  prueba::TProveedorSQLite jet(kJet);
  auto bd = carpeta.Escribe("Kavori.db");
  prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);

  TConexion c(TTipoMotorBD::tmAccess);
  c.SetUbicacion(bd.string());  // only the location: settings count as given
  c.SetPassw("quokka");
  c.SetConecta(true);
  EXPECT_TRUE(c.GetConecta());
  EXPECT_EQ(c.GetStrConexion(), ArmaStrAccess(bd.string(), "quokka"));

  // Later changes of the settings leave the string alone.
  c.SetConecta(false);
  EXPECT_FALSE(c.GetConecta());
  c.SetUbicacion("/otra/ruta.mdb");
  c.SetConecta(true);
  EXPECT_TRUE(c.GetConecta());
  EXPECT_EQ(c.GetStrConexion(), ArmaStrAccess(bd.string(), "quokka"));
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(Conexion, GivenStringIsUsedUnchanged) {
  prueba::TProveedorSQLite jet(kJet, "");
  auto bd = carpeta.Escribe("x.db");
  prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);
  const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + bd.string();
  TConexion c(TTipoMotorBD::tmAccess);
  c.SetStrConexion(cadena);
  c.SetUbicacion("/ignorada.mdb");
  c.SetPassw("ignorada");
  c.SetConecta(true);
  EXPECT_TRUE(c.GetConecta());
  EXPECT_EQ(c.GetStrConexion(), cadena);
  ASSERT_EQ(jet.Aperturas().size(), 1u);
  EXPECT_EQ(jet.Aperturas()[0].Valor("data source"), bd.string());
}

TEST_F(Conexion, NothingGivenOpensNothingSilently) {
  prueba::TProveedorSQLite jet(kJet);
  for (auto motor : {TTipoMotorBD::tmAccess, TTipoMotorBD::tmSQLServer}) {
    TConexion c(motor);
    for (auto set : {&TConexion::SetUsuario, &TConexion::SetPassw, &TConexion::SetBDNombre,
                     &TConexion::SetUbicacion, &TConexion::SetInstancia, &TConexion::SetPuerto})
      (c.*set)("  \t");
    c.SetConecta(true);
    EXPECT_FALSE(c.GetConecta());
    EXPECT_EQ(c.GetStrConexion(), "");
  }
  EXPECT_TRUE(jet.Aperturas().empty());
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(Conexion, CloseOfNeverOpenedIsSilent) {
  TConexion c(TTipoMotorBD::tmAccess);
  c.SetConecta(false);
  EXPECT_FALSE(c.GetConecta());
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

// The share-exclusive mode set at creation and the string's "Mode=Share Deny None" both
// reach the provider, the mode property first.
TEST_F(Conexion, AccessModeAndStringModeBothApplied) {
  prueba::TProveedorSQLite jet(kJet);
  auto bd = carpeta.Escribe("Kavori.db");
  prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);
  TConexion c(TTipoMotorBD::tmAccess);
  c.SetUbicacion(bd.string());
  c.SetPassw("quokka");
  c.SetConecta(true);
  ASSERT_EQ(jet.Aperturas().size(), 1u);
  EXPECT_EQ(jet.Aperturas()[0].modo, db::ConnectMode::ShareExclusive);
  EXPECT_EQ(jet.Aperturas()[0].Valor("mode"), "Share Deny None");

  TConectSQLServer sql;
  EXPECT_EQ(sql.DameConector()->mode(), db::ConnectMode::Unknown);
  EXPECT_FALSE(sql.DameConector()->loginPrompt());
}

TEST_F(Conexion, FailedOpenShowsOneReportNamingTheConnector) {
  prueba::TProveedorSQLite jet(kJet);
  auto bd = carpeta.Escribe("Kavori.db");
  prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);
  const struct {
    std::string ubicacion;
    std::string passw;
    std::string texto;
  } casos[] = {
      {(carpeta.Ruta() / "falta.mdb").string(), "quokka",
       "Error #BD-101.TConectAccess: Llame a Soporte Técnico. EOleException - No se encuentra el "
       "archivo '" +
           (carpeta.Ruta() / "falta.mdb").string() + "'."},
      {bd.string(), "otra",
       "Error #BD-101.TConectAccess: Llame a Soporte Técnico. EOleException - No es una "
       "contraseña válida."},
  };
  for (const auto& caso : casos) {
    dialogos->Limpia();
    TConexion c(TTipoMotorBD::tmAccess);
    c.SetUbicacion(caso.ubicacion);
    c.SetPassw(caso.passw);
    EXPECT_NO_THROW(c.SetConecta(true));
    EXPECT_FALSE(c.GetConecta());
    EXPECT_FALSE(c.DameObjConector()->GetConecta());
    EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{caso.texto});
  }
}

TEST_F(Conexion, ProviderMissingIsReportedToo) {
  TConexion c(TTipoMotorBD::tmAccess);
  c.SetStrConexion("Provider=Nada.1;Data Source=x");
  c.SetConecta(true);
  EXPECT_FALSE(c.GetConecta());
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{"Error #BD-101.TConectAccess: Llame a Soporte Técnico. "
                                     "EConexionBD - El proveedor \"Nada.1\" no está disponible"});
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// Failures that are not database errors are still caught and reported in the same layout.
TEST(ConectorFallas, AnyFailureIsCaughtAndReported) {
  const struct {
    std::function<void()> falla;
    const char* texto;
  } casos[] = {
      {[] { throw std::runtime_error("se acabó la memoria"); },
       "Error #BD-101.TConectSQLServer: Llame a Soporte Técnico. Exception - se acabó la memoria"},
      {[] { throw 42; },
       "Error #BD-101.TConectSQLServer: Llame a Soporte Técnico. Exception - Falla desconocida"},
  };
  for (const auto& caso : casos) {
    TDialogosDePrueba dialogos;
    prueba::TProveedorSustituto sql(
        "SQLOLEDB.1", [&](const prueba::Items&, db::ConnectMode) -> std::unique_ptr<db::Session> {
          caso.falla();
          return nullptr;
        });
    TConectSQLServer c;
    c.SetStrConexion("Provider=SQLOLEDB.1;Data Source=x");
    EXPECT_NO_THROW(c.SetConecta(true));
    EXPECT_FALSE(c.GetConecta());
    EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{caso.texto});
  }
}

}  // namespace
}  // namespace kv
