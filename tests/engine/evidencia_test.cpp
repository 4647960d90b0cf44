// The evidence workbook recalculated by LibreOffice Calc: every numeric Valor equals its
// answer (within the answer's rounding), every yes/no Valor says how many rows make the
// "SI", every top answer is the first row of its ranking; over written databases that
// cover every recipe and segment, with and without ticks, empty, continued past a small
// row limit, and over the demo database.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/ooxml_package.h"
#include "engine/rep_cuest_siti2020.h"
#include "engine/respuestas_cc.h"
#include "engine/tabla_peps.h"
#include "tests/engine/base_escrita.h"
#include "tests/engine/base_prueba.h"
#include "tests/support/calc_prueba.h"
#include "tests/support/dialogos_grabados.h"
#include "tools/kavori-demo/generador.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using prueba::BaseEscrita;
using prueba::TDatos;
using prueba::THojaCalc;

using prueba::Marca;

struct TResultado {
  std::vector<std::string> respuestas;  // 1 to 212
  std::map<std::string, THojaCalc> hojas;
};

// Answers the 212 questions, writes the evidence and recalculates it in Calc.
TResultado Evidencia(BaseEscrita& base, double dTCambio, const std::set<std::string>& peps,
                     std::uint32_t nFilasPorHoja = 0) {
  TRepCuestSITI2020 rep(base.Conexion(), dTCambio, 1);
  TTablaPEPs vt;
  Marca(vt, peps);
  rep.EstableceTablaPEPs(&vt);
  TResultado r;
  r.respuestas.resize(213);
  for (int n = 1; n <= 212; ++n) EXPECT_TRUE(rep.RespondePregunta(n, r.respuestas[n])) << n;
  const fs::path libro = base.Carpeta() / "evidencia.xlsx";
  TOpcionesEvidencia o;
  o.nFilasPorHoja = nFilasPorHoja;
  rep.EscribeEvidencia(libro.string(), o);
  r.hojas = prueba::RecalculaLibro(libro);
  return r;
}

// The position of a column by its title in a sheet's header.
std::size_t Columna(const THojaCalc& hoja, const std::string& sTitulo) {
  const auto& h = hoja.at(0);
  return static_cast<std::size_t>(std::find(h.begin(), h.end(), sTitulo) - h.begin());
}

// The checks every workbook passes.
void ComparaConRespuestas(const TResultado& r) {
  ASSERT_TRUE(r.hojas.count("Respuestas"));
  const THojaCalc& h = r.hojas.at("Respuestas");
  ASSERT_EQ(h.size(), 213u);
  EXPECT_EQ(h[0], (std::vector<std::string>{"Pregunta", "Texto", "Respuesta", "Valor", "Cálculo",
                                            "Evidencia"}));
  // The rankings of every part, in order.
  std::map<int, std::vector<std::vector<std::string>>> rankings;
  for (const auto& [nombre, hoja] : r.hojas) {
    if (nombre.rfind("Rankings", 0) != 0) continue;
    for (std::size_t i = 1; i < hoja.size(); ++i)
      rankings[std::stoi(hoja[i].at(0))].push_back(hoja[i]);
  }
  const std::string sPrefijo = "Respuesta: ";
  int nNumericas = 0;
  for (int n = 1; n <= 212; ++n) {
    SCOPED_TRACE("question " + std::to_string(n));
    const auto& fila = h[n];
    ASSERT_EQ(fila.size(), 6u);
    EXPECT_EQ(fila[0], std::to_string(n));
    EXPECT_FALSE(fila[1].empty());
    EXPECT_EQ(fila[2], r.respuestas[n]);
    EXPECT_FALSE(fila[4].empty());
    const std::string& sResp = r.respuestas[n];
    const std::string& sValor = fila[3];
    if (sResp == "(** El CC debe responder **)") {
      EXPECT_EQ(sValor, "");
      continue;
    }
    ASSERT_EQ(sResp.rfind(sPrefijo, 0), 0u) << sResp;
    const std::string s = sResp.substr(sPrefijo.size());
    const double dValor = prueba::NumeroCalc(sValor);
    EXPECT_FALSE(fila[5].empty());
    if (s == "SI" || s == "NO") {
      EXPECT_EQ(s == "SI", dValor >= 1) << sValor;
    } else if (s.find("(** Total Ops.:") != std::string::npos || s == "NINGUNO") {
      const auto it = rankings.find(n);
      if (s == "NINGUNO") {
        EXPECT_TRUE(it == rankings.end() || it->second.front()[2].empty());
        continue;
      }
      ASSERT_NE(it, rankings.end());
      const auto& primera = it->second.front();
      EXPECT_EQ(primera[1], "1");
      EXPECT_EQ(sPrefijo + primera[4], sResp);
      EXPECT_EQ(sValor, primera[3]);
      for (std::size_t i = 1; i < it->second.size(); ++i)
        EXPECT_GE(prueba::NumeroCalc(primera[3]), prueba::NumeroCalc(it->second[i][3]));
    } else {
      ++nNumericas;
      EXPECT_LE(std::fabs(dValor - prueba::NumeroCalc(s)), 0.5) << sValor << " vs " << s;
    }
  }
  EXPECT_EQ(nNumericas, 212 - 39 - 6 - 5);
}

TEST(Evidencia, RecalculatedValuesEqualTheAnswers) {
  TDialogosDePrueba dialogos;
  const TDatos datos = prueba::DatosCompletos();
  BaseEscrita base(datos);
  {
    SCOPED_TRACE("ticks, rate 20, four rows per sheet");
    const TResultado r = Evidencia(base, 20, {"F1", "E2", "PG"}, 4);
    ComparaConRespuestas(r);
    // The cash dollars bought go on over further sheets.
    EXPECT_TRUE(r.hojas.count("Compra dólares (2)"));
    // The purchase by the client whose sector is missing counts for "SI" only.
    bool bSinCliente = false;
    for (const auto& [nombre, hoja] : r.hojas) {
      if (nombre.rfind("Compra dólares", 0) != 0) continue;
      const std::size_t nClave = Columna(hoja, "Clave del cliente");
      const std::size_t nConCliente = Columna(hoja, "Con cliente");
      const std::size_t nMonto = Columna(hoja, "Monto en dólares");
      for (const auto& fila : hoja)
        if (nClave < fila.size() && fila[nClave] == "X1") {
          bSinCliente = true;
          EXPECT_EQ(fila.at(nConCliente), "") << "an unset flag is left empty";
          EXPECT_EQ(fila.at(nMonto), "999");
        }
    }
    EXPECT_TRUE(bSinCliente);
  }
  {
    SCOPED_TRACE("no ticks, rate 19.26");
    ComparaConRespuestas(Evidencia(base, 19.26, {}));
  }
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

// Each operation names the table its rows come from, beside its key, so that a reviewer
// finds it in the back office: the two rows of folio 500 (one in each table) are one
// operation of both.
TEST(Evidencia, OperationsNameTheirSourceTable) {
  TDialogosDePrueba dialogos;
  TDatos datos = prueba::DatosCompletos();
  prueba::TMov soloProces = datos.movs.front();
  soloProces.bProces = true;
  soloProces.nFolio = 900;
  datos.movs.push_back(soloProces);
  BaseEscrita base(datos);
  const TResultado r = Evidencia(base, 20, {});
  ComparaConRespuestas(r);
  ASSERT_TRUE(r.hojas.count("Compra dólares"));
  const THojaCalc& h = r.hojas.at("Compra dólares");
  EXPECT_EQ(h.at(0).at(0), "Tabla");
  EXPECT_EQ(h.at(0).at(1), "Tipo");
  EXPECT_EQ(h.at(0).at(2), "Folio");
  const struct {
    const char* folio;
    const char* tabla;
    const char* monto;
  } casos[] = {
      {"1", "tMovtos", "100"},
      {"500", "tMovtos y tProces", "25"},
      {"900", "tProces", "100"},
  };
  const std::size_t nMonto = Columna(h, "Monto en dólares");
  for (const auto& c : casos) {
    SCOPED_TRACE(c.folio);
    int nFilas = 0;
    for (const auto& fila : h)
      if (fila.size() > nMonto && fila[2] == c.folio) {
        ++nFilas;
        EXPECT_EQ(fila[0], c.tabla);
        EXPECT_EQ(fila[1], "C");
        EXPECT_EQ(fila[nMonto], c.monto);
      }
    EXPECT_EQ(nFilas, 1);
  }
}

// The value a reader that does not recalculate shows for each question: the cached result
// of its Valor formula (empty when the cell has none).
std::map<int, std::string> ValoresGuardados(const fs::path& libro) {
  std::ifstream f(libro, std::ios::binary);
  const OoxmlPackage paquete(std::string(std::istreambuf_iterator<char>(f), {}), "evidencia");
  const std::string sHoja = paquete.read("xl/worksheets/sheet1.xml");
  std::map<int, std::string> valores;
  for (int n = 1; n <= 212; ++n) {
    const auto celda = sHoja.find("<c r=\"D" + std::to_string(n + 1) + "\"");
    if (celda == std::string::npos) continue;
    const auto fin = sHoja.find("</c>", celda);
    const auto v = sHoja.find("<v>", celda);
    if (v == std::string::npos || v > fin) continue;
    valores[n] = sHoja.substr(v + 3, sHoja.find("</v>", v) - v - 3);
  }
  return valores;
}

// Amounts and averages keep, as the cached result of their formula, the figure before the
// answer's rounding (what the rows add up to); the recalculated one is the same.
TEST(Evidencia, AmountsCacheTheUnroundedFigure) {
  TDialogosDePrueba dialogos;
  const TDatos datos = prueba::DatosCompletos();
  BaseEscrita base(datos);
  const std::set<std::string> peps = {"F1", "E2"};
  const TResultado r = Evidencia(base, 19.26, peps);
  ComparaConRespuestas(r);
  const auto guardados = ValoresGuardados(base.Carpeta() / "evidencia.xlsx");
  const prueba::TModelo modelo(datos, 1, 19.26, peps);
  int nMontos = 0, nConDecimales = 0;
  for (int n = 1; n <= 212; ++n) {
    const TPregunta& p = DamePreguntaSITI2020(n);
    if (p.receta != TReceta::Monto && p.receta != TReceta::Promedio &&
        p.receta != TReceta::PromedioSegmento)
      continue;
    SCOPED_TRACE("question " + std::to_string(n));
    ++nMontos;
    const auto [dSuma, nOps] =
        modelo.SumaSegmento(static_cast<prueba::TClase>(p.clase), TipoOperacionPregunta(n),
                            p.nSegmento, p.nExtranjero, p.bSinPEP);
    const double dEsperado = p.receta == TReceta::Monto ? dSuma : dSuma / std::max(1, nOps);
    if (dEsperado != std::round(dEsperado)) ++nConDecimales;
    ASSERT_TRUE(guardados.count(n));
    const double dGuardado = prueba::NumeroCalc(guardados.at(n));
    EXPECT_NEAR(dGuardado, dEsperado, 1e-6 * std::max(1.0, std::fabs(dEsperado)));
    EXPECT_NEAR(prueba::NumeroCalc(r.hojas.at("Respuestas").at(n).at(3)), dGuardado,
                1e-6 * std::max(1.0, std::fabs(dGuardado)));
  }
  EXPECT_EQ(nMontos, 59);
  EXPECT_GT(nConDecimales, 0) << "no amount shows what the rounding drops";
}

TEST(Evidencia, EmptyOperations) {
  TDialogosDePrueba dialogos;
  TDatos datos = prueba::DatosCompletos();
  datos.movs.clear();
  BaseEscrita base(datos);
  const TResultado r = Evidencia(base, 19.26, {});
  ComparaConRespuestas(r);
  ASSERT_TRUE(r.hojas.count("Venta documentos"));
  EXPECT_EQ(r.hojas.at("Venta documentos").size(), 1u) << "header only";
}

TEST(Evidencia, DemoDatabase) {
  TDialogosDePrueba dialogos;
  BaseEscrita base([](const fs::path& carpeta) {
    demo::OpcionesDemo o;
    o.carpeta = carpeta;
    o.operaciones = 1500;
    demo::GeneraDemo(o);
    return carpeta / "DataBase" / "Kavori.mdb";
  });
  TRepCuestSITI2020 deteccion(base.Conexion(), 19.26, 1);
  TTablaPEPs vt;
  ASSERT_TRUE(deteccion.DetectaPEPs(vt));
  std::set<std::string> peps;
  for (std::size_t i = 0; i < vt.RecordCount(); i += 2) peps.insert(vt.Row(i).ClaveCliente);
  ASSERT_FALSE(peps.empty());
  ComparaConRespuestas(Evidencia(base, 19.26, peps));
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

// The house's own answers stand in the answers' sheet as the house gave them: a text as
// typed, a list by the names of its chosen options (the document ticks them instead).
TEST(Evidencia, TheHousesOwnAnswersAreShown) {
  TDialogosDePrueba dialogos;
  BaseEscrita base(prueba::DatosCompletos());
  const fs::path ini = base.Carpeta() / "RespuestasCC.ini";
  std::ofstream(ini, std::ios::binary)
      << "[RespuestasCC]\nP1=CAMBIOS \"EL ÁGUILA\"\nP7=JALISCO | YUCATÁN\n";
  const TLecturaRespuestasCC lectura = LeeArchivoRespuestasCC(ini);
  TRepCuestSITI2020 rep(base.Conexion(), 20, 1);
  rep.EstableceRespuestasCC(std::make_shared<const TRespuestasCC>(lectura.respuestas));
  TTablaPEPs vt;
  rep.EstableceTablaPEPs(&vt);
  std::string sRespuesta;
  for (int n = 1; n <= 212; ++n) rep.RespondePregunta(n, sRespuesta);
  const fs::path libro = base.Carpeta() / "evidencia.xlsx";
  rep.EscribeEvidencia(libro.string(), {});
  const auto hojas = prueba::RecalculaLibro(libro);
  ASSERT_TRUE(hojas.count("Respuestas"));
  const THojaCalc& h = hojas.at("Respuestas");
  ASSERT_EQ(h.size(), 213u);
  const struct {
    int n;
    const char* respuesta;
    const char* calculo;
  } casos[] = {
      {1, "CAMBIOS \"EL ÁGUILA\"", "Respuesta del centro cambiario"},
      {7, "JALISCO; YUCATÁN", "Respuesta del centro cambiario"},
      {2, "(** El CC debe responder **)",
       "La responde el centro cambiario: la base de datos no tiene el dato."},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(h[c.n].at(2), c.respuesta);
    EXPECT_EQ(h[c.n].at(3), "");
    EXPECT_EQ(h[c.n].at(4), c.calculo);
  }
}

// Without a way to write the file: the failure names the path, nothing is left behind.
TEST(Evidencia, UnwritablePathIsReported) {
  TDialogosDePrueba dialogos;
  BaseEscrita base(prueba::DatosCompletos());
  TRepCuestSITI2020 rep(base.Conexion(), 20, 1);
  const fs::path libro = base.Carpeta() / "falta" / "evidencia.xlsx";
  try {
    rep.EscribeEvidencia(libro.string(), {});
    ADD_FAILURE() << "no failure";
  } catch (const EEvidencia& e) {
    EXPECT_NE(std::string(e.what()).find(libro.string()), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(base.Carpeta() / "falta"));
}

}  // namespace
}  // namespace kv
