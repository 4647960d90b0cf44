// Loading a stored table into the engine: rows go to SQLite in batches, and every row
// arrives whole and in order, whatever the number of rows and columns, with the field a
// row does not give left null; a table that fails while loading leaves nothing behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/row_text.h"
#include "jet/table_source.h"

namespace kv::jet {
namespace {

// One table "t" of `rows` rows and `columns` columns: an integer, a text, a real, then
// integers. Every seventh row gives no text (it must load as null); with `failAt`, the
// reader fails after that many rows.
class GeneratedSource : public TableSource {
 public:
  GeneratedSource(int rows, int columns, int failAt = -1)
      : rows_(rows), columns_(columns), failAt_(failAt) {}
  const std::vector<std::string>& tableNames() const override { return names_; }
  void loadTable(const std::string&, TableWriter& w) override {
    std::vector<ColumnInfo> cols = {
        {"N", ColumnKind::Integer}, {"T", ColumnKind::Text}, {"R", ColumnKind::Real}};
    for (int c = 3; c < columns_; ++c)
      cols.push_back({"C" + std::to_string(c), ColumnKind::Integer});
    w.begin(cols);
    for (int i = 0; i < rows_; ++i) {
      if (i == failAt_) throw db::DbError("prueba", "lector roto");
      w.integer(0, i);
      if (i % 7 != 3) w.text(1, "texto " + std::string(static_cast<std::size_t>(i % 5), 'x'));
      w.real(2, i + 0.25);
      for (int c = 3; c < columns_; ++c) w.integer(c, i * 1000 + c);
      w.endRow();
    }
  }

 private:
  std::vector<std::string> names_ = {"t"};
  int rows_, columns_, failAt_;
};

TEST(JetLoad, EveryRowArrivesWholeAcrossBatches) {
  struct Case {
    int rows, columns;
  } cases[] = {{0, 3},
               {1, 3},
               {63, 3},
               {64, 3},
               {65, 4},
               {64 * 3 + 5, 5},
               // so many columns that a batch holds fewer rows
               {200, 700}};
  for (const Case& c : cases) {
    JetEngine engine(std::make_unique<GeneratedSource>(c.rows, c.columns));
    const std::string last = c.columns > 3 ? "C" + std::to_string(c.columns - 1) : "N";
    const auto rs =
        engine.select("SELECT COUNT(*) AS filas, SUM(N) AS sn, COUNT(T) AS nt, SUM(R) AS sr, SUM(" +
                      last + ") AS sc, SUM(IIF(LEN(T) = 6 + N MOD 5, 1, 0)) AS ok FROM t");
    const long long n = c.rows;
    long long nulls = 0;
    for (int i = 0; i < c.rows; ++i) nulls += i % 7 == 3;
    const long long lastSum =
        c.columns > 3 ? 1000 * n * (n - 1) / 2 + (c.columns - 1) * n : n * (n - 1) / 2;
    ASSERT_EQ(rs.rows.size(), 1u);
    const auto& r = rs.rows[0];
    EXPECT_EQ(r.at(0).toInt(), n) << c.rows << "x" << c.columns;
    EXPECT_EQ(r.at(2).toInt(), n - nulls) << c.rows << "x" << c.columns;
    if (n == 0) continue;
    EXPECT_EQ(r.at(1).toInt(), n * (n - 1) / 2) << c.rows << "x" << c.columns;
    EXPECT_DOUBLE_EQ(r.at(3).toDouble(), n * (n - 1) / 2.0 + n * 0.25) << c.rows;
    EXPECT_EQ(r.at(4).toInt(), lastSum) << c.rows << "x" << c.columns;
    EXPECT_EQ(r.at(5).toInt(), n - nulls) << c.rows << "x" << c.columns;
  }
}

TEST(JetLoad, RowsKeepTheirOrder) {
  JetEngine engine(std::make_unique<GeneratedSource>(130, 3));
  EXPECT_EQ(rowSetText(engine.select("SELECT N, T, R FROM t WHERE N IN (0, 3, 63, 64, 129)")),
            "N\tT\tR\n0\ttexto \t0.25\n3\t\\N\t3.25\n63\ttexto xxx\t63.25\n"
            "64\ttexto xxxx\t64.25\n129\t\\N\t129.25\n");
}

TEST(JetLoad, FailedTableLeavesNothingAndIsReadAgain) {
  JetEngine engine(std::make_unique<GeneratedSource>(300, 3, 150));
  EXPECT_THROW(engine.select("SELECT COUNT(*) AS n FROM t"), db::DbError);
  EXPECT_THROW(engine.select("SELECT COUNT(*) AS n FROM t"), db::DbError)
      << "the table is read again, and fails again, instead of keeping half its rows";
}

}  // namespace
}  // namespace kv::jet
