// Jet SQL over the small fixture of the case files: long chains, hostile texts, runaway
// statements and date literals, built in code.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/row_text.h"
#include "jet/sql/sql_parser.h"

namespace kv::jet {
namespace {

// The small fixture the case files semantica.test and errores.test run against.
std::string fixture() {
  std::ifstream in(std::filesystem::path(KV_JET_CASOS) / "pequena.sql");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class JetSql : public ::testing::Test {
 protected:
  void SetUp() override { engine.runSqlite(fixture()); }
  std::string run(const std::string& sql) { return rowSetText(engine.select(sql)); }
  JetEngine engine;
};

// The cases of what Jet gives and refuses are in tests/jet/casos/semantica.test and
// errores.test; here, what a case file cannot say.

TEST_F(JetSql, WritesAreRefused) {
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
  // 13,000 operands of a non-text chain nest their calls about 130 deep: within SQLite's
  // limits, so they are summed.
  EXPECT_EQ(run("SELECT " + chain(13000, " + ", [](int) { return std::string("Id"); }) +
                " AS a FROM tN WHERE Id = 2"),
            "a\n26000\n");
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
