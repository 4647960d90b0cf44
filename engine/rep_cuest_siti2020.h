#pragma once
// The SITI 2020 questionnaire (operations of 2019): for each of the 212 question
// numbers, the recipe that composes its answer from the building blocks.
#include <string>

#include "engine/evidencia.h"
#include "engine/rep_cuest_cnbv_basic.h"

namespace kv {

// How a question's answer is obtained.
enum class TReceta {
  Ninguna,  // a number outside the questionnaire
  CCResponde,
  Existe,
  Usuarios,
  Operaciones,
  Monto,
  Promedio,
  PromedioSegmento,
  ActividadTop,
  DivisaTop,
  ClienteTop,
};

// Kinds of operation; the first three index the selector tables.
enum class TClaseOps { Dolares, OtrasDivisas, Documentos, Ninguna };

struct TPregunta {
  TReceta receta = TReceta::Ninguna;
  TClaseOps clase = TClaseOps::Ninguna;
  unsigned nSegmento = 0;
  int nExtranjero = 0;
  bool bSinPEP = false;
};

// The recipe of question nPregunta (TReceta::Ninguna outside 1 to 212).
const TPregunta& DamePreguntaSITI2020(int nPregunta);
// Operation side of a question: 1 (sell) for 101-164 and 197-208, 0 (buy) otherwise.
int TipoOperacionPregunta(int nPregunta);

class TRepCuestSITI2020 : public TRepCuestCNBVBasic {
 public:
  using TRepCuestCNBVBasic::TRepCuestCNBVBasic;

  std::string DameConsultaPregunta(int nPregunta) override;
  std::string NombreClase() const override { return "TRepCuestSITI2020"; }

  // Writes at sRuta the evidence workbook of the answers: the answers' sheet (question,
  // text, answer, a formula that recomputes it, how it is obtained, where its rows are),
  // the operations and users of each section of operations, and the rankings of the tops.
  // The answers are taken from the last RespondePregunta of each question, asked now when
  // missing. Throws EEvidencia (nothing is left at sRuta then; an earlier file stays).
  void EscribeEvidencia(const std::string& sRuta, const TOpcionesEvidencia& opciones);
  bool GeneraEvidencia(const std::string& sRuta) override {
    EscribeEvidencia(sRuta, {});
    return true;
  }
  // The clients of a segment in words ("personas físicas identificadas, nacionales, sin las
  // PEP"); empty for segment 0 (every client).
  static std::string DescribeSegmento(unsigned nSegmento, int nExtranjero, bool bSinPEP);

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

  // One shape of the operations of a kind and side over the period.
  enum class TForma { Base, PorCliente, ConCliente };
  std::string DameForma(TClaseOps clase, TForma forma, int nTipoOp) const;
  // The one-value query of a top question (5, 166, 167, 198, 199), or with bRanking its
  // every candidate in the answer's order; empty for any other question.
  std::string DameConsultaTop(int nPregunta, bool bRanking) const;

  std::string DameConsultaComun() override;
  bool RespondeLaCopia(int nPregunta) const override;

  // The user's rate as Jet reads a number: "." always, shortest form (19.26, 20, 18.5).
  std::string DameTextoTipoCambio() const;
};

}  // namespace kv
