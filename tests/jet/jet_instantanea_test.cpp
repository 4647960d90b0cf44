// A Jet session reads the file as it is at the start of each command: rows read before
// a change are dropped at the next command, a table first read after a change within a
// command fails, and a table asked for as it is now is read from the current file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/db/error.h"
#include "jet/jet_provider.h"
#include "jet/row_text.h"
#include "jet/textos.h"
#include "tests/support/aplicacion_qt.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

std::vector<mdbw::Table> Tablas(int nUsuarios, int nOperaciones) {
  mdbw::Table usuarios{"tCompUsr", {{"ClaveEmp", mdbw::ColumnType::Text, 10}}, {}};
  for (int i = 0; i < nUsuarios; ++i) usuarios.rows.push_back({std::string("U")});
  mdbw::Table ops{"tMovtos", {{"Cantidad", mdbw::ColumnType::Double}}, {}};
  for (int i = 0; i < nOperaciones; ++i) ops.rows.push_back({100.0 * (i + 1)});
  mdbw::Table otra{"tOtra", {{"x", mdbw::ColumnType::Long}}, {{std::int64_t{1}}}};
  return {usuarios, ops, otra};
}

// Writes the tables over `ruta` in place: the same file (inode), new contents.
void ReescribeEnSuLugar(const fs::path& ruta, int nUsuarios, int nOperaciones) {
  const fs::path nueva = ruta.string() + ".nueva";
  mdbw::writeDatabase(nueva, Tablas(nUsuarios, nOperaciones), "");
  std::ifstream in(nueva, std::ios::binary);
  std::ofstream out(ruta, std::ios::binary | std::ios::in | std::ios::out);
  out << in.rdbuf();
  out.close();
  fs::resize_file(ruta, fs::file_size(nueva));
  fs::remove(nueva);
}

std::string Cuenta(kv::db::Session& s, const char* tabla) {
  return rowSetText(s.select(std::string("SELECT COUNT(1) AS n FROM ") + tabla));
}

TEST(JetInstantanea, EachCommandSeesTheFileAsItIsThen) {
  TCarpetaTemporal carpeta;
  const fs::path ruta = carpeta.Ruta() / "k.mdb";
  mdbw::writeDatabase(ruta, Tablas(0, 2), "");
  auto s = openJetSession(ruta.string(), "");
  s->beginCommand();
  EXPECT_EQ(Cuenta(*s, "tCompUsr"), "n\n0\n");
  // A derived table that recurs is kept: it must go with the table it was made from.
  const char* suma = "SELECT SUM(c) AS t FROM (SELECT Cantidad AS c FROM tMovtos)";
  EXPECT_EQ(rowSetText(s->select(suma)), "t\n300\n");
  EXPECT_EQ(rowSetText(s->select(suma)), "t\n300\n");

  ReescribeEnSuLugar(ruta, 1, 3);
  // The same command: what was read stays as it was.
  EXPECT_EQ(Cuenta(*s, "tCompUsr"), "n\n0\n");
  EXPECT_EQ(rowSetText(s->select(suma)), "t\n300\n");
  // A table read as it is now.
  s->readCurrent("TCOMPUSR");
  EXPECT_EQ(Cuenta(*s, "tCompUsr"), "n\n1\n");
  // A table first read now would mix two states of the file.
  try {
    Cuenta(*s, "tOtra");
    ADD_FAILURE() << "a table of the changed file was read within the old command";
  } catch (const kv::db::DbError& e) {
    EXPECT_EQ(std::string(e.what()), textos_jet::kChangedDuringCommand);
  }

  // The next command reads everything again.
  s->beginCommand();
  EXPECT_EQ(Cuenta(*s, "tCompUsr"), "n\n1\n");
  EXPECT_EQ(rowSetText(s->select(suma)), "t\n600\n");
  EXPECT_EQ(Cuenta(*s, "tOtra"), "n\n1\n");
  // Nothing changed: nothing is read again (a table created since would be unknown).
  s->beginCommand();
  EXPECT_EQ(rowSetText(s->select(suma)), "t\n600\n");
}

TEST(JetInstantanea, AFileThatCannotBeReadAnswersNothingFromBefore) {
  TCarpetaTemporal carpeta;
  const fs::path ruta = carpeta.Ruta() / "k.mdb";
  mdbw::writeDatabase(ruta, Tablas(0, 2), "");
  auto s = openJetSession(ruta.string(), "");
  EXPECT_EQ(Cuenta(*s, "tMovtos"), "n\n2\n");
  fs::rename(ruta, ruta.string() + ".aparte");
  EXPECT_THROW(s->beginCommand(), kv::db::DbError);
  // Every statement fails with the cause, none answers from the rows read before.
  for (int i = 0; i < 2; ++i) {
    try {
      Cuenta(*s, "tMovtos");
      ADD_FAILURE() << "answered from the rows of a file that is gone";
    } catch (const kv::db::DbError& e) {
      EXPECT_NE(std::string(e.what()).find(ruta.string()), std::string::npos) << e.what();
    }
  }
  // Another database password is refused the same way.
  mdbw::writeDatabase(ruta, Tablas(0, 4), "otra");
  EXPECT_THROW(s->beginCommand(), kv::db::DbError);
  EXPECT_THROW(Cuenta(*s, "tMovtos"), kv::db::DbError);
  // The file back as it was: the next command reads it.
  fs::remove(ruta);
  fs::rename(ruta.string() + ".aparte", ruta);
  s->beginCommand();
  EXPECT_EQ(Cuenta(*s, "tMovtos"), "n\n2\n");
}

}  // namespace
}  // namespace kv::jet
