// The answers preview: its output over written Kavori folders, and its refusals.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/base_prueba.h"
#include "tests/support/archivos.h"
#include "tools/kavori-demo/generador.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using prueba::TDatos;

struct TSalida {
  int nEstado = -1;
  std::string sSalida, sErrores;
};

// A Kavori program folder in the temporary directory, removed at the end.
class Carpeta {
 public:
  Carpeta() : carpeta_("kv-respuestas-cli-"), ruta_(carpeta_.Ruta()) {}
  const fs::path& Ruta() const { return ruta_; }
  void Base(const TDatos& datos, const std::string& sRelativa = "DataBase/Kavori.mdb") {
    fs::create_directories((ruta_ / sRelativa).parent_path());
    prueba::EscribeBase(datos, ruta_ / sRelativa);
  }
  void Ini(const std::string& sTexto, const std::string& sNombre = "Kavori.INI") {
    std::ofstream(ruta_ / sNombre, std::ios::binary) << sTexto;
  }

  // Runs the preview with these arguments after the folder.
  TSalida Corre(const std::vector<std::string>& args) const {
    std::string cmd = std::string("'") + KV_RESPUESTAS_EXE + "' '" + ruta_.string() + "'";
    for (const auto& a : args) cmd += " '" + a + "'";
    const fs::path err = ruta_ / "stderr.txt";
    cmd += " 2>'" + err.string() + "'";
    TSalida s;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return s;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) s.sSalida.append(buf, n);
    const int st = ::pclose(p);
    s.nEstado = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    s.sErrores = Lee(err);
    return s;
  }

 private:
  TCarpetaTemporal carpeta_;
  fs::path ruta_;
};

std::vector<std::string> Lineas(const std::string& s) {
  std::vector<std::string> r;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) r.push_back(l);
  return r;
}

// The fixture of the engine's answer tests, reduced to what the preview needs.
TDatos Datos() {
  TDatos d;
  d.sectores = {{1, "COMERCIO"}, {2, "SERVICIOS FINANCIEROS"}};
  d.divisas = {{1, "USD", "DOLAR AMERICANO", false},
               {2, "EUR", "EURO", false},
               {7, "USD", "Cheque en dolares", true}};
  prueba::TCliente f1;
  f1.sClave = "F1";
  f1.sNombre = "ANA";
  f1.sApPat = "LOPEZ";
  f1.sActividad = "1111111";
  prueba::TCliente pg = f1;
  pg.sClave = "PG";
  pg.bMoral = true;
  pg.sNombre = "PUBLICO EN GENERAL";
  pg.sApPat.reset();
  prueba::TCliente e1 = pg;
  e1.sClave = "E1";
  e1.sNombre = "BANCO UNO";
  e1.sActividad = "8100000";
  e1.nSector = 2;
  d.clientes = {f1, pg, e1};
  int folio = 0;
  auto mov = [&](const char* tipo, int div, double cot, double cant, const char* cli) {
    prueba::TMov m;
    m.sTipo = tipo;
    m.nFolio = ++folio;
    m.fecha = {2019, 5, 10, 12, 0, 0};
    m.nDivisa = div;
    m.dCot = cot;
    m.dCant = cant;
    m.sCliente = cli;
    d.movs.push_back(m);
  };
  mov("C", 1, 19, 1000, "F1");
  mov("C", 1, 19, 100, "PG");
  mov("C", 1, 19, 200, "PG");
  mov("V", 1, 19, 300, "F1");
  mov("C", 2, 21, 100, "F1");
  mov("C", 7, 19, 2500, "E1");
  mov("V", 7, 19, 800, "E1");
  d.relevan = {{"I", {2019, 3, 1, 0, 0, 0}, "POSIBLE PEP", 1, "F1"},
               {"I", {2019, 3, 1, 0, 0, 0}, "PEP", 1, "E1"}};
  return d;
}

TEST(RespuestasCli, PrintsEveryAnswerWithTheTicks) {
  const TDatos datos = Datos();
  Carpeta c;
  c.Base(datos);
  c.Ini("[Control]\r\nEmpresaActiva=1\r\n");
  const TSalida s = c.Corre({"--tipo-cambio", "20", "--pep", "F1"});
  EXPECT_EQ(s.nEstado, 0) << s.sErrores;
  const auto lineas = Lineas(s.sSalida);
  ASSERT_EQ(lineas.size(), 212u);
  const auto esperadas = prueba::TModelo(datos, 1, 20, {"F1"}).Respuestas();
  for (int n = 1; n <= 212; ++n) {
    const std::string& l = lineas[n - 1];
    const auto tab = l.find('\t');
    ASSERT_NE(tab, std::string::npos) << l;
    EXPECT_EQ(l.substr(0, tab), std::to_string(n));
    EXPECT_TRUE(esperadas[n].count(l.substr(tab + 1))) << l;
  }
  EXPECT_EQ(lineas[39], "40\tRespuesta: 1");    // F1 ticked
  EXPECT_EQ(lineas[38], "39\tRespuesta: 2");    // walk-in operations
  EXPECT_EQ(lineas[89], "90\tRespuesta: 105");  // 100 EUR at 21 over a rate of 20
}

TEST(RespuestasCli, FindsFilesWhateverTheirLetterCase) {
  Carpeta c;
  c.Base(Datos(), "database/KAVORI.MDB");
  c.Ini("[control]\nempresaactiva = 1\n", "kavori.ini");
  const TSalida s = c.Corre({"--peps"});
  EXPECT_EQ(s.nEstado, 0) << s.sErrores;
  const auto lineas = Lineas(s.sSalida);
  ASSERT_EQ(lineas.size(), 2u);
  std::set<std::string> filas;
  for (std::size_t i = 0; i < lineas.size(); ++i) {
    EXPECT_EQ(lineas[i].substr(0, 2), std::to_string(i + 1) + "\t");
    filas.insert(lineas[i].substr(2));
  }
  EXPECT_EQ(filas, (std::set<std::string>{"E1\tBANCO UNO", "F1\tANA LOPEZ"}));
}

TEST(RespuestasCli, FailedQuestionsAreAllPrinted) {
  TDatos datos = Datos();
  datos.movs.clear();
  datos.nFilasEmpresa = 0;  // the empty tops then have no row
  Carpeta c;
  c.Base(datos);
  c.Ini("[Control]\nEmpresaActiva=1\n");
  const TSalida s = c.Corre({"--tipo-cambio", "19.26"});
  EXPECT_EQ(s.nEstado, 1);
  const auto lineas = Lineas(s.sSalida);
  ASSERT_EQ(lineas.size(), 212u);
  EXPECT_EQ(lineas[4], "5\t** E R R O R **");
  EXPECT_EQ(lineas[165], "166\t** E R R O R **");
  EXPECT_EQ(lineas[36], "37\tRespuesta: NO");
  EXPECT_EQ(lineas[211], "212\t(** El CC debe responder **)");
}

// The house's own answers from a file: texts as typed, lists by their options' names, the
// questions that do not apply, the ones still waiting; a damaged or foreign file is told.
TEST(RespuestasCli, TheHousesOwnAnswers) {
  Carpeta c;
  c.Base(Datos());
  c.Ini("[Control]\nEmpresaActiva=1\n");
  std::ofstream(c.Ruta() / "RespuestasCC.ini", std::ios::binary)
      << "[RespuestasCC]\nP1=CAMBIOS \"EL ÁGUILA\"\nP7=JALISCO | YUCATÁN\nP9=NO\n"
         "P18=SI\nP27=ESPECIFIQUE SU PROPIO VALOR: EUROS\nP30=SI\nP31=UNO\\nDOS\n";
  const std::string sArchivo = (c.Ruta() / "RespuestasCC.ini").string();
  const TSalida s = c.Corre({"--tipo-cambio", "20", "--respuestas-cc", sArchivo});
  EXPECT_EQ(s.nEstado, 0) << s.sErrores;
  const auto lineas = Lineas(s.sSalida);
  ASSERT_EQ(lineas.size(), 212u);
  EXPECT_EQ(lineas[0], "1\tCAMBIOS \"EL ÁGUILA\"");
  EXPECT_EQ(lineas[1], "2\t(** El CC debe responder **)");
  EXPECT_EQ(lineas[6], "7\tJALISCO; YUCATÁN");
  EXPECT_EQ(lineas[8], "9\tNO");
  EXPECT_EQ(lineas[9], "10\tNO APLICA");
  EXPECT_EQ(lineas[26], "27\tESPECIFIQUE SU PROPIO VALOR: EUROS");
  EXPECT_EQ(lineas[30], "31\tUNO\\nDOS");
  EXPECT_EQ(lineas[36], "37\tRespuesta: SI");

  std::ofstream(c.Ruta() / "RespuestasCC.ini", std::ios::binary)
      << "[RespuestasCC]\nP1=CASA\nP6=seis\n";
  const TSalida danado = c.Corre({"--tipo-cambio", "20", "--respuestas-cc", sArchivo});
  EXPECT_EQ(danado.nEstado, 1);
  EXPECT_EQ(Lineas(danado.sSalida).at(0), "1\tCASA");
  EXPECT_EQ(Lineas(danado.sSalida).at(5), "6\t(** El CC debe responder **)");
  EXPECT_EQ(danado.sErrores, sArchivo +
                                 ": Línea 3: P6: Escriba un número entero mayor o igual a 0, sólo "
                                 "con dígitos (sin puntos, comas ni signos).\n");

  std::ofstream(c.Ruta() / "RespuestasCC.ini", std::ios::binary) << "[Control]\nEmpresaActiva=1\n";
  const TSalida ajeno = c.Corre({"--tipo-cambio", "20", "--respuestas-cc", sArchivo});
  EXPECT_EQ(ajeno.nEstado, 1);
  EXPECT_EQ(ajeno.sSalida, "");
  EXPECT_EQ(Lineas(ajeno.sErrores).at(0),
            sArchivo +
                ": El archivo no es de respuestas del centro cambiario: le falta la "
                "sección [RespuestasCC].");

  const TSalida falta = c.Corre({"--tipo-cambio", "20", "--respuestas-cc", sArchivo + ".no"});
  EXPECT_EQ(falta.nEstado, 1);
  EXPECT_EQ(falta.sErrores, "No existe el archivo de respuestas: " + sArchivo + ".no\n");
}

TEST(RespuestasCli, Refusals) {
  const struct {
    const char* caso;
    bool bBase;
    std::string ini;
    int nUsuarios;
    std::vector<std::string> args;
    int nEstado;
    const char* mensaje;
  } casos[] = {
      {"no database",
       false,
       "[Control]\nEmpresaActiva=1\n",
       0,
       {"--peps"},
       1,
       "Error: Este programa debe encontrarse en la carpeta del Kavori."},
      {"no INI",
       true,
       "",
       0,
       {"--peps"},
       1,
       "No se pudo extraer el Número de la Empresa predeterminada."},
      {"company 0",
       true,
       "[Control]\nEmpresaActiva=0\n",
       0,
       {"--peps"},
       1,
       "No se pudo extraer el Número de la Empresa predeterminada."},
      {"users connected",
       true,
       "[Control]\nEmpresaActiva=1\n",
       1,
       {"--peps"},
       1,
       "Hay un usuario conectado a la BD. Cierre Kavori antes de continuar."},
      {"rate zero",
       true,
       "[Control]\nEmpresaActiva=1\n",
       0,
       {"--tipo-cambio", "0"},
       1,
       "El tipo de cambio debe ser diferente a cero."},
      {"rate with comma",
       true,
       "[Control]\nEmpresaActiva=1\n",
       0,
       {"--tipo-cambio", "19,26"},
       1,
       "El tipo de cambio debe ser diferente a cero."},
      {"no mode", true, "[Control]\nEmpresaActiva=1\n", 0, {}, 2, "Uso: respuestas"},
      {"both modes",
       true,
       "[Control]\nEmpresaActiva=1\n",
       0,
       {"--peps", "--tipo-cambio", "20"},
       2,
       "Uso: respuestas"},
      {"evidence of the detection",
       true,
       "[Control]\nEmpresaActiva=1\n",
       0,
       {"--peps", "--evidencia", "libro.xlsx"},
       2,
       "Uso: respuestas"},
  };
  for (const auto& k : casos) {
    TDatos datos = Datos();
    datos.nUsuariosConectados = k.nUsuarios;
    Carpeta c;
    if (k.bBase) c.Base(datos);
    if (!k.ini.empty()) c.Ini(k.ini);
    const TSalida s = c.Corre(k.args);
    EXPECT_EQ(s.nEstado, k.nEstado) << k.caso;
    EXPECT_EQ(s.sSalida, "") << k.caso;
    EXPECT_NE(s.sErrores.find(k.mensaje), std::string::npos) << k.caso << ": " << s.sErrores;
  }
}

// The evidence workbook beside the printed answers; a path that cannot be written is
// reported after the answers, and nothing is left there.
TEST(RespuestasCli, EvidenceWorkbook) {
  Carpeta c;
  c.Base(Datos());
  c.Ini("[Control]\nEmpresaActiva=1\n");
  const fs::path libro = c.Ruta() / "evidencia.xlsx";
  TSalida s = c.Corre({"--tipo-cambio", "20", "--pep", "F1", "--evidencia", libro.string()});
  EXPECT_EQ(s.nEstado, 0) << s.sErrores;
  EXPECT_EQ(Lineas(s.sSalida).size(), 212u);
  EXPECT_EQ(Lee(libro).substr(0, 2), "PK");

  const fs::path sinCarpeta = c.Ruta() / "no" / "evidencia.xlsx";
  s = c.Corre({"--tipo-cambio", "20", "--evidencia", sinCarpeta.string()});
  EXPECT_EQ(s.nEstado, 1);
  EXPECT_EQ(Lineas(s.sSalida).size(), 212u);
  EXPECT_NE(s.sErrores.find("No se pudo guardar el libro de Excel " + sinCarpeta.string()),
            std::string::npos)
      << s.sErrores;
  EXPECT_FALSE(fs::exists(c.Ruta() / "no"));
}

TEST(RespuestasCli, BrokenDatabaseReportsBD101) {
  Carpeta c;
  fs::create_directories(c.Ruta() / "DataBase");
  std::ofstream(c.Ruta() / "DataBase" / "Kavori.mdb") << "not a database";
  c.Ini("[Control]\nEmpresaActiva=1\n");
  const TSalida s = c.Corre({"--peps"});
  EXPECT_EQ(s.nEstado, 1);
  EXPECT_NE(s.sErrores.find("BD-101"), std::string::npos) << s.sErrores;
}

// The demo folder of the generator: every question answered, the detected PEPs ticked.
TEST(RespuestasCli, DemoFolder) {
  Carpeta c;
  demo::OpcionesDemo o;
  o.carpeta = c.Ruta();
  o.operaciones = 400;
  demo::GeneraDemo(o);
  const TSalida peps = c.Corre({"--peps"});
  ASSERT_EQ(peps.nEstado, 0) << peps.sErrores;
  std::vector<std::string> args = {"--tipo-cambio", "19.26"};
  for (const auto& l : Lineas(peps.sSalida)) {
    const auto a = l.find('\t'), b = l.find('\t', a + 1);
    ASSERT_NE(b, std::string::npos) << l;
    args.push_back("--pep");
    args.push_back(l.substr(a + 1, b - a - 1));
  }
  const TSalida s = c.Corre(args);
  EXPECT_EQ(s.nEstado, 0) << s.sErrores;
  const auto lineas = Lineas(s.sSalida);
  ASSERT_EQ(lineas.size(), 212u);
  for (const auto& l : lineas) EXPECT_EQ(l.find("** E R R O R **"), std::string::npos) << l;
  EXPECT_EQ(lineas[36], "37\tRespuesta: SI");
}

}  // namespace
}  // namespace kv
