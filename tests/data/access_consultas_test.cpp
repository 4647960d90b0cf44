// The query service: statements, their failure reports and database backups.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include "data/consultas_sql.h"
#include "tests/data/access_proveedor_prueba.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

// A class further down the chain reports its own name.
class TConsultaDerivada : public TConsultasSQL {
 public:
  using TConsultasSQL::TConsultasSQL;
  std::string NombreClase() const override { return "TRepCuestPrueba"; }
  db::Query& Gen() { return F_qConsultaGen; }
};

class ConsultasSQL : public ::testing::Test {
 protected:
  void SetUp() override {
    bd = carpeta.Escribe("Kavori.db");
    prueba::EjecutaSQLite(bd, prueba::kEsquemaKavori);
    prueba::EjecutaSQLite(bd,
                          "CREATE TABLE tX (A INTEGER, B TEXT);"
                          "INSERT INTO tX VALUES (1, 'uno'), (2, 'dos'), (1, 'otro');");
    conexion.setConnectionString(ArmaStr());
    conexion.setConnected(true);
  }
  std::string ArmaStr() {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + bd.string() +
           ";Jet OLEDB:Database Password=quokka";
  }
  long Cuenta(TConsultasSQL& s, db::Query& q, const std::string& where = "") {
    EXPECT_TRUE(s.PideConsulta("SELECT COUNT(*) AS N FROM tX" + where, q));
    long n = static_cast<long>(q.fieldByName("N").toInt());
    q.close();
    return n;
  }

  TDialogosDePrueba dialogos;
  TCarpetaTemporal carpeta;
  prueba::TProveedorSQLite jet{"Microsoft.Jet.OLEDB.4.0"};
  std::filesystem::path bd;
  db::Connection conexion;
};

TEST_F(ConsultasSQL, PideConsultaLeavesRowsOpen) {
  TConsultasSQL s(&conexion);
  db::Query q(&conexion);
  ASSERT_TRUE(s.PideConsulta("SELECT B FROM tX WHERE A = 2", q));
  EXPECT_TRUE(q.active());
  EXPECT_FALSE(q.isEmpty());
  EXPECT_EQ(q.fieldByName("B").toString(), "dos");
  ASSERT_TRUE(s.PideConsulta("SELECT B FROM tX WHERE A = 9", q));
  EXPECT_TRUE(q.active());
  EXPECT_TRUE(q.isEmpty());
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(ConsultasSQL, FailureTextsNameTheMostDerivedClass) {
  const struct {
    const char* sql;
    bool ejecuta;
    const char* texto;
  } casos[] = {
      {"SELECT Nada FROM tX", false,
       "Error #BD-101.TRepCuestPrueba: Llame a Soporte Técnico. EOleException - no such column: "
       "Nada"},
      {"SELECT * FROM tNoExiste", false,
       "Error #BD-101.TRepCuestPrueba: Llame a Soporte Técnico. EOleException - no such table: "
       "tNoExiste"},
      {"DELETE FROM tX WHERE A = 99", false,
       "Error #BD-101.TRepCuestPrueba: Llame a Soporte Técnico. EOleException - La operación no "
       "se permite si el objeto está cerrado."},
      {"DELETE FROM tNoExiste", true,
       "Error #BD-101.TRepCuestPrueba: Llame a Soporte Técnico. EOleException - no such table: "
       "tNoExiste"},
  };
  TConsultaDerivada s(&conexion);
  for (const auto& caso : casos) {
    dialogos->Limpia();
    bool ok =
        caso.ejecuta ? s.EjecutaConsulta(caso.sql, s.Gen()) : s.PideConsulta(caso.sql, s.Gen());
    EXPECT_FALSE(ok) << caso.sql;
    EXPECT_FALSE(s.Gen().active());
    EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{caso.texto});
  }
  // The same query works again afterwards.
  dialogos->Limpia();
  EXPECT_EQ(Cuenta(s, s.Gen()), 3);
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(ConsultasSQL, NoConnectionIsAFailureNotACrash) {
  TConsultasSQL s(nullptr);
  db::Query q;
  EXPECT_FALSE(s.PideConsulta("SELECT 1", q));
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{"Error #BD-101.TConsultasSQL: Llame a Soporte Técnico. "
                                     "EConsultaBD - La consulta no tiene conexión"});
  // A closed connection too.
  dialogos->Limpia();
  conexion.setConnected(false);
  TConsultasSQL s2(&conexion);
  db::Query q2(&conexion);
  EXPECT_FALSE(s2.PideConsulta("SELECT 1", q2));
  EXPECT_EQ(dialogos->Dialogos().size(), 1u);
}

TEST_F(ConsultasSQL, LimpiaTablaStatements) {
  TConsultaDerivada s(&conexion);
  s.LimpiaTabla("tX", "A = 1");
  EXPECT_EQ(Cuenta(s, s.Gen()), 1);
  s.LimpiaTabla("tX", "");
  EXPECT_EQ(Cuenta(s, s.Gen()), 0);
  EXPECT_TRUE(dialogos->Dialogos().empty());
  // A condition of blanks counts as given: "DELETE FROM tX WHERE   " fails as a database error.
  s.LimpiaTabla("tX", "   ");
  ASSERT_EQ(dialogos->Textos().size(), 1u);
  EXPECT_EQ(dialogos->Textos()[0].rfind(
                "Error #BD-101.TRepCuestPrueba: Llame a Soporte Técnico. EOleException - ", 0),
            0u);
  EXPECT_EQ(s.Gen().sql(), "DELETE FROM tX WHERE    ");
}

TEST_F(ConsultasSQL, InicializaTablaSendsTruncate) {
  TConsultaDerivada s(&conexion);
  s.InicializaTabla("tX");
  // SQLite knows no TRUNCATE: the failure is reported, the statement was the one expected.
  EXPECT_EQ(s.Gen().sql(), "TRUNCATE TABLE tX");
  EXPECT_EQ(dialogos->Dialogos().size(), 1u);
}

std::string Sello(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y_%m_%d_%H_%M", &tm);
  return buf;
}

// "RESP_yyyy_mm_dd_hh_mm_Kavori.mdb" ("#" stands for a digit)
bool EsNombreRespaldo(const std::string& n) {
  const std::string patron = "RESP_####_##_##_##_##_Kavori.mdb";
  if (n.size() != patron.size()) return false;
  for (std::size_t i = 0; i < n.size(); ++i)
    if (patron[i] == '#' ? !std::isdigit(static_cast<unsigned char>(n[i])) : n[i] != patron[i])
      return false;
  return true;
}

std::string Contenido(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST_F(ConsultasSQL, RespaldaBDNamesTheBackupByDateAndTime) {
  auto origen = carpeta.Escribe("DataBase/Kavori.mdb", "contenido");
  TConsultasSQL s(&conexion);
  for (const char* destino : {"", "   "}) {
    std::time_t antes = std::time(nullptr);
    ASSERT_TRUE(s.RespaldaBD(origen.string(), destino));
    std::time_t despues = std::time(nullptr);
    auto carpetaResp = carpeta.Ruta() / "DataBase" / "Respaldos";
    std::vector<std::filesystem::path> hechos;
    for (const auto& e : std::filesystem::directory_iterator(carpetaResp))
      hechos.push_back(e.path());
    // A second backup in the same minute overwrites the first (allow a minute change).
    ASSERT_GE(hechos.size(), 1u);
    ASSERT_LE(hechos.size(), 2u);
    bool encontrado = false;
    for (const auto& h : hechos) {
      std::string nombre = h.filename().string();
      EXPECT_TRUE(EsNombreRespaldo(nombre)) << nombre;
      if (nombre == "RESP_" + Sello(antes) + "_Kavori.mdb" ||
          nombre == "RESP_" + Sello(despues) + "_Kavori.mdb")
        encontrado = true;
      EXPECT_EQ(Contenido(h), "contenido");
    }
    EXPECT_TRUE(encontrado);
  }
  // A given destination is used as it is.
  auto destino = carpeta.Ruta() / "copia.mdb";
  ASSERT_TRUE(s.RespaldaBD(origen.string(), destino.string()));
  EXPECT_EQ(Contenido(destino), "contenido");
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST_F(ConsultasSQL, RespaldaBDReportsAFailedCopy) {
  TConsultasSQL s(&conexion);
  auto falta = carpeta.Ruta() / "falta.mdb";
  EXPECT_FALSE(s.RespaldaBD(falta.string(), (carpeta.Ruta() / "x.mdb").string()));
  ASSERT_EQ(dialogos->Textos().size(), 1u);
  EXPECT_EQ(dialogos->Textos()[0].rfind("Error #BD-101.TConsultasSQL: Llame a Soporte Técnico. "
                                        "EInOutError - No se pudo copiar \"" +
                                            falta.string() + "\"",
                                        0),
            0u);
  EXPECT_FALSE(std::filesystem::exists(carpeta.Ruta() / "x.mdb"));
}

}  // namespace
}  // namespace kv
