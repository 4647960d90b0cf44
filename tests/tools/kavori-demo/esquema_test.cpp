// The Kavori schema the demo and the test databases are written through: rows by column name.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/kavori-demo/esquema.h"

namespace kv::kavori {
namespace {

constexpr auto kCompacta = TVarianteEsquema::Compacta;
constexpr auto kCompleta = TVarianteEsquema::Completa;

TEST(EsquemaKavori, RowsByNameLeaveTheOtherColumnsNull) {
  const mdbw::Row r = RenglonKavori("tSector", kCompacta, {{"Sector", std::string("GOBIERNO")}});
  ASSERT_EQ(r.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<mdbw::Null>(r[0]));
  EXPECT_EQ(std::get<std::string>(r[1]), "GOBIERNO");
}

// A misspelt name, or a column of the other variant, must not end as a silent null.
TEST(EsquemaKavori, UnknownTablesAndColumnsAreRefused) {
  const struct {
    const char* tabla;
    TVarianteEsquema variante;
    const char* columna;
  } casos[] = {
      {"tSector", kCompacta, "Sectr"},
      {"tCliente", kCompacta, "Nacionalidad"},  // only in the full variant
      {"tMovtos", kCompacta, "Importe"},
      {"tNoExiste", kCompleta, "NumEmp"},
  };
  for (const auto& c : casos)
    EXPECT_THROW(RenglonKavori(c.tabla, c.variante, {{c.columna, std::int64_t{1}}}),
                 std::invalid_argument)
        << c.tabla << "." << c.columna;
  EXPECT_NO_THROW(RenglonKavori("tCliente", kCompleta, {{"Nacionalidad", std::string("X")}}));
}

}  // namespace
}  // namespace kv::kavori
