// Round trip: tables written with the writer (and with the mdbwrite command) read back with
// mdb-export (mdbtools) and with mdb-reader equal the input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/tools/mdbwrite/lectores.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv::mdbw {
namespace {

using test::Cell;
using test::TextRow;

// One table of the fixture, every value in mdbwrite's CSV form.
struct TextTable {
  std::string name;
  std::vector<std::string> header;  // Name:type
  std::vector<TextRow> rows;
};

std::string csvOf(const TextTable& t) {
  auto quote = [](const std::string& s) {
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
  };
  std::string out;
  for (std::size_t i = 0; i < t.header.size(); ++i) out += (i ? "," : "") + t.header[i];
  out += "\r\n";
  for (const auto& r : t.rows) {
    for (std::size_t i = 0; i < r.size(); ++i) out += (i ? "," : "") + (r[i] ? quote(*r[i]) : "");
    out += "\r\n";
  }
  return out;
}

Table apiTable(const TextTable& t) {
  Table out{t.name, {}, {}};
  for (const auto& h : t.header) out.columns.push_back(parseColumnHeader(h));
  for (const auto& r : t.rows) {
    Row row;
    for (const auto& c : r) row.push_back(c ? Value(*c) : Value(Null{}));
    out.rows.push_back(std::move(row));
  }
  return out;
}

// Canonical text of a value of the given type, so that "0.15" and "0.15000001" (the same
// single) or "3.5" and "3.5000" (the same currency) compare equal.
Cell canonical(ColumnType type, const Cell& c) {
  if (!c) return c;
  const std::string& s = *c;
  char buf[64];
  switch (type) {
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
      return std::to_string(std::stoll(s));
    case ColumnType::Single:
      std::snprintf(buf, sizeof buf, "%.9g", double(float(std::stod(s))));
      return std::string(buf);
    case ColumnType::Double:
      std::snprintf(buf, sizeof buf, "%.17g", std::stod(s));
      return std::string(buf);
    case ColumnType::Currency: {
      std::string t = s[0] == '+' ? s.substr(1) : s;
      auto dot = t.find('.');
      if (dot == std::string::npos) t += ".", dot = t.size() - 1;
      while (t.size() - dot - 1 < 4) t += '0';
      return t;
    }
    case ColumnType::DateTime:
      return s.size() == 10 ? s + " 00:00:00" : s;
    case ColumnType::Boolean:
      return s == "TRUE" || s == "true" ? "true" : "false";
    case ColumnType::Text:
    case ColumnType::Memo:
      return s;
  }
  return s;
}

// Compares what a reader returned with the input. mdb-export shows an empty text as null and
// prints dates before 1899-12-30 or after the year 4637 as 1900-01-00.
void expectSame(const TextTable& in, const test::ReadTable& got, bool mdbtools,
                const std::string& reader) {
  SCOPED_TRACE(reader + ", table " + in.name);
  ASSERT_EQ(got.rows.size(), in.rows.size());
  std::vector<ColumnType> types;
  for (const auto& h : in.header) types.push_back(parseColumnHeader(h).type);
  for (std::size_t r = 0; r < in.rows.size(); ++r) {
    ASSERT_EQ(got.rows[r].size(), types.size()) << "row " << r;
    for (std::size_t c = 0; c < types.size(); ++c) {
      Cell want = canonical(types[c], in.rows[r][c]);
      Cell have = canonical(types[c], got.rows[r][c]);
      if (mdbtools && want && want->empty()) want.reset();
      if (mdbtools && want && types[c] == ColumnType::DateTime &&
          (*want < "1899-12-30" || *want > "4637")) {
        continue;
      }
      ASSERT_EQ(have, want) << "row " << r << ", column " << in.header[c];
    }
  }
}

std::vector<TextTable> fixture() {
  std::vector<TextTable> tables;
  tables.push_back(
      {"Tipos",
       {"Clave:text(10)", "Nombre:text(255)", "Nota:memo", "Octeto:byte", "Entero:integer",
        "Largo:long", "Sencillo:single", "Doble:double", "Importe:currency", "Fecha:datetime",
        "Activo:boolean"},
       {
           {"A1", "José Peña Ñúñez", "Observación con acentos: áéíóú ÁÉÍÓÚ ñ Ñ ü", "255", "-32768",
            "2147483647", "0.15", "3.141592653589793", "-12.3456", "2019-12-31 23:59:59", "true"},
           {"", "", "", "0", "32767", "-2147483648", "-1.5e10", "-2.5e-300", "922337203685477.5807",
            "2020-01-01 00:00:01", "false"},
           {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
            std::nullopt, std::nullopt, std::nullopt, std::nullopt, "false"},
           {"x,\"y\"", "€ 100 y ™ — “comillas”\r\nsegunda línea\nterceraé", "línea 1\nlínea 2", "7",
            "0", "0", "0", "0", "0", "1899-12-30", "true"},
           {"ab", "Ñ", "PUBLICO EN GENERAL", "1", "-1", "-1", "1", "0.1", "3.5",
            "1900-03-01 12:30:00", "true"},
           {"ñ", std::string(255, 'x'), std::nullopt, "128", "12345", "19260000", "19.26", "19.26",
            "-0.0001", "1850-06-15", "false"},
           {"MXN", std::string(254, 'a') + "é", "corto", "2", "2", "2", "2", "2", "2.5",
            "9999-12-31 23:59:59", "true"},
       }});

  // Memos stored in the row, on one long-value page and across chained pages; several big
  // memos in one row that do not fit the row together.
  TextTable memos{"Memos", {"Id:long", "A:memo", "B:memo", "C:memo", "D:memo", "E:memo"}, {}};
  auto row = [](int id, Cell a, Cell b = std::nullopt, Cell c = std::nullopt, Cell d = std::nullopt,
                Cell e = std::nullopt) { return TextRow{std::to_string(id), a, b, c, d, e}; };
  std::string accented;
  while (accented.size() < 40000) accented += "Ñandú año acción ";
  memos.rows = {
      row(1, std::string(998, 'm')),
      row(2, std::string(1000, 'm')),
      row(3, std::string(1024, 'k')),
      row(4, std::string(1025, 'k')),
      row(5,
          [] {
            std::string s;
            for (int i = 0; i < 1500; ++i) s += "Ñ";
            return s;
          }()),
      row(6, std::string(3000, 'z')),
      row(7, accented),
      row(8, std::string(900, 'a'), std::string(900, 'b'), std::string(900, 'c'),
          std::string(900, 'd'), std::string(900, 'e')),
      row(9, ""),
      row(10, std::nullopt),
  };
  tables.push_back(memos);

  // Enough rows for more than 512 data pages: the usage map then points to bitmap pages.
  TextTable big{"Grande",
                {"Id:long", "Texto:text(100)", "Importe:currency", "Fecha:datetime", "Ok:boolean"},
                {}};
  const char* names[] = {"María José", "Ñoño", "Zoë", "Ángel", "PUBLICO EN GENERAL"};
  for (int i = 0; i < 30000; ++i) {
    char date[32];
    std::snprintf(date, sizeof date, "2019-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28,
                  i % 24, i % 60, (i * 7) % 60);
    big.rows.push_back({std::to_string(i), std::string(names[i % 5]) + " fila " + std::to_string(i),
                        i % 11 ? Cell(std::to_string(i) + "." + std::to_string(i % 10000)) : Cell(),
                        date, i % 3 ? "true" : "false"});
  }
  tables.push_back(big);
  return tables;
}

class RoundTrip : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    tables_ = new std::vector<TextTable>(fixture());
    std::vector<Table> api;
    for (const auto& t : *tables_) api.push_back(apiTable(t));
    writeDatabase(*dir_ / "api.mdb", api, "Ñandú-2019");
  }
  static void TearDownTestSuite() {
    delete tables_;
    delete dir_;
  }
  static inline test::TempDir* dir_ = nullptr;
  static inline std::vector<TextTable>* tables_ = nullptr;
};

TEST_F(RoundTrip, MdbExportReadsEveryTable) {
  for (const auto& t : *tables_) {
    test::ReadTable got = test::readWithMdbExport(*dir_ / "api.mdb", t.name);
    std::vector<std::string> names;
    for (const auto& h : t.header) names.push_back(parseColumnHeader(h).name);
    EXPECT_EQ(got.header, names);
    expectSame(t, got, true, "mdb-export");
  }
}

TEST_F(RoundTrip, MdbReaderReadsEveryTableWithTypes) {
  std::vector<std::string> names;
  for (const auto& t : *tables_) names.push_back(t.name);
  EXPECT_EQ(test::tablesWithMdbReader(*dir_ / "api.mdb"), names);
  for (const auto& t : *tables_) {
    test::ReadTable got = test::readWithMdbReader(*dir_ / "api.mdb", t.name);
    EXPECT_EQ(got.header, t.header);
    expectSame(t, got, false, "mdb-reader");
  }
}

TEST_F(RoundTrip, MdbtoolsSeesTablesSchemaAndCounts) {
  auto tables = test::run("mdb-tables -1 " + test::shellQuote((*dir_ / "api.mdb").string()));
  EXPECT_EQ(tables.out, "Tipos\nMemos\nGrande\n");
  auto count = test::run("mdb-count " + test::shellQuote((*dir_ / "api.mdb").string()) + " Grande");
  EXPECT_EQ(count.out, "30000\n");
  auto schema = test::run("mdb-schema " + test::shellQuote((*dir_ / "api.mdb").string()));
  EXPECT_NE(schema.out.find("[Nombre]\t\t\tText (255)"), std::string::npos) << schema.out;
  EXPECT_NE(schema.out.find("[Importe]\t\t\tCurrency"), std::string::npos);
  EXPECT_NE(schema.out.find("[Activo]\t\t\tBoolean NOT NULL"), std::string::npos);
}

TEST_F(RoundTrip, PasswordIsKeptInTheHeaderAsJetDoes) {
  EXPECT_EQ(test::passwordWithMdbReader(*dir_ / "api.mdb"), "Ñandú-2019");
  test::TempDir d;
  writeDatabase(d / "sin.mdb", {apiTable((*tables_)[0])});
  EXPECT_EQ(test::passwordWithMdbReader(d / "sin.mdb"), "");
  // The same password under another creation date is masked differently in the file.
  writeDatabase(d / "a.mdb", {apiTable((*tables_)[0])}, Options{"quokka", {2019, 5, 1}});
  writeDatabase(d / "b.mdb", {apiTable((*tables_)[0])}, Options{"quokka", {2003, 3, 24}});
  EXPECT_EQ(test::passwordWithMdbReader(d / "a.mdb"), "quokka");
  EXPECT_EQ(test::passwordWithMdbReader(d / "b.mdb"), "quokka");
  EXPECT_NE(test::readFile(d / "a.mdb").substr(0, 0x98),
            test::readFile(d / "b.mdb").substr(0, 0x98));
}

// Access 2003 wrote this file with the password "password" on day 44568 (2022-01-07): the masked
// password bytes of ours, made on the same day, must be the same bytes.
TEST(Writer, PasswordBytesEqualThoseAccessWrote) {
  const char* shared = std::getenv("KV_SHARED_DIR");
  const auto reference = std::filesystem::path(shared ? shared : "") / "testdata" / "real-mdb" /
                         "mdbreader-V2003-with-password.mdb";
  if (!shared || !std::filesystem::exists(reference))
    GTEST_SKIP() << "no reference file at " << reference;
  const std::string access = test::readFile(reference);
  ASSERT_GT(access.size(), 0x98u);
  test::TempDir d;
  writeDatabase(d / "p.mdb", {{"T", {{"N", ColumnType::Long}}, {}}},
                Options{"password", {2022, 1, 7, 16, 26, 3}});
  const std::string ours = test::readFile(d / "p.mdb");
  EXPECT_EQ(ours.substr(0x42, 40), access.substr(0x42, 40));
  EXPECT_EQ(ours.substr(0, 0x18), access.substr(0, 0x18));  // page type, "Standard Jet DB", Jet 4
}

TEST_F(RoundTrip, CommandOnCsvFilesWritesTheSameFile) {
  test::TempDir d;
  std::string cmd = test::shellQuote(KV_MDBWRITE_EXE) + " --password " +
                    test::shellQuote("Ñandú-2019") + " " +
                    test::shellQuote((d / "csv.mdb").string());
  for (const auto& t : *tables_) {
    test::writeFile(d / (t.name + ".csv"), csvOf(t));
    cmd += " " + test::shellQuote((d / (t.name + ".csv")).string());
  }
  auto r = test::run(cmd);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(test::readFile(d / "csv.mdb") == test::readFile(*dir_ / "api.mdb"));
}

TEST(Writer, TypedValuesEqualTheirTextForms) {
  test::TempDir d;
  std::vector<Column> cols = {{"B", ColumnType::Byte},      {"I", ColumnType::Integer},
                              {"L", ColumnType::Long},      {"S", ColumnType::Single},
                              {"D", ColumnType::Double},    {"C", ColumnType::Currency},
                              {"C2", ColumnType::Currency}, {"F", ColumnType::DateTime},
                              {"Y", ColumnType::Boolean},   {"T", ColumnType::Text, 5}};
  Table typed{"T",
              cols,
              {{std::int64_t(9), std::int64_t(-2), std::int64_t(70000), 0.25, 1e-3,
                Currency{123456}, 19.26, Timestamp{2019, 12, 31, 23, 0, 5}, true, "abc"}}};
  Table text{"T",
             cols,
             {{"9", "-2", "70000", "0.25", "0.001", "12.3456", "19.26", "2019-12-31 23:00:05",
               "true", "abc"}}};
  writeDatabase(d / "typed.mdb", {typed});
  writeDatabase(d / "text.mdb", {text});
  EXPECT_TRUE(test::readFile(d / "typed.mdb") == test::readFile(d / "text.mdb"));
}

TEST(Writer, LiteralsAndOptionalsPickTheirKind) {
  EXPECT_TRUE(std::holds_alternative<std::string>(Value("abc")));
  EXPECT_TRUE(std::holds_alternative<std::int64_t>(Value(5)));
  EXPECT_TRUE(std::holds_alternative<double>(Value(5.5)));
  EXPECT_TRUE(std::holds_alternative<bool>(Value(true)));
  EXPECT_TRUE(std::holds_alternative<Null>(Value(std::nullopt)));
  EXPECT_TRUE(std::holds_alternative<Null>(Value(std::optional<std::string>())));
  EXPECT_EQ(std::get<std::string>(Value(std::optional<std::string>("x"))), "x");
}

TEST(Writer, EmptyTableAndManyTablesAreReadable) {
  test::TempDir d;
  std::vector<Table> tables;
  tables.push_back({"Vacia", {{"Clave", ColumnType::Text, 3}}, {}});
  for (int i = 0; i < 40; ++i) {
    tables.push_back({"T" + std::to_string(i), {{"N", ColumnType::Long}}, {{std::int64_t(i)}}});
  }
  writeDatabase(d / "x.mdb", tables);
  EXPECT_EQ(test::readWithMdbExport(d / "x.mdb", "Vacia").rows.size(), 0u);
  EXPECT_EQ(test::readWithMdbReader(d / "x.mdb", "T39").rows, (std::vector<TextRow>{{"39"}}));
  EXPECT_EQ(test::readWithMdbExport(d / "x.mdb", "T0").rows, (std::vector<TextRow>{{"0"}}));
}

}  // namespace
}  // namespace kv::mdbw
