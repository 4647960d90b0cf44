// The build-time generator of the questionnaire template: the same sources give the same
// bytes as the embedded template, and faulty sources stop the build with a message that
// names the fault.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "document/template/plantilla.h"
#include "tests/support/aplicacion_qt.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string Entorno(const char* nombre) {
  const char* v = std::getenv(nombre);
  return v ? v : "";
}

void Escribe(const fs::path& ruta, const std::string& datos) {
  std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
  f << datos;
}

struct TResultado {
  int codigo = -1;
  std::string errores;
};

class GeneradorPlantilla : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string fuentes = Entorno("KV_SOURCE_DIR");
    const std::string binarios = Entorno("KV_BINARY_DIR");
    if (fuentes.empty() || binarios.empty()) GTEST_SKIP() << "sin KV_SOURCE_DIR/KV_BINARY_DIR";
    generador_ = fs::path(binarios) / "document/template/generador_plantilla";
    ASSERT_TRUE(fs::exists(generador_)) << generador_;
    // Working copies of the sources that a case may spoil.
    fs::copy(fs::path(fuentes) / "document/template/contenido", Contenido(),
             fs::copy_options::recursive);
    fs::copy(fs::path(fuentes) / "document/template/paquete", Paquete(),
             fs::copy_options::recursive);
  }

  fs::path Contenido() const { return carpeta_.Ruta() / "contenido"; }
  fs::path Paquete() const { return carpeta_.Ruta() / "paquete"; }

  TResultado Genera(const std::string& nombre) const {
    const auto dotx = carpeta_.Ruta() / (nombre + ".dotx");
    const auto cpp = carpeta_.Ruta() / (nombre + ".cpp");
    const auto errores = carpeta_.Ruta() / (nombre + ".err");
    const std::string orden = "'" + generador_.string() + "' '" + Contenido().string() + "' '" +
                              Paquete().string() + "' '" + dotx.string() + "' '" + cpp.string() +
                              "' 2>'" + errores.string() + "'";
    const int estado = std::system(orden.c_str());
    return {WIFEXITED(estado) ? WEXITSTATUS(estado) : -1, Lee(errores)};
  }

  TCarpetaTemporal carpeta_;
  fs::path generador_;
};

TEST_F(GeneradorPlantilla, LasMismasFuentesDanLosBytesDeLaPlantillaEmbebida) {
  ASSERT_EQ(Genera("a").codigo, 0);
  ASSERT_EQ(Genera("b").codigo, 0);
  const auto a = Lee(carpeta_.Ruta() / "a.dotx");
  const auto embebida = PlantillaCuestionario();
  EXPECT_EQ(a, Lee(carpeta_.Ruta() / "b.dotx"));
  EXPECT_EQ(a, std::string(embebida.begin(), embebida.end()));
  EXPECT_EQ(Lee(carpeta_.Ruta() / "a.cpp"), Lee(carpeta_.Ruta() / "b.cpp"));
}

struct TFuenteDefectuosa {
  const char* caso;
  const char* archivo;  // below the working copy
  std::function<void(std::string&)> estropea;
  const char* mensaje;  // part of the generator's message
};

void QuitaLinea(std::string& texto, const std::string& inicio) {
  const auto pos = texto.find("\n" + inicio);
  ASSERT_NE(pos, std::string::npos) << inicio;
  texto.erase(pos + 1, texto.find('\n', pos + 1) - pos);
}

void Reemplaza(std::string& texto, const std::string& anterior, const std::string& nuevo) {
  const auto pos = texto.find(anterior);
  ASSERT_NE(pos, std::string::npos) << anterior;
  texto.replace(pos, anterior.size(), nuevo);
}

TEST_F(GeneradorPlantilla, FuentesDefectuosasDetienenLaGeneracion) {
  const TFuenteDefectuosa casos[] = {
      {"falta una pregunta", "contenido/preguntas.tsv",
       [](std::string& t) { QuitaLinea(t, "100\t"); }, "se esperaba la pregunta 100"},
      {"falta la última pregunta", "contenido/preguntas.tsv",
       [](std::string& t) { QuitaLinea(t, "212\t"); }, "se esperaban 212 preguntas"},
      {"pregunta en otra sección", "contenido/preguntas.tsv",
       [](std::string& t) { Reemplaza(t, "\n37\t4\t", "\n37\t3\t"); }, "no pertenece a la sección"},
      {"lista desconocida", "contenido/preguntas.tsv",
       [](std::string& t) { Reemplaza(t, "\tRIESGO\t", "\tRIESGOS\t"); }, "lista desconocida"},
      {"área desconocida", "contenido/preguntas.tsv",
       [](std::string& t) { Reemplaza(t, "\n1\t1\tcaja_ancha\t", "\n1\t1\trecuadro\t"); },
       "área desconocida"},
      {"recuadro con opciones", "contenido/preguntas.tsv",
       [](std::string& t) { Reemplaza(t, "\n2\t1\tcaja\t-\t", "\n2\t1\tcaja\tSI_NO\t"); },
       "no lleva opciones"},
      {"campo de más", "contenido/preguntas.tsv",
       [](std::string& t) { Reemplaza(t, "\n3\t1\tcaja\t-\t", "\n3\t1\tcaja\t-\t-\t"); },
       "se esperaban 6 campos"},
      {"opción en minúsculas", "contenido/opciones.txt",
       [](std::string& t) { Reemplaza(t, "\nTURISMO\n", "\nTurismo\n"); }, "mayúsculas"},
      {"lista repetida", "contenido/opciones.txt",
       [](std::string& t) { Reemplaza(t, "[CUENTAS]", "[BANCOS]"); }, "lista repetida"},
      {"hueco entre secciones", "contenido/secciones.tsv",
       [](std::string& t) { Reemplaza(t, "\n2\t18\t27\t", "\n2\t19\t27\t"); }, "sin huecos"},
      {"secciones incompletas", "contenido/secciones.tsv",
       [](std::string& t) { QuitaLinea(t, "10\t"); }, "no llegan a la pregunta 212"},
      {"documento sin lugar para el cuerpo", "paquete/word/document.xml",
       [](std::string& t) { Reemplaza(t, "<!--CUERPO-->", ""); }, "falta la marca"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    const auto ruta = carpeta_.Ruta() / c.archivo;
    const auto original = Lee(ruta);
    auto estropeado = original;
    c.estropea(estropeado);
    Escribe(ruta, estropeado);
    const auto r = Genera("x");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find(c.mensaje), std::string::npos) << r.errores;
    Escribe(ruta, original);
  }
  // Missing sources and a missing part are reported as such.
  fs::remove(Paquete() / "word/styles.xml");
  const auto r = Genera("y");
  EXPECT_EQ(r.codigo, 1);
  EXPECT_NE(r.errores.find("styles.xml"), std::string::npos) << r.errores;
}

}  // namespace
}  // namespace kv
