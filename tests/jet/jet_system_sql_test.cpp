// The questionnaire's own Jet SQL texts (operations, currencies, clients, segments and
// answer wrappers, composed as the report builds them) over a small company database.
#include <gtest/gtest.h>

#include <string>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/row_text.h"
#include "tests/support/segmentos_esperados.h"

namespace kv::jet {
namespace {

const char* const kCompany = R"sql(
CREATE TABLE tMovtos (NumEmp INTEGER, Tipo TEXT COLLATE JET, Folio INTEGER, Fecha DATEREAL,
  NumeroDivisa INTEGER, Cotizacion REAL, Cantidad REAL, ClaveCliente TEXT COLLATE JET,
  Cancelado INTEGER);
CREATE TABLE tProces AS SELECT * FROM tMovtos WHERE 0;
CREATE TABLE tDivisas (NumeroDivisa INTEGER, Simbolo TEXT COLLATE JET, Divisa TEXT COLLATE JET,
  Pagare INTEGER);
CREATE TABLE tCliente (ClaveCliente TEXT COLLATE JET, NumEmp INTEGER, PersonaMoral INTEGER,
  Nombre TEXT COLLATE JET, ApellidoPaterno TEXT COLLATE JET, ApellidoMaterno TEXT COLLATE JET,
  ClaveActividad TEXT COLLATE JET, Extranjero INTEGER, ClaveSector INTEGER);
CREATE TABLE tSector (ClaveSector INTEGER, Sector TEXT COLLATE JET);
CREATE TABLE tEmpresa (Empresa TEXT COLLATE JET, NumEmp INTEGER);
INSERT INTO tEmpresa VALUES ('Casa de Cambio Uno', 1);
INSERT INTO tSector VALUES (1, 'Comercio'), (2, 'NO APLICA'), (3, 'Banca');
INSERT INTO tDivisas VALUES (1, 'M.N.', 'Pesos', 0), (2, 'USD', 'Dólar', 0), (3, 'EUR', 'Euro', 0),
  (4, 'USD', 'cheque dólar', -1), (5, 'EUR', 'cheque euro', -1), (6, 'MXV', 'Otro', 0),
  (7, '', 'Sin símbolo', 0);
INSERT INTO tCliente VALUES
  ('C1', 1, 0, 'Juan', 'Pérez', NULL, '1111111', 0, 1),
  ('C2', 1, -1, 'Banco del Norte', NULL, NULL, '8100000', 0, 3),
  ('PG', 1, 0, 'Publico en General', NULL, NULL, '1111111', 0, 2),
  ('C3', 1, 0, 'Ana', NULL, 'Gómez', '9911018', 0, 1),
  ('C4', 1, 0, 'juan', 'pérez', NULL, '1111111', -1, 9);
-- Two rows of one operation (tMovtos + tProces), a cancelled one, a wrong side, a time on
-- the last day, other currencies, documents and walk-in clients.
INSERT INTO tMovtos VALUES
  (1, 'C', 1, 43500.0, 2, 19.0, 100.0, 'C1', 0),
  (1, 'C', 2, 43600.0, 2, 19.5, 250.5, 'C2', 0),
  (1, 'c', 3, 43700.0, 2, 19.0, 10.0, 'PG', 0),
  (1, 'C', 4, 43701.0, 2, 19.0, 20.0, 'pg', 0),
  (1, 'C', 5, 43702.0, 2, 19.0, 1000.0, 'C1', -1),
  (1, 'X', 6, 43703.0, 2, 19.0, 1000.0, 'C1', 0),
  (1, 'C', 7, 43830.5, 2, 19.0, 1002.0, 'C1', 0),
  (1, 'C', 8, 43830.0, 3, 21.0, 100.0, 'C3', 0),
  (1, 'V', 9, 43600.0, 2, 19.8, 40.0, 'C1', 0),
  (1, 'C', 10, 43650.0, 4, 19.0, 500.0, 'C2', 0),
  (1, 'C', 11, 43651.0, 5, 21.0, 100.0, 'C2', 0),
  (1, 'C', 12, 43652.0, 5, 21.0, 100.0, 'C3', 0),
  (2, 'C', 13, 43500.0, 2, 19.0, 5000.0, 'C1', 0);
INSERT INTO tProces VALUES (1, 'C', 1, 43500.0, 2, 19.0, 50.0, 'C1', 0);
)sql";

// The report's text builders, composed exactly as the questionnaire composes them.
struct Builders {
  std::string numEmp = "1", fIni = "01/01/2019", fEnd = "01/01/2020", rate = "19.26";
  std::vector<std::string> peps;

  std::string bool_(bool b) const { return b ? "-1" : "0"; }
  std::string side(int t) const { return t == 0 ? "C" : t == 1 ? "V" : ""; }
  std::string movtos() const {
    return "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT "
           "Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, "
           "ClaveCliente AS CvCAux FROM tMovtos WHERE NumEmp = " +
           numEmp + " and " + "Cancelado = " + bool_(false) + " " + "UNION ALL " +
           "SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad " +
           "AS XCant, ClaveCliente AS CvCAux " + "FROM tProces " + "WHERE NumEmp = " + numEmp +
           " and " + "Cancelado = " + bool_(false) + " " + ") " +
           "WHERE (Tipo = 'C' or Tipo = 'V') " + "GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ";
  }
  std::string divisas(const std::string& s, bool igual, bool pagare) const {
    std::string t = "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE ";
    if (s == "TODAS")
      t += "Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%'  AND Simbolo <> '' AND ";
    else if (igual)
      t += "Simbolo = '" + s + "' AND ";
    else
      t += "Simbolo <> '" + s + "' AND Simbolo <> '' AND Simbolo <> 'M.N.' AND " +
           "Simbolo NOT LIKE '%MX%'  AND ";
    return t + "Pagare  = " + bool_(pagare);
  }
  std::string periodo() const {
    return "SELECT tOps.* FROM (" + movtos() + ") AS tOps WHERE tOps.Fecha >= #" + fIni +
           "# AND tOps.Fecha < #" + fEnd + "#";
  }
  std::string dolares(int t) const {
    return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" + movtos() +
           " ) AS tOps, (" + divisas("USD", true, false) +
           " ) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #" + fIni +
           "# and tOps.Fecha < #" + fEnd + "# and tOps.Tipo = '" + side(t) + "'";
  }
  std::string otras(int t) const {
    return "SELECT tOps.*, (AuxCant*Cot)/" + rate + " AS Cantidad,  tXDivisas.Simbolo FROM (" +
           movtos() + ") AS tOps, (" + divisas("USD", false, false) +
           ") AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #" + fIni +
           "# AND tOps.Fecha < #" + fEnd + "# AND tOps.Tipo = '" + side(t) + "'";
  }
  std::string documentos(int t) const {
    return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/" + rate +
           ") AS Cantidad, Simbolo, Divisa FROM (" + movtos() + ") AS tOps, (" +
           divisas("TODAS", true, true) +
           ") AS tXDiv WHERE tOps.NDiv = tXDiv.NDivx AND tOps.Fecha >= #" + fIni +
           "# AND tOps.Fecha < #" + fEnd + "# AND tOps.Tipo = '" + side(t) + "' ";
  }
  std::string campoPep() const {
    std::string s = ", IIF( ( ";
    int n = 0;
    for (const auto& k : peps) s += (n++ ? "or " : "") + std::string("ClaveCliente = '") + k + "' ";
    return n ? s + "), -1, 0 ) AS EsPEP " : ", 0 AS EsPEP ";
  }
  std::string clientes() const {
    return "SELECT ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + "
           "IIF(ISNULL(ApellidoPaterno), '', ' '+ ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), "
           "'', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, "
           "PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, IIF( "
           "(ClaveActividad = '9911018' or Extranjero = True ), -1, 0 ) AS EsExtrj, "
           "tXClientes.ClaveSector, tSector.Sector AS Actividad, IIF( (ClaveActividad = "
           "'9503005' or ClaveActividad = '6999992' ), -1, 0) AS EsCC, IIF( ( ClaveActividad = "
           "'8123094' or ClaveActividad = '9911018' or ClaveActividad = '8123052' ), -1, 0) AS "
           "EsEF, IIF(ClaveActividad = '8219025', -1, 0) AS EsCB, IIF(ClaveActividad = "
           "'8100000', -1, 0) AS EsB " +
           campoPep() +
           "FROM tCliente AS tXClientes INNER JOIN  tSector ON "
           "tXClientes.ClaveSector = tSector.ClaveSector WHERE NumEmp = " +
           numEmp;
  }
  std::string conClientes(const std::string& c) const {
    return "SELECT * FROM (" + c + ") AS tXOps, (" + clientes() +
           ") AS tXCte WHERE tXOps.CvCAux = tXCte.AuxCvC ";
  }
  std::string unicos(const std::string& c) const {
    return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" +
           c +
           ") AS tXCSinPG WHERE EsPubGen = 0 GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, "
           "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP UNION ALL SELECT tXCPG.CvCAux AS Aux, EsPF, "
           "EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" +
           c + ") AS tXCPG WHERE EsPubGen <> 0 ";
  }
  std::string segmento(const std::string& c, int seg, int ext, bool sinPep) const {
    return ConsultaSegmentoEsperada(c, static_cast<unsigned>(seg), ext, sinPep);
  }
  std::string defecto(const std::string& c, const std::string& d) const {
    return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + d +
           "', XResul) AS Resultado FROM (" + c +
           " UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa) ";
  }
  std::string conteo(const std::string& c) const {
    return defecto("SELECT COUNT(1) AS XResul FROM (" + c + " )", "0");
  }
  std::string existe(const std::string& c) const {
    return "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul "
           "FROM (" +
           c + " ))";
  }
  std::string promedio(const std::string& c) const {
    return "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" + c +
           ") ";
  }
  std::string suma(const std::string& c, int seg, int ext, bool sinPep) const {
    return "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" + segmento(c, seg, ext, sinPep) + ") ";
  }
  std::string clienteTop(const std::string& c, int seg) const {
    return "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS "
           "XResul FROM (" +
           c + ") " + (seg == 7 ? "WHERE EsB <> 0 and EsExtrj = 0 " : "") +
           "GROUP BY Cliente ORDER BY COUNT(Cliente) DESC";
  }
  std::string divisaTop(const std::string& c) const {
    return "SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS "
           "XResul FROM (" +
           c + ") GROUP BY Divisa ORDER BY COUNT(Divisa) DESC";
  }
  std::string actividadTop(const std::string& c) const {
    return "SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' "
           "**) ' AS XResul FROM (" +
           conClientes(c) +
           ") WHERE Actividad <> 'NO APLICA' GROUP BY Actividad ORDER BY "
           "COUNT(Actividad) DESC";
  }
};

class JetSystemSql : public ::testing::Test {
 protected:
  void SetUp() override { engine.runSqlite(kCompany); }
  // The first row's Resultado, as the report reads it.
  std::string answer(const std::string& sql) {
    auto rs = engine.select(sql);
    EXPECT_FALSE(rs.rows.empty()) << sql;
    EXPECT_EQ(rs.columns.at(0), "Resultado");
    return rs.rows.empty() ? "<sin filas>" : rs.rows[0][0].toString();
  }
  JetEngine engine;
  Builders b;
};

TEST_F(JetSystemSql, AnswersOfEachRecipe) {
  const std::string usdBuy = b.dolares(0);
  const struct {
    const char* what;
    std::string sql;
    const char* expected;
  } cases[] = {
      // Buy dollars in 2019: folio 1 (100 + 50 merged), 2, 3 and 4 (walk-in, any case) and 7
      // (noon of the last day); folio 5 cancelled, 6 wrong side, 13 another company.
      {"exists", b.existe(usdBuy), "SI"},
      {"exists over nothing", b.existe(b.dolares(2)), "NO"},
      {"operations", b.conteo(b.conClientes(usdBuy)), "5"},
      {"users: one per client, one per walk-in operation",
       b.conteo(b.unicos(b.conClientes(usdBuy))), "4"},
      {"identified natural persons",
       b.conteo(b.segmento(b.unicos(b.conClientes(usdBuy)), 2, 0, false)), "1"},
      {"walk-in users", b.conteo(b.segmento(b.unicos(b.conClientes(usdBuy)), 1, 0, false)), "2"},
      {"amount (half to even)", b.defecto(b.suma(b.conClientes(usdBuy), 0, 0, false), "0"), "1432"},
      {"amount of banks", b.defecto(b.suma(b.conClientes(usdBuy), 7, 1, false), "0"), "250"},
      {"amount of an empty segment", b.defecto(b.suma(b.conClientes(usdBuy), 4, 0, false), "0"),
       "0"},
      {"average (half to even)", b.defecto(b.promedio(b.conClientes(usdBuy)), "0"), "286"},
      {"average over nothing", b.defecto(b.promedio(b.conClientes(b.dolares(2))), "0"), "0"},
      {"other currencies converted with the rate",
       b.defecto(b.suma(b.conClientes(b.otras(0)), 0, 0, false), "0"), "109"},
      {"other currencies: a foreign financial entity",
       b.conteo(b.segmento(b.conClientes(b.otras(0)), 5, 2, false)), "1"},
      {"documents: USD kept, EUR converted",
       b.defecto(b.suma(b.conClientes(b.documentos(0)), 0, 0, false), "0"), "718"},
      {"top client", b.defecto(b.clienteTop(b.conClientes(b.documentos(0)), 0), "NINGUNO"),
       "Banco del Norte (** Total Ops.:  2 **) "},
      {"top client of national banks",
       b.defecto(b.clienteTop(b.conClientes(b.documentos(0)), 7), "NINGUNO"),
       "Banco del Norte (** Total Ops.:  2 **) "},
      {"top client over nothing",
       b.defecto(b.clienteTop(b.conClientes(b.documentos(1)), 0), "NINGUNO"), "NINGUNO"},
      {"top currency", b.defecto(b.divisaTop(b.documentos(0)), "NINGUNO"),
       "CHEQUE EURO (** Total Ops.:  2 **) "},
      {"top activity leaves NO APLICA out", b.defecto(b.actividadTop(b.periodo()), "NINGUNO"),
       "COMERCIO (** Total Ops.:  5 **) "},
      {"sell side", b.conteo(b.conClientes(b.dolares(1))), "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      EXPECT_EQ(answer(c.sql), c.expected);
    } catch (const kv::db::DbError& e) {
      ADD_FAILURE() << e.describe() << "\n" << c.sql;
    }
  }
}

TEST_F(JetSystemSql, PepTicksDecideTheFlag) {
  const std::string usdBuy = b.dolares(0);
  EXPECT_EQ(answer(b.conteo(b.segmento(b.conClientes(usdBuy), 8, 0, false))), "0");
  b.peps = {"C1", "c1"};
  EXPECT_EQ(answer(b.conteo(b.segmento(b.conClientes(usdBuy), 8, 0, false))), "2");
  EXPECT_EQ(answer(b.conteo(b.segmento(b.conClientes(usdBuy), 10, 0, true))), "1");
}

TEST_F(JetSystemSql, PepDetectionQuery) {
  engine.runSqlite(
      "CREATE TABLE tRelevan (TipoRelev TEXT COLLATE JET, Fecha DATEREAL, Observaciones TEXT "
      "COLLATE JET, NumEmp INTEGER, ClaveCliente TEXT COLLATE JET);"
      "INSERT INTO tRelevan VALUES ('I', 43500, 'posible pep', 1, 'C1'), ('I', 43501, 'PEP', 1, "
      "'C1'), ('I', 43830.25, 'PEP', 1, 'C3'), ('R', 43500, 'PEP', 1, 'C2'), ('i', 43500, 'Pep', "
      "1, 'c4');");
  const std::string sql =
      "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, "
      "tCliente.ClaveCliente FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND "
      "tRelevan.Fecha >= #01/01/2019# AND tRelevan.Fecha < #01/01/2020# AND "
      "tRelevan.Observaciones LIKE '%PEP%' AND tRelevan.NumEmp = 1 AND tCliente.ClaveCliente = "
      "tRelevan.ClaveCliente";
  EXPECT_EQ(rowSetText(engine.select(sql)),
            "Nombre\tApellidoPaterno\tApellidoMaterno\tClaveCliente\n"
            "Juan\tPérez\t\\N\tC1\n"
            "Ana\t\\N\tGómez\tC3\n"  // 31 December at six in the morning
            "juan\tpérez\t\\N\tC4\n");
}

}  // namespace
}  // namespace kv::jet
