// The Jet SQL that jetsql users write, run on the Spanish sample database: expressions
// in GROUP BY, select aliases used again, dates through MIN/MAX/IIF, accented field
// names in any case and ORDER BY in Jet's General sort order. Expected rows worked out
// from mdb-export's text of the same tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/db/error.h"
#include "jet/jet_provider.h"
#include "jet/row_text.h"

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

fs::path neptuno() {
  const char* shared = std::getenv("KV_SHARED_DIR");
  return shared ? fs::path(shared) / "testdata" / "real-mdb" / "neptuno-es.mdb" : fs::path();
}

TEST(JetNeptuno, QueriesUsersWrite) {
  if (neptuno().empty() || !fs::exists(neptuno())) GTEST_SKIP() << "no neptuno-es.mdb";
  auto session = openJetSession(neptuno().string(), "");
  const struct {
    const char* what;
    const char* sql;
    const char* rows;
  } cases[] = {
      {"an expression in GROUP BY, the select list, HAVING and ORDER BY",
       "SELECT UCASE(País) AS p, COUNT(*) AS n FROM Clientes GROUP BY UCASE(País) "
       "HAVING COUNT(*) > 8 ORDER BY UCASE(País)",
       "p\tn\nALEMANIA\t11\nBRASIL\t9\nESTADOS UNIDOS\t13\nFRANCIA\t11\n"},
      {"a select alias used later in the list, also over an aggregate",
       "SELECT TOP 3 PrecioUnidad AS p, p * 2 AS doble, doble + p AS triple FROM Productos "
       "ORDER BY IdProducto",
       "p\tdoble\ttriple\n18\t36\t54\n19\t38\t57\n10\t20\t30\n"},
      {"an alias of an aggregate", "SELECT COUNT(*) AS n, n * 2 AS doble FROM Pedidos",
       "n\tdoble\n830\t1660\n"},
      {"dates through MIN, MAX and IIF",
       "SELECT MIN(FechaPedido) AS primero, MAX(FechaPedido) AS ultimo, "
       "IIF(COUNT(*) > 0, MAX(FechaEnvío), NULL) AS envio FROM Pedidos",
       "primero\tultimo\tenvio\n04/07/1996\t06/05/1998\t06/05/1998\n"},
      {"dates through IIF row by row and through a derived table",
       "SELECT IdPedido, IIF(IdPedido = 10248, FechaPedido, FechaEnvío) AS f FROM Pedidos "
       "WHERE IdPedido IN (10248, 10249, 11008) ORDER BY IdPedido",
       "IdPedido\tf\n10248\t04/07/1996\n10249\t10/07/1996\n11008\t\\N\n"},
      {"MAX of a derived table's date column",
       "SELECT MAX(f) AS m FROM (SELECT FechaEnvío AS f FROM Pedidos UNION ALL "
       "SELECT NULL FROM Pedidos)",
       "m\n06/05/1998\n"},
      {"accented field and table names in any case",
       "SELECT IDCATEGORÍA, NOMBRECATEGORÍA FROM CATEGORÍAS WHERE idcategoría <= 2 "
       "ORDER BY IDCATEGORÍA",
       "IdCategoría\tNombreCategoría\n1\tBebidas\n2\tCondimentos\n"},
      {"qualified accented names in any case",
       "SELECT c.NOMBRECATEGORÍA FROM Categorías AS c INNER JOIN Productos AS p "
       "ON c.IDCATEGORÍA = p.idCategoría WHERE p.IDPRODUCTO = 3",
       "NombreCategoría\nCondimentos\n"},
      {"ORDER BY text: accented letters with their base letter",
       "SELECT TOP 12 Ciudad FROM Clientes GROUP BY Ciudad ORDER BY Ciudad",
       "Ciudad\nAachen\nAlbuquerque\nAnchorage\nÅrhus\nBarcelona\nBarquisimeto\nBérgamo\n"
       "Berlín\nBerna\nBoise\nBräcke\nBrandenburgo\n"},
      {"ORDER BY text descending",
       "SELECT TOP 3 Ciudad FROM Clientes GROUP BY Ciudad ORDER BY "
       "Ciudad DESC",
       "Ciudad\nWarszawa\nWalla Walla\nVersalles\n"},
      {"equality still tells accents apart",
       "SELECT COUNT(*) AS n FROM Clientes WHERE Ciudad = 'Arhus' OR Ciudad = 'ÅRHUS'", "n\n1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      EXPECT_EQ(rowSetText(session->select(c.sql)), c.rows) << c.sql;
    } catch (const kv::db::DbError& e) {
      ADD_FAILURE() << e.describe() << "\n" << c.sql;
    }
  }
}

TEST(JetNeptuno, WhatJetRefusesIsRefused) {
  if (neptuno().empty() || !fs::exists(neptuno())) GTEST_SKIP() << "no neptuno-es.mdb";
  auto session = openJetSession(neptuno().string(), "");
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT Ciudad, COUNT(*) AS n FROM Clientes GROUP BY UCASE(Ciudad)",
       "La consulta no incluye la expresión 'Ciudad' como parte de una función de agregado ni "
       "en GROUP BY"},
      {"SELECT UCASE(Ciudad) AS c FROM Clientes GROUP BY UCASE(Ciudad) ORDER BY Ciudad",
       "La consulta no incluye la expresión 'Ciudad' como parte de una función de agregado ni "
       "en GROUP BY"},
      {"SELECT IDCATEGORIA FROM Categorías", "No se encontró el campo 'IDCATEGORIA'"},
      {"SELECT SUM(PrecioUnidad) AS s, SUM(s) AS t FROM Productos",
       "La instrucción SQL usa algo que el motor no admite: funciones de agregado anidadas"},
  };
  for (const auto& [sql, text] : cases) {
    try {
      session->select(sql);
      ADD_FAILURE() << "no failure: " << sql;
    } catch (const kv::db::DbError& e) {
      EXPECT_EQ(e.className(), "EJetError") << sql;
      EXPECT_STREQ(e.what(), text) << sql;
    }
  }
}

}  // namespace
}  // namespace kv::jet
