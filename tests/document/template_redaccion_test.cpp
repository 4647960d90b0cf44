// The wording of the questions agrees with the answer the program writes under each one:
// the side (bought or sold), the kind of operation, the class of users and the measure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/template/plantilla.h"
#include "tests/document/template_paquete.h"

namespace kv {
namespace {

bool Contiene(const std::string& texto, const std::string& parte) {
  return texto.find(parte) != std::string::npos;
}

// Whether the question speaks of buying or of selling.
bool HablaDeCompra(const std::string& t) {
  return Contiene(t, "compr") || Contiene(t, "Compr");
}
bool HablaDeVenta(const std::string& t) {
  return Contiene(t, "vend") || Contiene(t, "Vend") || Contiene(t, "venta");
}

class RedaccionDePreguntas : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    textos_ = new std::vector<std::string>(prueba::TextosNumerados(PlantillaCuestionario()));
  }
  static void TearDownTestSuite() { delete textos_; }
  static const std::string& Texto(int n) { return (*textos_)[n - 1]; }
  static inline std::vector<std::string>* textos_ = nullptr;
};

// The words that the question of each subject must carry, and its number in the sections of
// dollars bought, other currencies bought, dollars sold and other currencies sold.
struct TTema {
  std::vector<std::string> claves;
  int numeros[4];
};
const TTema kTemasDivisas[] = {
    {{"usuarios identificados", "PEP"}, {38, 70, 102, 134}},
    {{"usuarios no identificados"}, {39, 71, 103, 135}},
    {{"personas políticamente expuestas"}, {40, 79, 111, 143}},
    {{"personas físicas", "mexicana", "sin incluir a las PEP"}, {41, 72, 104, 136}},
    {{"personas morales mexicanas", "sin incluir a las PEP"}, {42, 73, 105, 137}},
    {{"personas físicas extranjeras", "sin incluir a las PEP"}, {43, 74, 106, 138}},
    {{"personas morales extranjeras", "sin incluir a las PEP"}, {44, 75, 107, 139}},
    {{"centros cambiarios"}, {45, 76, 108, 140}},
    {{"entidades financieras nacionales"}, {46, 77, 109, 141}},
    {{"entidades financieras del extranjero"}, {47, 78, 110, 142}},
    {{"operaciones", "usuarios identificados"}, {48, 80, 112, 144}},
    {{"operaciones", "no identificados"}, {49, 83, 113, 145}},
    {{"operaciones", "personas físicas", "mexicana"}, {50, 81, 114, 146}},
    {{"operaciones", "personas morales mexicanas"}, {51, 82, 115, 147}},
    {{"operaciones", "personas físicas extranjeras"}, {52, 84, 116, 148}},
    {{"operaciones", "personas morales extranjeras"}, {53, 85, 117, 149}},
    {{"operaciones", "centros cambiarios"}, {54, 86, 118, 150}},
    {{"operaciones", "entidades financieras nacionales"}, {55, 87, 119, 151}},
    {{"operaciones", "entidades financieras del extranjero"}, {56, 88, 120, 152}},
    {{"operaciones", "personas políticamente expuestas"}, {57, 89, 121, 153}},
    {{"monto total", "identificados y no identificados"}, {58, 90, 122, 154}},
    {{"monto", "no identificados"}, {59, 91, 123, 155}},
    {{"monto", "personas físicas", "mexicana"}, {60, 92, 124, 156}},
    {{"monto", "personas morales mexicanas"}, {61, 93, 125, 157}},
    {{"monto", "personas físicas extranjeras"}, {62, 94, 126, 158}},
    {{"monto", "personas morales extranjeras"}, {63, 95, 127, 159}},
    {{"monto", "centros cambiarios"}, {64, 96, 128, 160}},
    {{"monto", "entidades financieras nacionales"}, {65, 97, 129, 161}},
    {{"monto", "entidades financieras del extranjero"}, {66, 98, 130, 162}},
    {{"monto", "personas políticamente expuestas"}, {67, 99, 131, 163}},
    {{"monto promedio por operación"}, {68, 100, 132, 164}},
};

TEST_F(RedaccionDePreguntas, SeccionesDeDivisasSegunLadoDivisaClaseDeUsuarioYMedida) {
  ASSERT_EQ(textos_->size(), 212u);
  for (int c = 0; c < 4; ++c) {
    const bool compra = c < 2;
    const bool dolares = c % 2 == 0;
    std::vector<int> numeros = {37 + 32 * c};  // the existence question opens each section
    for (const auto& t : kTemasDivisas) numeros.push_back(t.numeros[c]);
    for (std::size_t i = 0; i < numeros.size(); ++i) {
      const int n = numeros[i];
      const auto& texto = Texto(n);
      SCOPED_TRACE(std::to_string(n) + ": " + texto);
      EXPECT_EQ(HablaDeCompra(texto), compra);
      EXPECT_EQ(HablaDeVenta(texto), !compra);
      EXPECT_EQ(Contiene(texto, "dólares americanos en efectivo"), dolares);
      EXPECT_EQ(Contiene(texto, "divisas"), !dolares);
      if (i == 0) continue;
      const auto& tema = kTemasDivisas[i - 1];
      for (const auto& clave : tema.claves) EXPECT_TRUE(Contiene(texto, clave)) << clave;
      // Amounts are asked in dollars; other currencies converted.
      if (Contiene(texto, "monto")) {
        EXPECT_TRUE(Contiene(texto, dolares ? ", en dólares americanos?"
                                            : ", en su equivalente en dólares americanos?"));
      }
    }
  }
}

TEST_F(RedaccionDePreguntas, SeccionesDeDocumentos) {
  const std::vector<std::pair<int, std::vector<std::string>>> casos = {
      {165, {"¿Compró documentos a la vista"}},
      {166, {"documento que más compró"}},
      {167, {"usuario", "mayor número de documentos"}},
      {168, {"centros cambiarios y entidades financieras", "PEP"}},
      {169, {"usuarios no identificados"}},
      {170, {"personas físicas", "mexicana", "sin incluir a las PEP"}},
      {171, {"personas morales mexicanas", "sin incluir a las PEP"}},
      {172, {"personas físicas extranjeras", "sin incluir a las PEP"}},
      {173, {"personas morales extranjeras", "sin incluir a las PEP"}},
      {174, {"centros cambiarios"}},
      {175, {"entidades financieras nacionales"}},
      {176, {"entidades financieras del extranjero"}},
      {177, {"personas políticamente expuestas"}},
      {178, {"operaciones", "usuarios identificados"}},
      {179, {"operaciones", "personas físicas", "mexicana"}},
      {180, {"operaciones", "personas morales mexicanas"}},
      {181, {"operaciones", "personas físicas extranjeras"}},
      {182, {"operaciones", "personas morales extranjeras"}},
      {183, {"operaciones", "centros cambiarios"}},
      {184, {"operaciones", "entidades financieras nacionales"}},
      {185, {"operaciones", "entidades financieras del extranjero"}},
      {186, {"operaciones", "personas políticamente expuestas"}},
      {187, {"monto total", "identificados y no identificados"}},
      {188, {"monto", "personas físicas", "mexicana"}},
      {189, {"monto", "personas morales mexicanas"}},
      {190, {"monto", "personas físicas extranjeras"}},
      {191, {"monto", "personas morales extranjeras"}},
      {192, {"monto", "centros cambiarios"}},
      {193, {"monto", "entidades financieras nacionales"}},
      {194, {"monto", "entidades financieras del extranjero"}},
      {195, {"monto", "personas políticamente expuestas"}},
      {196, {"monto promedio por operación", "todas las operaciones"}},
      {197, {"¿Vendió documentos a la vista"}},
      {198, {"documento que más vendió"}},
      {199, {"institución de crédito nacional", "mayor número de documentos"}},
      {200, {"operaciones", "entidades financieras"}},
      {201, {"operaciones", "instituciones de crédito nacionales"}},
      {202, {"operaciones", "casas de cambio"}},
      {203, {"operaciones", "instituciones de crédito del extranjero"}},
      {204, {"monto total", "entidades financieras"}},
      {205, {"monto", "instituciones de crédito nacionales"}},
      {206, {"monto", "casas de cambio"}},
      {207, {"monto", "instituciones de crédito del extranjero"}},
      {208, {"monto promedio por operación", "entidades financieras"}},
  };
  for (const auto& [n, claves] : casos) {
    const auto& texto = Texto(n);
    SCOPED_TRACE(std::to_string(n) + ": " + texto);
    EXPECT_TRUE(Contiene(texto, "document"));
    EXPECT_EQ(HablaDeCompra(texto), n < 197);
    EXPECT_EQ(HablaDeVenta(texto), n >= 197);
    for (const auto& clave : claves) EXPECT_TRUE(Contiene(texto, clave)) << clave;
  }
}

TEST_F(RedaccionDePreguntas, PreguntaDelSectorPrincipal) {
  EXPECT_EQ(Texto(5), "¿Cuál es el principal sector que atiende?");
}

}  // namespace
}  // namespace kv
