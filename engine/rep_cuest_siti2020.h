#pragma once
// The SITI 2020 questionnaire (operations of 2019): for each of the 212 question
// numbers, the recipe that composes its answer from the building blocks.
#include <string>

#include "engine/rep_cuest_cnbv_basic.h"

namespace kv {

class TRepCuestSITI2020 : public TRepCuestCNBVBasic {
 public:
  using TRepCuestCNBVBasic::TRepCuestCNBVBasic;

  std::string DameConsultaPregunta(int nPregunta) override;
  std::string NombreClase() const override { return "TRepCuestSITI2020"; }

 protected:
  // Data set selectors: the operations of one kind in three shapes (without clients,
  // one row per user, one row per operation with its client's flags).
  std::string DameDolares(int nTipoOp, const std::string& sFIni, const std::string& sFFin) const;
  std::string DameDolaresPorCliente(int nTipoOp) const;
  std::string DameDolaresConCliente(int nTipoOp) const;
  std::string DameOtrasDivisas(int nTipoOp, const std::string& sFIni,
                               const std::string& sFFin) const;
  std::string DameOtrasDivisasPorCliente(int nTipoOp) const;
  std::string DameOtrasDivisasConCliente(int nTipoOp) const;
  std::string DameDocumentos(int nTipoOp, const std::string& sFIni, const std::string& sFFin) const;
  std::string DameDocumentosDelPeriodo(int nTipoOp) const;
  std::string DameDocumentosPorCliente(int nTipoOp) const;
  std::string DameDocumentosConCliente(int nTipoOp) const;

  // The user's rate as Jet reads a number: "." always, shortest form (19.26, 20, 18.5).
  std::string DameTextoTipoCambio() const;
};

}  // namespace kv
