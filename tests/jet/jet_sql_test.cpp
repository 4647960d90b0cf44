// Jet SQL semantics over small SQLite fixtures: each case is a Jet statement and the
// exact rows Jet gives (header line, then rows; tab-separated, null as \N).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/row_text.h"
#include "jet/sql/sql_parser.h"

namespace kv::jet {
namespace {

const char* const kFixture = R"sql(
CREATE TABLE tN (Id INTEGER, Nombre TEXT COLLATE JET, Ap TEXT COLLATE JET, Monto REAL,
                 Fecha DATEREAL, Activo INTEGER);
INSERT INTO tN VALUES (1, 'Ana', 'López', 1.1, 43830.0, -1),
                      (2, 'ANA', NULL, 1.2, 43830.5, 0),
                      (3, 'ana  ', 'Pérez', 0.2, 43466.0, -1),
                      (4, 'Público en General', NULL, NULL, 43465.75, 0),
                      (5, 'ñandú', '', 0, NULL, -1);
CREATE TABLE tK (Nombre TEXT COLLATE JET, Grupo TEXT COLLATE JET);
INSERT INTO tK VALUES ('ANA', 'g1'), ('ÑANDÚ', 'g2');
CREATE TABLE tVacia (x INTEGER);
)sql";

class JetSql : public ::testing::Test {
 protected:
  void SetUp() override { engine.runSqlite(kFixture); }
  std::string run(const std::string& sql) { return rowSetText(engine.select(sql)); }
  JetEngine engine;
};

struct Case {
  const char* what;
  const char* sql;
  const char* rows;
};

TEST_F(JetSql, SemanticsTable) {
  const Case cases[] = {
      {"grouping ignores case and trailing blanks",
       "SELECT UCASE(Nombre) AS N, COUNT(1) AS C FROM tN WHERE Id <= 3 GROUP BY Nombre",
       "N\tC\nANA\t3\n"},
      {"DISTINCT ignores case", "SELECT DISTINCT Nombre FROM tN WHERE Id <= 3", "Nombre\nAna\n"},
      {"a derived table's computed text ignores case under DISTINCT",
       "SELECT DISTINCT x FROM (SELECT Nombre + '' AS x FROM tN WHERE Id <= 3)", "x\nAna\n"},
      {"UNION ignores case on computed texts, at the top and from a derived table",
       "SELECT COUNT(1) AS C FROM (SELECT Nombre + '' AS x FROM tN WHERE Id = 1 UNION "
       "SELECT x FROM (SELECT UCASE(Nombre) AS x FROM tN WHERE Id = 2))",
       "C\n1\n"},
      {"join on text ignores case, accents folded to upper case",
       "SELECT tN.Id, tK.Grupo FROM tN INNER JOIN tK ON tN.Nombre = tK.Nombre ORDER BY tN.Id",
       "Id\tGrupo\n1\tg1\n2\tg1\n3\tg1\n5\tg2\n"},
      {"comma join with WHERE equality",
       "SELECT a.Id FROM tN AS a, tK AS b WHERE a.Nombre = b.Nombre AND b.Grupo = 'G2'", "Id\n5\n"},
      {"banker's rounding",
       "SELECT ROUND(2.5) AS a, ROUND(3.5) AS b, ROUND(-2.5) AS c, "
       "ROUND(2.675, 2) AS d, ROUND(7) AS e",
       "a\tb\tc\td\te\n2\t4\t-2\t2.67\t7\n"},
      {"STR puts a blank before non-negative numbers",
       "SELECT STR(5) AS a, STR(-5) AS b, STR(2.5) AS c, STR(0) AS d, STR(NULL) AS e",
       "a\tb\tc\td\te\n 5\t-5\t 2.5\t 0\t\\N\n"},
      {"+ concatenates texts and propagates null",
       "SELECT Nombre + IIF(ISNULL(Ap), '', ' ' + Ap) AS Cliente, Nombre + Ap AS Crudo FROM tN "
       "WHERE Id IN (1, 2, 5) ORDER BY Id",
       "Cliente\tCrudo\nAna López\tAnaLópez\nANA\t\\N\nñandú \tñandú\n"},
      {"+ adds numbers and numeric text",
       "SELECT '5' + 3 AS a, 1 + 2 AS b, Id + Monto AS c "
       "FROM tN WHERE Id = 1",
       "a\tb\tc\n8\t3\t2.1\n"},
      {"& treats null as empty text", "SELECT Nombre & Ap & 1 AS a FROM tN WHERE Id = 2",
       "a\nANA1\n"},
      {"/ is real division", "SELECT 7 / 2 AS a, 6 / 3 AS b", "a\tb\n3.5\t2\n"},
      {"\\ and MOD round first", "SELECT 7 \\ 2 AS a, 7.5 \\ 2 AS b, 7 MOD 3 AS c",
       "a\tb\tc\n3\t4\t1\n"},
      {"IIF evaluates only the chosen branch",
       "SELECT IIF(Id = 5, 0, 1 / (Id - 5)) AS r FROM tN WHERE Id = 5", "r\n0\n"},
      {"ISNULL gives -1/0 and comparisons as values give -1/0",
       "SELECT ISNULL(Ap) AS a, (Id = 2) AS b, NOT (Id = 2) AS c FROM tN WHERE Id = 2",
       "a\tb\tc\n-1\t-1\t0\n"},
      {"True and False are -1 and 0", "SELECT COUNT(1) AS n FROM tN WHERE Activo = True", "n\n3\n"},
      {"UCASE is Unicode", "SELECT UCASE(Nombre) AS u, LCASE('ÁÉ') AS l FROM tN WHERE Id = 5",
       "u\tl\nÑANDÚ\táé\n"},
      {"LIKE uses % and _, ignores case",
       "SELECT Id FROM tN WHERE Nombre LIKE '%PUBLICO%' OR Nombre LIKE '_na' ORDER BY Id",
       "Id\n1\n2\n"},
      {"LIKE keeps trailing blanks", "SELECT Id FROM tN WHERE Nombre LIKE 'ana' ORDER BY Id",
       "Id\n1\n2\n"},
      {"LIKE: null never matches", "SELECT Id FROM tN WHERE Ap LIKE '%' ORDER BY Id",
       "Id\n1\n3\n5\n"},
      {"LIKE keeps accents", "SELECT COUNT(1) AS n FROM tN WHERE Nombre LIKE '%ublico%'", "n\n0\n"},
      {"LIKE character lists", "SELECT Id FROM tN WHERE Nombre LIKE '[!a-m]%' ORDER BY Id",
       "Id\n4\n5\n"},
      {"NOT LIKE", "SELECT COUNT(1) AS n FROM tN WHERE Nombre NOT LIKE '%an%'", "n\n1\n"},
      {"= ignores trailing blanks and case", "SELECT COUNT(1) AS n FROM tN WHERE Nombre = 'ANA'",
       "n\n3\n"},
      {"date bounds: a time on the last day is outside",
       "SELECT Id FROM tN WHERE Fecha >= #01/01/2019# AND Fecha <= #12/31/2019# ORDER BY Id",
       "Id\n1\n3\n"},
      {"date literal with a time", "SELECT Id FROM tN WHERE Fecha = #12/31/2019 12:00:00# ",
       "Id\n2\n"},
      {"dates come out as dates", "SELECT Fecha FROM tN WHERE Id = 4",
       "Fecha\n31/12/2018 18:00:00\n"},
      {"aggregates over no rows give one row", "SELECT COUNT(1) AS n, SUM(x) AS s FROM tVacia",
       "n\ts\n0\t\\N\n"},
      {"SUM of Currency amounts is exact before ROUND",
       "SELECT ROUND(SUM(Monto)) AS r, SUM(Monto) AS s FROM tN WHERE Id <= 3", "r\ts\n2\t2.5\n"},
      {"expressions without alias are named Expr1000, Expr1001",
       "SELECT Id * 2, Nombre, Id + 1 FROM tN WHERE Id = 1",
       "Expr1000\tNombre\tExpr1001\n2\tAna\t2\n"},
      {"UNION ALL keeps member order",
       "SELECT 'b' AS x FROM tK WHERE Grupo = 'g1' "
       "UNION ALL SELECT 'a' FROM tK WHERE Grupo = 'g2'",
       "x\nb\na\n"},
      {"TOP with ORDER BY keeps ties",
       "SELECT TOP 1 Ap, COUNT(Id) AS n FROM tN GROUP BY Ap ORDER BY COUNT(Id) DESC",
       "Ap\tn\n\\N\t2\n"},
      {"TOP 2 with a tie at the 2nd row gives every tied row",
       "SELECT TOP 2 Activo FROM tN ORDER BY Activo", "Activo\n-1\n-1\n-1\n"},
      {"TOP n sorted on several keys", "SELECT TOP 2 Id FROM tN ORDER BY Activo, Id DESC",
       "Id\n5\n3\n"},
      {"TOP n without ORDER BY", "SELECT TOP 2 Id FROM tN WHERE Id > 3", "Id\n4\n5\n"},
      {"TOP 1 inside a UNION ALL member with the default row after it",
       "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), 'NINGUNO', XResul) AS Resultado "
       "FROM (SELECT TOP 1 UCASE(Nombre) + ' (** Total Ops.: ' + STR( COUNT(Nombre)) +  ' **) ' "
       "AS XResul FROM (SELECT * FROM tN) GROUP BY Nombre ORDER BY COUNT(Nombre) DESC "
       "UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tK) ",
       "Resultado\nANA (** Total Ops.:  3 **) \nNINGUNO\nNINGUNO\n"},
      {"default row when the member is empty",
       "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '0', XResul) AS Resultado "
       "FROM (SELECT ROUND(SUM(x)) AS XResul FROM (SELECT x FROM tVacia) UNION ALL "
       "SELECT 'ZZZSINRESULT' AS XResul FROM tK) ",
       "Resultado\n0\n0\n0\n"},
      {"derived table without alias and alias.*",
       "SELECT t.* FROM (SELECT Id FROM (SELECT Id, Nombre FROM tN) WHERE Id > 4) AS t", "Id\n5\n"},
      {"ORDER BY after the last member sorts the union",
       "SELECT Grupo FROM tK UNION ALL SELECT 'g0' FROM tK ORDER BY Grupo DESC",
       "Grupo\ng2\ng1\ng0\ng0\n"},
      {"BETWEEN and IN ignore case",
       "SELECT COUNT(1) AS n FROM tN WHERE Nombre IN ('ana', 'x') "
       "AND Id BETWEEN 2 AND 3",
       "n\n2\n"},
      {"bracketed names and table names in any case", "SELECT [Nombre] FROM [TN] WHERE [Id] = 1",
       "Nombre\nAna\n"},
      {"HAVING", "SELECT Activo, COUNT(1) AS n FROM tN GROUP BY Activo HAVING COUNT(1) > 2",
       "Activo\tn\n-1\t3\n"},
  };
  // Every case without kept derived tables, then with them: filling and reusing.
  for (const bool kept : {false, true, true}) {
    engine.setDerivedCache(kept);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (kept ? " (kept derived tables)" : ""));
      try {
        EXPECT_EQ(run(c.sql), c.rows) << c.sql;
      } catch (const kv::db::DbError& e) {
        ADD_FAILURE() << e.describe() << "\n" << c.sql;
      }
    }
  }
}

TEST_F(JetSql, FailuresAreTheEnginesOwn) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT * FROM tNoExiste", "No se encontró la tabla"},
      {"SELECT NoExiste FROM tN", "No se encontró el campo"},
      {"SELECT Id FROM tN WHERE", "Error de sintaxis"},
      {"SELECT Id FROM tN WHERE Id = 'x", "Error de sintaxis"},
      {"SELEC Id FROM tN", "Error de sintaxis"},
      {"SELECT Id FROM tN GARBAGE MORE", "Error de sintaxis"},
      {"SELECT Foo(Id) FROM tN", "Función no definida"},
      {"SELECT IIF(Id) FROM tN", "Número de argumentos"},
      {"SELECT Nombre, COUNT(1) AS n FROM tN", "como parte de una función de agregado"},
      {"SELECT Id, Nombre FROM tN GROUP BY Id", "como parte de una función de agregado"},
      {"SELECT 1 / (Id - 1) AS r FROM tN", "División entre cero"},
      {"SELECT Nombre + 1 AS r FROM tN", "Los tipos de datos no coinciden"},
      {"SELECT Nombre * 2 AS r FROM tN", "Los tipos de datos no coinciden"},
      {"SELECT Id FROM tN WHERE Fecha < #02/30/2019#", "Fecha no válida"},
      {"SELECT Id FROM tN WHERE Nombre LIKE '[a'", "Patrón de LIKE no válido"},
      {"SELECT Id FROM tN WHERE Id IN (SELECT Id FROM tN)", "no admite"},
      {"DELETE FROM tN", "sólo para lectura"},
      {"TRUNCATE TABLE tN", "sólo para lectura"},
      {"SELECT Id FROM tN; DROP TABLE tN", "Error de sintaxis"},
  };
  for (const auto& [sql, text] : cases) {
    try {
      engine.select(sql);
      ADD_FAILURE() << "no failure: " << sql;
    } catch (const kv::db::DbError& e) {
      EXPECT_EQ(e.className(), "EJetError") << sql;
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << sql << " -> " << e.what();
    }
  }
  EXPECT_THROW(engine.execute("DELETE FROM tN WHERE Id = 1"), kv::db::DbError);
  EXPECT_EQ(run("SELECT COUNT(1) AS n FROM tN"), "n\n5\n");
}

TEST_F(JetSql, DeepNestingFailsCleanly) {
  std::string sql = "SELECT ";
  for (int i = 0; i < 5000; ++i) sql += "(";
  sql += "1";
  for (int i = 0; i < 5000; ++i) sql += ")";
  EXPECT_THROW(engine.select(sql), kv::db::DbError);
}

// "t0 SEP t1 SEP … t(n-1)" with each term made by `term`.
std::string chain(int n, const std::string& sep, const std::function<std::string(int)>& term) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? sep : "") + term(i);
  return s;
}

TEST_F(JetSql, LongChainsGiveTheirRows) {
  const auto num = [](int i) { return std::to_string(i); };
  const struct {
    const char* what;
    std::string sql;
    const char* rows;
  } cases[] = {
      {"13,000 equalities on one field, any case",
       "SELECT Id FROM tN WHERE " +
           chain(13000, " OR ", [](int i) { return "Nombre = 'x" + std::to_string(i) + "'"; }) +
           " OR Nombre = 'ÑANDÚ' ORDER BY Id",
       "Id\n5\n"},
      {"200,000 terms of different fields",
       "SELECT COUNT(1) AS n FROM tN WHERE " +
           chain(200000, " OR ", [](int i) { return i % 2 ? "Id = 1" : "Ap = 'Pérez'"; }),
       "n\n2\n"},
      {"13,000 ANDs",
       "SELECT COUNT(1) AS n FROM tN WHERE " +
           chain(13000, " AND ", [](int) { return std::string("Id > 1"); }),
       "n\n4\n"},
      {"13,000 &",
       "SELECT LEN(" + chain(13000, " & ", [](int) { return std::string("'ab'"); }) + ") AS n",
       "n\n26000\n"},
      {"2,500 + of whole numbers", "SELECT " + chain(2500, " + ", num) + " AS n", "n\n3123750\n"},
      {"texts joined by + in a long chain",
       "SELECT LEN(" + chain(5000, " + ", [](int) { return std::string("'a'"); }) + ") AS n",
       "n\n5000\n"},
      {"three operands, left to right",
       "SELECT '1' + '2' + 3 AS a, 'a' + 'b' + 'c' AS b, 2 * 3 * 4 AS c, 100 / 4 / 5 AS d, "
       "100 \\ 7 \\ 2 AS e, 17 MOD 5 MOD 3 AS f, 10 - 2 - 3 AS g",
       "a\tb\tc\td\te\tf\tg\n15\tabc\t24\t5\t7\t2\t5\n"},
      {"a null ends a chain before a text is converted",
       "SELECT Ap - 1 - 'x' AS a, Ap + 'x' + 1 AS b, NULL & NULL & NULL AS c, "
       "'x' & NULL & 1 AS d FROM tN WHERE Id = 2",
       "a\tb\tc\td\n\\N\t\\N\t\\N\tx1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      EXPECT_EQ(run(c.sql), c.rows);
    } catch (const kv::db::DbError& e) {
      ADD_FAILURE() << e.describe();
    }
  }
}

// Whatever the text, the engine answers with rows or with its own error, never a signal.
TEST_F(JetSql, HostileTextsFailCleanly) {
  const auto rep = [](int n, const std::string& s) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  const std::pair<std::string, const char*> cases[] = {
      {"SELECT " + rep(5000, "NOT ") + "1 = 1 AS a", "demasiado larga o anidada"},
      {"SELECT " + rep(5000, "- ") + "1 AS a", "demasiado larga o anidada"},
      {"SELECT 1 " + rep(5000, "= 1 ") + "AS a", "demasiado larga o anidada"},
      {"SELECT 1 " + rep(13000, "+ 1 - 1 ") + "AS a", "demasiado larga o anidada"},
      {"SELECT " + chain(13000, " + ", [](int) { return std::string("Id"); }) + " AS a FROM tN",
       "demasiado larga o anidada"},
      {"SELECT " + rep(3000, "IIF(Id = 1, 1, ") + "0" + rep(3000, ")") + " AS a FROM tN",
       "demasiado larga o anidada"},
      {"SELECT Id FROM " + rep(3000, "(SELECT Id FROM ") + "tN" + rep(3000, ")"),
       "demasiado larga o anidada"},
      {"SELECT " + chain(600, " UNION ALL SELECT ", [](int) { return std::string("1 AS a"); }),
       "demasiado larga o anidada"},
      {"SELECT 1 AS a" + chain(40, "",
                               [](int i) {
                                 const std::string p = i ? "a" + std::to_string(i - 1) : "a";
                                 return ", " + p + " + " + p + " AS a" + std::to_string(i);
                               }),
       "demasiado larga o anidada"},
      {"SELECT 1e999 AS a", "Desbordamiento numérico"},
      {"SELECT -9223372036854775808 \\ -1 AS a", "Desbordamiento numérico"},
      {"SELECT Monto / 1e-300 / 1e-300 AS a FROM tN WHERE Id = 1", "Desbordamiento numérico"},
  };
  for (const auto& [sql, text] : cases) {
    SCOPED_TRACE(sql.substr(0, 80));
    try {
      engine.select(sql);
      ADD_FAILURE() << "no failure";
    } catch (const kv::db::DbError& e) {
      EXPECT_EQ(e.className(), "EJetError");
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(run("SELECT 1e-999 AS a, -9223372036854775807 \\ -1 AS b"),
            "a\tb\n0\t9223372036854775807\n");
}

// A cross join of three tables of 3,000 rows: hours of work, stopped by a flag set from
// another thread or by the time limit; the engine answers again afterwards.
TEST_F(JetSql, RunawayStatementIsStopped) {
  engine.runSqlite(
      "CREATE TABLE tGrande (x INTEGER); WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
      "FROM s WHERE i < 3000) INSERT INTO tGrande SELECT i FROM s");
  const std::string runaway = "SELECT COUNT(1) AS n FROM tGrande AS a, tGrande AS b, tGrande AS c";
  std::atomic<bool> stop{false};
  engine.setInterrupt(&stop, std::chrono::milliseconds(0));
  std::thread asker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    stop = true;
  });
  try {
    engine.select(runaway);
    ADD_FAILURE() << "not stopped";
  } catch (const kv::db::DbError& e) {
    EXPECT_STREQ(e.what(), "La consulta se interrumpió a petición del usuario");
  }
  asker.join();
  stop = false;
  engine.setInterrupt(&stop, std::chrono::milliseconds(300));
  try {
    engine.select(runaway);
    ADD_FAILURE() << "not stopped";
  } catch (const kv::db::DbError& e) {
    EXPECT_STREQ(e.what(), "La consulta se interrumpió: pasó su tiempo límite");
  }
  EXPECT_EQ(run("SELECT COUNT(1) AS n FROM tGrande"), "n\n3000\n");
}

TEST(JetDateLiteral, UsOrderAndTimes) {
  const std::pair<const char*, double> cases[] = {
      {"12/31/2019", 43830.0},          {"01/01/2019", 43466.0},        {"1/2/2019", 43467.0},
      {"2019-12-31", 43830.0},          {"12/31/2019 18:00", 43830.75}, {"12/30/1899", 0.0},
      {"12/31/2019 6:00 PM", 43830.75}, {"12/29/1899 06:00:00", -1.25}, {"2/29/2020", 43890.0},
  };
  for (const auto& [text, days] : cases) EXPECT_DOUBLE_EQ(parseDateLiteral(text), days) << text;
  for (const char* bad : {"13/01/2019", "02/29/2019", "1/1", "aa/bb/cccc", "12/31/2019 25:00"})
    EXPECT_THROW(parseDateLiteral(bad), kv::db::DbError) << bad;
}

}  // namespace
}  // namespace kv::jet
