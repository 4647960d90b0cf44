#include "engine/rep_cuest_cnbv_basic.h"

#include <iterator>

#include "engine/textos.h"

namespace kv {

namespace {

// A text placed between single quotes in Jet SQL: every quote inside is doubled.
std::string LiteralSQL(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

}  // namespace

TRepCuestCNBVBasic::TRepCuestCNBVBasic(db::Connection* Conector, double dTCambio, int nNumEmp)
    : TRepCuestionarioCNBV(Conector, textos_motor::kTotalPreguntasSITI2020, nNumEmp,
                           textos_motor::kFechaInicialSITI2020, textos_motor::kFechaFinalSITI2020),
      F_dTipoCambio(dTCambio) {}

// ---- Operations data sets ----

std::string TRepCuestCNBVBasic::DameValorBooleano(bool bValor) {
  return bValor ? "-1" : "0";
}

std::string TRepCuestCNBVBasic::DameTipoOperacion(int nTipoOp) {
  switch (nTipoOp) {
    case 0:
      return "C";
    case 1:
      return "V";
    default:
      return "";
  }
}

std::string TRepCuestCNBVBasic::DameConsultaMovtos(bool bCancelado) const {
  const std::string sCancelado = DameValorBooleano(bCancelado);
  // With the table option each half names its table (an operation whose rows lie in both
  // names both) and reads only the rows of the period: the date is part of an operation's
  // key, so the operations of the period are the same, grouped from fewer rows.
  const std::string sTabla =
      F_bConTabla ? ", IIF(MIN(XTabla) = MAX(XTabla), MIN(XTabla), MIN(XTabla) + ' y ' + "
                    "MAX(XTabla)) AS Tabla"
                  : "";
  auto TablaDe = [&](const char* sNombre) {
    return F_bConTabla ? std::string(", '") + sNombre + "' AS XTabla" : std::string();
  };
  const std::string sPeriodo = F_bConTabla ? "and Fecha >= #" + F_sFIni + "# and Fecha < #" +
                                                 DameDiaSiguiente(F_sFFin) + "# "
                                           : "";
  return "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux" + sTabla +
         " FROM (  SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad "
         "AS XCant, ClaveCliente AS CvCAux" +
         TablaDe("tMovtos") + " FROM tMovtos WHERE NumEmp = " + F_sNumEmp + " and " +
         "Cancelado = " + sCancelado + " " + sPeriodo + "UNION ALL " +
         "SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad " +
         "AS XCant, ClaveCliente AS CvCAux" + TablaDe("tProces") + " " + "FROM tProces " +
         "WHERE NumEmp = " + F_sNumEmp + " and " + "Cancelado = " + sCancelado + " " + sPeriodo +
         ") " + "WHERE (Tipo = 'C' or Tipo = 'V') " +
         "GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ";
}

std::string TRepCuestCNBVBasic::DameConsultaDivisas(const std::string& sSimbolo, bool bIgual,
                                                    bool bPagare) {
  std::string s = "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE ";
  if (sSimbolo == "TODAS") {
    s += std::string("Simbolo <> 'M.N.' AND ") + "Simbolo NOT LIKE '%MX%'  AND " +
         "Simbolo <> '' AND ";
  } else if (bIgual) {
    s += "Simbolo = '" + sSimbolo + "' AND ";
  } else {
    s += "Simbolo <> '" + sSimbolo + "' AND " + "Simbolo <> '' AND " + "Simbolo <> 'M.N.' AND " +
         "Simbolo NOT LIKE '%MX%'  AND ";
  }
  return s + "Pagare  = " + DameValorBooleano(bPagare);
}

std::string TRepCuestCNBVBasic::DameOpsPeriodo(const std::string& sFIni,
                                               const std::string& sFFin) const {
  return "SELECT tOps.*" + DameDesdeOpsPeriodo(sFIni, sFFin);
}

std::string TRepCuestCNBVBasic::DameDesdeOpsPeriodo(const std::string& sFIni,
                                                    const std::string& sFFin) const {
  return " FROM (" + DameConsultaMovtos(false) + ") AS tOps " + "WHERE " + "tOps.Fecha >= #" +
         sFIni + "# AND " + "tOps.Fecha < #" + DameDiaSiguiente(sFFin) + "#";
}

std::string TRepCuestCNBVBasic::DameOpsDolares(int nTipoOp, const std::string& sFIni,
                                               const std::string& sFFin) const {
  return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" +
         DameConsultaMovtos(false) + " ) AS tOps, " + "(" +
         DameConsultaDivisas("USD", true, false) + " ) AS tXDivisas " +
         "WHERE tOps.NDiv = tXDivisas.NDivx and " + "tOps.Fecha >= #" + sFIni + "# and " +
         "tOps.Fecha < #" + DameDiaSiguiente(sFFin) + "# and " + "tOps.Tipo = '" +
         DameTipoOperacion(nTipoOp) + "'";
}

std::string TRepCuestCNBVBasic::DameOpsOtrasDivisas(int nTipoOp, const std::string& sFIni,
                                                    const std::string& sFFin,
                                                    const std::string& sTipoCambio) const {
  return "SELECT tOps.*, (AuxCant*Cot)/" + sTipoCambio + " AS Cantidad, " + " tXDivisas.Simbolo " +
         "FROM (" + DameConsultaMovtos(false) + ") AS tOps, " + "(" +
         DameConsultaDivisas("USD", false, false) + ") AS tXDivisas " +
         "WHERE tOps.NDiv = tXDivisas.NDivx and " + "tOps.Fecha >= #" + sFIni + "# AND " +
         "tOps.Fecha < #" + DameDiaSiguiente(sFFin) + "# AND " + "tOps.Tipo = '" +
         DameTipoOperacion(nTipoOp) + "'";
}

std::string TRepCuestCNBVBasic::DameOpsDocumentos(int nTipoOp, const std::string& sFIni,
                                                  const std::string& sFFin,
                                                  const std::string& sTipoCambio) const {
  return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/" + sTipoCambio +
         ") AS Cantidad, Simbolo, Divisa " + "FROM (" + DameConsultaMovtos(false) + ") AS tOps, " +
         "(" + DameConsultaDivisas("TODAS", true, true) + ") AS tXDiv " +
         "WHERE tOps.NDiv = tXDiv.NDivx AND " + "tOps.Fecha >= #" + sFIni + "# AND " +
         "tOps.Fecha < #" + DameDiaSiguiente(sFFin) + "# AND " + "tOps.Tipo = '" +
         DameTipoOperacion(nTipoOp) + "' ";
}

std::string TRepCuestCNBVBasic::DameCampoEsPEP() const {
  std::string s = ", IIF( ( ";
  int nElegidos = 0;
  if (F_vtPEPS && F_vtPEPS->Active()) {
    for (F_vtPEPS->First(); !F_vtPEPS->Eof(); F_vtPEPS->Next()) {
      // An unset tick reads as false.
      if (F_vtPEPS->FieldByName("EsPEP").toInt() == 0) continue;
      if (nElegidos >= 1) s += "or ";
      ++nElegidos;
      // The key goes inside a quoted literal: its quotes are doubled.
      s += "ClaveCliente = '" + LiteralSQL(F_vtPEPS->FieldByName("ClaveCliente").toString()) + "' ";
    }
  }
  s += "), -1, 0 ) AS EsPEP ";
  if (nElegidos == 0) s = ", 0 AS EsPEP ";
  return s;
}

namespace {

// "ClaveActividad = 'k1' or ClaveActividad = 'k2' …" for a class's activity keys.
template <std::size_t N>
std::string ConClave(const char* const (&claves)[N]) {
  std::string s;
  for (std::size_t i = 0; i < N; ++i)
    s += std::string(i ? " or " : "") + "ClaveActividad = '" + claves[i] + "'";
  return s;
}

}  // namespace

std::string TRepCuestCNBVBasic::DameConsultaClientes() const {
  return "SELECT ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + "
         "IIF(ISNULL(ApellidoPaterno), '', ' '+ ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), "
         "'', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, "
         "PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, IIF( (" +
         ConClave(claves_actividad::kExtranjero) + " or Extranjero = True ), -1, 0 ) AS EsExtrj, " +
         "tXClientes.ClaveSector, tSector.Sector AS Actividad, IIF( (" +
         ConClave(claves_actividad::kCentroCambiario) + " ), -1, 0) AS EsCC, IIF( ( " +
         ConClave(claves_actividad::kEntidadFinanciera) + " ), -1, 0) AS EsEF, IIF(" +
         ConClave(claves_actividad::kCasaDeCambio) + ", -1, 0) AS EsCB, IIF(" +
         ConClave(claves_actividad::kBanco) + ", -1, 0) AS EsB " + DameCampoEsPEP() +
         "FROM tCliente AS tXClientes " + "INNER JOIN  tSector " +
         "ON tXClientes.ClaveSector = tSector.ClaveSector " + "WHERE NumEmp = " + F_sNumEmp;
}

std::string TRepCuestCNBVBasic::DameOpsConClientes(const std::string& sConsulta) const {
  return "SELECT * FROM (" + sConsulta + ") AS tXOps, " + "(" + DameConsultaClientes() +
         ") AS tXCte " + "WHERE " + kUnionOpsClientes + " ";
}

std::string TRepCuestCNBVBasic::DameOpsConSusClientes(const std::string& sConsulta) const {
  return "SELECT * FROM (" + sConsulta + ") AS tXOps LEFT JOIN (" + DameConsultaClientes() +
         ") AS tXCte ON " + kUnionOpsClientes;
}

std::string TRepCuestCNBVBasic::DameClientesUnicos(const std::string& sConsulta,
                                                   const std::string& sExtraPorCliente,
                                                   const std::string& sExtraPorOperacion) {
  return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP" +
         sExtraPorCliente + " FROM (" + sConsulta + ") AS tXCSinPG " + "WHERE EsPubGen = 0 " +
         "GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, " +
         "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP " + "UNION ALL " +
         "SELECT tXCPG.CvCAux AS Aux, EsPF, EsPM," + " EsPubGen, " +
         "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP" + sExtraPorOperacion + " " + "FROM (" + sConsulta +
         ") AS tXCPG " + "WHERE EsPubGen <> 0 ";
}

// ---- Segment filters and answer aggregates ----

std::string TSegmento::SQL(const char* sInicio) const {
  if (todos.empty() && alguno.empty()) return "";
  std::string s = sInicio;
  for (std::size_t i = 0; i < todos.size(); ++i)
    s += std::string(i ? "AND " : "") + todos[i].sBandera + (todos[i].bActiva ? " <> 0 " : " = 0 ");
  if (!alguno.empty()) {
    s += "(";
    for (std::size_t i = 0; i < alguno.size(); ++i)
      s += std::string(i ? " OR " : "") + alguno[i] + " <> 0";
    s += ") ";
  }
  return s;
}

const TSegmento& TRepCuestCNBVBasic::DameSegmento(unsigned nSegmento) {
  // A code above the last adds no condition, as segmento::kTodos.
  static const TSegmento kSinCondicion{"", {}, {}};
  static const TSegmento kSegmentos[] = {
      kSinCondicion,
      {"usuarios no identificados (público en general)", {{"EsPubGen", true}}, {}},
      {"personas físicas identificadas", {{"EsPF", true}, {"EsPubGen", false}}, {}},
      {"personas morales que no son centros cambiarios ni entidades financieras",
       {{"EsPM", true}, {"EsCC", false}, {"EsEF", false}, {"EsCB", false}, {"EsB", false}},
       {}},
      {"centros cambiarios", {{"EsCC", true}}, {}},
      {"entidades financieras, casas de cambio y bancos", {}, {"EsEF", "EsCB", "EsB"}},
      {"casas de cambio", {{"EsCB", true}}, {}},
      {"bancos (instituciones de crédito)", {{"EsB", true}}, {}},
      {"personas políticamente expuestas (PEP)", {{"EsPEP", true}}, {}},
      {"centros cambiarios y entidades financieras de todo tipo",
       {},
       {"EsCC", "EsEF", "EsCB", "EsB"}},
      {"usuarios identificados", {{"EsPubGen", false}}, {}},
  };
  static_assert(std::size(kSegmentos) == segmento::kIdentificados + 1);
  return nSegmento < std::size(kSegmentos) ? kSegmentos[nSegmento] : kSinCondicion;
}

const TSegmento& TRepCuestCNBVBasic::DameNacionalidad(int nExtranjero) {
  static const TSegmento kNinguna{"", {}, {}};
  static const TSegmento kNacionales{"nacionales", {{"EsExtrj", false}}, {}};
  static const TSegmento kExtranjeros{"extranjeros", {{"EsExtrj", true}}, {}};
  return nExtranjero == nacionalidad::kNacionales    ? kNacionales
         : nExtranjero == nacionalidad::kExtranjeros ? kExtranjeros
                                                     : kNinguna;
}

const TSegmento& TRepCuestCNBVBasic::DameSinPEP() {
  static const TSegmento kSinPEP{"sin las PEP", {{"EsPEP", false}}, {}};
  return kSinPEP;
}

std::string TRepCuestCNBVBasic::DameConsultaSegmento(const std::string& sConsulta,
                                                     unsigned nSegmento, int nExtranjero,
                                                     bool bSinPEP) {
  if (nSegmento == segmento::kTodos) return sConsulta;
  std::string s = "SELECT * FROM (" + sConsulta + ") " + DameSegmento(nSegmento).SQL("WHERE ") +
                  DameNacionalidad(nExtranjero).SQL("AND ");
  if (bSinPEP) s += DameSinPEP().SQL("AND ");
  return s;
}

std::string TRepCuestCNBVBasic::ArmaRespuestaDefecto(const std::string& sConsulta,
                                                     const std::string& sDefecto) {
  return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + sDefecto +
         "', XResul) AS Resultado FROM " + "(" + sConsulta + " UNION ALL " +
         "SELECT 'ZZZSINRESULT' AS XResul " + "FROM tEmpresa) ";
}

std::string TRepCuestCNBVBasic::DameConsultaConteo(const std::string& sConsulta) {
  return ArmaRespuestaDefecto("SELECT COUNT(1) AS XResul FROM (" + sConsulta + " )", "0");
}

void TRepCuestCNBVBasic::ArmaRespuestaSiNo(std::string& sConsulta) {
  sConsulta = "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM " + std::string("(") +
              sConsulta + ")";
}

std::string TRepCuestCNBVBasic::DameConsultaExiste(const std::string& sConsulta) {
  std::string s = "SELECT COUNT(1) AS XResul FROM (" + sConsulta + " )";
  ArmaRespuestaSiNo(s);
  return s;
}

std::string TRepCuestCNBVBasic::DameConsultaPromedio(const std::string& sConsulta) {
  return "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" +
         sConsulta + ") ";
}

std::string TRepCuestCNBVBasic::DameConsultaSuma(const std::string& sConsulta, unsigned nSegmento,
                                                 int nExtranjero, bool bSinPEP) {
  return "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" +
         DameConsultaSegmento(sConsulta, nSegmento, nExtranjero, bSinPEP) + ") ";
}

std::string TRepCuestCNBVBasic::DameConsultaClienteTop(const std::string& sConsulta,
                                                       unsigned nSegmento, bool bRanking) {
  std::string s = (bRanking ? "SELECT Cliente AS Candidato, COUNT(Cliente) AS Operaciones, "
                            : "SELECT TOP 1 ") +
                  std::string(
                      "Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS "
                      "XResul FROM (") +
                  sConsulta + ") ";
  if (nSegmento == segmento::kBancos) s += "WHERE EsB <> 0 and EsExtrj = 0 ";
  return s + "GROUP BY Cliente " + "ORDER BY COUNT(Cliente) DESC";
}

std::string TRepCuestCNBVBasic::DameConsultaDivisaTop(const std::string& sConsulta, bool bRanking) {
  return (bRanking ? "SELECT UCASE(Divisa) AS Candidato, COUNT(Divisa) AS Operaciones, "
                   : "SELECT TOP 1 ") +
         std::string(
             "UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS "
             "XResul FROM (") +
         sConsulta + ") " + "GROUP BY Divisa " + "ORDER BY COUNT(Divisa) DESC";
}

std::string TRepCuestCNBVBasic::DameConsultaActividadTop(const std::string& sConsulta,
                                                         bool bRanking) const {
  const std::string j = DameOpsConClientes(sConsulta);
  return (bRanking ? "SELECT UCASE(Actividad) AS Candidato, COUNT(Actividad) AS Operaciones, "
                   : "SELECT TOP 1 ") +
         std::string(
             "UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' **) "
             "' AS XResul FROM (") +
         j + ") " + "WHERE Actividad <> 'NO APLICA' " + "GROUP BY Actividad " +
         "ORDER BY COUNT(Actividad) DESC";
}

}  // namespace kv
