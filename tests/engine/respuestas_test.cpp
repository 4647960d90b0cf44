// The answers of the questionnaire computed by the database engine over small written
// databases, compared with the answers worked out from the rows in plain C++.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "data/conexion.h"
#include "data/db/connection.h"
#include "data/textos.h"
#include "engine/rep_cuest_siti2020.h"
#include "engine/tabla_peps.h"
#include "jet/jet_provider.h"
#include "tests/engine/base_escrita.h"
#include "tests/engine/base_prueba.h"
#include "tests/support/dialogos_grabados.h"
#include "tests/support/locale_coma.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using prueba::TClase;
using prueba::TCliente;
using prueba::TDatos;
using prueba::TDivisa;
using prueba::TModelo;
using prueba::TMov;
using prueba::TRelevan;

mdbw::Timestamp Dia(int y, int m, int d, int h = 0, int mi = 0, int se = 0) {
  return {y, m, d, h, mi, se};
}

}  // namespace

// Company 1 of the fixture: every kind of client and currency, the edge cases of the
// period, merging, cancelling and currency filters.
TDatos prueba::DatosCompletos() {
  TDatos d;
  d.sectores = {{1, "COMERCIO"}, {2, "SERVICIOS FINANCIEROS"}, {3, "NO APLICA"}, {4, "GOBIERNO"}};
  d.divisas = {
      {1, "USD", "DOLAR AMERICANO", false},  {2, "EUR", "EURO", false},
      {3, "M.N.", "PESO MEXICANO", false},   {4, "MXN", "PESO MX", false},
      {5, "", "SIN SIMBOLO", false},         {6, "CAD", "Dolar Canadiense", false},
      {7, "USD", "Cheque en dolares", true}, {8, "EUR", "Cheque en euros", true},
      {9, "M.N.", "Cheque en pesos", true},  {10, "XMX", "Cheque mx", true},
  };
  auto cli = [](std::string clave, bool moral, std::string nombre, std::string actividad,
                int sector, bool extranjero = false, std::optional<std::string> pat = {},
                std::optional<std::string> mat = {}, int emp = 1) {
    TCliente c;
    c.sClave = clave;
    c.nNumEmp = emp;
    c.bMoral = moral;
    c.sNombre = nombre;
    c.sApPat = pat;
    c.sApMat = mat;
    c.sActividad = actividad;
    c.bExtranjero = extranjero;
    c.nSector = sector;
    return c;
  };
  d.clientes = {
      cli("PG", true, "PUBLICO EN GENERAL", "0000000", 3),  // walk-in, stored as legal entity
      cli("PG2", true, "Ventas al Publico", "4611011", 1),  // walk-in in mixed case
      cli("F1", false, "ANA", "1111111", 1, false, "LOPEZ", "DIAZ"),
      cli("F2", false, "JUAN", "1111111", 1, false, std::nullopt, "PEREZ"),
      cli("F3", false, "JOHN", "1111111", 4, true, "SMITH  ", std::nullopt),
      cli("M1", true, "ACME SA", "4611011", 1),
      cli("M2", true, "GLOBAL INC", "4611011", 1, true),
      cli("C1", true, "CENTRO CAMBIARIO ALFA", "9503005", 2),
      cli("E1", true, "BANCO UNO", "8100000", 2),
      cli("E2", true, "BANK OF X", "8100000", 2, true),
      cli("E3", true, "FOREIGN FIN", "9911018", 2),
      cli("E4", true, "CASA DE CAMBIO BETA", "8219025", 2),
      cli("E5", true, "FINANCIERA GAMMA", "8123094", 2),
      cli("X1", false, "SIN SECTOR", "1111111", 99),  // sector without a row
      cli("N1", false, "", "1111111", 1, false, "RUIZ"),
      cli("F1", false, "OTRA ANA", "1111111", 1, false, std::nullopt, std::nullopt, 2),
  };
  int folio = 0;
  auto mov = [&](const char* tipo, int divisa, double cot, double cant, const char* cliente,
                 mdbw::Timestamp fecha = Dia(2019, 6, 15)) {
    TMov m;
    m.sTipo = tipo;
    m.nFolio = ++folio;
    m.fecha = fecha;
    m.nDivisa = divisa;
    m.dCot = cot;
    m.dCant = cant;
    m.sCliente = cliente;
    d.movs.push_back(m);
    return &d.movs.back();
  };
  // Cash dollars bought.
  for (double c : {100.0, 200.0, 300.0}) mov("C", 1, 19, c, "PG");
  mov("C", 1, 19, 50, "PG2");
  mov("C", 1, 19, 1000, "F1");
  mov("C", 1, 19, 500, "F1");
  mov("C", 1, 19, 250.4, "F2");
  mov("C", 1, 19, 120, "F3");
  mov("C", 1, 19, 5000, "M1");
  mov("C", 1, 19, 700, "M2");
  mov("C", 1, 19, 10000, "C1");
  mov("C", 1, 19, 20000, "E1");
  mov("C", 1, 19, 800, "E2");
  mov("C", 1, 19, 3000, "E3");
  mov("C", 1, 19, 4000, "E4");
  mov("C", 1, 19, 600, "E5");
  mov("C", 1, 19, 999, "X1");
  // Two rows of one operation, one in each table: one operation of 25.
  mov("C", 1, 19, 10, "F2")->nFolio = 500;
  mov("C", 1, 19, 15, "F2")->nFolio = 500;
  d.movs.back().bProces = true;
  mov("C", 1, 19, 9999, "F1")->bCancelado = true;
  mov("X", 1, 19, 8888, "F1");
  // The whole of the last day counts, up to its last second; the next day does not.
  mov("C", 1, 19, 777, "F1", Dia(2019, 12, 31, 10, 0));
  mov("C", 1, 19, 23, "F1", Dia(2019, 12, 31, 23, 59, 59));
  mov("C", 1, 19, 333, "F1", Dia(2019, 12, 31));
  mov("C", 1, 19, 111, "M1", Dia(2019, 1, 1));
  mov("C", 1, 19, 5, "M1", Dia(2018, 12, 31, 23, 59));
  mov("C", 1, 19, 6, "M1", Dia(2020, 1, 1));
  mov("C", 1, 19, 12345, "F1")->nNumEmp = 2;
  // Cash dollars sold.
  mov("V", 1, 19, 400, "F1");
  mov("V", 1, 19, 80, "PG");
  mov("V", 1, 19, 1500, "E1");
  mov("V", 1, 19, 90, "M2");
  // Other currencies bought (rate 20: 100 EUR at 22 are 110 dollars).
  mov("C", 2, 22, 100, "F1");
  mov("C", 6, 14, 1000, "M1");
  mov("C", 2, 22, 10, "PG");
  mov("C", 2, 22, 50, "E2");
  mov("C", 6, 14, 3, "C1");
  mov("C", 3, 1, 5000, "F2");
  mov("C", 4, 1, 5000, "F2");
  mov("C", 5, 1, 5000, "F2");
  // Other currencies sold: only by a client without sector.
  mov("V", 2, 22, 100, "X1");
  // Documents bought: cheques in dollars keep their amount.
  mov("C", 7, 19, 1000, "E1");
  mov("C", 7, 19, 2000, "E1");
  mov("C", 7, 19, 300, "F1");
  mov("C", 7, 19, 400, "E5");
  mov("C", 8, 21, 100, "M1");
  mov("C", 8, 21, 200, "M1");
  mov("C", 8, 20, 10, "PG");
  mov("C", 9, 1, 7000, "F1");
  mov("C", 10, 1, 7000, "F1");
  // Documents sold.
  mov("V", 7, 19, 5000, "E1");
  mov("V", 8, 21, 100, "E1");
  mov("V", 7, 19, 700, "E2");
  mov("V", 8, 21, 1000, "E4");
  mov("V", 7, 19, 50, "M1");

  d.relevan = {
      {"I", Dia(2019, 3, 1), "POSIBLE PEP", 1, "F1"},
      {"I", Dia(2019, 4, 1), "posible pep", 1, "F1"},  // listed once
      {"I", Dia(2019, 5, 1), "PEP", 1, "M2"},
      {"I", Dia(2019, 12, 31), "PEP", 1, "F3"},
      {"I", Dia(2019, 12, 31, 23, 59, 59), "PEP", 1, "E5"},  // the last second counts
      {"I", Dia(2020, 1, 1), "PEP", 1, "C1"},                // the next midnight does not
      {"I", Dia(2019, 1, 1), "PEP", 1, "M1"},
      {"I", Dia(2019, 5, 1), "PEP", 1, "N1"},
      {"I", Dia(2019, 5, 1), "SIN NOVEDAD", 1, "E1"},
      {"E", Dia(2019, 5, 1), "PEP", 1, "F2"},
      {"I", Dia(2020, 1, 2), "PEP", 1, "E2"},
      {"I", Dia(2018, 12, 31), "PEP", 1, "E3"},
      {"I", Dia(2019, 5, 1), "PEP", 2, "E4"},
  };
  return d;
}

namespace {

using prueba::DatosCompletos;

using prueba::BaseEscrita;

class TRepPrueba : public TRepCuestSITI2020 {
 public:
  TRepPrueba(db::Connection* c, double dTCambio, int nNumEmp = 1)
      : TRepCuestSITI2020(c, dTCambio, nNumEmp) {}
  using TRepCuestCNBVBasic::ArmaRespuestaDefecto;
  using TRepCuestCNBVBasic::DameConsultaConteo;
  using TRepCuestCNBVBasic::DameConsultaPromedio;
  using TRepCuestCNBVBasic::DameConsultaSegmento;
  using TRepCuestCNBVBasic::DameConsultaSuma;
  using TRepCuestionarioCNBV::DameRespuestaPregunta;
  using TRepCuestSITI2020::DameDocumentosConCliente;
  using TRepCuestSITI2020::DameDocumentosPorCliente;
  using TRepCuestSITI2020::DameDolaresConCliente;
  using TRepCuestSITI2020::DameDolaresPorCliente;

  std::string Evalua(const std::string& sConsulta) {
    std::string r;
    EXPECT_TRUE(DameRespuestaPregunta(sConsulta, r)) << sConsulta;
    return r;
  }
};

using prueba::Marca;

// One run: recorded dialogs, the written database, a questionnaire over it and a PEP
// table with the given keys ticked.
struct TEscenario {
  TEscenario(const TDatos& datos, double dTCambio, const std::set<std::string>& peps = {})
      : base(datos), rep(base.Conexion(), dTCambio) {
    Marca(vt, peps);
    rep.EstableceTablaPEPs(&vt);
  }
  TDialogosDePrueba dialogos;
  BaseEscrita base;
  TRepPrueba rep;
  TTablaPEPs vt;
};

// Answers all 212 questions and compares them with the model; returns the answers.
std::vector<std::string> ComparaTodas(TRepPrueba& rep, const TModelo& modelo) {
  const auto esperadas = modelo.Respuestas();
  std::vector<std::string> reales(213);
  for (int n = 1; n <= 212; ++n) {
    EXPECT_TRUE(rep.RespondePregunta(n, reales[n])) << n;
    EXPECT_TRUE(esperadas[n].count(reales[n]))
        << "question " << n << ": got \"" << reales[n] << "\", expected \"" << *esperadas[n].begin()
        << "\"";
  }
  return reales;
}

TEST(Respuestas, AllQuestionsWithoutTicks) {
  const TDatos datos = DatosCompletos();
  TEscenario e(datos, 20);
  const auto r = ComparaTodas(e.rep, TModelo(datos, 1, 20, {}));
  // Worked out by hand from the rows above.
  EXPECT_EQ(r[37], "Respuesta: SI");
  EXPECT_EQ(r[38], "Respuesta: 11");  // identified clients only
  EXPECT_EQ(r[39], "Respuesta: 4");   // one user per walk-in operation
  EXPECT_EQ(r[40], "Respuesta: 0");
  EXPECT_EQ(r[42], "Respuesta: 5");  // the walk-in stored as legal entity counts here too
  EXPECT_EQ(r[46], "Respuesta: 3");
  EXPECT_EQ(r[47], "Respuesta: 2");
  EXPECT_EQ(r[48], "Respuesta: 17");  // merged rows are one operation
  EXPECT_EQ(r[49], "Respuesta: 4");
  EXPECT_EQ(r[58], "Respuesta: 47889");  // 777 and 23 on 31 December included
  EXPECT_EQ(r[90], "Respuesta: 878");
  EXPECT_EQ(r[133], "Respuesta: SI");  // the only sale is by a client without sector
  EXPECT_EQ(r[134], "Respuesta: 0");
  EXPECT_EQ(r[154], "Respuesta: 0");
  EXPECT_EQ(r[164], "Respuesta: 0");
  EXPECT_EQ(r[165], "Respuesta: SI");
  EXPECT_EQ(r[166], "Respuesta: CHEQUE EN DOLARES (** Total Ops.:  4 **) ");
  EXPECT_TRUE(r[167] == "Respuesta: BANCO UNO (** Total Ops.:  2 **) " ||
              r[167] == "Respuesta: ACME SA (** Total Ops.:  2 **) ")
      << r[167];
  EXPECT_EQ(r[187], "Respuesta: 4025");  // dollar cheques unconverted, euro cheques at 21/20
  EXPECT_EQ(r[199], "Respuesta: BANCO UNO (** Total Ops.:  2 **) ");
  EXPECT_EQ(r[200], "Respuesta: 4");
  EXPECT_EQ(r[204], "Respuesta: 6855");
  EXPECT_EQ(r[208], "Respuesta: 1714");
  EXPECT_EQ(r[1], "(** El CC debe responder **)");
  EXPECT_TRUE(e.dialogos->Dialogos().empty());
}

TEST(Respuestas, TicksChangeThePepAnswersOnly) {
  const TDatos datos = DatosCompletos();
  TEscenario e(datos, 19.26, {"F1", "E1"});
  const auto r = ComparaTodas(e.rep, TModelo(datos, 1, 19.26, {"F1", "E1"}));
  EXPECT_EQ(r[40], "Respuesta: 2");
  EXPECT_EQ(r[57], "Respuesta: 6");      // F1 five, E1 one
  EXPECT_EQ(r[67], "Respuesta: 22633");  // 1000 + 500 + 777 + 23 + 333 + 20000
  EXPECT_EQ(r[58], "Respuesta: 47889");  // the total still includes the PEPs
  EXPECT_EQ(r[41], "Respuesta: 1");      // national natural persons without PEPs: F2
  EXPECT_EQ(r[46], "Respuesta: 2");      // national financial entities without E1
  EXPECT_EQ(r[38], "Respuesta: 11");     // the total of users keeps them
}

// A large exchange house ticks many PEPs: the PEP clause then names every one of them.
// Each ticked client is a natural person with one dollar purchase; a few more clients
// with purchases stay unticked.
TEST(Respuestas, ManyTickedPeps) {
  for (const int nTicks : {150, 1000, 5000}) {
    SCOPED_TRACE(nTicks);
    TDatos datos = DatosCompletos();
    std::set<std::string> peps = {"F1"};
    for (int i = 0; i < nTicks + 3; ++i) {
      const std::string clave = "P" + std::to_string(10000 + i);
      TCliente c;
      c.sClave = clave;
      c.sNombre = "CLIENTE " + clave;
      c.sActividad = "1111111";
      datos.clientes.push_back(c);
      TMov m;
      m.sTipo = "C";
      m.nFolio = 20000 + i;
      m.fecha = Dia(2019, 3, 1 + i % 28);
      m.dCot = 19;
      m.dCant = 10 + i % 7;
      m.sCliente = clave;
      datos.movs.push_back(m);
      if (i < nTicks) peps.insert(clave);
    }
    TEscenario e(datos, 19.26, peps);
    const auto r = ComparaTodas(e.rep, TModelo(datos, 1, 19.26, peps));
    EXPECT_EQ(r[40], "Respuesta: " + std::to_string(nTicks + 1));  // ticked users who bought
    EXPECT_TRUE(e.dialogos->Dialogos().empty());
  }
}

TEST(Respuestas, EmptyDataGivesNoZeroAndNinguno) {
  TDatos datos = DatosCompletos();
  datos.movs.clear();
  TEscenario e(datos, 19.26);
  const auto r = ComparaTodas(e.rep, TModelo(datos, 1, 19.26, {}));
  for (int n : {37, 69, 101, 133, 165, 197}) EXPECT_EQ(r[n], "Respuesta: NO") << n;
  for (int n : {38, 48, 58, 68, 100, 132, 164, 187, 196, 204, 208})
    EXPECT_EQ(r[n], "Respuesta: 0") << n;
  for (int n : {5, 166, 167, 198, 199}) EXPECT_EQ(r[n], "Respuesta: NINGUNO") << n;
}

// Every segment code with each nationality option and with and without PEPs, over the
// dollar purchases and the document sales: users, operations, amounts and averages.
TEST(Respuestas, EverySegmentAndOption) {
  const TDatos datos = DatosCompletos();
  TEscenario e(datos, 20, {"F1", "E2", "PG"});
  TRepPrueba& rep = e.rep;
  const TModelo modelo(datos, 1, 20, {"F1", "E2", "PG"});
  const struct {
    TClase clase;
    int lado;
  } conjuntos[] = {{TClase::Dolares, 0}, {TClase::Documentos, 1}};
  for (const auto& cj : conjuntos) {
    const std::string por = cj.clase == TClase::Dolares ? rep.DameDolaresPorCliente(cj.lado)
                                                        : rep.DameDocumentosPorCliente(cj.lado);
    const std::string con = cj.clase == TClase::Dolares ? rep.DameDolaresConCliente(cj.lado)
                                                        : rep.DameDocumentosConCliente(cj.lado);
    for (unsigned seg = 0; seg <= 10; ++seg)
      for (int ext = 0; ext <= 2; ++ext)
        for (bool sinPEP : {false, true}) {
          const auto caso = ::testing::Message() << "segment " << seg << " nationality " << ext
                                                 << " without PEPs " << sinPEP;
          SCOPED_TRACE(caso);
          EXPECT_EQ(
              rep.Evalua(rep.DameConsultaConteo(rep.DameConsultaSegmento(por, seg, ext, sinPEP))),
              "Respuesta: " + modelo.Usuarios(cj.clase, cj.lado, seg, ext, sinPEP));
          EXPECT_EQ(
              rep.Evalua(rep.DameConsultaConteo(rep.DameConsultaSegmento(con, seg, ext, sinPEP))),
              "Respuesta: " + modelo.Operaciones(cj.clase, cj.lado, seg, ext, sinPEP));
          EXPECT_EQ(rep.Evalua(
                        rep.ArmaRespuestaDefecto(rep.DameConsultaSuma(con, seg, ext, sinPEP), "0")),
                    "Respuesta: " + modelo.Monto(cj.clase, cj.lado, seg, ext, sinPEP));
          EXPECT_EQ(
              rep.Evalua(rep.ArmaRespuestaDefecto(
                  rep.DameConsultaPromedio(rep.DameConsultaSegmento(con, seg, ext, sinPEP)), "0")),
              "Respuesta: " + modelo.Promedio(cj.clase, cj.lado, seg, ext, sinPEP));
        }
  }
}

TEST(Respuestas, KeyWithApostropheDoesNotBreakTheAnswers) {
  TDatos datos = DatosCompletos();
  datos.clientes[2].sClave = "O'F1";
  for (auto& m : datos.movs)
    if (m.sCliente == "F1") m.sCliente = "O'F1";
  TEscenario e(datos, 20, {"O'F1"});
  std::string r;
  ASSERT_TRUE(e.rep.RespondePregunta(40, r));
  EXPECT_EQ(r, "Respuesta: 1");
  ASSERT_TRUE(e.rep.RespondePregunta(67, r));
  EXPECT_EQ(r, "Respuesta: 2633");
  EXPECT_TRUE(e.dialogos->Dialogos().empty());
}

TEST(Respuestas, FailedAnswers) {
  TDialogosDePrueba dialogos;
  TDatos datos = DatosCompletos();
  datos.movs.clear();
  datos.nFilasEmpresa = 0;  // the default wrapper then has no sentinel row
  BaseEscrita base(datos);
  TRepPrueba rep(base.Conexion(), 20);
  std::string r;
  EXPECT_FALSE(rep.RespondePregunta(0, r));
  EXPECT_EQ(r, "** E R R O R **");
  EXPECT_TRUE(rep.RespondePregunta(36, r));
  EXPECT_EQ(r, "(** El CC debe responder **)");
  // An empty top has no row at all without a company row: a failed question, no dialog.
  EXPECT_FALSE(rep.RespondePregunta(166, r));
  EXPECT_EQ(r, "** E R R O R **");
  EXPECT_TRUE(dialogos->Dialogos().empty());
  // Counts, sums and averages always have their row.
  EXPECT_TRUE(rep.RespondePregunta(133, r));
  EXPECT_EQ(r, "Respuesta: NO");
  EXPECT_TRUE(rep.RespondePregunta(164, r));
  EXPECT_EQ(r, "Respuesta: 0");
  // Only the first row counts; a null Resultado gives nothing after the prefix.
  EXPECT_TRUE(rep.DameRespuestaPregunta(
      "SELECT ClaveCliente AS Resultado FROM tCliente WHERE ClaveCliente = 'E1' OR "
      "ClaveCliente = 'E1'",
      r));
  EXPECT_EQ(r, "Respuesta: E1");
  EXPECT_TRUE(rep.DameRespuestaPregunta(
      "SELECT ApellidoPaterno AS Resultado FROM tCliente WHERE ClaveCliente = 'M1'", r));
  EXPECT_EQ(r, "Respuesta: ");
  // A faulty text shows one "BD-101" report naming the questionnaire class.
  EXPECT_FALSE(rep.DameRespuestaPregunta("SELECT Nada AS Resultado FROM tNoExiste", r));
  EXPECT_EQ(r, "** E R R O R **");
  ASSERT_EQ(dialogos->Dialogos().size(), 1u);
  EXPECT_NE(dialogos->Dialogos()[0].sTexto.find("BD-101.TRepCuestSITI2020"), std::string::npos)
      << dialogos->Dialogos()[0].sTexto;
  // A result without the column Resultado is a failure too, not a crash.
  EXPECT_FALSE(rep.DameRespuestaPregunta("SELECT ClaveCliente FROM tCliente", r));
  EXPECT_EQ(r, "** E R R O R **");
}

// A question whose statement fails while the answers are prepared, here or in the copy,
// fails in its turn as it would have: its report once, after those of the questions
// before it; the questions around it keep their prepared answers. An answer serves once,
// and not when the question's text changed since it was prepared.
TEST(Respuestas, PreparedAnswersFailInTheirTurnAndServeOnce) {
  class TRepConFallas : public TRepPrueba {
   public:
    using TRepPrueba::TRepPrueba;
    std::string DameConsultaPregunta(int n) override {
      if (n == 48 || n == 101) return "SELECT Nada AS Resultado FROM tNoExiste" + std::to_string(n);
      return TRepPrueba::DameConsultaPregunta(n);
    }
  };
  for (const char* sCopia : {"1", "0"}) {
    ::setenv("KV_COPIA_PARALELA", sCopia, 1);
    TDialogosDePrueba dialogos;
    const TDatos datos = DatosCompletos();
    BaseEscrita base(datos);
    TRepConFallas rep(base.Conexion(), 20);
    TTablaPEPs vt;
    Marca(vt, {});
    rep.EstableceTablaPEPs(&vt);
    rep.PreparaRespuestas();
    ::unsetenv("KV_COPIA_PARALELA");
    EXPECT_TRUE(dialogos->Dialogos().empty()) << sCopia;
    // Prepared: 37 and 49 (the copy's half), 5 and 102 (this process's).
    for (int n : {5, 37, 49, 102}) EXPECT_TRUE(rep.SegundosPreparacion().count(n)) << n;
    for (int n : {48, 101}) EXPECT_FALSE(rep.SegundosPreparacion().count(n)) << n;
    std::string r;
    EXPECT_TRUE(rep.RespondePregunta(37, r));
    EXPECT_EQ(r, "Respuesta: SI");
    EXPECT_FALSE(rep.RespondePregunta(48, r));
    EXPECT_EQ(r, "** E R R O R **");
    ASSERT_EQ(dialogos->Dialogos().size(), 1u) << sCopia;
    EXPECT_NE(dialogos->Dialogos()[0].sTexto.find("tNoExiste48"), std::string::npos);
    EXPECT_TRUE(rep.RespondePregunta(49, r));
    EXPECT_EQ(r, "Respuesta: 4");
    EXPECT_FALSE(rep.RespondePregunta(101, r));
    ASSERT_EQ(dialogos->Dialogos().size(), 2u) << sCopia;
    EXPECT_NE(dialogos->Dialogos()[1].sTexto.find("tNoExiste101"), std::string::npos);
    // A tick after the preparation changes question 40's text: it is asked again.
    Marca(vt, {"F1", "E1"});
    EXPECT_TRUE(rep.RespondePregunta(40, r));
    EXPECT_EQ(r, "Respuesta: 2");
  }
}

// ---- PEP detection ----

std::set<std::pair<std::string, std::string>> Filas(const TTablaPEPs& vt) {
  std::set<std::pair<std::string, std::string>> r;
  for (std::size_t i = 0; i < vt.RecordCount(); ++i)
    r.insert({vt.Row(i).ClaveCliente, vt.Row(i).Nombre});
  return r;
}

TEST(DeteccionPEPs, RowsNamesAndOrder) {
  TDialogosDePrueba dialogos;
  BaseEscrita base(DatosCompletos());
  TRepPrueba rep(base.Conexion(), 19.26);
  TTablaPEPs vt;
  ASSERT_TRUE(rep.DetectaPEPs(vt));
  EXPECT_EQ(Filas(vt), (std::set<std::pair<std::string, std::string>>{
                           {"F1", "ANA LOPEZ DIAZ"},
                           // The client key alone joins the clients: a client of another
                           // company under the same key is listed too.
                           {"F1", "OTRA ANA"},
                           {"M2", "GLOBAL INC"},
                           {"F3", "JOHN SMITH"},        // trailing blanks dropped, null surname
                           {"N1", " RUIZ"},             // empty name: the surname after one blank
                           {"E5", "FINANCIERA GAMMA"},  // at 23:59:59 on 31 December
                           {"M1", "ACME SA"},           // at midnight on 1 January 2019
                       }));
  for (std::size_t i = 0; i < vt.RecordCount(); ++i) {
    EXPECT_EQ(vt.Row(i).IdPEP, static_cast<int>(i + 1));
    EXPECT_EQ(vt.Row(i).EsPEP, std::optional<bool>(false));
  }
  EXPECT_TRUE(dialogos->Dialogos().empty());

  // A second detection starts again: ticks cleared, numbering from 1.
  vt.SetEsPEP(0, true);
  vt.SetEsPEP(2, true);
  ASSERT_TRUE(rep.DetectaPEPs(vt));
  EXPECT_EQ(vt.RecordCount(), 7u);
  for (std::size_t i = 0; i < vt.RecordCount(); ++i) {
    EXPECT_EQ(vt.Row(i).IdPEP, static_cast<int>(i + 1));
    EXPECT_FALSE(vt.Row(i).EsPEP.value());
  }
}

TEST(DeteccionPEPs, NoneFoundAndFailedQuery) {
  TDialogosDePrueba dialogos;
  TDatos datos = DatosCompletos();
  datos.relevan.resize(0);
  BaseEscrita base(datos);
  TRepPrueba rep(base.Conexion(), 19.26);
  TTablaPEPs vt;
  Marca(vt, {"F1"});
  ASSERT_TRUE(rep.DetectaPEPs(vt));
  EXPECT_TRUE(vt.Active());
  EXPECT_EQ(vt.RecordCount(), 0u);

  // A company database without the reports table, or no connection at all: false, one
  // report each, the table open and empty.
  TDatos sinTabla = DatosCompletos();
  sinTabla.bConTablaRelevan = false;
  BaseEscrita base2(sinTabla);
  TRepPrueba rep2(base2.Conexion(), 19.26);
  Marca(vt, {"F1"});
  EXPECT_FALSE(rep2.DetectaPEPs(vt));
  EXPECT_TRUE(vt.Active());
  EXPECT_EQ(vt.RecordCount(), 0u);
  Marca(vt, {"F1"});
  TRepPrueba sinConexion(nullptr, 19.26);
  EXPECT_FALSE(sinConexion.DetectaPEPs(vt));
  EXPECT_TRUE(vt.Active());
  EXPECT_EQ(vt.RecordCount(), 0u);
  EXPECT_EQ(dialogos->Dialogos().size(), 2u);
}

// The Jet engine keeps derived tables whose text recurs, a grouped one from its first
// use, and copies conditions on a grouped table's keys inside it; it joins a FROM list
// whose first table is the largest in its written order and, told the statements ahead,
// keeps what they repeat from its first use; the answers prepared ahead are half of them
// worked out in a copy of the process. Without each of those speed-ups (KV_JET_CACHE=0,
// KV_JET_GRUPOS=0, KV_JET_CLAVES=0, KV_JET_ORDEN=0, KV_JET_PREVISION=0, KV_COPIA_PARALELA=0)
// every answer must be the same, before and after new ticks in the same session, with
// and without preparing them.
TEST(Respuestas, SameAnswersWithAndWithoutEachSpeedUp) {
  const TDatos datos = DatosCompletos();
  const std::vector<std::set<std::string>> ticks = {{}, {"F1", "E1"}, {"F1", "E2", "PG"}, {}};
  auto todas = [&](const char* sApagada) {
    if (sApagada) ::setenv(sApagada, "0", 1);
    TEscenario e(datos, 19.26);
    std::vector<std::vector<std::string>> r;
    for (std::size_t t = 0; t < ticks.size(); ++t) {
      Marca(e.vt, ticks[t]);
      // Every other set of ticks, the answers are prepared first.
      if (t % 2 == 0) e.rep.PreparaRespuestas();
      r.push_back(ComparaTodas(e.rep, TModelo(datos, 1, 19.26, ticks[t])));
    }
    if (sApagada) ::unsetenv(sApagada);
    EXPECT_TRUE(e.dialogos->Dialogos().empty());
    return r;
  };
  const auto con = todas(nullptr);
  for (const char* sApagada : {"KV_JET_CACHE", "KV_JET_GRUPOS", "KV_JET_CLAVES", "KV_JET_ORDEN",
                               "KV_JET_PREVISION", "KV_COPIA_PARALELA"}) {
    const auto sin = todas(sApagada);
    for (std::size_t t = 0; t < ticks.size(); ++t)
      for (int n = 1; n <= 212; ++n)
        EXPECT_EQ(sin[t][n], con[t][n]) << sApagada << "=0, ticks " << t << ", " << n;
  }
}

// ---- The database of each command ----

// A command reads the file as it is when it starts: a cashier who logs in after the
// detection stops the report, and once the cashier leaves the report counts the
// operation made meanwhile. Within one command the rows already read stay as they were.
TEST(Comandos, EachCommandReadsTheFileAsItIsWhenItStarts) {
  TDialogosDePrueba dialogos;
  TDatos datos = DatosCompletos();
  BaseEscrita base(datos);
  std::string r;
  {  // "Detectar PEPs", which here also answers a question
    TRepPrueba rep(base.Conexion(), 20);
    EXPECT_FALSE(rep.UsuariosConectados());
    TTablaPEPs vt;
    ASSERT_TRUE(rep.DetectaPEPs(vt));
    ASSERT_TRUE(rep.RespondePregunta(48, r));
    EXPECT_EQ(r, "Respuesta: 17");
  }
  // The back office meanwhile: a cashier logs in and buys dollars from F2.
  TMov nueva;
  nueva.sTipo = "C";
  nueva.nFolio = 9001;
  nueva.fecha = Dia(2019, 11, 5, 12, 30);
  nueva.nDivisa = 1;
  nueva.dCot = 19;
  nueva.dCant = 400;
  nueva.sCliente = "F2";
  datos.movs.push_back(nueva);
  datos.nUsuariosConectados = 1;
  prueba::EscribeBase(datos, base.Ruta());
  {  // "Generar reporte": refused
    TRepPrueba rep(base.Conexion(), 20);
    EXPECT_TRUE(rep.UsuariosConectados());
  }
  datos.nUsuariosConectados = 0;
  prueba::EscribeBase(datos, base.Ruta());
  {  // "Generar reporte" again: every answer on the file as it is now
    TRepPrueba rep(base.Conexion(), 20);
    EXPECT_FALSE(rep.UsuariosConectados());
    const auto respuestas = ComparaTodas(rep, TModelo(datos, 1, 20, {}));
    EXPECT_EQ(respuestas[48], "Respuesta: 18");
    EXPECT_EQ(respuestas[58], "Respuesta: 48289");

    // The file changes during the command: what was read stays; who is connected is read
    // anew; a table first read now would mix two states of the file, and fails.
    datos.movs.pop_back();
    datos.nUsuariosConectados = 2;
    prueba::EscribeBase(datos, base.Ruta());
    ASSERT_TRUE(rep.RespondePregunta(48, r));
    EXPECT_EQ(r, "Respuesta: 18");
    EXPECT_TRUE(rep.UsuariosConectados());
    EXPECT_TRUE(dialogos->Dialogos().empty());
    TTablaPEPs vt;
    EXPECT_FALSE(rep.DetectaPEPs(vt));
    ASSERT_EQ(dialogos->Textos().size(), 1u);
    EXPECT_NE(dialogos->Textos()[0].find("La base de datos cambió mientras se leía; vuelva a "
                                         "ejecutar el comando"),
              std::string::npos)
        << dialogos->Textos()[0];
  }
  {  // The next command reads it whole again.
    TRepPrueba rep(base.Conexion(), 20);
    EXPECT_TRUE(rep.UsuariosConectados());
    ASSERT_TRUE(rep.RespondePregunta(48, r));
    EXPECT_EQ(r, "Respuesta: 17");
    TTablaPEPs vt;
    EXPECT_TRUE(rep.DetectaPEPs(vt));
    EXPECT_EQ(vt.RecordCount(), 7u);
  }
}

// ---- The company on the report ----

TEST(Empresa, TheActiveCompanyHeadsTheReport) {
  TDialogosDePrueba dialogos;
  TDatos datos = DatosCompletos();
  datos.nFilasEmpresa = 2;
  BaseEscrita base(datos);
  const struct {
    int nNumEmp;
    const char* razonSocial;
    const char* numEmpresa;
  } casos[] = {
      {1, "CAMBIOS DE PRUEBA SA DE CV", "1"},
      {2, "CAMBIOS EMPRESA 2 SA DE CV", "2"},
      {7, "CAMBIOS DE PRUEBA SA DE CV", "1"},  // no row of its own: the first row
  };
  for (const auto& c : casos) {
    TRepPrueba rep(base.Conexion(), 20, c.nNumEmp);
    const TEmpresa e = rep.GetEmpresa();
    EXPECT_EQ(e.sRazonSocial, c.razonSocial) << c.nNumEmp;
    EXPECT_EQ(e.sNumEmpresa, c.numEmpresa) << c.nNumEmp;
  }
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

// ---- The process locale ----

// The window's process runs under the user's locale: every answer is byte for byte the
// one given under "C", with a rate that has decimals.
TEST(Respuestas, SameAnswersUnderACommaDecimalLocale) {
  const TDatos datos = DatosCompletos();
  const std::set<std::string> peps = {"F1", "E2"};
  auto todas = [&] {
    TEscenario e(datos, 19.26, peps);
    auto r = ComparaTodas(e.rep, TModelo(datos, 1, 19.26, peps));
    EXPECT_TRUE(e.dialogos->Dialogos().empty());
    return r;
  };
  const auto enC = todas();
  TLocaleComaDecimal coma;
  ASSERT_TRUE(coma.Activo());
  const auto enComa = todas();
  for (int n = 1; n <= 212; ++n) EXPECT_EQ(enComa[n], enC[n]) << n;
}

}  // namespace
}  // namespace kv
