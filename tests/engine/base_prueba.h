#pragma once
// A small Kavori company database for the answer tests: its rows as plain C++ values,
// written to an .mdb file, and the answers worked out from those rows in plain C++
// (the meaning of each question, without any SQL).
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/mdbwrite/mdbwriter.h"

namespace kv::prueba {

struct TMov {
  bool bProces = false;  // row of tProces instead of tMovtos
  int nNumEmp = 1;
  std::string sTipo;
  int nFolio = 0;
  mdbw::Timestamp fecha;
  int nDivisa = 1;
  double dCot = 1;
  double dCant = 0;
  std::string sCliente;
  bool bCancelado = false;
};

struct TDivisa {
  int nNumero = 0;
  std::string sSimbolo;
  std::string sDivisa;
  bool bPagare = false;
};

struct TCliente {
  std::string sClave;
  int nNumEmp = 1;
  bool bMoral = false;
  std::string sNombre;
  std::optional<std::string> sApPat, sApMat;
  std::string sActividad;
  bool bExtranjero = false;
  int nSector = 1;
};

struct TSector {
  int nClave = 0;
  std::string sSector;
};

struct TRelevan {
  std::string sTipo;
  mdbw::Timestamp fecha;
  std::string sObservaciones;
  int nNumEmp = 1;
  std::string sCliente;
};

struct TDatos {
  std::vector<TMov> movs;
  std::vector<TDivisa> divisas;
  std::vector<TCliente> clientes;
  std::vector<TSector> sectores;
  std::vector<TRelevan> relevan;
  int nFilasEmpresa = 1;
  int nUsuariosConectados = 0;
  bool bConTablaRelevan = true;
};

// Company 1 of the answer tests: every kind of client and currency and the edge cases of
// the period, merging, cancelling and currency filters.
TDatos DatosCompletos();

// The tables of the rows, and their database file (password "quokka").
std::vector<mdbw::Table> Tablas(const TDatos& datos);
void EscribeBase(const TDatos& datos, const std::filesystem::path& ruta);

// Kinds of operation of the questionnaire.
enum class TClase { Dolares, OtrasDivisas, Documentos };

// One operation of a kind with its client's flags (when the client is known).
struct TOpEsperada {
  double dCantidad = 0;  // in dollars
  std::string sDivisa;
  bool bConCliente = false;
  std::string sClave, sCliente, sActividad;
  bool EsPF = false, EsPM = false, EsPubGen = false, EsExtrj = false, EsCC = false, EsEF = false,
       EsCB = false, EsB = false, EsPEP = false;
};

// The answers of one company, rate and set of ticked client keys. Each answer is the set
// of acceptable texts (ties in a top allow any of the tied entries).
class TModelo {
 public:
  TModelo(const TDatos& datos, int nNumEmp, double dTCambio, std::set<std::string> peps);

  std::vector<TOpEsperada> Ops(TClase clase, int nTipoOp) const;

  std::string Existe(TClase clase, int nTipoOp) const;
  std::string Usuarios(TClase clase, int nTipoOp, unsigned nSeg, int nExt, bool bSinPEP) const;
  std::string Operaciones(TClase clase, int nTipoOp, unsigned nSeg, int nExt, bool bSinPEP) const;
  std::string Monto(TClase clase, int nTipoOp, unsigned nSeg, int nExt, bool bSinPEP) const;
  std::string Promedio(TClase clase, int nTipoOp, unsigned nSeg, int nExt, bool bSinPEP) const;
  std::set<std::string> ActividadTop() const;
  std::set<std::string> DivisaTop(int nTipoOp) const;
  std::set<std::string> ClienteTop(int nTipoOp, unsigned nSeg) const;

  // The text written at each question's bookmark, 1 to 212 (entry 0 unused).
  std::vector<std::set<std::string>> Respuestas() const;

  // The sum of the amounts in dollars and the number of the operations with a known client
  // in the segment, unrounded.
  std::pair<double, int> SumaSegmento(TClase clase, int nTipoOp, unsigned nSeg, int nExt,
                                      bool bSinPEP) const;

 private:
  const TDatos& d_;
  int nNumEmp_;
  double dTCambio_;
  std::set<std::string> peps_;
};

// Whether a row of the segment (the flags filter of the questionnaire).
bool EnSegmento(const TOpEsperada& o, unsigned nSeg, int nExt, bool bSinPEP);

}  // namespace kv::prueba
