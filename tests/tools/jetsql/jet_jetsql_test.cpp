// jetsql over files written by mdbwrite: every column type, null against empty text,
// escapes, long memos, the database password, exit status and error output.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/tools/mdbwrite/lectores.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace {

using kv::mdbw::Column;
using kv::mdbw::ColumnType;
using kv::mdbw::Currency;
using kv::mdbw::Null;
using kv::mdbw::Timestamp;
namespace t = kv::mdbw::test;

struct Result {
  int status = -1;
  std::string out, err;
};

// Runs jetsql with stdout and stderr kept apart.
Result jetsql(const t::TempDir& dir, const std::vector<std::string>& args) {
  std::string cmd = t::shellQuote(KV_JETSQL_EXE);
  for (const auto& a : args) cmd += " " + t::shellQuote(a);
  const auto errFile = dir / "stderr.txt";
  cmd += " 2>" + t::shellQuote(errFile.string());
  Result r;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = t::readFile(errFile);
  return r;
}

kv::mdbw::Table typesTable() {
  kv::mdbw::Table tbl;
  tbl.name = "Tipos";
  tbl.columns = {{"Texto", ColumnType::Text, 50}, {"Nota", ColumnType::Memo},
                 {"B", ColumnType::Byte},         {"I", ColumnType::Integer},
                 {"L", ColumnType::Long},         {"S", ColumnType::Single},
                 {"D", ColumnType::Double},       {"Importe", ColumnType::Currency},
                 {"Fecha", ColumnType::DateTime}, {"Activo", ColumnType::Boolean}};
  tbl.rows.push_back({std::string("Ñandú á\té"), std::string("línea 1\nlínea 2 \\ fin"),
                      std::int64_t{255}, std::int64_t{-32768}, std::int64_t{2147483647}, 0.15,
                      444.555, Currency{35000}, Timestamp{2019, 12, 31, 18, 30, 0}, true});
  tbl.rows.push_back({std::string(""), std::string(""), std::int64_t{0}, std::int64_t{0},
                      std::int64_t{0}, 0.0, -1.5, Currency{-12345}, Timestamp{1899, 12, 30},
                      false});
  tbl.rows.push_back(
      {Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, false});
  return tbl;
}

TEST(Jetsql, PrintsEveryTypeNullsAndEscapes) {
  t::TempDir dir;
  const auto file = dir / "tipos.mdb";
  kv::mdbw::writeDatabase(file, {typesTable()});
  const Result r = jetsql(dir, {file.string(), "SELECT * FROM Tipos"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "Texto\tNota\tB\tI\tL\tS\tD\tImporte\tFecha\tActivo\n"
            "Ñandú á\\té\tlínea 1\\nlínea 2 \\\\ fin\t255\t-32768\t2147483647\t0.15\t444.555\t3.5\t"
            "31/12/2019 18:30:00\t-1\n"
            "\t\t0\t0\t0\t0\t-1.5\t-1.2345\t30/12/1899\t0\n"
            "\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t0\n");
  // The same null/empty distinction as an independent reader.
  const t::ReadTable other = t::readWithMdbReader(file, "Tipos");
  ASSERT_EQ(other.rows.size(), 3u);
  EXPECT_EQ(other.rows[1][0], std::optional<std::string>(""));
  EXPECT_EQ(other.rows[2][0], std::nullopt);
}

TEST(Jetsql, LongMemosAreWhole) {
  t::TempDir dir;
  const auto file = dir / "memo.mdb";
  std::string big;
  for (int i = 0; big.size() < 40000; ++i) big += "renglón " + std::to_string(i) + "; ";
  kv::mdbw::Table tbl{"M", {{"Id", ColumnType::Long}, {"Nota", ColumnType::Memo}}, {}};
  tbl.rows.push_back({std::int64_t{1}, big});
  tbl.rows.push_back({std::int64_t{2}, std::string(5000, 'x')});
  kv::mdbw::writeDatabase(file, {tbl});
  const Result r = jetsql(dir, {file.string(), "SELECT Id, Nota FROM M ORDER BY Id"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Id\tNota\n1\t" + big + "\n2\t" + std::string(5000, 'x') + "\n");
}

TEST(Jetsql, PasswordExitStatusAndErrors) {
  t::TempDir dir;
  const auto file = dir / "clave.mdb";
  kv::mdbw::Table tbl{"tEmpresa", {{"Empresa", ColumnType::Text, 40}}, {{std::string("Uno")}}};
  kv::mdbw::writeDatabase(file, {tbl}, "quokka");
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  const std::string bytes = t::readFile(file);

  Result ok = jetsql(dir, {"--password", "quokka", file.string(), "SELECT Empresa FROM tEmpresa"});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, "Empresa\nUno\n");

  const std::vector<std::vector<std::string>> failing = {
      {file.string(), "SELECT Empresa FROM tEmpresa"},
      {"--password", "Quokka", file.string(), "SELECT Empresa FROM tEmpresa"},
      {"--password", "quokka", file.string(), "SELECT Nada FROM tEmpresa"},
      {"--password", "quokka", file.string(), "SELEC 1"},
      {"--password", "quokka", file.string(), "DELETE FROM tEmpresa"},
      {(dir / "no_existe.mdb").string(), "SELECT 1"},
      {file.string()},
  };
  for (const auto& args : failing) {
    const Result r = jetsql(dir, args);
    EXPECT_EQ(r.status, 1) << args.back();
    EXPECT_EQ(r.out, "") << args.back();
    EXPECT_FALSE(r.err.empty()) << args.back();
  }
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(t::readFile(file), bytes);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

}  // namespace
