#pragma once
// The SQL building blocks of the questionnaire: the operations data sets of the
// company (by kind of currency, in US dollars), the client data set with its
// classification flags, the segment filters and the answer aggregates. Every builder
// only composes Jet SQL text; the driver runs the final text of each question.
#include <string>
#include <vector>

#include "engine/rep_cuestionario_cnbv.h"

namespace kv {

// The classes of clients a question counts (DameSegmento's codes).
namespace segmento {
inline constexpr unsigned kTodos = 0;  // every operation, with or without a client
inline constexpr unsigned kPublicoEnGeneral = 1;
inline constexpr unsigned kPersonasFisicas = 2;
inline constexpr unsigned kPersonasMorales = 3;  // neither exchange houses nor financial
inline constexpr unsigned kCentrosCambiarios = 4;
inline constexpr unsigned kEntidadesFinancieras = 5;  // with exchange houses and banks
inline constexpr unsigned kCasasDeCambio = 6;
inline constexpr unsigned kBancos = 7;
inline constexpr unsigned kPEP = 8;
inline constexpr unsigned kCentrosYEntidades = 9;  // exchange centres and financial of any kind
inline constexpr unsigned kIdentificados = 10;
}  // namespace segmento

// Nationality of the clients of a segment (DameNacionalidad's codes).
namespace nacionalidad {
inline constexpr int kCualquiera = 0;
inline constexpr int kNacionales = 1;
inline constexpr int kExtranjeros = 2;
}  // namespace nacionalidad

// Whether a segment leaves out the politically exposed persons.
inline constexpr bool kSinPEP = true;
inline constexpr bool kConPEP = false;

// A class of clients by their classification flags: the words that name it and its
// condition over the flags (every flag of todos with its value, and at least one of alguno
// set), from which its SQL filter is written.
struct TSegmento {
  struct TBandera {
    const char* sBandera;
    bool bActiva;
  };
  const char* sDescripcion;
  std::vector<TBandera> todos;
  std::vector<const char*> alguno;

  // The condition as SQL after sInicio ("WHERE ", "AND "): "EsPF <> 0 AND EsPubGen = 0 ",
  // "(EsCC <> 0 OR EsB <> 0) "; empty for no condition.
  std::string SQL(const char* sInicio) const;
};

// The activity keys (ClaveActividad) that make a client of each class.
namespace claves_actividad {
inline constexpr const char* kExtranjero[] = {"9911018"};
inline constexpr const char* kCentroCambiario[] = {"9503005", "6999992"};
inline constexpr const char* kEntidadFinanciera[] = {
    "8123094", "9911018", "8123052", "8123060", "8123078", "8123086",
    "8131013", "8131021", "8132011", "8132029", "8142010", "8211039",
    "8211047", "8219041", "8511025", "8511033", "9900903"};
inline constexpr const char* kCasaDeCambio[] = {"8219025"};
inline constexpr const char* kBanco[] = {"8100000"};
}  // namespace claves_actividad

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
  // The FROM and WHERE of DameOpsPeriodo: the grouped operations as tOps, those of the period.
  std::string DameDesdeOpsPeriodo(const std::string& sFIni, const std::string& sFFin) const;
  std::string DameOpsDolares(int nTipoOp, const std::string& sFIni, const std::string& sFFin) const;
  std::string DameOpsOtrasDivisas(int nTipoOp, const std::string& sFIni, const std::string& sFFin,
                                  const std::string& sTipoCambio) const;
  std::string DameOpsDocumentos(int nTipoOp, const std::string& sFIni, const std::string& sFFin,
                                const std::string& sTipoCambio) const;
  std::string DameCampoEsPEP() const;
  std::string DameConsultaClientes() const;
  std::string DameOpsConClientes(const std::string& sConsulta) const;
  // Every operation of sConsulta with its client's columns, null where the client is not in
  // the client data set (the operations that only the yes/no questions count).
  std::string DameOpsConSusClientes(const std::string& sConsulta) const;
  // The extra texts go after EsPEP in each half's column list (the evidence names the user).
  static std::string DameClientesUnicos(const std::string& sConsulta,
                                        const std::string& sExtraPorCliente = "",
                                        const std::string& sExtraPorOperacion = "");

  // Segment filters and answer aggregates.
  static const TSegmento& DameSegmento(unsigned nSegmento);
  static const TSegmento& DameNacionalidad(int nExtranjero);
  static const TSegmento& DameSinPEP();
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
  // The tops; with bRanking, every candidate in the answer's order with its count
  // (Candidato, Operaciones) and the text the answer takes from it (XResul).
  static std::string DameConsultaClienteTop(const std::string& sConsulta, unsigned nSegmento,
                                            bool bRanking = false);
  static std::string DameConsultaDivisaTop(const std::string& sConsulta, bool bRanking = false);
  std::string DameConsultaActividadTop(const std::string& sConsulta, bool bRanking = false) const;

  // How an operation meets its client in the client data set.
  static constexpr const char* kUnionOpsClientes = "tXOps.CvCAux = tXCte.AuxCvC";

  double F_dTipoCambio;
  // The evidence's option: each operation of the operations data sets also says where its
  // rows are (Tabla: "tMovtos", "tProces" or "tMovtos y tProces"), and the movements are
  // those of the period from the start. The answers never set it, so their texts stay as
  // they are.
  bool F_bConTabla = false;
};

}  // namespace kv
