// How the engine hands its statements to SQLite, where the plan and not only the rows
// matters: a derived table named twice in one statement is computed once, a join that
// names its largest table first scans it instead of indexing it, and the statements
// foreseen keep what they repeat, and only that, from its first use.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "jet/jet_engine.h"
#include "jet/row_text.h"

namespace kv::jet {
namespace {

// Operations of many clients over two years, the clients and their sectors: the shape of
// the questionnaire's joins, small.
const char* const kFixture = R"sql(
CREATE TABLE tMov (Folio INTEGER, Fecha DATEREAL, Cliente TEXT COLLATE JET, Monto REAL);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000)
  INSERT INTO tMov SELECT i, 43466.0 + (i % 730), 'C' || (i % 300), i % 97 FROM n;
CREATE TABLE tCli (Clave TEXT COLLATE JET, Sector TEXT COLLATE JET, NumEmp INTEGER);
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 299)
  INSERT INTO tCli SELECT 'c' || i, 'S' || (i % 7), 1 FROM n;
CREATE TABLE tSec (Sector TEXT COLLATE JET, Nombre TEXT COLLATE JET);
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 6)
  INSERT INTO tSec SELECT 'S' || i, 'SECTOR ' || i FROM n;
)sql";

// The activity with most operations of a year, as the questionnaire asks it.
const char* const kTopSector =
    "SELECT TOP 1 Nombre, COUNT(Nombre) AS n FROM (SELECT * FROM (SELECT o.* FROM tMov AS o "
    "WHERE o.Fecha >= #01/01/2019# AND o.Fecha < #01/01/2020#) AS tXOps, (SELECT Clave, "
    "tSec.Nombre FROM tCli INNER JOIN tSec ON tCli.Sector = tSec.Sector WHERE NumEmp = 1) AS "
    "tXCte WHERE tXOps.Cliente = tXCte.Clave) GROUP BY Nombre ORDER BY COUNT(Nombre) DESC";

class JetPlan : public ::testing::Test {
 protected:
  // An engine over the fixture with the speed-up `apagada` switched off (null: all on).
  static std::unique_ptr<JetEngine> Engine(const char* apagada = nullptr) {
    if (apagada) ::setenv(apagada, "0", 1);
    auto e = std::make_unique<JetEngine>();
    if (apagada) ::unsetenv(apagada);
    e->runSqlite(kFixture);
    return e;
  }
  static bool Has(const std::vector<std::string>& plan, const std::string& step) {
    return std::any_of(plan.begin(), plan.end(),
                       [&](const std::string& s) { return s.find(step) != std::string::npos; });
  }
};

TEST_F(JetPlan, DerivedTableNamedTwiceIsReadFromItsKeptRowsBothTimes) {
  auto e = Engine();
  const char* const sql =
      "SELECT COUNT(1) AS n FROM (SELECT Cliente FROM tMov WHERE Monto > 3) AS a INNER JOIN "
      "(SELECT Cliente FROM tMov WHERE Monto > 3) AS b ON a.Cliente = b.Cliente";
  const auto plan = e->plan(sql);
  EXPECT_FALSE(Has(plan, "tMov")) << "one side still reads tMov";
  const std::string rows = rowSetText(e->select(sql));
  e->setDerivedCache(false);
  EXPECT_EQ(rowSetText(e->select(sql)), rows);
}

TEST_F(JetPlan, LargestTableWrittenFirstIsScannedAndTheOthersIndexed) {
  auto con = Engine();
  const auto plan = con->plan(kTopSector);
  EXPECT_TRUE(Has(plan, "SCAN o")) << "the operations are not scanned";
  EXPECT_FALSE(Has(plan, "SEARCH o")) << "the operations are indexed";
  // In SQLite's own order the rows are the same.
  auto sin = Engine("KV_JET_ORDEN");
  const std::string rows = rowSetText(sin->select(kTopSector));
  EXPECT_EQ(rows, "Nombre\tn\nSECTOR 1\t313\n");
  EXPECT_EQ(rowSetText(con->select(kTopSector)), rows);
}

// Told the statements ahead, the engine keeps a derived table they name more than once at
// its first use instead of its second; one named once stays inline.
TEST_F(JetPlan, ForeseenStatementsKeepWhatTheyRepeatFromItsFirstUse) {
  const std::string repeated = "(SELECT Cliente, Monto FROM tMov WHERE Monto > 3)";
  const std::string once = "(SELECT Cliente, Monto FROM tMov WHERE Monto > 90)";
  const std::vector<std::string> statements = {
      "SELECT COUNT(1) AS n FROM " + repeated,
      "SELECT SUM(Monto) AS s FROM " + repeated + " WHERE Cliente = 'c1'",
      "SELECT COUNT(1) AS n FROM " + once,
  };
  std::vector<std::string> rows;
  for (const char* apagada : {"KV_JET_PREVISION", static_cast<const char*>(nullptr)}) {
    auto e = Engine(apagada);
    e->foresee(statements);
    const bool kept = apagada == nullptr;
    EXPECT_EQ(Has(e->plan(statements[0]), "tMov"), !kept) << (kept ? "foreseen" : "not foreseen");
    EXPECT_TRUE(Has(e->plan(statements[2]), "tMov")) << (kept ? "foreseen" : "not foreseen");
    std::string r;
    for (const auto& s : statements) r += rowSetText(e->select(s));
    rows.push_back(r);
  }
  EXPECT_EQ(rows[0], rows[1]);
  // What cannot be foreseen is left to fail when it runs.
  auto e = Engine();
  EXPECT_NO_THROW(e->foresee({"SELECT x FROM tNoExiste", "SELECT FROM", "DELETE FROM tMov"}));
  EXPECT_EQ(rowSetText(e->select("SELECT COUNT(1) AS n FROM tMov")), "n\n4000\n");
}

// A grouping that every statement names is kept once; the subquery it groups is read once,
// while the grouping is built, and is not kept beside it.
TEST_F(JetPlan, ForeseenGroupingKeepsItsGroupsNotTheRowsItGroups) {
  const std::string grouped =
      "(SELECT Cliente, Fecha, SUM(Monto) AS s FROM (SELECT Cliente, Fecha, Monto FROM tMov "
      "WHERE Monto > 3) GROUP BY Cliente, Fecha) AS g";
  const std::vector<std::string> statements = {
      "SELECT COUNT(1) AS n FROM " + grouped,
      "SELECT SUM(s) AS t FROM " + grouped + " WHERE g.Cliente = 'c1'",
  };
  auto e = Engine();
  e->foresee(statements);
  const auto groups = e->select(statements[0]);
  ASSERT_EQ(groups.rows.size(), 1u);
  EXPECT_EQ(e->keptRows(), groups.rows[0][0].toInt());
  const std::string rows = rowSetText(e->select(statements[1]));
  e->setDerivedCache(false);
  EXPECT_EQ(rowSetText(e->select(statements[1])), rows);
}

}  // namespace
}  // namespace kv::jet
