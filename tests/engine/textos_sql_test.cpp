// The SQL texts of the building blocks and of the 212 questions, compared exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "engine/rep_cuest_siti2020.h"
#include "engine/tabla_peps.h"
#include "tests/engine/textos_esperados.h"
#include "tests/support/locale_coma.h"
#include "tests/support/segmentos_esperados.h"

namespace kv {
namespace {

// Exposes the protected builders.
class TRepPrueba : public TRepCuestSITI2020 {
 public:
  explicit TRepPrueba(double dTCambio = 19.26, int nNumEmp = 3)
      : TRepCuestSITI2020(nullptr, dTCambio, nNumEmp) {}
  using TRepCuestCNBVBasic::ArmaRespuestaDefecto;
  using TRepCuestCNBVBasic::ArmaRespuestaSiNo;
  using TRepCuestCNBVBasic::DameCampoEsPEP;
  using TRepCuestCNBVBasic::DameClientesUnicos;
  using TRepCuestCNBVBasic::DameConsultaActividadTop;
  using TRepCuestCNBVBasic::DameConsultaClientes;
  using TRepCuestCNBVBasic::DameConsultaClienteTop;
  using TRepCuestCNBVBasic::DameConsultaConteo;
  using TRepCuestCNBVBasic::DameConsultaDivisas;
  using TRepCuestCNBVBasic::DameConsultaDivisaTop;
  using TRepCuestCNBVBasic::DameConsultaExiste;
  using TRepCuestCNBVBasic::DameConsultaMovtos;
  using TRepCuestCNBVBasic::DameConsultaPromedio;
  using TRepCuestCNBVBasic::DameConsultaSegmento;
  using TRepCuestCNBVBasic::DameConsultaSuma;
  using TRepCuestCNBVBasic::DameOpsConClientes;
  using TRepCuestCNBVBasic::DameOpsDocumentos;
  using TRepCuestCNBVBasic::DameOpsDolares;
  using TRepCuestCNBVBasic::DameOpsOtrasDivisas;
  using TRepCuestCNBVBasic::DameOpsPeriodo;
  using TRepCuestCNBVBasic::DameTipoOperacion;
  using TRepCuestCNBVBasic::DameValorBooleano;
  using TRepCuestionarioCNBV::DameDiaSiguiente;
  using TRepCuestSITI2020::DameOtrasDivisas;
  using TRepCuestSITI2020::DameTextoTipoCambio;
};

// The expected text of every question, kept beside this file one per line: the
// number, a tab and the text.
std::map<int, std::string> PreguntasEsperadas() {
  const std::filesystem::path ruta = KV_PREGUNTAS_ESPERADAS;
  std::ifstream archivo(ruta);
  EXPECT_TRUE(archivo) << ruta;
  std::map<int, std::string> textos;
  std::string linea;
  while (std::getline(archivo, linea)) {
    const auto tab = linea.find('\t');
    int n = 0;
    const auto r = std::from_chars(linea.data(), linea.data() + linea.size(), n);
    EXPECT_TRUE(tab != std::string::npos && r.ptr == linea.data() + tab) << linea.substr(0, 40);
    if (tab != std::string::npos) textos[n] = linea.substr(tab + 1);
  }
  return textos;
}

// Where two texts part, with what each has from there on.
std::string Diferencia(const std::string& real, const std::string& esperado) {
  std::size_t i = 0;
  while (i < real.size() && i < esperado.size() && real[i] == esperado[i]) ++i;
  const std::size_t desde = i < 40 ? 0 : i - 40;
  return "first difference at character " + std::to_string(i + 1) + "\n  got:      ..." +
         real.substr(desde, 120) + "\n  expected: ..." + esperado.substr(desde, 120);
}

TEST(TextosSQL, BuildersGiveTheExactTexts) {
  TRepPrueba rep;
  const std::string a = "01/01/2019", b = "12/31/2019";
  const struct {
    const char* nombre;
    std::string real;
    const char* esperado;
  } casos[] = {
      {"movements", rep.DameConsultaMovtos(false), esperado::kMovtos},
      {"dollar", rep.DameConsultaDivisas("USD", true, false), esperado::kDivisasDolar},
      {"other currencies", rep.DameConsultaDivisas("USD", false, false), esperado::kDivisasOtras},
      {"documents", rep.DameConsultaDivisas("TODAS", true, true), esperado::kDivisasDocumentos},
      {"period", rep.DameOpsPeriodo(a, b), esperado::kOpsPeriodo},
      {"dollars bought", rep.DameOpsDolares(0, a, b), esperado::kOpsDolaresCompra},
      {"other sold", rep.DameOpsOtrasDivisas(1, a, b, "19.26"), esperado::kOpsOtrasDivisasVenta},
      {"documents bought", rep.DameOpsDocumentos(0, a, b, "18.5"), esperado::kOpsDocumentosCompra},
      {"clients", rep.DameConsultaClientes(), esperado::kClientesSinPEP},
      {"with clients", rep.DameOpsConClientes("Q"), esperado::kOpsConClientesQ},
      {"per client", rep.DameClientesUnicos("Q"), esperado::kClientesUnicosQ},
      {"default", rep.ArmaRespuestaDefecto("Q", "NINGUNO"), esperado::kDefectoQ},
      {"count", rep.DameConsultaConteo("Q"), esperado::kConteoQ},
      {"exists", rep.DameConsultaExiste("Q"), esperado::kExisteQ},
      {"average", rep.DameConsultaPromedio("Q"), esperado::kPromedioQ},
      {"sum", rep.DameConsultaSuma("Q", 3, 1, true), esperado::kSumaQ},
      {"top client", rep.DameConsultaClienteTop("Q", 0), esperado::kClienteTopQ},
      {"top national bank", rep.DameConsultaClienteTop("Q", 7), esperado::kClienteTopBancosQ},
      {"top currency", rep.DameConsultaDivisaTop("Q"), esperado::kDivisaTopQ},
      {"top activity", rep.DameConsultaActividadTop("Q"), esperado::kActividadTopQ},
  };
  for (const auto& c : casos) EXPECT_EQ(c.real, c.esperado) << c.nombre;
}

TEST(TextosSQL, SmallValueBuilders) {
  EXPECT_EQ(TRepPrueba::DameValorBooleano(true), "-1");
  EXPECT_EQ(TRepPrueba::DameValorBooleano(false), "0");
  EXPECT_EQ(TRepPrueba::DameTipoOperacion(0), "C");
  EXPECT_EQ(TRepPrueba::DameTipoOperacion(1), "V");
  EXPECT_EQ(TRepPrueba::DameTipoOperacion(2), "");
  EXPECT_EQ(TRepPrueba::DameTipoOperacion(-1), "");
  EXPECT_EQ(TRepPrueba::DameConsultaDivisas("EUR", true, true),
            "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo = 'EUR' AND "
            "Pagare  = -1");
  std::string s = "SELECT 1 AS XResul";
  TRepPrueba::ArmaRespuestaSiNo(s);
  EXPECT_EQ(s, "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT 1 AS XResul)");
  // The company number is plain decimal text.
  EXPECT_NE(TRepPrueba(19.26, -12)
                .DameConsultaMovtos(true)
                .find("FROM tMovtos WHERE NumEmp = -12 and Cancelado = -1 UNION ALL"),
            std::string::npos);
}

TEST(TextosSQL, DayAfterTheLastDayOfThePeriod) {
  const struct {
    const char* fecha;
    const char* siguiente;
  } casos[] = {
      {"12/31/2019", "01/01/2020"},
      {"01/01/2019", "01/02/2019"},
      {"02/28/2019", "03/01/2019"},
      {"02/28/2020", "02/29/2020"},
      {"02/29/2020", "03/01/2020"},
      {"04/30/2019", "05/01/2019"},
      {"02/28/2100", "03/01/2100"},
      {"02/28/2000", "02/29/2000"},
      {"12/31/9999", "01/01/10000"},
      // Not a mm/dd/yyyy date: unchanged.
      {"13/01/2019", "13/01/2019"},
      {"02/30/2019", "02/30/2019"},
      {"1/1/2019", "1/1/2019"},
      {"12/31/2019 ", "12/31/2019 "},
      {"", ""},
  };
  for (const auto& c : casos)
    EXPECT_EQ(TRepPrueba::DameDiaSiguiente(c.fecha), c.siguiente) << c.fecha;
}

TEST(TextosSQL, SegmentFilterEveryCodeAndOption) {
  for (unsigned seg = 0; seg <= 10; ++seg)
    for (int ext = 0; ext <= 3; ++ext)
      for (bool sinPEP : {false, true})
        EXPECT_EQ(TRepPrueba::DameConsultaSegmento("Q", seg, ext, sinPEP),
                  ConsultaSegmentoEsperada("Q", seg, ext, sinPEP))
            << seg << " " << ext << " " << sinPEP;
}

TEST(TextosSQL, PepClauseFollowsTheTicks) {
  TRepPrueba rep;
  EXPECT_EQ(rep.DameCampoEsPEP(), ", 0 AS EsPEP ") << "no table";
  TTablaPEPs vt;
  rep.EstableceTablaPEPs(&vt);
  EXPECT_EQ(rep.DameCampoEsPEP(), ", 0 AS EsPEP ") << "closed table";
  vt.Open();
  EXPECT_EQ(rep.DameCampoEsPEP(), ", 0 AS EsPEP ") << "no rows";
  auto agrega = [&](const char* clave, std::optional<bool> esPEP) {
    vt.Append();
    vt.SetField("ClaveCliente", db::Value(clave));
    if (esPEP) vt.SetField("EsPEP", db::Value(*esPEP ? -1 : 0));
    vt.Post();
  };
  agrega("A1", false);
  agrega("B2", std::nullopt);  // never ticked: reads as false
  EXPECT_EQ(rep.DameCampoEsPEP(), ", 0 AS EsPEP ") << "nobody ticked";
  agrega("C3", true);
  agrega("O'HARA", true);  // the quote is doubled inside the literal
  agrega("C3", true);      // the same key twice gives its comparison twice
  EXPECT_EQ(rep.DameCampoEsPEP(),
            ", IIF( ( ClaveCliente = 'C3' or ClaveCliente = 'O''HARA' or ClaveCliente = 'C3' ), "
            "-1, 0 ) AS EsPEP ");
  EXPECT_TRUE(vt.Eof()) << "the walk ends after the last row";
  const std::string clientes = rep.DameConsultaClientes();
  EXPECT_NE(clientes.find("AS EsB , IIF( ( ClaveCliente = 'C3' or "), std::string::npos);
  EXPECT_NE(clientes.find("AS EsPEP FROM tCliente AS tXClientes "), std::string::npos);
}

TEST(TextosSQL, RateTextIgnoresTheLocale) {
  TLocaleComaDecimal coma;
  ASSERT_TRUE(coma.Activo());
  const struct {
    double d;
    const char* texto;
  } casos[] = {{19.26, "19.26"},
               {20, "20"},
               {18.5, "18.5"},
               {1234.5, "1234.5"},
               {17.123456789012345, "17.1234567890123"}};
  for (const auto& c : casos) {
    TRepPrueba rep(c.d);
    EXPECT_EQ(rep.DameTextoTipoCambio(), c.texto);
    EXPECT_NE(rep.DameOtrasDivisas(0, "01/01/2019", "12/31/2019")
                  .find(std::string("(AuxCant*Cot)/") + c.texto + " AS Cantidad"),
              std::string::npos)
        << c.texto;
    EXPECT_NE(rep.DameConsultaPregunta(166).find(std::string("(AuxCant*Cot)/") + c.texto + ")"),
              std::string::npos)
        << c.texto;
  }
}

TEST(Catalogo, EveryQuestionTextIsExact) {
  TRepPrueba rep;
  const auto esperadas = PreguntasEsperadas();
  ASSERT_EQ(esperadas.size(), 212u);
  for (int n = 1; n <= 212; ++n) {
    ASSERT_TRUE(esperadas.count(n)) << "no expected text for question " << n;
    const std::string t = rep.DameConsultaPregunta(n);
    if (t != esperadas.at(n))
      ADD_FAILURE() << "question " << n << ": " << Diferencia(t, esperadas.at(n));
  }
  EXPECT_EQ(rep.DameConsultaPregunta(37), esperado::kPregunta37);
  EXPECT_EQ(
      rep.DameConsultaPregunta(5),
      rep.ArmaRespuestaDefecto(
          rep.DameConsultaActividadTop(rep.DameOpsPeriodo("01/01/2019", "12/31/2019")), "NINGUNO"));
}

TEST(Catalogo, FixedAnswers) {
  TRepPrueba rep;
  for (int n : {0, 213, -1, 1000}) EXPECT_EQ(rep.DameConsultaPregunta(n), "** E R R O R **") << n;
  for (int n = 1; n <= 212; ++n) {
    const bool bCC = (n >= 1 && n <= 4) || (n >= 6 && n <= 36) || n >= 209;
    const std::string t = rep.DameConsultaPregunta(n);
    if (bCC)
      EXPECT_EQ(t, "(** El CC debe responder **)") << n;
    else
      EXPECT_EQ(t.rfind("SELECT ", 0), 0u) << n;
  }
}

// True when a and b differ only where a has the buy letter and b the sell letter of an
// operation-side condition.
bool SoloDifiereElLado(const std::string& a, const std::string& b) {
  if (a.size() != b.size() || a == b) return false;
  const std::string marca = "tOps.Tipo = '";
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    if (a[i] != 'C' || b[i] != 'V' || i < marca.size()) return false;
    if (a.compare(i - marca.size(), marca.size(), marca) != 0) return false;
  }
  return true;
}

TEST(Catalogo, SellTwinsDifferOnlyInTheSideLetter) {
  TRepPrueba rep;
  for (auto [compra, venta] : {std::pair{37, 101},
                               {69, 133},
                               {165, 197},
                               {40, 111},
                               {38, 102},
                               {68, 132},
                               {100, 164},
                               {58, 122}})
    EXPECT_TRUE(
        SoloDifiereElLado(rep.DameConsultaPregunta(compra), rep.DameConsultaPregunta(venta)))
        << compra << "/" << venta;
  EXPECT_FALSE(SoloDifiereElLado(rep.DameConsultaPregunta(40), rep.DameConsultaPregunta(104)));
  EXPECT_FALSE(SoloDifiereElLado(rep.DameConsultaPregunta(37), rep.DameConsultaPregunta(69)));
}

TEST(Catalogo, TicksReachTheAnswersWhenComposed) {
  TRepPrueba rep;
  TTablaPEPs vt;
  rep.EstableceTablaPEPs(&vt);
  vt.Open();
  vt.Append();
  vt.SetField("ClaveCliente", db::Value("K9"));
  vt.SetField("EsPEP", db::Value(0));
  vt.Post();
  EXPECT_EQ(rep.DameConsultaPregunta(40).find("ClaveCliente = 'K9'"), std::string::npos);
  vt.SetEsPEP(0, true);
  EXPECT_NE(rep.DameConsultaPregunta(40).find("ClaveCliente = 'K9'"), std::string::npos);
  // The existence questions do not join clients.
  EXPECT_EQ(rep.DameConsultaPregunta(37).find("ClaveCliente = 'K9'"), std::string::npos);
}

}  // namespace
}  // namespace kv
