#pragma once
// The SQL building blocks of the questionnaire: the operations data sets of the
// company (by kind of currency, in US dollars), the client data set with its
// classification flags, the segment filters and the answer aggregates. Every builder
// only composes Jet SQL text; the driver runs the final text of each question.
#include <string>

#include "engine/rep_cuestionario_cnbv.h"

namespace kv {

class TRepCuestCNBVBasic : public TRepCuestionarioCNBV {
 public:
  // Fixes the period 01/01/2019 to 12/31/2019 and the 212 questions; dTCambio is the
  // user's rate in pesos per dollar, stored unchecked (the caller refuses rates <= 0).
  TRepCuestCNBVBasic(db::Connection* Conector, double dTCambio, int nNumEmp);

  std::string NombreClase() const override { return "TRepCuestCNBVBasic"; }

 protected:
  // Operations data sets.
  static std::string DameValorBooleano(bool bValor);
  static std::string DameTipoOperacion(int nTipoOp);
  std::string DameConsultaMovtos(bool bCancelado) const;
  static std::string DameConsultaDivisas(const std::string& sSimbolo, bool bIgual, bool bPagare);
  std::string DameOpsPeriodo(const std::string& sFIni, const std::string& sFFin) const;
  std::string DameOpsDolares(int nTipoOp, const std::string& sFIni, const std::string& sFFin) const;
  std::string DameOpsOtrasDivisas(int nTipoOp, const std::string& sFIni, const std::string& sFFin,
                                  const std::string& sTipoCambio) const;
  std::string DameOpsDocumentos(int nTipoOp, const std::string& sFIni, const std::string& sFFin,
                                const std::string& sTipoCambio) const;
  std::string DameCampoEsPEP() const;
  std::string DameConsultaClientes() const;
  std::string DameOpsConClientes(const std::string& sConsulta) const;
  static std::string DameClientesUnicos(const std::string& sConsulta);

  // Segment filters and answer aggregates.
  static std::string DameConsultaSegmento(const std::string& sConsulta, unsigned nSegmento,
                                          int nExtranjero, bool bSinPEP);
  static std::string DameConsultaConteo(const std::string& sConsulta);
  static std::string DameConsultaExiste(const std::string& sConsulta);
  static void ArmaRespuestaSiNo(std::string& sConsulta);
  static std::string ArmaRespuestaDefecto(const std::string& sConsulta,
                                          const std::string& sDefecto);
  static std::string DameConsultaPromedio(const std::string& sConsulta);
  static std::string DameConsultaSuma(const std::string& sConsulta, unsigned nSegmento,
                                      int nExtranjero, bool bSinPEP);
  static std::string DameConsultaClienteTop(const std::string& sConsulta, unsigned nSegmento);
  static std::string DameConsultaDivisaTop(const std::string& sConsulta);
  std::string DameConsultaActividadTop(const std::string& sConsulta) const;

  double F_dTipoCambio;
};

}  // namespace kv
