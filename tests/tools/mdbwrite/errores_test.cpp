// Bad input stops mdbwrite with a message naming the file, line and column, exit status 1,
// and leaves neither the output nor a temporary file behind.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/tools/mdbwrite/lectores.h"
#include "tools/mdbwrite/csv.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv::mdbw {
namespace {

struct BadCsv {
  const char* what;
  const char* csv;
  const char* message;  // part of the message after "mdbwrite: <folder>/t.csv, "
};

const BadCsv kBadCsv[] = {
    {"unknown type", "A:long,B:varchar\n1,2\n", "line 1, column 2 (B): unknown column type"},
    {"header without type", "A:long,B\n", "line 1, column 2 (B): column \"B\" has no type"},
    {"text size 0", "A:text(0)\n", "line 1, column 1 (A): text size"},
    {"text size 256", "A:text(256)\n", "line 1, column 1 (A): text size"},
    {"duplicate column", "A:long,a:long\n", "line 1, column 2 (a): duplicate column name"},
    {"too few fields", "A:long,B:long\n1,2\n3\n", "line 3: 1 values where the table has 2"},
    {"too many fields", "A:long\n1,2\n", "line 2: 2 values where the table has 1"},
    {"not a long", "A:long,B:long\n1,x1\n", "line 2, column 2 (B): \"x1\" is not a long value"},
    {"decimal in long", "A:long\n1.5\n", "line 2, column 1 (A): \"1.5\" is not a long"},
    {"long overflow", "A:long\n2147483648\n",
     "line 2, column 1 (A): \"2147483648\" is out of range"},
    {"int64 overflow", "A:long\n99999999999999999999\n", "is out of range for a long column"},
    {"byte 256", "A:byte\n256\n", "line 2, column 1 (A): \"256\" is out of range"},
    {"integer -32769", "A:integer\n-32769\n", "\"-32769\" is out of range for a integer"},
    {"currency 5 decimals", "A:currency\n1.23456\n", "\"1.23456\" is not a currency value"},
    {"currency comma", "A:currency\n\"1,5\"\n", "\"1,5\" is not a currency value"},
    {"currency overflow", "A:currency\n922337203685478\n", "is out of range for a currency"},
    {"double text", "A:double\nabc\n", "\"abc\" is not a double value"},
    {"double nan", "A:double\nnan\n", "\"nan\" is not a double value"},
    {"single too big", "A:single\n1e39\n", "\"1e39\" is not a single value"},
    {"bad date", "A:datetime\n2019-02-29\n", "\"2019-02-29\" is not a datetime value"},
    {"date with T", "A:datetime\n2019-01-01T10:00:00\n", "is not a datetime value"},
    {"date slashes", "A:datetime\n01/31/2019\n", "is not a datetime value"},
    {"boolean yes", "A:boolean\nyes\n", "\"yes\" is not a boolean value"},
    {"boolean null", "A:long,B:boolean\n1,\n", "line 2, column 2 (B): a boolean (Yes/No) column"},
    {"quoted empty number", "A:long\n\"\"\n", "line 2, column 1 (A): \"\" is not a long value"},
    {"text too long", "A:long,B:text(3)\n1,abc\n2,abcd\n",
     "line 3, column 2 (B): text of 4 characters is longer than the column's 3"},
    {"accents count as one", "A:text(3)\nÑÑÑ\nÑÑÑÑ\n", "line 3, column 1 (A): text of 4"},
    {"invalid UTF-8", "A:text(5)\n\xC3\x28\n", "line 2, column 1 (A): text is not valid UTF-8"},
    {"unterminated quote", "A:text(5)\n\"abc\n", "line 2: quoted field without its closing"},
    {"text after quote", "A:text(5)\n\"abc\"x\n", "line 2: text after the closing quote"},
    {"quote inside", "A:text(5)\nab\"c\n", "line 2: quote inside an unquoted field"},
    {"empty file", "", "line 1: no header line"},
    {"bad column name", "A.b:long\n", "line 1, column 1 (A.b): column name"},
};

class BadInput : public ::testing::TestWithParam<BadCsv> {};

TEST_P(BadInput, StopsWithFileLineAndColumnAndLeavesNothing) {
  const BadCsv& c = GetParam();
  test::TempDir d;
  test::writeFile(d / "t.csv", c.csv);
  test::writeFile(d / "ok.csv", "N:long\n1\n");
  auto r = test::run(
      test::shellQuote(KV_MDBWRITE_EXE) + " " + test::shellQuote((d / "out.mdb").string()) + " " +
      test::shellQuote((d / "ok.csv").string()) + " " + test::shellQuote((d / "t.csv").string()));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind("mdbwrite: " + (d / "t.csv").string() + ", line ", 0), 0u) << r.out;
  EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
  EXPECT_EQ(d.files(), (std::vector<std::string>{"ok.csv", "t.csv"}));
}

INSTANTIATE_TEST_SUITE_P(Csv, BadInput, ::testing::ValuesIn(kBadCsv), [](const auto& info) {
  std::string n;
  for (char ch : std::string(info.param.what)) {
    n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  }
  return n;
});

TEST(BadInputCommand, DuplicateTableKeepsTheExistingOutput) {
  test::TempDir d;
  std::filesystem::create_directory(d / "otra");
  test::writeFile(d / "tCliente.csv", "N:long\n1\n");
  test::writeFile(d / "otra" / "TCLIENTE.csv", "N:long\n2\n");
  test::writeFile(d / "out.mdb", "previous");
  auto r = test::run(test::shellQuote(KV_MDBWRITE_EXE) + " " +
                     test::shellQuote((d / "out.mdb").string()) + " " +
                     test::shellQuote((d / "tCliente.csv").string()) + " " +
                     test::shellQuote((d / "otra" / "TCLIENTE.csv").string()));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("TCLIENTE.csv, line 1: duplicate table name \"TCLIENTE\""),
            std::string::npos)
      << r.out;
  EXPECT_EQ(test::readFile(d / "out.mdb"), "previous");
  EXPECT_EQ(d.files(), (std::vector<std::string>{"otra", "out.mdb", "tCliente.csv"}));
}

TEST(BadInputCommand, UsageAndMissingFiles) {
  test::TempDir d;
  const std::string exe = test::shellQuote(KV_MDBWRITE_EXE);
  for (const std::string& args :
       {std::string(""), std::string(" out.mdb"), std::string(" --x a b")}) {
    auto r = test::run(exe + args);
    // An unknown option is a usage error of its own kind (status 2), as in every program.
    EXPECT_EQ(r.status, args == " --x a b" ? 2 : 1) << args;
    EXPECT_NE(r.out.find("Uso: mdbwrite [--password"), std::string::npos) << args;
  }
  auto r = test::run(exe + " " + test::shellQuote((d / "o.mdb").string()) + " " +
                     test::shellQuote((d / "no.csv").string()));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("no.csv"), std::string::npos);
  EXPECT_TRUE(d.files().empty());
  r = test::run(exe + " --password 123456789012345678901 " +
                test::shellQuote((d / "o.mdb").string()) + " x.csv");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("longer than 20"), std::string::npos);
  EXPECT_TRUE(d.files().empty());
}

TEST(WriterApi, UnfinishedWriterLeavesNoFile) {
  test::TempDir d;
  {
    DatabaseWriter w(d / "x.mdb");
    w.beginTable("T", {{"N", ColumnType::Long}});
    w.addRow(Row{std::int64_t(1)});
  }
  EXPECT_TRUE(d.files().empty());
  DatabaseWriter w(d / "y.mdb");
  w.beginTable("T", {{"N", ColumnType::Long}});
  try {
    w.addRow(Row{std::string("uno")});
    FAIL();
  } catch (const WriteError& e) {
    EXPECT_EQ(e.column(), 0);
  }
  EXPECT_THROW(w.addRow(Row{std::int64_t(1)}), WriteError);
  EXPECT_THROW(w.finish(), WriteError);
  EXPECT_THROW(w.addRow(Row{true}), WriteError);
}

TEST(WriterApi, ValuesOfTheWrongKind) {
  test::TempDir d;
  struct Case {
    Column column;
    Value value;
  };
  const Case cases[] = {
      {{"T", ColumnType::Text, 5}, std::int64_t(5)},
      {{"L", ColumnType::Long}, 2.5},
      {{"Y", ColumnType::Boolean}, std::int64_t(1)},
      {{"F", ColumnType::DateTime}, Timestamp{2019, 2, 30}},
      {{"C", ColumnType::Currency}, Timestamp{}},
      {{"B", ColumnType::Byte}, std::int64_t(-1)},
  };
  for (const Case& c : cases) {
    DatabaseWriter w(d / "x.mdb");
    w.beginTable("T", {c.column});
    EXPECT_THROW(w.addRow(Row{c.value}), WriteError) << c.column.name;
  }
  EXPECT_TRUE(d.files().empty());
}

// A number in a message is written as it reads back, with "." whatever the locale.
TEST(WriterApi, NumbersInMessagesAreShortAndLocaleFree) {
  test::TempDir d;
  DatabaseWriter w(d / "x.mdb");
  w.beginTable("T", {{"S", ColumnType::Single}});
  try {
    w.addRow(Row{2.5e300});
    ADD_FAILURE() << "no error";
  } catch (const WriteError& e) {
    EXPECT_NE(std::string(e.what()).find("\"2.5e+300\" is out of range for a single column"),
              std::string::npos)
        << e.what();
  }
}

TEST(CsvReader, QuotingLineEndsAndLineNumbers) {
  std::istringstream in(
      "\xEF\xBB\xBF"
      "a,\"b\"\r\n"
      ",\"\",\"x\"\"y\"\r\n"
      "\"multi\nline\",z\n"
      "\n"
      "last");
  CsvReader csv(in);
  std::vector<CsvField> f;
  auto texts = [&] {
    std::vector<std::pair<std::string, bool>> v;
    for (auto& x : f) v.emplace_back(x.text, x.quoted);
    return v;
  };
  using V = std::vector<std::pair<std::string, bool>>;
  ASSERT_TRUE(csv.next(f));
  EXPECT_EQ(texts(), (V{{"a", false}, {"b", true}}));
  ASSERT_TRUE(csv.next(f));
  EXPECT_EQ(texts(), (V{{"", false}, {"", true}, {"x\"y", true}}));
  EXPECT_EQ(csv.line(), 2);
  ASSERT_TRUE(csv.next(f));
  EXPECT_EQ(texts(), (V{{"multi\nline", true}, {"z", false}}));
  EXPECT_EQ(csv.line(), 3);
  ASSERT_TRUE(csv.next(f));
  EXPECT_EQ(texts(), (V{{"", false}}));
  EXPECT_EQ(csv.line(), 5);
  ASSERT_TRUE(csv.next(f));
  EXPECT_EQ(texts(), (V{{"last", false}}));
  EXPECT_EQ(csv.line(), 6);
  EXPECT_FALSE(csv.next(f));
}

}  // namespace
}  // namespace kv::mdbw
