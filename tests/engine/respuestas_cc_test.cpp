// The exchange house's own answers: which questions they are, the checks of each answer, the
// dependent questions, the file RespuestasCC.ini and what the answers put into the document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "engine/rep_cuest_siti2020.h"
#include "engine/respuestas_cc.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/carpeta_sin_escritura.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

TRespuestaCC Texto(const std::string& s) {
  TRespuestaCC r;
  r.sTexto = s;
  return r;
}

TRespuestaCC Opciones(std::vector<std::string> opciones, const std::string& sEspecifique = "") {
  TRespuestaCC r;
  r.opciones = std::move(opciones);
  r.sEspecifique = sEspecifique;
  return r;
}

TEST(RespuestasCC, AreTheQuestionsTheCatalogueLeavesToTheHouse) {
  std::set<int> esperadas = {1, 2, 3, 4, 209, 210, 211, 212};
  for (int n = 6; n <= 36; ++n) esperadas.insert(n);
  std::set<int> tabla;
  for (const auto& p : PreguntasCC()) {
    tabla.insert(p.nNumero);
    // Lists are answered with options, boxes with text.
    const bool bLista = p.tipo == TTipoRespuestaCC::Una || p.tipo == TTipoRespuestaCC::Varias;
    EXPECT_EQ(bLista, ContenidoPregunta(p.nNumero).area == TAreaRespuesta::Lista) << p.nNumero;
    if (p.nDependeDe != 0) {
      EXPECT_LT(p.nDependeDe, p.nNumero);
    }
  }
  EXPECT_EQ(tabla, esperadas);
  TRepCuestSITI2020 rep(nullptr, 19.26, 1);
  for (int n = 1; n <= 212; ++n)
    EXPECT_EQ(rep.DameConsultaPregunta(n) == "(** El CC debe responder **)", tabla.count(n) == 1)
        << n;
  EXPECT_STREQ(ContenidoPregunta(10).sTexto, "En su caso, ¿cuántas sucursales abrió durante 2019?");
}

TEST(RespuestasCC, ChecksEachKindOfAnswer) {
  const struct {
    int nPregunta;
    TRespuestaCC respuesta;
    const char* sError;  // "" valid
  } casos[] = {
      {6, Texto("12"), ""},
      {6, Texto("0"), ""},
      {6, Texto("-1"), "Escriba un número entero mayor o igual a 0"},
      {6, Texto("1,000"), "Escriba un número entero mayor o igual a 0"},
      {6, Texto("1.5"), "Escriba un número entero mayor o igual a 0"},
      {26, Texto("1250000.50"), ""},
      {26, Texto("1250000"), ""},
      {26, Texto("1,250.00"), "Escriba un monto mayor o igual a 0"},
      {26, Texto("12.345"), "Escriba un monto mayor o igual a 0"},
      {26, Texto("12."), "Escriba un monto mayor o igual a 0"},
      {9, Opciones({"SI"}), ""},
      {9, Opciones({"SI", "NO"}), "Elija una sola opción."},
      {9, Opciones({"TAL VEZ"}), "La opción no está en la lista: TAL VEZ"},
      {7, Opciones({"AGUASCALIENTES", "ZACATECAS"}), ""},
      {7, Opciones({"ZACATECAS", "AGUASCALIENTES"}), "La opción está repetida o fuera del orden"},
      {27, Opciones({"ESPECIFIQUE SU PROPIO VALOR:"}, "EUROS"), ""},
      {27, Opciones({"ESPECIFIQUE SU PROPIO VALOR:"}), "Escriba su propio valor en el recuadro"},
      {27, Opciones({"MONEDA NACIONAL"}, "EUROS"), "Hay un valor propio escrito, pero no"},
      {1, Opciones({"SI"}), "Esta pregunta se responde con texto"},
      {5, Texto("COMERCIO"), "Esta pregunta la responde el programa con la base de datos"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::to_string(c.nPregunta) + " " + c.respuesta.sTexto);
    const std::string sError = ValidaRespuestaCC(c.nPregunta, c.respuesta);
    if (*c.sError == '\0')
      EXPECT_EQ(sError, "");
    else
      EXPECT_EQ(sError.rfind(c.sError, 0), 0u) << sError;
  }
}

TEST(RespuestasCC, WarnsOfAnRFCThatIsNotALegalPersonsWithHomoclave) {
  const struct {
    const char* sRFC;
    bool bAviso;
  } casos[] = {{"ABC010203XY1", false}, {"ÑA&991231A1B", false}, {"ABCD010203XY1", true},
               {"ABC0102031", true},    {"ABC011303XY1", true},  {"abc010203xy1", true}};
  for (const auto& c : casos) {
    const TRespuestaCC r = Texto(c.sRFC);
    EXPECT_EQ(ValidaRespuestaCC(2, r), "") << c.sRFC;
    EXPECT_EQ(AvisoRespuestaCC(2, r).empty(), !c.bAviso) << c.sRFC;
  }
}

TEST(RespuestasCC, DependentQuestionsApplyOnlyAfterTheAnswerThatOpensThem) {
  TRespuestasCC r;
  EXPECT_EQ(r.Pendientes(), 39);
  EXPECT_FALSE(r.Aplica(10));  // undecided while 9 is unanswered
  EXPECT_EQ(r.Estado(10), TEstadoPreguntaCC::Pendiente);
  EXPECT_FALSE(TextoRespuestaCC(r, 10).has_value());

  r.Fija(10, Texto("3"));  // typed earlier, kept, but only counts when 9 says SI
  r.Fija(9, Opciones({"NO"}));
  EXPECT_FALSE(r.Aplica(10));
  EXPECT_FALSE(r.Aplica(11));
  EXPECT_EQ(r.Estado(10), TEstadoPreguntaCC::NoAplica);
  EXPECT_EQ(r.Estado(11), TEstadoPreguntaCC::NoAplica);
  EXPECT_EQ(TextoRespuestaCC(r, 10), "NO APLICA");
  EXPECT_EQ(TextoEnMarcadorCC(r, 11), "NO APLICA");
  EXPECT_TRUE(MarcasRespuestaCC(r, 11).opciones.empty());
  EXPECT_EQ(r.Pendientes(), 36);  // 9 answered, 10 and 11 do not apply

  r.Fija(9, Opciones({"SI"}));
  EXPECT_TRUE(r.Aplica(10));
  EXPECT_EQ(TextoRespuestaCC(r, 10), "3");
  EXPECT_EQ(r.Estado(11), TEstadoPreguntaCC::Pendiente);
  EXPECT_EQ(r.Pendientes(), 37);

  // 18 opens the questions on the house's national bank accounts.
  r.Fija(18, Opciones({"NO"}));
  for (int n : {19, 22, 23, 24, 25, 26, 27})
    EXPECT_EQ(r.Estado(n), TEstadoPreguntaCC::NoAplica) << n;
  EXPECT_EQ(r.Estado(20), TEstadoPreguntaCC::Pendiente);
}

TEST(RespuestasCC, TextsAndTicksOfTheDocument) {
  TRespuestasCC r;
  r.Fija(1, Texto("CAMBIOS \"EL ÁGUILA\", S.A. DE C.V."));
  r.Fija(7, Opciones({"AGUASCALIENTES", "CIUDAD DE MÉXICO"}));
  r.Fija(18, Opciones({"SI"}));
  r.Fija(27, Opciones({"ESPECIFIQUE SU PROPIO VALOR:"}, "EUROS"));
  EXPECT_EQ(TextoEnMarcadorCC(r, 1), "CAMBIOS \"EL ÁGUILA\", S.A. DE C.V.");
  EXPECT_EQ(TextoRespuestaCC(r, 7), "AGUASCALIENTES; CIUDAD DE MÉXICO");
  EXPECT_EQ(TextoEnMarcadorCC(r, 7), "");
  EXPECT_EQ(TextoRespuestaCC(r, 27), "ESPECIFIQUE SU PROPIO VALOR: EUROS");
  const TMarcasOpciones estados = MarcasRespuestaCC(r, 7);
  EXPECT_EQ(estados.opciones, (std::vector<int>{0, 6}));
  EXPECT_EQ(estados.nCaja, -1);
  const TMarcasOpciones monedas = MarcasRespuestaCC(r, 27);
  EXPECT_EQ(monedas.opciones, std::vector<int>{2});
  EXPECT_EQ(monedas.nCaja, 2);
  EXPECT_EQ(monedas.sCaja, "EUROS");
}

TEST(RespuestasCC, FileRoundTrip) {
  TCarpetaTemporal carpeta;
  TRespuestasCC r;
  r.Fija(1, Texto("CAMBIOS \"EL ÁGUILA\", S.A. DE C.V."));
  r.Fija(2, Texto("CAG010203XY1"));
  r.Fija(4, Texto("JOSÉ NÚÑEZ \\ PEÑA"));
  r.Fija(7, Opciones({"AGUASCALIENTES", "CIUDAD DE MÉXICO", "YUCATÁN"}));
  r.Fija(26, Texto("1250000.50"));
  r.Fija(30, Opciones({"SI"}));
  r.Fija(31, Texto("BANCO UNO | NY\nBANCO DOS; TX\n\"TRES\""));
  r.Fija(36, Opciones({"ESPECIFIQUE SU PROPIO VALOR:"}, "EUROS | LIBRAS \"GBP\""));
  const fs::path ruta = carpeta.Ruta() / "RespuestasCC.ini";
  const TGuardadoRespuestasCC g = GuardaArchivoRespuestasCC(ruta, r);
  ASSERT_TRUE(g.bOk) << g.sError;

  const std::string sTexto = Lee(ruta);
  for (const char* sLinea : {
           "\n[RespuestasCC]\n",
           "\nP1=CAMBIOS \"EL ÁGUILA\", S.A. DE C.V.\n",
           "\nP3=\n",
           "\nP4=JOSÉ NÚÑEZ \\\\ PEÑA\n",
           "\nP7=AGUASCALIENTES | CIUDAD DE MÉXICO | YUCATÁN\n",
           "\nP31=BANCO UNO | NY\\nBANCO DOS; TX\\n\"TRES\"\n",
           "\nP36=ESPECIFIQUE SU PROPIO VALOR: EUROS \\| LIBRAS \"GBP\"\n",
           "\nP212=\n",
       })
    EXPECT_NE(sTexto.find(sLinea), std::string::npos) << sLinea;

  const TLecturaRespuestasCC leida = LeeArchivoRespuestasCC(ruta);
  EXPECT_TRUE(leida.bExiste);
  EXPECT_TRUE(leida.Correcta());
  EXPECT_TRUE(leida.respuestas == r);
  // Nothing but the file itself stays in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(carpeta.Ruta()), fs::directory_iterator()), 1);

  // Edited by hand on Windows: a byte-order mark, CR LF, blanks and another key case.
  const TLecturaRespuestasCC editada = LeeTextoRespuestasCC(
      "\xEF\xBB\xBF; a mano\r\n[respuestascc]\r\n  p6 =  12 \r\nP9=SI\r\nP10=\r\n");
  EXPECT_TRUE(editada.Correcta());
  ASSERT_NE(editada.respuestas.Respuesta(6), nullptr);
  EXPECT_EQ(editada.respuestas.Respuesta(6)->sTexto, "12");
  EXPECT_EQ(editada.respuestas.Respuesta(10), nullptr);
  EXPECT_EQ(editada.respuestas.Todas().size(), 2u);
}

TEST(RespuestasCC, DamagedOrForeignFiles) {
  const struct {
    const char* caso;
    std::string sTexto;
    bool bAjeno;
    std::vector<std::string> errores;  // each the start of one message, in order
    std::set<int> tomadas;
  } casos[] = {
      {"another program's INI",
       "[Control]\nEmpresaActiva=1\n",
       true,
       {"El archivo no es de respuestas del centro cambiario: le falta la sección [RespuestasCC].",
        "Línea 1: sección desconocida: [Control]", "Línea 2: texto fuera de la sección"},
       {}},
      {"not UTF-8 (Latin-1)",
       "[RespuestasCC]\nP1=CAMBIOS \xC1GUILA\n",
       true,
       {"El archivo no es de respuestas del centro cambiario: no es texto UTF-8."},
       {}},
      {"binary",
       std::string("PK\x03\x04\0\0", 6),
       true,
       {"El archivo no es de respuestas del centro cambiario: no es texto UTF-8."},
       {}},
      {"bad values among good ones",
       "[RespuestasCC]\nP1=CASA\nP6=doce\nP7=AGUASCALIENTES | ATLANTIDA\nP5=COMERCIO\nP1=OTRA\n"
       "P8=4\nbasura\n",
       false,
       {"Línea 3: P6: Escriba un número entero",
        "Línea 4: P7: La opción no está en la lista: "
        "ATLANTIDA",
        "Línea 5: clave que no corresponde a ninguna pregunta del centro cambiario: P5",
        "Línea 6: pregunta repetida (se toma la primera): P1",
        "Línea 8: clave que no corresponde a ninguna pregunta del centro cambiario: basura"},
       {1, 8}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    const TLecturaRespuestasCC l = LeeTextoRespuestasCC(c.sTexto);
    EXPECT_EQ(l.bAjeno, c.bAjeno);
    ASSERT_EQ(l.errores.size(), c.errores.size()) << testing::PrintToString(l.errores);
    for (std::size_t i = 0; i < c.errores.size(); ++i)
      EXPECT_EQ(l.errores[i].rfind(c.errores[i], 0), 0u) << l.errores[i];
    std::set<int> tomadas;
    for (const auto& [n, r] : l.respuestas.Todas()) tomadas.insert(n);
    EXPECT_EQ(tomadas, c.tomadas);
  }
  // The first of a repeated key is the one kept.
  EXPECT_EQ(
      LeeTextoRespuestasCC("[RespuestasCC]\nP1=CASA\nP1=OTRA\n").respuestas.Respuesta(1)->sTexto,
      "CASA");
}

TEST(RespuestasCC, AFolderThatCannotBeWrittenKeepsItsFile) {
  TCarpetaTemporal carpeta;
  const fs::path ruta = carpeta.Ruta() / "RespuestasCC.ini";
  TRespuestasCC antes;
  antes.Fija(3, Texto("CC-0001"));
  ASSERT_TRUE(GuardaArchivoRespuestasCC(ruta, antes).bOk);
  const std::string sAntes = Lee(ruta);
  TRespuestasCC nuevas;
  nuevas.Fija(3, Texto("CC-0002"));
  TGuardadoRespuestasCC g;
  {
    TCarpetaSinEscritura sinEscritura(carpeta.Ruta());
    if (!sinEscritura.Efectiva()) GTEST_SKIP() << "the folder stays writable here";
    g = GuardaArchivoRespuestasCC(ruta, nuevas);
  }
  EXPECT_FALSE(g.bOk);
  EXPECT_TRUE(g.bSinPermiso);
  EXPECT_EQ(g.sError.rfind("No se pudo escribir el archivo " + ruta.string() + " (", 0), 0u)
      << g.sError;
  EXPECT_EQ(Lee(ruta), sAntes);
  EXPECT_EQ(std::distance(fs::directory_iterator(carpeta.Ruta()), fs::directory_iterator()), 1);
}

TEST(RespuestasCC, TheMostRecentlyWrittenFileIsInUse) {
  TCarpetaTemporal carpeta;
  const fs::path a = carpeta.Escribe("programa/RespuestasCC.ini", "[RespuestasCC]\n");
  const fs::path b = carpeta.Escribe("usuario/RespuestasCC.ini", "[RespuestasCC]\n");
  fs::last_write_time(a, fs::last_write_time(b) - std::chrono::hours(1));
  EXPECT_EQ(ElijeArchivoRespuestasCC({a, b}), b);
  fs::last_write_time(a, fs::last_write_time(b) + std::chrono::hours(1));
  EXPECT_EQ(ElijeArchivoRespuestasCC({a, b}), a);
  EXPECT_EQ(ElijeArchivoRespuestasCC({carpeta.Ruta() / "no-existe.ini", b}), b);
  EXPECT_FALSE(ElijeArchivoRespuestasCC({carpeta.Ruta() / "no-existe.ini"}).has_value());
}

}  // namespace
}  // namespace kv
