#include "tests/engine/base_prueba.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <map>
#include <tuple>

#include "data/db/value.h"
#include "tools/kavori-demo/esquema.h"

namespace kv::prueba {

namespace {

using mdbw::Table;
using mdbw::Value;

Value Texto(const std::string& s) {
  return Value(s);
}
Value Opcional(const std::optional<std::string>& s) {
  return s ? Value(*s) : Value();
}
Value Entero(int n) {
  return Value(std::int64_t{n});
}

std::string Mayusculas(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

bool Contiene(const std::string& s, const std::string& parte) {
  return Mayusculas(s).find(Mayusculas(parte)) != std::string::npos;
}

auto Clave(const mdbw::Timestamp& t) {
  return std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// The reported period: from 1 January 2019 at midnight up to, not including, 1 January
// 2020 at midnight (the whole of 31 December counts).
bool EnPeriodo(const mdbw::Timestamp& t) {
  return Clave(t) >= std::tuple(2019, 1, 1, 0, 0, 0) && Clave(t) < std::tuple(2020, 1, 1, 0, 0, 0);
}

// The engine's rounding of a whole amount: half to even.
std::string Redondeo(double d) {
  std::fesetround(FE_TONEAREST);
  return db::formatNumber(std::nearbyint(d));
}

std::string TextoTop(const std::string& sNombre, int n) {
  return sNombre + " (** Total Ops.:  " + std::to_string(n) + " **) ";
}

// The names with the highest count, as "name (** Total Ops.:  n **) ".
std::set<std::string> Tops(const std::map<std::string, std::pair<std::string, int>>& cuentas) {
  int nMax = 0;
  for (const auto& [k, v] : cuentas) nMax = std::max(nMax, v.second);
  std::set<std::string> r;
  for (const auto& [k, v] : cuentas)
    if (v.second == nMax) r.insert(TextoTop(v.first, v.second));
  if (r.empty()) r.insert("NINGUNO");
  return r;
}

}  // namespace

std::vector<mdbw::Table> Tablas(const TDatos& datos) {
  constexpr auto kCompacta = kavori::TVarianteEsquema::Compacta;
  const auto tabla = [](const char* sNombre) { return kavori::TablaKavori(sNombre, kCompacta); };
  std::vector<Table> tablas;
  Table movtos = tabla("tMovtos"), proces = tabla("tProces");
  for (const auto& m : datos.movs) {
    Table& t = m.bProces ? proces : movtos;
    t.rows.push_back(kavori::RenglonKavori(t.columns, {{"NumEmp", Entero(m.nNumEmp)},
                                                       {"Tipo", Texto(m.sTipo)},
                                                       {"Folio", Entero(m.nFolio)},
                                                       {"Fecha", Value(m.fecha)},
                                                       {"NumeroDivisa", Entero(m.nDivisa)},
                                                       {"Cotizacion", Value(m.dCot)},
                                                       {"Cantidad", Value(m.dCant)},
                                                       {"ClaveCliente", Texto(m.sCliente)},
                                                       {"Cancelado", Value(m.bCancelado)}}));
  }
  tablas.push_back(std::move(movtos));
  tablas.push_back(std::move(proces));

  Table divisas = tabla("tDivisas");
  for (const auto& v : datos.divisas)
    divisas.rows.push_back(
        kavori::RenglonKavori(divisas.columns, {{"NumeroDivisa", Entero(v.nNumero)},
                                                {"Simbolo", Texto(v.sSimbolo)},
                                                {"Divisa", Texto(v.sDivisa)},
                                                {"Pagare", Value(v.bPagare)}}));
  tablas.push_back(std::move(divisas));

  Table clientes = tabla("tCliente");
  for (const auto& c : datos.clientes)
    clientes.rows.push_back(
        kavori::RenglonKavori(clientes.columns, {{"ClaveCliente", Texto(c.sClave)},
                                                 {"NumEmp", Entero(c.nNumEmp)},
                                                 {"PersonaMoral", Value(c.bMoral)},
                                                 {"Nombre", Texto(c.sNombre)},
                                                 {"ApellidoPaterno", Opcional(c.sApPat)},
                                                 {"ApellidoMaterno", Opcional(c.sApMat)},
                                                 {"ClaveActividad", Texto(c.sActividad)},
                                                 {"Extranjero", Value(c.bExtranjero)},
                                                 {"ClaveSector", Entero(c.nSector)}}));
  tablas.push_back(std::move(clientes));

  Table sectores = tabla("tSector");
  for (const auto& s : datos.sectores)
    sectores.rows.push_back(kavori::RenglonKavori(
        sectores.columns, {{"ClaveSector", Entero(s.nClave)}, {"Sector", Texto(s.sSector)}}));
  tablas.push_back(std::move(sectores));

  Table relevan = tabla("tRelevan");
  for (const auto& r : datos.relevan)
    relevan.rows.push_back(
        kavori::RenglonKavori(relevan.columns, {{"TipoRelev", Texto(r.sTipo)},
                                                {"Fecha", Value(r.fecha)},
                                                {"Observaciones", Texto(r.sObservaciones)},
                                                {"NumEmp", Entero(r.nNumEmp)},
                                                {"ClaveCliente", Texto(r.sCliente)}}));
  if (datos.bConTablaRelevan) tablas.push_back(std::move(relevan));

  Table empresa = tabla("tEmpresa");
  for (int i = 0; i < datos.nFilasEmpresa; ++i)
    empresa.rows.push_back(kavori::RenglonKavori(
        empresa.columns,
        {{"Empresa", Texto(i == 0 ? std::string("CAMBIOS DE PRUEBA SA DE CV")
                                  : "CAMBIOS EMPRESA " + std::to_string(i + 1) + " SA DE CV")},
         {"RFC", Texto("CPR010101AAA")},
         {"RegistroCC", Texto("CC-123")},
         {"NumEmp", Entero(i + 1)},
         {"NomComercial", Texto("CAMBIOS PRUEBA")}}));
  tablas.push_back(std::move(empresa));

  Table emps = tabla("tEmps");
  emps.rows.push_back(kavori::RenglonKavori(
      emps.columns,
      {{"ClaveEmp", Texto("ADMIN")}, {"Password", Texto("SECRETO")}, {"Nivel", Entero(0)}}));
  tablas.push_back(std::move(emps));
  Table compUsr = tabla("tCompUsr");
  for (int i = 0; i < datos.nUsuariosConectados; ++i)
    compUsr.rows.push_back(
        kavori::RenglonKavori(compUsr.columns, {{"ClaveEmp", Texto("U" + std::to_string(i))}}));
  tablas.push_back(std::move(compUsr));

  return tablas;
}

void EscribeBase(const TDatos& datos, const std::filesystem::path& ruta) {
  mdbw::writeDatabase(ruta, Tablas(datos), "quokka");
}

// ---- The answers worked out from the rows ----

TModelo::TModelo(const TDatos& datos, int nNumEmp, double dTCambio, std::set<std::string> peps)
    : d_(datos), nNumEmp_(nNumEmp), dTCambio_(dTCambio), peps_(std::move(peps)) {}

bool EnSegmento(const TOpEsperada& o, unsigned nSeg, int nExt, bool bSinPEP) {
  bool b = true;
  switch (nSeg) {
    case 0:
      return true;  // no filter at all, options ignored
    case 1:
      b = o.EsPubGen;
      break;
    case 2:
      b = o.EsPF && !o.EsPubGen;
      break;
    case 3:
      b = o.EsPM && !o.EsCC && !o.EsEF && !o.EsCB && !o.EsB;
      break;
    case 4:
      b = o.EsCC;
      break;
    case 5:
      b = o.EsEF || o.EsCB || o.EsB;
      break;
    case 6:
      b = o.EsCB;
      break;
    case 7:
      b = o.EsB;
      break;
    case 8:
      b = o.EsPEP;
      break;
    case 9:
      b = o.EsCC || o.EsEF || o.EsCB || o.EsB;
      break;
    case 10:
      b = !o.EsPubGen;
      break;
  }
  if (nExt == 1) b = b && !o.EsExtrj;
  if (nExt == 2) b = b && o.EsExtrj;
  if (bSinPEP) b = b && !o.EsPEP;
  return b;
}

std::vector<TOpEsperada> TModelo::Ops(TClase clase, int nTipoOp) const {
  // Operations: rows of both tables of the company, not cancelled, buy or sell, merged
  // when side, folio, date, currency, rate and client agree.
  struct TOpBase {
    std::string sTipo;
    int nDivisa;
    double dCot;
    std::string sCliente;
    double dCant = 0;
  };
  std::map<std::tuple<std::string, int, std::tuple<int, int, int, int, int, int>, int, double,
                      std::string>,
           TOpBase>
      ops;
  for (const auto& m : d_.movs) {
    if (m.nNumEmp != nNumEmp_ || m.bCancelado || !EnPeriodo(m.fecha)) continue;
    const std::string sTipo = Mayusculas(m.sTipo);
    if (sTipo != "C" && sTipo != "V") continue;
    auto& op = ops[{sTipo, m.nFolio, Clave(m.fecha), m.nDivisa, m.dCot, Mayusculas(m.sCliente)}];
    op.sTipo = sTipo;
    op.nDivisa = m.nDivisa;
    op.dCot = m.dCot;
    op.sCliente = m.sCliente;
    op.dCant += m.dCant;
  }
  const std::string sLado = nTipoOp == 0 ? "C" : "V";
  // The company's clients by key in capitals (many clients: no scan per operation).
  std::multimap<std::string, const TCliente*> clientes;
  for (const auto& c : d_.clientes)
    if (c.nNumEmp == nNumEmp_) clientes.emplace(Mayusculas(c.sClave), &c);
  std::vector<TOpEsperada> r;
  for (const auto& [k, op] : ops) {
    if (op.sTipo != sLado) continue;
    const TDivisa* div = nullptr;
    for (const auto& v : d_.divisas)
      if (v.nNumero == op.nDivisa) div = &v;
    if (!div) continue;
    const std::string sSim = Mayusculas(div->sSimbolo);
    const bool bPeso = sSim == "M.N." || Contiene(sSim, "MX") || sSim.empty();
    TOpEsperada o;
    o.sDivisa = div->sDivisa;
    if (clase == TClase::Dolares) {
      if (sSim != "USD" || div->bPagare) continue;
      o.dCantidad = op.dCant;
    } else if (clase == TClase::OtrasDivisas) {
      if (sSim == "USD" || bPeso || div->bPagare) continue;
      o.dCantidad = op.dCant * op.dCot / dTCambio_;
    } else {
      if (!div->bPagare || bPeso) continue;
      o.dCantidad = sSim == "USD" ? op.dCant : op.dCant * op.dCot / dTCambio_;
    }
    const auto [desde, hasta] = clientes.equal_range(Mayusculas(op.sCliente));
    for (auto it = desde; it != hasta; ++it) {
      const TCliente& c = *it->second;
      const TSector* sec = nullptr;
      for (const auto& s : d_.sectores)
        if (s.nClave == c.nSector) sec = &s;
      if (!sec) continue;
      o.bConCliente = true;
      o.sClave = Mayusculas(c.sClave);
      o.sCliente = c.sNombre;
      if (!c.bMoral) {
        if (c.sApPat) o.sCliente += " " + *c.sApPat;
        if (c.sApMat) o.sCliente += " " + *c.sApMat;
      }
      o.sActividad = sec->sSector;
      const std::string& a = c.sActividad;
      static const std::set<std::string> kEF = {
          "8123094", "9911018", "8123052", "8123060", "8123078", "8123086",
          "8131013", "8131021", "8132011", "8132029", "8142010", "8211039",
          "8211047", "8219041", "8511025", "8511033", "9900903"};
      o.EsPF = !c.bMoral;
      o.EsPM = c.bMoral;
      o.EsPubGen = Contiene(c.sNombre, "PUBLICO");
      o.EsExtrj = a == "9911018" || c.bExtranjero;
      o.EsCC = a == "9503005" || a == "6999992";
      o.EsEF = kEF.count(a) > 0;
      o.EsCB = a == "8219025";
      o.EsB = a == "8100000";
      o.EsPEP = peps_.count(c.sClave) > 0;
    }
    r.push_back(o);
  }
  return r;
}

std::string TModelo::Existe(TClase clase, int nTipoOp) const {
  return Ops(clase, nTipoOp).empty() ? "NO" : "SI";
}

std::string TModelo::Usuarios(TClase clase, int nTipoOp, unsigned nSeg, int nExt,
                              bool bSinPEP) const {
  std::set<std::string> identificados;
  int nNoIdentificados = 0;
  for (const auto& o : Ops(clase, nTipoOp)) {
    if (!o.bConCliente || !EnSegmento(o, nSeg, nExt, bSinPEP)) continue;
    if (o.EsPubGen)
      ++nNoIdentificados;  // every walk-in operation is one user
    else
      identificados.insert(o.sClave);
  }
  return std::to_string(identificados.size() + nNoIdentificados);
}

std::string TModelo::Operaciones(TClase clase, int nTipoOp, unsigned nSeg, int nExt,
                                 bool bSinPEP) const {
  int n = 0;
  for (const auto& o : Ops(clase, nTipoOp))
    if (o.bConCliente && EnSegmento(o, nSeg, nExt, bSinPEP)) ++n;
  return std::to_string(n);
}

// Sum and number of the operations with a known client in the segment.
std::pair<double, int> TModelo::SumaSegmento(TClase clase, int nTipoOp, unsigned nSeg, int nExt,
                                             bool bSinPEP) const {
  double d = 0;
  int n = 0;
  for (const auto& o : Ops(clase, nTipoOp))
    if (o.bConCliente && EnSegmento(o, nSeg, nExt, bSinPEP)) {
      d += o.dCantidad;
      ++n;
    }
  return {d, n};
}

std::string TModelo::Monto(TClase clase, int nTipoOp, unsigned nSeg, int nExt, bool bSinPEP) const {
  const auto [d, n] = SumaSegmento(clase, nTipoOp, nSeg, nExt, bSinPEP);
  return n == 0 ? "0" : Redondeo(d);
}

std::string TModelo::Promedio(TClase clase, int nTipoOp, unsigned nSeg, int nExt,
                              bool bSinPEP) const {
  const auto [d, n] = SumaSegmento(clase, nTipoOp, nSeg, nExt, bSinPEP);
  return n == 0 ? "0" : Redondeo(d / n);
}

std::set<std::string> TModelo::ActividadTop() const {
  // Operations of the period in any currency (none excluded), with their client's sector.
  std::map<std::string, std::pair<std::string, int>> cuentas;
  TDatos sinFiltro = d_;
  // Every currency number counts here: give each operation a cash dollar entry of its own.
  sinFiltro.divisas.clear();
  std::set<int> numeros;
  for (const auto& m : d_.movs) numeros.insert(m.nDivisa);
  for (int n : numeros) sinFiltro.divisas.push_back({n, "USD", "X", false});
  const TModelo todo(sinFiltro, nNumEmp_, dTCambio_, peps_);
  for (int nTipoOp : {0, 1})
    for (const auto& o : todo.Ops(TClase::Dolares, nTipoOp)) {
      if (!o.bConCliente || Mayusculas(o.sActividad) == "NO APLICA") continue;
      auto& c = cuentas[Mayusculas(o.sActividad)];
      c.first = Mayusculas(o.sActividad);
      ++c.second;
    }
  return Tops(cuentas);
}

std::set<std::string> TModelo::DivisaTop(int nTipoOp) const {
  std::map<std::string, std::pair<std::string, int>> cuentas;
  for (const auto& o : Ops(TClase::Documentos, nTipoOp)) {
    auto& c = cuentas[Mayusculas(o.sDivisa)];
    c.first = Mayusculas(o.sDivisa);
    ++c.second;
  }
  return Tops(cuentas);
}

std::set<std::string> TModelo::ClienteTop(int nTipoOp, unsigned nSeg) const {
  std::map<std::string, std::pair<std::string, int>> cuentas;
  for (const auto& o : Ops(TClase::Documentos, nTipoOp)) {
    if (!o.bConCliente) continue;
    if (nSeg == 7 && !(o.EsB && !o.EsExtrj)) continue;
    auto& c = cuentas[Mayusculas(o.sCliente)];
    c.first = o.sCliente;
    ++c.second;
  }
  return Tops(cuentas);
}

std::vector<std::set<std::string>> TModelo::Respuestas() const {
  std::vector<std::set<std::string>> r(213, {"(** El CC debe responder **)"});
  r[5] = ActividadTop();
  enum TRec { Ex, Us, Op, Mo, Pr };
  struct TTema {
    TRec rec;
    unsigned seg;
    int ext;
    bool sinPEP;
    int n[4];
  };
  // The subjects of the four currency sections: buy dollars, buy other, sell dollars,
  // sell other.
  const TTema temas[] = {
      {Ex, 0, 0, false, {37, 69, 101, 133}}, {Us, 10, 0, false, {38, 70, 102, 134}},
      {Us, 1, 0, true, {39, 71, 103, 135}},  {Us, 8, 0, false, {40, 79, 111, 143}},
      {Us, 2, 1, true, {41, 72, 104, 136}},  {Us, 3, 1, true, {42, 73, 105, 137}},
      {Us, 2, 2, true, {43, 74, 106, 138}},  {Us, 3, 2, true, {44, 75, 107, 139}},
      {Us, 4, 0, true, {45, 76, 108, 140}},  {Us, 5, 1, true, {46, 77, 109, 141}},
      {Us, 5, 2, true, {47, 78, 110, 142}},  {Op, 10, 0, false, {48, 80, 112, 144}},
      {Op, 1, 0, true, {49, 83, 113, 145}},  {Op, 2, 1, true, {50, 81, 114, 146}},
      {Op, 3, 1, true, {51, 82, 115, 147}},  {Op, 2, 2, true, {52, 84, 116, 148}},
      {Op, 3, 2, true, {53, 85, 117, 149}},  {Op, 4, 0, true, {54, 86, 118, 150}},
      {Op, 5, 1, true, {55, 87, 119, 151}},  {Op, 5, 2, true, {56, 88, 120, 152}},
      {Op, 8, 0, false, {57, 89, 121, 153}}, {Mo, 0, 0, true, {58, 90, 122, 154}},
      {Mo, 1, 0, true, {59, 91, 123, 155}},  {Mo, 2, 1, true, {60, 92, 124, 156}},
      {Mo, 3, 1, true, {61, 93, 125, 157}},  {Mo, 2, 2, true, {62, 94, 126, 158}},
      {Mo, 3, 2, true, {63, 95, 127, 159}},  {Mo, 4, 0, true, {64, 96, 128, 160}},
      {Mo, 5, 1, true, {65, 97, 129, 161}},  {Mo, 5, 2, true, {66, 98, 130, 162}},
      {Mo, 8, 0, false, {67, 99, 131, 163}}, {Pr, 0, 0, false, {68, 100, 132, 164}},
  };
  auto respuesta = [&](TRec rec, TClase clase, int lado, unsigned seg, int ext, bool sinPEP) {
    switch (rec) {
      case Ex:
        return Existe(clase, lado);
      case Us:
        return Usuarios(clase, lado, seg, ext, sinPEP);
      case Op:
        return Operaciones(clase, lado, seg, ext, sinPEP);
      case Mo:
        return Monto(clase, lado, seg, ext, sinPEP);
      case Pr:
        return Promedio(clase, lado, seg, ext, sinPEP);
    }
    return std::string();
  };
  const TClase clases[4] = {TClase::Dolares, TClase::OtrasDivisas, TClase::Dolares,
                            TClase::OtrasDivisas};
  for (const auto& t : temas)
    for (int i = 0; i < 4; ++i)
      r[t.n[i]] = {respuesta(t.rec, clases[i], i / 2, t.seg, t.ext, t.sinPEP)};

  // Documents bought (165-196) and sold (197-208).
  const TTema docs[] = {
      {Us, 9, 0, false, {168}}, {Us, 1, 0, true, {169}},   {Us, 2, 1, true, {170}},
      {Us, 3, 1, true, {171}},  {Us, 2, 2, true, {172}},   {Us, 3, 2, true, {173}},
      {Us, 4, 0, true, {174}},  {Us, 5, 1, true, {175}},   {Us, 5, 2, true, {176}},
      {Us, 8, 0, false, {177}}, {Op, 10, 0, false, {178}}, {Op, 2, 1, true, {179}},
      {Op, 3, 1, true, {180}},  {Op, 2, 2, true, {181}},   {Op, 3, 2, true, {182}},
      {Op, 4, 0, true, {183}},  {Op, 5, 1, true, {184}},   {Op, 5, 2, true, {185}},
      {Op, 8, 0, false, {186}}, {Mo, 0, 0, false, {187}},  {Mo, 2, 1, true, {188}},
      {Mo, 3, 1, true, {189}},  {Mo, 2, 2, true, {190}},   {Mo, 3, 2, true, {191}},
      {Mo, 4, 0, true, {192}},  {Mo, 5, 1, true, {193}},   {Mo, 5, 2, true, {194}},
      {Mo, 8, 0, false, {195}}, {Pr, 0, 0, false, {196}},  {Op, 5, 0, false, {200}},
      {Op, 7, 1, true, {201}},  {Op, 6, 0, true, {202}},   {Op, 7, 2, true, {203}},
      {Mo, 5, 0, false, {204}}, {Mo, 7, 1, true, {205}},   {Mo, 6, 0, true, {206}},
      {Mo, 7, 2, true, {207}},  {Pr, 5, 0, false, {208}},
  };
  for (const auto& t : docs) {
    const int lado = t.n[0] >= 197 ? 1 : 0;
    r[t.n[0]] = {respuesta(t.rec, TClase::Documentos, lado, t.seg, t.ext, t.sinPEP)};
  }
  r[165] = {Existe(TClase::Documentos, 0)};
  r[197] = {Existe(TClase::Documentos, 1)};
  r[166] = DivisaTop(0);
  r[198] = DivisaTop(1);
  r[167] = ClienteTop(0, 0);
  r[199] = ClienteTop(1, 7);
  // Answers from the database carry the prefix.
  for (int n = 1; n <= 212; ++n) {
    if (*r[n].begin() == "(** El CC debe responder **)") continue;
    std::set<std::string> conPrefijo;
    for (const auto& s : r[n]) conPrefijo.insert("Respuesta: " + s);
    r[n] = conPrefijo;
  }
  return r;
}

}  // namespace kv::prueba
