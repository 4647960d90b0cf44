#include "engine/rep_cuest_siti2020.h"

#include <array>

#include "data/db/value.h"
#include "engine/textos.h"

namespace kv {

namespace {

// The subjects asked in the four currency sections, with their question numbers in the
// buy-dollar, buy-other, sell-dollar and sell-other sections.
struct TTemaDivisas {
  TReceta receta;
  unsigned nSegmento;
  int nExtranjero;
  bool bSinPEP;
  std::array<int, 4> preguntas;
};

constexpr TTemaDivisas kTemasDivisas[] = {
    {TReceta::Existe, 0, 0, false, {37, 69, 101, 133}},
    {TReceta::Usuarios, 10, 0, false, {38, 70, 102, 134}},
    {TReceta::Usuarios, 1, 0, true, {39, 71, 103, 135}},
    {TReceta::Usuarios, 8, 0, false, {40, 79, 111, 143}},
    {TReceta::Usuarios, 2, 1, true, {41, 72, 104, 136}},
    {TReceta::Usuarios, 3, 1, true, {42, 73, 105, 137}},
    {TReceta::Usuarios, 2, 2, true, {43, 74, 106, 138}},
    {TReceta::Usuarios, 3, 2, true, {44, 75, 107, 139}},
    {TReceta::Usuarios, 4, 0, true, {45, 76, 108, 140}},
    {TReceta::Usuarios, 5, 1, true, {46, 77, 109, 141}},
    {TReceta::Usuarios, 5, 2, true, {47, 78, 110, 142}},
    {TReceta::Operaciones, 10, 0, false, {48, 80, 112, 144}},
    {TReceta::Operaciones, 1, 0, true, {49, 83, 113, 145}},
    {TReceta::Operaciones, 2, 1, true, {50, 81, 114, 146}},
    {TReceta::Operaciones, 3, 1, true, {51, 82, 115, 147}},
    {TReceta::Operaciones, 2, 2, true, {52, 84, 116, 148}},
    {TReceta::Operaciones, 3, 2, true, {53, 85, 117, 149}},
    {TReceta::Operaciones, 4, 0, true, {54, 86, 118, 150}},
    {TReceta::Operaciones, 5, 1, true, {55, 87, 119, 151}},
    {TReceta::Operaciones, 5, 2, true, {56, 88, 120, 152}},
    {TReceta::Operaciones, 8, 0, false, {57, 89, 121, 153}},
    {TReceta::Monto, 0, 0, true, {58, 90, 122, 154}},
    {TReceta::Monto, 1, 0, true, {59, 91, 123, 155}},
    {TReceta::Monto, 2, 1, true, {60, 92, 124, 156}},
    {TReceta::Monto, 3, 1, true, {61, 93, 125, 157}},
    {TReceta::Monto, 2, 2, true, {62, 94, 126, 158}},
    {TReceta::Monto, 3, 2, true, {63, 95, 127, 159}},
    {TReceta::Monto, 4, 0, true, {64, 96, 128, 160}},
    {TReceta::Monto, 5, 1, true, {65, 97, 129, 161}},
    {TReceta::Monto, 5, 2, true, {66, 98, 130, 162}},
    {TReceta::Monto, 8, 0, false, {67, 99, 131, 163}},
    {TReceta::Promedio, 0, 0, false, {68, 100, 132, 164}},
};

constexpr TClaseOps kClasesDivisas[4] = {TClaseOps::Dolares, TClaseOps::OtrasDivisas,
                                         TClaseOps::Dolares, TClaseOps::OtrasDivisas};

// The document sections, one row per question.
struct TPreguntaDocumentos {
  int nPregunta;
  TReceta receta;
  unsigned nSegmento;
  int nExtranjero;
  bool bSinPEP;
};

constexpr TPreguntaDocumentos kPreguntasDocumentos[] = {
    {165, TReceta::Existe, 0, 0, false},     {166, TReceta::DivisaTop, 0, 0, false},
    {167, TReceta::ClienteTop, 0, 0, false}, {168, TReceta::Usuarios, 9, 0, false},
    {169, TReceta::Usuarios, 1, 0, true},    {170, TReceta::Usuarios, 2, 1, true},
    {171, TReceta::Usuarios, 3, 1, true},    {172, TReceta::Usuarios, 2, 2, true},
    {173, TReceta::Usuarios, 3, 2, true},    {174, TReceta::Usuarios, 4, 0, true},
    {175, TReceta::Usuarios, 5, 1, true},    {176, TReceta::Usuarios, 5, 2, true},
    {177, TReceta::Usuarios, 8, 0, false},   {178, TReceta::Operaciones, 10, 0, false},
    {179, TReceta::Operaciones, 2, 1, true}, {180, TReceta::Operaciones, 3, 1, true},
    {181, TReceta::Operaciones, 2, 2, true}, {182, TReceta::Operaciones, 3, 2, true},
    {183, TReceta::Operaciones, 4, 0, true}, {184, TReceta::Operaciones, 5, 1, true},
    {185, TReceta::Operaciones, 5, 2, true}, {186, TReceta::Operaciones, 8, 0, false},
    {187, TReceta::Monto, 0, 0, false},      {188, TReceta::Monto, 2, 1, true},
    {189, TReceta::Monto, 3, 1, true},       {190, TReceta::Monto, 2, 2, true},
    {191, TReceta::Monto, 3, 2, true},       {192, TReceta::Monto, 4, 0, true},
    {193, TReceta::Monto, 5, 1, true},       {194, TReceta::Monto, 5, 2, true},
    {195, TReceta::Monto, 8, 0, false},      {196, TReceta::PromedioSegmento, 0, 0, false},
    {197, TReceta::Existe, 0, 0, false},     {198, TReceta::DivisaTop, 0, 0, false},
    {199, TReceta::ClienteTop, 7, 0, false}, {200, TReceta::Operaciones, 5, 0, false},
    {201, TReceta::Operaciones, 7, 1, true}, {202, TReceta::Operaciones, 6, 0, true},
    {203, TReceta::Operaciones, 7, 2, true}, {204, TReceta::Monto, 5, 0, false},
    {205, TReceta::Monto, 7, 1, true},       {206, TReceta::Monto, 6, 0, true},
    {207, TReceta::Monto, 7, 2, true},       {208, TReceta::PromedioSegmento, 5, 0, false},
};

using TCatalogo = std::array<TPregunta, textos_motor::kTotalPreguntasSITI2020 + 1>;

// The recipe of every question number, indexed by the number (entry 0 unused).
const TCatalogo& Catalogo() {
  static const TCatalogo catalogo = [] {
    TCatalogo c{};
    for (int n = 1; n <= textos_motor::kTotalPreguntasSITI2020; ++n)
      c[n].receta = TReceta::CCResponde;
    c[5] = {TReceta::ActividadTop, TClaseOps::Ninguna, 0, 0, false};
    for (const auto& t : kTemasDivisas)
      for (int i = 0; i < 4; ++i)
        c[t.preguntas[i]] = {t.receta, kClasesDivisas[i], t.nSegmento, t.nExtranjero, t.bSinPEP};
    for (const auto& p : kPreguntasDocumentos)
      c[p.nPregunta] = {p.receta, TClaseOps::Documentos, p.nSegmento, p.nExtranjero, p.bSinPEP};
    return c;
  }();
  return catalogo;
}

}  // namespace

int TipoOperacionPregunta(int nPregunta) {
  return (nPregunta >= 101 && nPregunta <= 164) || (nPregunta >= 197 && nPregunta <= 208) ? 1 : 0;
}

const TPregunta& DamePreguntaSITI2020(int nPregunta) {
  static const TPregunta kFuera{};
  if (nPregunta < 1 || nPregunta > textos_motor::kTotalPreguntasSITI2020) return kFuera;
  return Catalogo()[nPregunta];
}

std::string TRepCuestSITI2020::DameTextoTipoCambio() const {
  return db::formatNumber(F_dTipoCambio);
}

// ---- Selectors ----

std::string TRepCuestSITI2020::DameDolares(int nTipoOp, const std::string& sFIni,
                                           const std::string& sFFin) const {
  return DameOpsDolares(nTipoOp, sFIni, sFFin);
}

std::string TRepCuestSITI2020::DameDolaresPorCliente(int nTipoOp) const {
  return DameClientesUnicos(DameDolaresConCliente(nTipoOp));
}

std::string TRepCuestSITI2020::DameDolaresConCliente(int nTipoOp) const {
  return DameOpsConClientes(DameDolares(nTipoOp, F_sFIni, F_sFFin));
}

std::string TRepCuestSITI2020::DameOtrasDivisas(int nTipoOp, const std::string& sFIni,
                                                const std::string& sFFin) const {
  return DameOpsOtrasDivisas(nTipoOp, sFIni, sFFin, DameTextoTipoCambio());
}

std::string TRepCuestSITI2020::DameOtrasDivisasPorCliente(int nTipoOp) const {
  return DameClientesUnicos(DameOtrasDivisasConCliente(nTipoOp));
}

std::string TRepCuestSITI2020::DameOtrasDivisasConCliente(int nTipoOp) const {
  return DameOpsConClientes(DameOtrasDivisas(nTipoOp, F_sFIni, F_sFFin));
}

std::string TRepCuestSITI2020::DameDocumentos(int nTipoOp, const std::string& sFIni,
                                              const std::string& sFFin) const {
  return DameOpsDocumentos(nTipoOp, sFIni, sFFin, DameTextoTipoCambio());
}

std::string TRepCuestSITI2020::DameDocumentosDelPeriodo(int nTipoOp) const {
  return DameDocumentos(nTipoOp, F_sFIni, F_sFFin);
}

std::string TRepCuestSITI2020::DameDocumentosPorCliente(int nTipoOp) const {
  return DameClientesUnicos(DameDocumentosConCliente(nTipoOp));
}

std::string TRepCuestSITI2020::DameDocumentosConCliente(int nTipoOp) const {
  return DameOpsConClientes(DameDocumentosDelPeriodo(nTipoOp));
}

// ---- Catalogue ----

namespace {

// The three shapes of each kind of operation: without clients, one row per user, one row
// per operation with its client.
struct TFormas {
  std::string (TRepCuestSITI2020::*base)(int, const std::string&, const std::string&) const;
  std::string (TRepCuestSITI2020::*porCliente)(int) const;
  std::string (TRepCuestSITI2020::*conCliente)(int) const;
};

}  // namespace

std::string TRepCuestSITI2020::DameForma(TClaseOps clase, TForma forma, int nTipoOp) const {
  static constexpr TFormas kFormas[] = {
      {&TRepCuestSITI2020::DameDolares, &TRepCuestSITI2020::DameDolaresPorCliente,
       &TRepCuestSITI2020::DameDolaresConCliente},
      {&TRepCuestSITI2020::DameOtrasDivisas, &TRepCuestSITI2020::DameOtrasDivisasPorCliente,
       &TRepCuestSITI2020::DameOtrasDivisasConCliente},
      {&TRepCuestSITI2020::DameDocumentos, &TRepCuestSITI2020::DameDocumentosPorCliente,
       &TRepCuestSITI2020::DameDocumentosConCliente},
  };
  const TFormas& f = kFormas[clase == TClaseOps::Ninguna ? 0 : static_cast<int>(clase)];
  switch (forma) {
    case TForma::Base:
      return (this->*f.base)(nTipoOp, F_sFIni, F_sFFin);
    case TForma::PorCliente:
      return (this->*f.porCliente)(nTipoOp);
    case TForma::ConCliente:
      return (this->*f.conCliente)(nTipoOp);
  }
  return {};
}

std::string TRepCuestSITI2020::DameConsultaTop(int nPregunta, bool bRanking) const {
  const TPregunta& p = DamePreguntaSITI2020(nPregunta);
  const int nTipoOp = TipoOperacionPregunta(nPregunta);
  switch (p.receta) {
    case TReceta::ActividadTop:
      return DameConsultaActividadTop(DameOpsPeriodo(F_sFIni, F_sFFin), bRanking);
    case TReceta::DivisaTop:
      return DameConsultaDivisaTop(DameDocumentosDelPeriodo(nTipoOp), bRanking);
    case TReceta::ClienteTop:
      return DameConsultaClienteTop(DameDocumentosConCliente(nTipoOp), p.nSegmento, bRanking);
    default:
      return {};
  }
}

std::string TRepCuestSITI2020::DameConsultaPregunta(int nPregunta) {
  if (nPregunta < 1 || nPregunta > textos_motor::kTotalPreguntasSITI2020)
    return textos_motor::kErrorPregunta;
  const TPregunta& p = DamePreguntaSITI2020(nPregunta);
  const int nTipoOp = TipoOperacionPregunta(nPregunta);
  // Each shape is composed only when the recipe uses it.
  auto base = [&] { return DameForma(p.clase, TForma::Base, nTipoOp); };
  auto porCliente = [&] { return DameForma(p.clase, TForma::PorCliente, nTipoOp); };
  auto conCliente = [&] { return DameForma(p.clase, TForma::ConCliente, nTipoOp); };

  switch (p.receta) {
    case TReceta::Ninguna:
      return textos_motor::kErrorPregunta;
    case TReceta::CCResponde:
      return textos_motor::kCCDebeResponder;
    case TReceta::Existe:
      return DameConsultaExiste(base());
    case TReceta::Usuarios:
      return DameConsultaConteo(
          DameConsultaSegmento(porCliente(), p.nSegmento, p.nExtranjero, p.bSinPEP));
    case TReceta::Operaciones:
      return DameConsultaConteo(
          DameConsultaSegmento(conCliente(), p.nSegmento, p.nExtranjero, p.bSinPEP));
    case TReceta::Monto:
      return ArmaRespuestaDefecto(
          DameConsultaSuma(conCliente(), p.nSegmento, p.nExtranjero, p.bSinPEP), "0");
    case TReceta::Promedio:
      return ArmaRespuestaDefecto(DameConsultaPromedio(conCliente()), "0");
    case TReceta::PromedioSegmento:
      return ArmaRespuestaDefecto(DameConsultaPromedio(DameConsultaSegmento(
                                      conCliente(), p.nSegmento, p.nExtranjero, p.bSinPEP)),
                                  "0");
    case TReceta::ActividadTop:
    case TReceta::DivisaTop:
    case TReceta::ClienteTop:
      return ArmaRespuestaDefecto(DameConsultaTop(nPregunta, false), "NINGUNO");
  }
  return textos_motor::kErrorPregunta;
}

}  // namespace kv
