// The back-office tables of Kavori (tEmpresa, tEmps, tCompUsr, tSector, tDivisas, tCliente,
// tMovtos, tProces, tRelevan), declared once for the demo generator and the tests.
//
// Two variants of the same tables:
// - Completa: every column, with the back office's types and sizes; the demo database.
// - Compacta: the columns the questionnaire and the login read, with amounts as Double,
//   sector keys as numbers and wider client keys: the small databases of the answer tests,
//   whose expected answers are worked out in doubles.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/mdbwrite/mdbwriter.h"

namespace kv::kavori {

enum class TVarianteEsquema { Completa, Compacta };

struct TColumnaKavori {
  const char* sNombre;
  mdbw::ColumnType tipo;
  int nLargo = 0;  // text columns: the maximum number of characters
  // The compact variant: whether it has the column, and its type and size there when they
  // differ (nLargoCompacta 0: the same size).
  bool bEnCompacta = true;
  std::optional<mdbw::ColumnType> tipoCompacta = std::nullopt;
  int nLargoCompacta = 0;
};

struct TTablaKavori {
  const char* sNombre;
  std::vector<TColumnaKavori> columnas;
};

// Every table, in the order the demo writes them.
const std::vector<TTablaKavori>& EsquemaKavori();

// The columns of a table in a variant. Throws std::invalid_argument for a table not in the
// schema.
std::vector<mdbw::Column> ColumnasKavori(std::string_view sTabla, TVarianteEsquema variante);

// A row of a table in a variant from values by column name; a column not named is null.
// Throws std::invalid_argument for a name the table (in that variant) does not have.
mdbw::Row RenglonKavori(std::string_view sTabla, TVarianteEsquema variante,
                        std::initializer_list<std::pair<std::string_view, mdbw::Value>> valores);
// The same over columns already looked up (ColumnasKavori), for many rows of one table.
mdbw::Row RenglonKavori(const std::vector<mdbw::Column>& columnas,
                        std::initializer_list<std::pair<std::string_view, mdbw::Value>> valores);

// An empty table of the schema in a variant, ready for rows.
mdbw::Table TablaKavori(std::string_view sTabla, TVarianteEsquema variante);

}  // namespace kv::kavori
