#include "tools/kavori-demo/esquema.h"

#include <stdexcept>
#include <string>

namespace kv::kavori {

namespace {

using mdbw::ColumnType;
constexpr bool kSoloCompleta = false;

const TTablaKavori& Tabla(std::string_view sTabla) {
  for (const TTablaKavori& t : EsquemaKavori())
    if (sTabla == t.sNombre) return t;
  throw std::invalid_argument("table not in the Kavori schema: " + std::string(sTabla));
}

}  // namespace

const std::vector<TTablaKavori>& EsquemaKavori() {
  // The movements of the day (tMovtos) and the processed ones (tProces) have the same columns.
  static const std::vector<TColumnaKavori> kOperaciones = {
      {"NumEmp", ColumnType::Long},
      {"Tipo", ColumnType::Text, 1},
      {"Folio", ColumnType::Long},
      {"Fecha", ColumnType::DateTime},
      {"NumeroDivisa", ColumnType::Long},
      {"Cotizacion", ColumnType::Double},
      {"Cantidad", ColumnType::Currency, 0, true, ColumnType::Double},
      {"Importe", ColumnType::Currency, 0, kSoloCompleta},
      {"ClaveCliente", ColumnType::Text, 10, true, std::nullopt, 20},
      {"Cancelado", ColumnType::Boolean},
      {"ClaveEmp", ColumnType::Text, 10, kSoloCompleta},
  };
  static const std::vector<TTablaKavori> kTablas = {
      {"tEmpresa",
       {{"NumEmp", ColumnType::Long},
        {"Empresa", ColumnType::Text, 100},
        {"NomComercial", ColumnType::Text, 100},
        {"RFC", ColumnType::Text, 13},
        {"RegistroCC", ColumnType::Text, 20},
        {"Domicilio", ColumnType::Text, 150, kSoloCompleta}}},
      {"tEmps",
       {{"ClaveEmp", ColumnType::Text, 10},
        {"Nombre", ColumnType::Text, 60, kSoloCompleta},
        {"Password", ColumnType::Text, 20},
        {"Nivel", ColumnType::Integer},
        {"Activo", ColumnType::Boolean, 0, kSoloCompleta}}},
      {"tCompUsr",
       {{"ClaveEmp", ColumnType::Text, 10},
        {"Equipo", ColumnType::Text, 30, kSoloCompleta},
        {"Entrada", ColumnType::DateTime, 0, kSoloCompleta}}},
      {"tSector",
       {{"ClaveSector", ColumnType::Text, 5, true, ColumnType::Long},
        {"Sector", ColumnType::Text, 60, true, std::nullopt, 50}}},
      {"tDivisas",
       {{"NumeroDivisa", ColumnType::Long},
        {"Simbolo", ColumnType::Text, 5, true, std::nullopt, 10},
        {"Divisa", ColumnType::Text, 50},
        {"Pagare", ColumnType::Boolean}}},
      {"tCliente",
       {{"ClaveCliente", ColumnType::Text, 10, true, std::nullopt, 20},
        {"NumEmp", ColumnType::Long},
        {"PersonaMoral", ColumnType::Boolean},
        {"Nombre", ColumnType::Text, 100},
        {"ApellidoPaterno", ColumnType::Text, 50},
        {"ApellidoMaterno", ColumnType::Text, 50},
        {"ClaveActividad", ColumnType::Text, 7, true, std::nullopt, 10},
        {"Extranjero", ColumnType::Boolean},
        {"ClaveSector", ColumnType::Text, 5, true, ColumnType::Long},
        {"Nacionalidad", ColumnType::Text, 30, kSoloCompleta},
        {"FechaAlta", ColumnType::DateTime, 0, kSoloCompleta}}},
      {"tMovtos", kOperaciones},
      {"tProces", kOperaciones},
      {"tRelevan",
       {{"NumEmp", ColumnType::Long},
        {"Folio", ColumnType::Long, 0, kSoloCompleta},
        {"TipoRelev", ColumnType::Text, 1},
        {"Fecha", ColumnType::DateTime},
        {"ClaveCliente", ColumnType::Text, 10, true, std::nullopt, 20},
        {"Monto", ColumnType::Currency, 0, kSoloCompleta},
        {"Observaciones", ColumnType::Memo}}},
  };
  return kTablas;
}

std::vector<mdbw::Column> ColumnasKavori(std::string_view sTabla, TVarianteEsquema variante) {
  std::vector<mdbw::Column> columnas;
  for (const TColumnaKavori& c : Tabla(sTabla).columnas) {
    if (variante == TVarianteEsquema::Completa) {
      columnas.push_back({c.sNombre, c.tipo, c.nLargo});
    } else if (c.bEnCompacta) {
      columnas.push_back({c.sNombre, c.tipoCompacta.value_or(c.tipo),
                          c.nLargoCompacta != 0 ? c.nLargoCompacta : c.nLargo});
    }
  }
  return columnas;
}

mdbw::Row RenglonKavori(std::string_view sTabla, TVarianteEsquema variante,
                        std::initializer_list<std::pair<std::string_view, mdbw::Value>> valores) {
  return RenglonKavori(ColumnasKavori(sTabla, variante), valores);
}

mdbw::Row RenglonKavori(const std::vector<mdbw::Column>& columnas,
                        std::initializer_list<std::pair<std::string_view, mdbw::Value>> valores) {
  mdbw::Row renglon(columnas.size());
  for (const auto& [sNombre, valor] : valores) {
    std::size_t i = 0;
    while (i < columnas.size() && columnas[i].name != sNombre) ++i;
    if (i == columnas.size())
      throw std::invalid_argument("column not in the table: " + std::string(sNombre));
    renglon[i] = valor;
  }
  return renglon;
}

mdbw::Table TablaKavori(std::string_view sTabla, TVarianteEsquema variante) {
  return {std::string(sTabla), ColumnasKavori(sTabla, variante), {}};
}

}  // namespace kv::kavori
