// Derived tables kept between statements: the rows stay those of the inline subquery.
#include <gtest/gtest.h>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/row_text.h"
#include "jet/sql/key_conditions.h"
#include "jet/sql/sql_parser.h"

namespace kv::jet {
namespace {

const char* const kFixture = R"sql(
CREATE TABLE tM (Id INTEGER, Cliente TEXT COLLATE JET, Monto REAL, Fecha DATEREAL);
INSERT INTO tM VALUES (1, 'Ana', 10, 43830.0), (2, 'ANA ', 5, 43831.0), (3, 'Beto', 7, NULL),
                      (4, 'beto', 1, 43832.5), (5, 'Caro', 2, 43833.0);
CREATE TABLE tC (Clave TEXT COLLATE JET, Tipo TEXT COLLATE JET);
INSERT INTO tC VALUES ('ana', 'F'), ('BETO', 'M'), ('caro', 'F');
)sql";

// A chain like the questionnaire's: derived tables inside derived tables, the same
// inner text twice, joins and groups on text keys.
const char* const kChain =
    "SELECT Tipo, ROUND(SUM(Total)) AS Suma, COUNT(1) AS n FROM "
    "(SELECT X.Cliente, X.Total, C.Tipo FROM "
    "(SELECT Cliente, SUM(Monto) AS Total FROM (SELECT * FROM tM WHERE Monto > 1) "
    "GROUP BY Cliente) AS X INNER JOIN tC AS C ON X.Cliente = C.Clave) "
    "GROUP BY Tipo ORDER BY Tipo";
const char* const kChainRows = "Tipo\tSuma\tn\nF\t17\t2\nM\t7\t1\n";

class JetCache : public ::testing::Test {
 protected:
  void SetUp() override { engine.runSqlite(kFixture); }
  std::string run(const std::string& sql) { return rowSetText(engine.select(sql)); }
  JetEngine engine;
};

TEST_F(JetCache, SameRowsInlineFilledAndReused) {
  const char* const texts[] = {
      kChain,
      "SELECT Fecha, Cliente FROM (SELECT Fecha, Cliente FROM tM WHERE Id = 4)",
      "SELECT COUNT(1) AS n FROM (SELECT Cliente FROM tM) AS a INNER JOIN "
      "(SELECT Cliente FROM tM) AS b ON a.Cliente = b.Cliente",
      "SELECT TOP 1 Cliente, Total FROM (SELECT Cliente, SUM(Monto) AS Total FROM tM "
      "GROUP BY Cliente) ORDER BY Total DESC",
      "SELECT Cliente FROM (SELECT Cliente FROM tM WHERE Id < 3) WHERE Cliente = 'ana'",
  };
  engine.setDerivedCache(false);
  std::vector<std::string> inline_;
  for (const char* t : texts) inline_.push_back(run(t));
  EXPECT_EQ(inline_[0], kChainRows);
  EXPECT_EQ(inline_[1], "Fecha\tCliente\n02/01/2020 12:00:00\tbeto\n");
  engine.setDerivedCache(true);
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < std::size(texts); ++i)
      EXPECT_EQ(run(texts[i]), inline_[i]) << "pass " << pass << ": " << texts[i];
}

TEST_F(JetCache, ChangedTablesAreReadAgain) {
  EXPECT_EQ(run(kChain), kChainRows);
  engine.runSqlite("INSERT INTO tM VALUES (6, 'caro', 3, NULL)");
  EXPECT_EQ(run(kChain), "Tipo\tSuma\tn\nF\t20\t2\nM\t7\t1\n");
}

TEST_F(JetCache, RowsThatFailWhenKeptStayInline) {
  // The outer condition leaves out the row whose division fails (also in a grouped
  // derived table, which is kept from its first use).
  for (const char* sql :
       {"SELECT COUNT(1) AS n FROM (SELECT Id, 1 / (Id - 5) AS r FROM tM) WHERE Id < 5",
        "SELECT COUNT(1) AS n FROM (SELECT Id, SUM(1 / (Id - 5)) AS r FROM tM GROUP BY Id) "
        "WHERE Id < 5"}) {
    EXPECT_EQ(run(sql), "n\n4\n") << sql;
    EXPECT_EQ(run(sql), "n\n4\n") << sql;
  }
  EXPECT_THROW(engine.select("SELECT r FROM (SELECT 1 / (Id - 5) AS r FROM tM)"), kv::db::DbError);
}

TEST_F(JetCache, SmallLimitDropsOldTablesBetweenStatements) {
  engine.setCacheRowLimit(1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(run(kChain), kChainRows);
    EXPECT_EQ(run("SELECT COUNT(1) AS n FROM (SELECT Id FROM tM WHERE Id > 2)"), "n\n3\n");
  }
}

// A condition on a grouped derived table's key is copied inside it only where the same
// groups come out: keys compared with numbers or dates, never an aggregate, a text, a
// SELECT with TOP or a side of a JOIN.
const struct {
  const char* sql;
  std::size_t copied;  // conditions the grouped SELECT gains
} kKeyConditions[] = {
    {"SELECT * FROM (SELECT Fecha, SUM(Monto) AS S FROM tM GROUP BY Fecha) AS g "
     "WHERE g.Fecha >= #12/31/2019# AND Fecha < #1/3/2020#",
     2},
    {"SELECT * FROM (SELECT Id, Fecha, SUM(Monto) AS S FROM tM GROUP BY Id, Fecha) AS g "
     "WHERE 2 <= g.Id AND g.Fecha BETWEEN #12/31/2019# AND #1/2/2020# AND g.S > 1",
     2},
    {"SELECT * FROM (SELECT Cliente, SUM(Monto) AS S FROM tM GROUP BY Cliente) AS g "
     "WHERE g.Cliente = 'ana' OR g.S > 5",
     0},
    {"SELECT * FROM (SELECT Cliente, SUM(Monto) AS S FROM tM GROUP BY Cliente) AS g "
     "WHERE g.Cliente >= 'b'",
     0},
    {"SELECT * FROM (SELECT Id AS Fecha, SUM(Monto) AS S FROM tM GROUP BY Id) AS g "
     "WHERE g.Fecha > 2",
     0},
    {"SELECT * FROM (SELECT TOP 2 Id, SUM(Monto) AS S FROM tM GROUP BY Id ORDER BY Id) AS g "
     "WHERE g.Id > 1",
     0},
    {"SELECT g.Id, c.Tipo FROM (SELECT Id, Cliente FROM tM GROUP BY Id, Cliente) AS g, tC AS c "
     "WHERE g.Cliente = c.Clave AND g.Id > 1 AND Id < 5",
     1},
    {"SELECT c.Tipo, g.Id FROM tC AS c LEFT JOIN (SELECT Id, Cliente FROM tM GROUP BY Id, "
     "Cliente) AS g ON g.Cliente = c.Clave WHERE g.Id > 1",
     0},
};

std::size_t Conditions(const Expr* where) {
  if (!where) return 0;
  return where->kind == Expr::Kind::Binary && where->op == "AND" ? where->args.size() : 1;
}

TEST_F(JetCache, KeyConditionsCopiedIntoGroupedTablesKeepTheRows) {
  for (const auto& c : kKeyConditions) {
    SCOPED_TRACE(c.sql);
    Statement st = parseStatement(c.sql);
    const auto grouped = [&]() -> const SelectCore& {
      for (const auto& t : st.query->members[0].from) {
        const TableRef* r = t.get();
        if (r->kind == TableRef::Kind::Join) r = r->right.get();
        if (r->kind == TableRef::Kind::Derived) return r->query->members[0];
      }
      throw std::logic_error("no derived table");
    };
    const std::size_t before = Conditions(grouped().where.get());
    copyKeyConditions(*st.query);
    EXPECT_EQ(Conditions(grouped().where.get()), before + c.copied);
    // The rows: inline (nothing copied) and kept (copied), twice.
    engine.setDerivedCache(false);
    const std::string inline_ = run(c.sql);
    engine.setDerivedCache(true);
    EXPECT_EQ(run(c.sql), inline_);
    EXPECT_EQ(run(c.sql), inline_);
  }
}

}  // namespace
}  // namespace kv::jet
