// Reading real Access files: values as an independent reader gives them, the database
// password, read-only use, and damaged or foreign files failing cleanly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/db/connection.h"
#include "data/db/error.h"
#include "data/db/query.h"
#include "jet/jet_provider.h"
#include "jet/row_text.h"
#include "tests/support/archivos.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

fs::path realDir() {
  const char* shared = std::getenv("KV_SHARED_DIR");
  return shared ? fs::path(shared) / "testdata" / "real-mdb" : fs::path();
}

#define SKIP_WITHOUT_REAL_FILES()                                     \
  if (realDir().empty() || !fs::exists(realDir() / "neptuno-es.mdb")) \
  GTEST_SKIP() << "no real .mdb files (KV_SHARED_DIR)"

using TempDir = TCarpetaTemporal;

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Case {
  const char* file;
  const char* sql;
  const char* rows;
};

// Expected values checked against mdb-export (and mdb-reader for dates mdb-export garbles).
TEST(JetMdb, RealFilesGiveTheIndependentReadersValues) {
  SKIP_WITHOUT_REAL_FILES();
  const Case cases[] = {
      {"neptuno-es.mdb", "SELECT TOP 2 * FROM [Detalles de pedidos] ORDER BY IdPedido, IdProducto",
       "IdPedido\tIdProducto\tPrecioUnidad\tCantidad\tDescuento\n10248\t11\t14\t12\t0\n10248\t42\t9"
       ".8\t"
       "10\t0\n"},
      {"neptuno-es.mdb",
       "SELECT COUNT(1) AS n, SUM(PrecioUnidad * Cantidad) AS s FROM "
       "[Detalles de pedidos] WHERE Descuento = 0.15",
       "n\ts\n157\t102948.44\n"},
      {"neptuno-es.mdb", "SELECT Suspendido, COUNT(1) AS n FROM Productos GROUP BY Suspendido",
       "Suspendido\tn\n-1\t8\n0\t69\n"},
      {"neptuno-es.mdb", "SELECT COUNT(1) AS n, COUNT(Región) AS r, COUNT(Fax) AS f FROM Clientes",
       "n\tr\tf\n91\t31\t69\n"},
      {"neptuno-es.mdb",
       "SELECT NombreCompañía, Ciudad, Región FROM Clientes WHERE IdCliente = 'anatr'",
       "NombreCompañía\tCiudad\tRegión\nAna Trujillo Emparedados y helados\tMéxico D.F.\t\\N\n"},
      {"neptuno-es.mdb", "SELECT NombreCategoría FROM [Categorías] WHERE IdCategoría = 3",
       "NombreCategoría\nRepostería\n"},
      {"neptuno-es.mdb", "SELECT IdPedido, FechaPedido, Cargo FROM Pedidos WHERE IdPedido = 10248",
       "IdPedido\tFechaPedido\tCargo\n10248\t04/07/1996\t32.38\n"},
      {"neptuno-es.mdb",
       "SELECT COUNT(1) AS n FROM Pedidos WHERE FechaPedido >= #01/01/1997# "
       "AND FechaPedido <= #12/31/1997#",
       "n\n408\n"},
      {"jackcess-testV2003.mdb", "SELECT * FROM Table1",
       "A\tB\tC\tD\tE\tF\tG\tH\tI\nabcdefg\thijklmnop\t2\t222\t333333333\t444.555\t21/09/1974\t3.5"
       "\t-1\na\tb\t0\t0\t0\t0\t12/12/1981\t0\t0\n"},
      {"jackcess-testUnicodeCompV2003.mdb", "SELECT ID, [Unicode] FROM [Table] WHERE ID <= 7",
       "ID\tUnicode\n1\tonly ascii chars\n2\tääkkösiä\n3\tМир\n4\t"
       "\xCF\xB0\xCE\xB1\xE1\xBD\xB6 \xCF\x84\xE1\xBD\xB9\xCF\x84' "
       "\xE1\xBC\x90\xCE\xB3\xE1\xBD\xBC "
       "\xCE\x9A\xE1\xBD\xBB\xCF\xB0\xCE\xBB\xCF\x89\xCF\x80\xCE\xB1\n5\t漢字仮名交じり文\n6\t3L9"
       "\x1d"
       "52\x02_AB(¥\x05!!V\n7\tümlaut\n"},
      {"jackcess-testUnicodeCompV2003.mdb", "SELECT LEN([Unicode]) AS n FROM [Table] WHERE ID = 8",
       "n\n255\n"},
      {"mdbtools-DateTestDatabase.mdb",
       "SELECT IDCol, DateTimeCol, DateCol * 1 AS d, TimeCol, LongTextCol FROM DateTest ORDER BY "
       "IDCol",
       "IDCol\tDateTimeCol\td\tTimeCol\tLongTextCol\n1\t02/12/2021\t44532\t02/12/2021\tHello\n2\t"
       "01/01/9999\t2958101\t01/01/9999\tYear 9999\n3\t01/01/1898\t-363\t01/01/1900\tPre-1900 "
       "years\n4\t01/01/0632\t-462760\t01/01/0634\tPre-1000 years\n5\t02/12/2021\t44532\t02/12/"
       "2021\tEscaped new line \\\\r\\\\n in field\n6\t02/12/2021\t44532\t02/12/2021\tNew "
       "line\r\\nin field\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    try {
      auto s = openJetSession((realDir() / c.file).string(), "");
      EXPECT_EQ(rowSetText(s->select(c.sql)), c.rows);
    } catch (const kv::db::DbError& e) {
      ADD_FAILURE() << e.describe();
    }
  }
}

TEST(JetMdb, EveryTableOfTheSpanishSampleLoads) {
  SKIP_WITHOUT_REAL_FILES();
  auto s = openJetSession((realDir() / "neptuno-es.mdb").string(), "");
  const std::pair<const char*, int> counts[] = {
      {"Categorías", 8},          {"Clientes", 91},
      {"Compañías de envíos", 3}, {"Detalles de pedidos", 2155},
      {"Empleados", 10},          {"Pedidos", 830},
      {"Productos", 77},          {"Proveedores", 29}};
  for (const auto& [table, n] : counts) {
    auto rs = s->select(std::string("SELECT COUNT(*) AS n FROM [") + table + "]");
    EXPECT_EQ(rs.rows.at(0).at(0).toInt(), n) << table;
  }
}

TEST(JetMdb, DatabasePasswordIsCheckedLikeJet) {
  SKIP_WITHOUT_REAL_FILES();
  const std::string file = (realDir() / "mdbreader-V2003-with-password.mdb").string();
  for (const char* wrong : {"", "Password", "passwor", "password "}) {
    try {
      openJetSession(file, wrong);
      ADD_FAILURE() << "opened with '" << wrong << "'";
    } catch (const kv::db::DbError& e) {
      EXPECT_EQ(e.className(), "EJetError");
      EXPECT_NE(std::string(e.what()).find("contraseña"), std::string::npos);
    }
  }
  auto s = openJetSession(file, "password");
  EXPECT_EQ(rowSetText(s->select("SELECT * FROM Table1 ORDER BY ID")),
            "ID\tData\n1\tOne\n2\tTwo\n3\tThree\n");
  // A file without a password opens whatever is given.
  EXPECT_NO_THROW(openJetSession((realDir() / "neptuno-es.mdb").string(), "quokka"));
}

TEST(JetMdb, ConnectionStringOpensThroughTheDatabaseLayer) {
  SKIP_WITHOUT_REAL_FILES();
  registerJetProvider();
  registerJetProvider();
  kv::db::Connection c;
  c.setLoginPrompt(false);
  c.setMode(kv::db::ConnectMode::ShareExclusive);
  c.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                        (realDir() / "mdbreader-V2003-with-password.mdb").string() +
                        ";Persist Security Info=True;Mode=Share Deny None;"
                        "Jet OLEDB:Database Password=password");
  c.setConnected(true);
  ASSERT_TRUE(c.connected());
  kv::db::Query q(&c);
  q.addSql("SELECT Data FROM Table1 WHERE ID = 2");
  q.open();
  ASSERT_FALSE(q.isEmpty());
  EXPECT_EQ(q.fieldByName("DATA").toString(), "Two");
  q.clearSql();
  q.addSql("DELETE FROM Table1");
  EXPECT_THROW(q.execSql(), kv::db::DbError);

  kv::db::Connection bad;
  bad.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                          (realDir() / "mdbreader-V2003-with-password.mdb").string() +
                          ";Jet OLEDB:Database Password=quokka");
  EXPECT_THROW(bad.setConnected(true), kv::db::DbError);
  EXPECT_FALSE(bad.connected());
}

TEST(JetMdb, FileIsNeverWritten) {
  SKIP_WITHOUT_REAL_FILES();
  TempDir dir;
  const fs::path copy = dir.Ruta() / "copia.mdb";
  fs::copy_file(realDir() / "neptuno-es.mdb", copy);
  struct stat before {};
  ASSERT_EQ(::stat(copy.c_str(), &before), 0);
  const std::string bytes = readAll(copy);
  sleep(1);  // a write would move the modification time visibly
  {
    auto s = openJetSession(copy.string(), "quokka");
    const char* statements[] = {
        "SELECT * FROM Clientes",
        "SELECT c.IdCliente, COUNT(1) AS n FROM Clientes AS c INNER JOIN Pedidos AS p ON "
        "c.IdCliente = p.IdCliente GROUP BY c.IdCliente",
        "SELECT TOP 1 IdProducto FROM Productos ORDER BY PrecioUnidad DESC UNION ALL "
        "SELECT IdCategoría FROM [Categorías]",
    };
    for (const char* sql : statements) EXPECT_NO_THROW(s->select(sql)) << sql;
    for (const char* sql : {"DELETE FROM Clientes", "TRUNCATE TABLE Pedidos",
                            "DELETE FROM Clientes WHERE IdCliente = 'ALFKI'"}) {
      EXPECT_THROW(s->execute(sql), kv::db::DbError) << sql;
      EXPECT_THROW(s->select(sql), kv::db::DbError) << sql;
    }
    EXPECT_THROW(s->select("SELECT Nada FROM Clientes"), kv::db::DbError);
  }
  struct stat after {};
  ASSERT_EQ(::stat(copy.c_str(), &after), 0);
  EXPECT_EQ(readAll(copy), bytes);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_size, before.st_size);
}

// The first error of opening `p` and reading four tables of the Spanish sample.
std::string firstError(const std::string& p) {
  try {
    auto s = openJetSession(p, "");
    for (const char* sql : {"SELECT COUNT(1) AS n FROM Clientes", "SELECT * FROM Pedidos",
                            "SELECT * FROM Empleados", "SELECT * FROM [Categorías]"})
      s->select(sql);
  } catch (const kv::db::DbError& e) {
    EXPECT_EQ(e.className(), "EJetError") << p;
    return e.what();
  }
  return "sin error";
}

// Each damaged or foreign file fails with the engine's error of its kind, at open or at
// the first query that reads the damage.
TEST(JetMdb, DamagedAndForeignFilesFailCleanly) {
  SKIP_WITHOUT_REAL_FILES();
  TempDir dir;
  const std::string good = readAll(realDir() / "neptuno-es.mdb");
  std::string flipped = good;
  for (std::size_t i = 4096; i < flipped.size(); i += 97)
    flipped[i] = static_cast<char>(~flipped[i]);
  std::string zeroCatalog = good;
  std::fill(zeroCatalog.begin() + 2 * 4096, zeroCatalog.begin() + 3 * 4096, '\0');
  const std::string unreadable = "El archivo de Access está dañado o no se puede leer: ";
  const struct {
    const char* name;
    std::string content;
    std::string error;  // the start of the message
  } files[] = {
      {"vacio.mdb", "", "está vacío o incompleto"},
      {"corto.mdb", good.substr(0, 100), "está vacío o incompleto"},
      {"truncado.mdb", good.substr(0, 3 * 4096 + 10),
       unreadable + "su longitud (12298 bytes) no es un número entero de páginas"},
      {"mitad.mdb", good.substr(0, good.size() / 2 + 100),
       unreadable + "su longitud (" + std::to_string(good.size() / 2 + 100) + " bytes)"},
      {"mitad_en_pagina.mdb", good.substr(0, good.size() / 2 / 4096 * 4096),
       unreadable + "la tabla \"MSysObjects\" está dañada (su página 383 no está en el archivo"},
      {"texto.mdb", std::string(20000, 'x'),
       "El archivo no es una base de datos de Access (Jet 3 o Jet 4)"},
      {"volteado.mdb", flipped, unreadable},
      {"sin_catalogo.mdb", zeroCatalog, unreadable + "no se pudo leer el catálogo"},
  };
  for (const auto& f : files) {
    const fs::path p = dir.Escribe(f.name, f.content);
    const std::string got = firstError(p.string());
    if (f.error.rfind("está vacío", 0) == 0)
      EXPECT_EQ(got, "El archivo \"" + p.string() + "\" " + f.error) << f.name;
    else
      EXPECT_EQ(got.substr(0, f.error.size()), f.error) << f.name << ": " << got;
  }
  const fs::path noRead = dir.Escribe("sin_permiso.mdb", good);
  ::chmod(noRead.c_str(), 0);
  const bool root = ::access(noRead.c_str(), R_OK) == 0;  // root reads whatever the mode
  const struct {
    std::string path;
    std::string why;
  } unopenable[] = {
      {(dir.Ruta() / "no_existe.mdb").string(), "no existe"},
      {dir.Ruta().string(), "no es un archivo"},
      {noRead.string(), root ? "" : "no tiene permiso para leerlo"},
  };
  for (const auto& u : unopenable) {
    if (u.why.empty()) continue;
    EXPECT_EQ(firstError(u.path), "No se puede abrir el archivo \"" + u.path + "\": " + u.why);
  }
  EXPECT_EQ(firstError(""), "La cadena de conexión no indica el archivo (Data Source)");
}

// A written file with one table of 600 rows over several data pages, and where those pages are.
struct WrittenFile {
  std::string bytes;
  std::uint32_t tableDef = 0;
  std::vector<std::size_t> dataPages;
};

constexpr std::size_t kPage = 4096;

std::uint32_t u32At(const std::string& b, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

WrittenFile writeEmployees(const fs::path& dir) {
  std::vector<mdbw::Row> rows;
  for (std::int64_t i = 1; i <= 600; ++i)
    rows.push_back({i, "Empleado " + std::to_string(i) + std::string(40, '.')});
  const fs::path p = dir / "empleados.mdb";
  mdbw::writeDatabase(p, {{"Empleados",
                           {{"Id", mdbw::ColumnType::Long}, {"Nombre", mdbw::ColumnType::Text, 80}},
                           rows}});
  WrittenFile f;
  f.bytes = readAll(p);
  for (std::size_t pg = 3; pg < f.bytes.size() / kPage; ++pg) {
    // Data pages (type 1) of a table (type 2 page) other than the catalog, page 2.
    const std::uint32_t owner = u32At(f.bytes, pg * kPage + 4);
    if (f.bytes[pg * kPage] != 1 || owner == 2 || owner >= f.bytes.size() / kPage ||
        f.bytes[owner * kPage] != 2)
      continue;
    f.tableDef = owner;
    f.dataPages.push_back(pg);
  }
  return f;
}

// Damage is an error naming the table, never fewer rows: a file cut short, a page wiped,
// a stored row count that the pages do not give.
TEST(JetMdb, DamagedTablesFailNamingTheTable) {
  TempDir dir;
  const WrittenFile good = writeEmployees(dir.Ruta());
  ASSERT_GE(good.dataPages.size(), 3u);
  const std::size_t last = good.dataPages.back(), middle = good.dataPages[1];
  ASSERT_LT(last * kPage, good.bytes.size());
  auto withRowCount = [&](std::uint32_t n) {
    std::string b = good.bytes;
    std::memcpy(b.data() + good.tableDef * kPage + 16, &n, 4);
    return b;
  };
  std::string wiped = good.bytes;
  std::fill(wiped.begin() + middle * kPage, wiped.begin() + (middle + 1) * kPage, '\0');
  // The table's usage map (a row named by the definition at 55) also names a page past
  // the end of the file.
  std::string beyond = good.bytes;
  const std::size_t pages = good.bytes.size() / kPage;
  {
    const std::uint32_t ptr = u32At(beyond, good.tableDef * kPage + 55);
    const std::size_t mapPage = ptr >> 8, mapRow = ptr & 0xFF;
    std::uint16_t off;
    std::memcpy(&off, beyond.data() + mapPage * kPage + 14 + 2 * mapRow, 2);
    const std::size_t map = mapPage * kPage + (off & 0x1FFF);
    ASSERT_EQ(beyond[map], 0);  // a map that starts at a page and has a bit per page
    const std::size_t bit = pages + 5 - u32At(beyond, map + 1);
    beyond[map + 5 + bit / 8] |= static_cast<char>(1 << (bit % 8));
  }
  std::string deleted = good.bytes;
  deleted[middle * kPage + 14 + 1] |= static_cast<char>(0x80);  // first row marked deleted
  const std::string damage =
      "El archivo de Access está dañado o no se puede leer: la tabla \"Empleados\" está dañada (";
  const std::string repair = "). Compacte y repare la base de datos en Access";
  const struct {
    const char* name;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"mapa_fuera.mdb", beyond,
       damage + "su página " + std::to_string(pages + 5) +
           " no está en el archivo, que está incompleto" + repair},
      {"borrada.mdb", wiped,
       damage + "su página " + std::to_string(middle) + " no es una página de datos de la tabla" +
           repair},
      {"cuenta_mayor.mdb", withRowCount(601),
       damage + "se leyeron 600 filas y su definición registra 601" + repair},
      {"cuenta_menor.mdb", withRowCount(599),
       damage + "se leyeron 600 filas y su definición registra 599" + repair},
      {"fila_borrada.mdb", deleted,
       damage + "se leyeron 599 filas y su definición registra 600" + repair},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path p = dir.Escribe(c.name, c.bytes);
    try {
      openJetSession(p.string(), "")->select("SELECT COUNT(*) AS n FROM Empleados");
      ADD_FAILURE() << "sin error";
    } catch (const kv::db::DbError& e) {
      EXPECT_EQ(e.className(), "EJetError");
      EXPECT_EQ(e.what(), c.error);
    }
  }
  // Cut short at a page boundary: the catalog, written last, is gone.
  EXPECT_EQ(firstError(dir.Escribe("cortado.mdb", good.bytes.substr(0, last * kPage)).string()),
            "El archivo de Access está dañado o no se puede leer: no se pudo leer el catálogo");
  // A file whose length is not a whole number of pages does not open.
  const fs::path half = dir.Escribe("media_pagina.mdb", good.bytes.substr(0, last * kPage + 100));
  try {
    openJetSession(half.string(), "");
    ADD_FAILURE() << "sin error";
  } catch (const kv::db::DbError& e) {
    EXPECT_EQ(e.what(), "El archivo de Access está dañado o no se puede leer: su longitud (" +
                            std::to_string(last * kPage + 100) +
                            " bytes) no es un número entero de páginas de 4096 bytes: es una "
                            "copia incompleta o está dañado. Vuelva a copiarlo o compáctelo y "
                            "repárelo en Access");
  }
  // The undamaged file reads whole.
  auto s = openJetSession((dir.Ruta() / "empleados.mdb").string(), "");
  EXPECT_EQ(rowSetText(s->select("SELECT COUNT(*) AS n, SUM(Id) AS s FROM Empleados")),
            "n\ts\n600\t180300\n");
}

}  // namespace
}  // namespace kv::jet
