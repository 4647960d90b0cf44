// The engine's numbers under a comma-decimal C library locale (QApplication sets the
// locale from the environment): texts, literals, conversions and the values read from
// the file are the same as under "C".
#include <gtest/gtest.h>

#include "data/db/value.h"
#include "jet/jet_engine.h"
#include "jet/jet_provider.h"
#include "jet/row_text.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/locale_coma.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv::jet {
namespace {

const char* const kFixture = R"sql(
CREATE TABLE tN (Id INTEGER, Monto REAL, Fecha DATEREAL, Texto TEXT COLLATE JET);
INSERT INTO tN VALUES (1, 2.5, 43830.5, '1.5'), (2, 0.25, 43830.0, '2');
)sql";

struct Caso {
  const char* que;
  const char* sql;
  const char* filas;
};

// Each statement's rows, the same under "C" and under the comma locale.
const Caso kCasos[] = {
    {"STR of a fraction", "SELECT STR(1.5) AS s, STR(-2.5) AS t", "s\tt\n 1.5\t-2.5\n"},
    {"a number joined to a text", "SELECT 2.5 & '' AS s, Monto & 'x' AS t FROM tN WHERE Id = 2",
     "s\tt\n2.5\t0.25x\n"},
    {"a date literal with a time in a condition",
     "SELECT Id FROM tN WHERE Fecha = #12/31/2019 12:00# ", "Id\n1\n"},
    {"a date literal with a time in the select list stays one column",
     "SELECT #12/31/2019 12:00# - Fecha AS d, Id FROM tN WHERE Id = 2", "d\tId\n0.5\t2\n"},
    {"numeric text in arithmetic", "SELECT '1.5' + 1 AS a, Texto * 2 AS b FROM tN WHERE Id = 1",
     "a\tb\n2.5\t3\n"},
    {"a fractional divisor", "SELECT Monto / 0.5 AS a FROM tN WHERE Id = 1", "a\n5\n"},
    {"ROUND to decimals", "SELECT ROUND(2.675, 2) AS a, ROUND(1.25, 1) AS b", "a\tb\n2.67\t1.2\n"},
    {"real literals", "SELECT 0.1 + 0.2 AS a, 1234567.5 AS b", "a\tb\n0.3\t1234567.5\n"},
};

TEST(JetLocale, StatementsGiveTheSameRowsUnderACommaLocale) {
  auto corre = [](const char* etapa) {
    JetEngine engine;
    engine.runSqlite(kFixture);
    for (const auto& c : kCasos) {
      std::string filas;
      try {
        filas = rowSetText(engine.select(c.sql));
      } catch (const std::exception& e) {
        filas = std::string("error: ") + e.what();
      }
      EXPECT_EQ(filas, c.filas) << etapa << ": " << c.que;
    }
  };
  corre("C locale");
  TLocaleComaDecimal coma;
  ASSERT_TRUE(coma.Activo());
  corre("comma locale");
  EXPECT_EQ(kv::db::formatNumber(19.26), "19.26");
  EXPECT_EQ(kv::db::Value(std::string("1.5")).toDouble(), 1.5);
}

// Single columns are read as the shortest decimal that gives back the stored float.
TEST(JetLocale, SingleColumnsReadTheSameUnderACommaLocale) {
  TCarpetaTemporal carpeta;
  const auto ruta = carpeta.Ruta() / "n.mdb";
  mdbw::writeDatabase(
      ruta,
      {{"tS",
        {{"Id", mdbw::ColumnType::Long}, {"Valor", mdbw::ColumnType::Single}},
        {{std::int64_t{1}, 19.26}, {std::int64_t{2}, -0.1}, {std::int64_t{3}, 3.0}}}},
      "");
  auto lee = [&] {
    auto sesion = openJetSession(ruta.string(), "");
    return rowSetText(sesion->select("SELECT Id, Valor FROM tS ORDER BY Id"));
  };
  const char* const esperado = "Id\tValor\n1\t19.26\n2\t-0.1\n3\t3\n";
  EXPECT_EQ(lee(), esperado);
  TLocaleComaDecimal coma;
  ASSERT_TRUE(coma.Activo());
  EXPECT_EQ(lee(), esperado);
}

}  // namespace
}  // namespace kv::jet
