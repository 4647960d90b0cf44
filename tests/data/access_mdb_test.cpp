// The data-access classes over real Access files written by the .mdb writer and read by
// the Jet engine: login, connected users, company record, failures, and the file left
// untouched.
#include <gtest/gtest.h>

#include <fstream>

#include "data/colector_conxs.h"
#include "data/kavori_bd.h"
#include "jet/textos.h"
#include "tests/data/access_casos_login.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"
#include "tools/kavori-demo/esquema.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv {
namespace {

using mdbw::Null;

constexpr auto kCompacta = kavori::TVarianteEsquema::Compacta;

std::vector<mdbw::Row> Empleados() {
  std::vector<mdbw::Row> filas;
  for (const auto& e : prueba::kEmpleados)
    filas.push_back(kavori::RenglonKavori(
        "tEmps", kCompacta,
        {{"ClaveEmp", std::string(e.clave)},
         {"Password", e.passw ? mdbw::Value(std::string(*e.passw)) : mdbw::Value(Null{})},
         {"Nivel", std::int64_t{e.nivel}}}));
  return filas;
}

// The company row (its RFC null).
mdbw::Row Empresa(const std::string& sRazonSocial, mdbw::Value registroCC, std::int64_t nNumEmp,
                  mdbw::Value nomComercial) {
  return kavori::RenglonKavori("tEmpresa", kCompacta,
                               {{"Empresa", sRazonSocial},
                                {"RegistroCC", std::move(registroCC)},
                                {"NumEmp", nNumEmp},
                                {"NomComercial", std::move(nomComercial)}});
}

std::vector<mdbw::Table> TablasKavori(const std::vector<std::string>& usuarios,
                                      std::vector<mdbw::Row> empresa) {
  std::vector<mdbw::Table> tablas = {kavori::TablaKavori("tEmps", kCompacta),
                                     kavori::TablaKavori("tCompUsr", kCompacta),
                                     kavori::TablaKavori("tEmpresa", kCompacta)};
  tablas[0].rows = Empleados();
  for (const std::string& sClave : usuarios)
    tablas[1].rows.push_back(kavori::RenglonKavori(tablas[1].columns, {{"ClaveEmp", sClave}}));
  tablas[2].rows = std::move(empresa);
  return tablas;
}

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

class ConectorAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    anterior = ColectorConexiones;
    ColectorConexiones = std::make_shared<TColectorConxs>();
  }
  void TearDown() override {
    ColectorConexiones->EliminaConexiones("");
    ColectorConexiones = anterior;
  }
  std::filesystem::path Escribe(const std::string& nombre, const std::vector<std::string>& usuarios,
                                std::vector<mdbw::Row> empresa,
                                const std::string& passw = "quokka") {
    auto p = carpeta.Ruta() / nombre;
    mdbw::writeDatabase(p, TablasKavori(usuarios, std::move(empresa)), passw);
    return p;
  }

  TDialogosDePrueba dialogos;
  TCarpetaTemporal carpeta;
  std::shared_ptr<IColectorConxs> anterior;
};

TEST_F(ConectorAccess, CompanyDatabaseThroughBDPrincipal) {
  auto bd = Escribe(
      "Kavori.mdb", {},
      {Empresa("Cambios Ñandú, S.A. de C.V.", std::string("12-345"), 7, std::string("Ñandú"))});
  const std::string antes = Bytes(bd);
  const auto hora = std::filesystem::last_write_time(bd);

  ColectorConexiones->CreaBDPrinc(bd.string(), "", false);
  ASSERT_TRUE(ColectorConexiones->Conecta("BDPrincipal"));
  db::Connection* c = nullptr;
  ASSERT_TRUE(ColectorConexiones->DameAccessConex("BDPrincipal", c));
  {
    TKavoriBD k(c);
    EXPECT_TRUE(k.GetConectado());
    EXPECT_FALSE(k.UsuariosConectados());
    EXPECT_EQ(k.GetEmpresa(),
              (TEmpresa{"Cambios Ñandú, S.A. de C.V.", "", "12-345", "7", "Ñandú"}));
    for (const auto& caso : prueba::kCasosLogin)
      EXPECT_EQ(k.ValidaAcceso(caso.clave, caso.passw, caso.soloAdmins), caso.acceso)
          << caso.clave << " / " << caso.passw;
    // Jet compares texts without regard to case: a lower-case key finds its row too.
    EXPECT_TRUE(k.ValidaAcceso("admin", "SECRETO", true));
    EXPECT_TRUE(dialogos->Dialogos().empty()) << dialogos->Textos()[0];

    // The Access engine is read only: a delete is a reported database failure.
    k.LimpiaTabla("tCompUsr", "");
    EXPECT_EQ(dialogos->Textos(),
              std::vector<std::string>{std::string("Error #BD-101.TKavoriBD: Llame a Soporte "
                                                   "Técnico. EJetError - ") +
                                       textos_jet::kReadOnly});

    // A backup is a byte copy.
    auto copia = carpeta.Ruta() / "copia.mdb";
    EXPECT_TRUE(k.RespaldaBD(bd.string(), copia.string()));
    EXPECT_EQ(Bytes(copia), antes);
  }
  ColectorConexiones->EliminaConexiones("");
  EXPECT_EQ(Bytes(bd), antes);
  EXPECT_EQ(std::filesystem::last_write_time(bd), hora);
}

TEST_F(ConectorAccess, ConnectedUsersCounted) {
  auto bd = Escribe("Kavori.mdb", {"CAJERO"}, {});
  TKavoriBD k(bd.string());
  ASSERT_TRUE(k.GetConectado());
  EXPECT_TRUE(k.UsuariosConectados());
  EXPECT_EQ(k.GetEmpresa(), TEmpresa{});  // no company row
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

// A program folder whose name holds ";" or a whole connection item opens the database
// below it, not another file.
TEST_F(ConectorAccess, FolderNamesWithSeparatorsOpenTheirOwnDatabase) {
  const std::filesystem::path otra = carpeta.Ruta() / "otra" / "Kavori.mdb";
  std::filesystem::create_directories(otra.parent_path());
  mdbw::writeDatabase(otra, TablasKavori({}, {Empresa("OTRA EMPRESA", Null{}, 1, Null{})}),
                      "quokka");
  for (const std::string& nombre : {std::string("a;b"), "x;Data Source=" + otra.string()}) {
    const std::filesystem::path bd = carpeta.Ruta() / nombre / "DataBase" / "Kavori.mdb";
    std::filesystem::create_directories(bd.parent_path());
    mdbw::writeDatabase(bd, TablasKavori({}, {Empresa("LA PROPIA", Null{}, 1, Null{})}), "quokka");
    ColectorConexiones->EliminaConexiones("");
    ColectorConexiones->CreaBDPrinc(bd.string(), "", false);
    ASSERT_TRUE(ColectorConexiones->Conecta("BDPrincipal")) << nombre;
    db::Connection* c = nullptr;
    ASSERT_TRUE(ColectorConexiones->DameAccessConex("BDPrincipal", c));
    TKavoriBD k(c);
    EXPECT_EQ(k.GetEmpresa().sRazonSocial, "LA PROPIA") << nombre;
  }
  EXPECT_TRUE(dialogos->Dialogos().empty()) << dialogos->Textos()[0];
}

TEST_F(ConectorAccess, OpenFailuresNameTheAccessConnector) {
  const struct {
    std::string archivo;
    std::string passw;
    std::string motivo;  // the engine's message, when it is a fixed one
  } casos[] = {
      {"OtraClave.mdb", "otra", textos_jet::kBadPassword},  // another database password
      {"NoExiste.mdb", "", ""},
  };
  for (const auto& caso : casos) {
    dialogos->Limpia();
    auto p = carpeta.Ruta() / caso.archivo;
    if (!caso.passw.empty()) mdbw::writeDatabase(p, TablasKavori({}, {}), caso.passw);
    ColectorConexiones->EliminaConexiones("");
    ColectorConexiones->CreaBDPrinc(p.string(), "", true);
    EXPECT_FALSE(ColectorConexiones->Conectado("BDPrincipal")) << caso.archivo;
    ASSERT_EQ(dialogos->Textos().size(), 1u) << caso.archivo;
    const std::string texto = dialogos->Textos()[0];
    EXPECT_EQ(texto.rfind("Error #BD-101.TConectAccess: Llame a Soporte Técnico. ", 0), 0u)
        << texto;
    EXPECT_NE(texto.find("EJetError - " + caso.motivo), std::string::npos) << texto;
  }
}

}  // namespace
}  // namespace kv
