#include <gtest/gtest.h>

#include <QByteArray>
#include <cctype>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "diag/bitacora.h"
#include "diag/errores_bd.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

// A catalogue with a silent code beside a shown one, as a descendant would write it.
class TErroresPrueba : public TManejadorErrores {
 public:
  TErroresPrueba() { CargaErrores(); }

 protected:
  void CargaErrores() override {
    AgregaError("X-1", "Texto uno.", "para la bitácora", true);
    AgregaError("X-2", "Silencioso.", "", false);
  }
};

class TErroresRepetidos : public TManejadorErrores {
 public:
  TErroresRepetidos() { CargaErrores(); }

 protected:
  void CargaErrores() override {
    AgregaError("BD-101", "a", "", true);
    AgregaError("BD-101", "b", "", true);
  }
};

TEST(MuestraError, LayoutOfTheShownText) {
  struct Caso {
    const char* clave;
    const char* clase;
    const char* adicional;
    const char* esperado;
  };
  const Caso casos[] = {
      {"BD-101", "", "x", "Error #BD-101: Llame a Soporte Técnico. x"},
      {"BD-101", "   ", "x", "Error #BD-101: Llame a Soporte Técnico. x"},
      {"BD-101", "\t", "x", "Error #BD-101: Llame a Soporte Técnico. x"},
      {"BD-101", "TKavoriBD", "EOleException - Falta el parámetro",
       "Error #BD-101.TKavoriBD: Llame a Soporte Técnico. EOleException - Falta el parámetro"},
      // The class is kept untrimmed once it is not blank.
      {"BD-101", " TConector ", "", "Error #BD-101. TConector : Llame a Soporte Técnico. "},
      {"C", "K", "x", "Error #C.K x"},
      {"C", "", "x", "Error #C x"},
      {"C", "", "", "Error #C "},
      // Codes are compared exactly.
      {"bd-101", "", "x", "Error #bd-101 x"},
      {"BD-101 ", "", "x", "Error #BD-101  x"},
  };
  for (const auto& c : casos) {
    TDialogosDePrueba dialogos;
    auto errores = std::make_shared<TErroresBD>();
    errores->MuestraError(c.clave, c.clase, c.adicional);
    ASSERT_EQ(dialogos->Dialogos().size(), 1u) << c.esperado;
    EXPECT_EQ(dialogos->Dialogos()[0].eTipo, TTipoDialogo::Mensaje);
    EXPECT_EQ(dialogos->Dialogos()[0].sTexto, c.esperado);
  }
}

TEST(MuestraError, SilentCodeShowsNothingOtherCodesShow) {
  TDialogosDePrueba dialogos;
  std::shared_ptr<ILogErrores> errores = std::make_shared<TErroresPrueba>();
  errores->MuestraError("X-2", "K", "x");
  EXPECT_TRUE(dialogos->Dialogos().empty());
  errores->MuestraError("X-1", "K", "x");
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{"Error #X-1.K: Texto uno. x"});
}

TEST(DameErrorMsj, LayoutOfTheReturnedText) {
  struct Caso {
    const char* clave;
    const char* adicional;
    bool incluyeClave;
    const char* esperado;
  };
  const Caso casos[] = {
      {"BD-101", "", false, "Llame a Soporte Técnico. "},
      {"BD-101", "x", false, "Llame a Soporte Técnico. x"},
      {"BD-101", "x", true, "Error #BD-101: Llame a Soporte Técnico. x"},
      {"C", "", false, "Error desconocido"},
      {"C", "", true, "Error #C: Error desconocido"},
      {"C", "x", false, "x"},
      {"C", "x", true, "Error #C: x"},
      // A blank extra text is not empty: it is returned as it is.
      {"C", " ", false, " "},
      {"", "", true, "Error #: Error desconocido"},
      // Silent codes still give their text.
      {"X-2", "x", true, "Error #X-2: Silencioso. x"},
  };
  TDialogosDePrueba dialogos;
  TErroresBD bd;
  TErroresPrueba prueba;
  for (const auto& c : casos) {
    ILogErrores& errores = std::string(c.clave) == "X-2" ? static_cast<ILogErrores&>(prueba) : bd;
    EXPECT_EQ(errores.DameErrorMsj(c.clave, c.adicional, c.incluyeClave), c.esperado) << c.clave;
  }
  EXPECT_TRUE(dialogos->Dialogos().empty());
}

TEST(TManejadorErrores, RepeatedCodeMakesTheConstructorFail) {
  EXPECT_THROW(TErroresRepetidos(), std::logic_error);
}

TEST(DialogosGrabados, AnswersFromTheScriptThenTheDefault) {
  TDialogosDePrueba dialogos;
  dialogos->Responde({true, false});
  EXPECT_TRUE(DameDialogos()->AdvertenciaSiNo("a"));
  EXPECT_FALSE(DameDialogos()->ErrorAceptarCancelar("b"));
  EXPECT_EQ(dialogos->RespuestasSinGuion(), 0);
  EXPECT_FALSE(DameDialogos()->AdvertenciaSiNo("c"));
  EXPECT_EQ(dialogos->RespuestasSinGuion(), 1);
  EXPECT_EQ(dialogos->Textos(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(DialogosGrabados, GuardPutsThePreviousServiceBack) {
  const auto antes = DameDialogos();
  {
    TDialogosDePrueba dialogos;
    EXPECT_NE(DameDialogos(), antes);
  }
  EXPECT_EQ(DameDialogos(), antes);
}

// Every error shown goes, with date and time, to the log in the user's data folder; a
// silent code writes nothing, line breaks of a text stay inside its one entry.
TEST(Bitacora, LosErroresMostradosQuedanEnElArchivoDeSoporte) {
  AseguraAplicacionQt();
  TCarpetaTemporal datos;
  const QByteArray anterior = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(datos.Ruta().string()));
  TDialogosDePrueba dialogos;
  TErroresBD errores;
  TErroresPrueba silencio;
  EXPECT_EQ(DameRutaBitacora(), datos.Ruta().string() + "/cuestionario-operatividad/errores.log");
  errores.MuestraError("BD-101", "TConsultasSQL", "no such table: tMovtos");
  silencio.MuestraError("X-2", "TPrueba", "no se ve");
  RegistraEnBitacora("No se obtuvo la respuesta de la pregunta 40.\r\nsegunda línea");
  std::ifstream in(DameRutaBitacora());
  std::vector<std::string> lineas;
  for (std::string s; std::getline(in, s);) lineas.push_back(s);
  if (anterior.isNull())
    qunsetenv("XDG_DATA_HOME");
  else
    qputenv("XDG_DATA_HOME", anterior);
  ASSERT_EQ(lineas.size(), 3u);
  // "yyyy-MM-dd HH:mm:ss  " before the text.
  const auto fecha = [](const std::string& s) {
    const std::string sForma = "dddd-dd-dd dd:dd:dd  ";
    if (s.size() < sForma.size()) return false;
    for (std::size_t i = 0; i < sForma.size(); ++i)
      if (sForma[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(s[i])) : s[i] != sForma[i])
        return false;
    return true;
  };
  EXPECT_TRUE(fecha(lineas[0])) << lineas[0];
  EXPECT_EQ(lineas[0].substr(21),
            "Error #BD-101.TConsultasSQL: Llame a Soporte Técnico. no such table: tMovtos");
  EXPECT_TRUE(fecha(lineas[1])) << lineas[1];
  EXPECT_EQ(lineas[1].substr(21), "No se obtuvo la respuesta de la pregunta 40.");
  EXPECT_EQ(lineas[2], "    segunda línea");
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{
                "Error #BD-101.TConsultasSQL: Llame a Soporte Técnico. no such table: tMovtos"});
}

}  // namespace
}  // namespace kv
