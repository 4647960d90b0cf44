// The demo program folder: layout, password, the tables and columns the tool reads, and data
// with every case the questionnaire separates; reproducible from the seed.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/tools/mdbwrite/lectores.h"
#include "tools/kavori-demo/generador.h"

namespace kv::demo {
namespace {

namespace t = kv::mdbw::test;

// A table read with mdb-export, fields reachable by column name.
struct Tabla {
  std::vector<std::string> columnas;
  std::vector<t::TextRow> renglones;
  std::string operator()(std::size_t r, const std::string& col) const {
    for (std::size_t i = 0; i < columnas.size(); ++i) {
      if (columnas[i] == col) return renglones[r][i].value_or("<null>");
    }
    throw std::logic_error("no column " + col);
  }
  bool esNulo(std::size_t r, const std::string& col) const { return (*this)(r, col) == "<null>"; }
  std::size_t size() const { return renglones.size(); }
};

class Demo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new t::TempDir;
    resumen_ = GeneraDemo({dir_->path() / "Kavori", 800, 7});
  }
  static void TearDownTestSuite() { delete dir_; }
  static std::filesystem::path mdb() { return dir_->path() / "Kavori" / "DataBase" / "Kavori.mdb"; }
  static Tabla lee(const std::string& tabla) {
    auto r = t::readWithMdbExport(mdb(), tabla);
    return {r.header, r.rows};
  }
  // Both operations tables, each row with its table's name in column "Tabla".
  static Tabla operaciones() {
    Tabla m = lee("tMovtos");
    Tabla p = lee("tProces");
    m.columnas.push_back("Tabla");
    for (auto& r : m.renglones) r.push_back("tMovtos");
    for (auto& r : p.renglones) {
      r.push_back("tProces");
      m.renglones.push_back(r);
    }
    return m;
  }
  static inline t::TempDir* dir_ = nullptr;
  static inline ResumenDemo resumen_;
};

TEST_F(Demo, FolderIniAndPassword) {
  EXPECT_EQ(t::readFile(dir_->path() / "Kavori" / "Kavori.INI"),
            "[Control]\r\nEmpresaActiva=1\r\n");
  std::vector<std::string> archivos;
  for (const auto& e : std::filesystem::directory_iterator(dir_->path() / "Kavori" / "DataBase")) {
    archivos.push_back(e.path().filename().string());
  }
  EXPECT_EQ(archivos, std::vector<std::string>{"Kavori.mdb"});
  EXPECT_EQ(t::passwordWithMdbReader(mdb()), "quokka");
  EXPECT_EQ(t::tablesWithMdbReader(mdb()),
            (std::vector<std::string>{"tEmpresa", "tEmps", "tCompUsr", "tSector", "tDivisas",
                                      "tCliente", "tMovtos", "tProces", "tRelevan"}));
}

TEST_F(Demo, ColumnsTheToolReadsWithJetTypes) {
  const std::map<std::string, std::vector<std::string>> esperadas = {
      {"tMovtos",
       {"NumEmp:long", "Tipo:text(1)", "Folio:long", "Fecha:datetime", "NumeroDivisa:long",
        "Cotizacion:double", "Cantidad:currency", "ClaveCliente:text(10)", "Cancelado:boolean"}},
      {"tDivisas", {"NumeroDivisa:long", "Simbolo:text(5)", "Divisa:text(50)", "Pagare:boolean"}},
      {"tCliente",
       {"ClaveCliente:text(10)", "NumEmp:long", "PersonaMoral:boolean", "Nombre:text(100)",
        "ApellidoPaterno:text(50)", "ApellidoMaterno:text(50)", "ClaveActividad:text(7)",
        "Extranjero:boolean", "ClaveSector:text(5)"}},
      {"tSector", {"ClaveSector:text(5)", "Sector:text(60)"}},
      {"tRelevan",
       {"TipoRelev:text(1)", "Fecha:datetime", "Observaciones:memo", "NumEmp:long",
        "ClaveCliente:text(10)"}},
      {"tEmps", {"ClaveEmp:text(10)", "Password:text(20)", "Nivel:integer"}},
      {"tEmpresa",
       {"Empresa:text(100)", "RFC:text(13)", "RegistroCC:text(20)", "NumEmp:long",
        "NomComercial:text(100)"}},
  };
  for (const auto& [tabla, columnas] : esperadas) {
    auto leida = t::readWithMdbReader(mdb(), tabla);
    std::set<std::string> tiene(leida.header.begin(), leida.header.end());
    for (const auto& c : columnas) EXPECT_TRUE(tiene.count(c)) << tabla << " " << c;
  }
  auto tProces = t::readWithMdbReader(mdb(), "tProces");
  EXPECT_EQ(tProces.header, t::readWithMdbReader(mdb(), "tMovtos").header);
}

TEST_F(Demo, CompanyUsersAndConnectedUsers) {
  Tabla emp = lee("tEmpresa");
  ASSERT_GE(emp.size(), 1u);
  EXPECT_EQ(emp(0, "NumEmp"), "1");
  EXPECT_EQ(emp(0, "Empresa"), "Centro Cambiario Quokka, S.A. de C.V.");
  Tabla emps = lee("tEmps");
  bool admin = false, otro = false;
  for (std::size_t r = 0; r < emps.size(); ++r) {
    if (emps(r, "ClaveEmp") == "ADMIN") {
      admin = emps(r, "Password") == "CAMBIOS" && emps(r, "Nivel") == "0";
    } else {
      otro = otro || emps(r, "Nivel") != "0";
    }
  }
  EXPECT_TRUE(admin);
  EXPECT_TRUE(otro);
  EXPECT_EQ(lee("tCompUsr").size(), 0u);
}

TEST_F(Demo, CurrenciesSectorsAndClientsOfEveryKind) {
  Tabla div = lee("tDivisas");
  std::set<std::string> efectivo, documentos;
  for (std::size_t r = 0; r < div.size(); ++r) {
    (div(r, "Pagare") == "TRUE" ? documentos : efectivo).insert(div(r, "Simbolo"));
  }
  for (const char* s : {"USD", "EUR", "CAD", "GBP", "JPY", "CHF", "M.N.", "<null>"}) {
    EXPECT_TRUE(efectivo.count(s)) << s;  // mdb-export shows the empty symbol as null
  }
  EXPECT_TRUE(documentos.count("USD"));
  EXPECT_TRUE(documentos.count("EUR"));
  EXPECT_TRUE(documentos.count("MXN") || efectivo.count("MXV"));

  Tabla sec = lee("tSector");
  std::set<std::string> sectores;
  bool noAplica = false;
  for (std::size_t r = 0; r < sec.size(); ++r) {
    sectores.insert(sec(r, "ClaveSector"));
    noAplica = noAplica || sec(r, "Sector") == "NO APLICA";
  }
  EXPECT_TRUE(noAplica);

  Tabla cli = lee("tCliente");
  std::set<std::string> actividades;
  int publico = 0, moral = 0, sinPaterno = 0, extranjero = 0, sinSector = 0, empresa2 = 0;
  for (std::size_t r = 0; r < cli.size(); ++r) {
    actividades.insert(cli(r, "ClaveActividad"));
    publico += cli(r, "Nombre") == "PUBLICO EN GENERAL";
    moral += cli(r, "PersonaMoral") == "TRUE";
    sinPaterno += cli(r, "PersonaMoral") == "FALSE" && cli.esNulo(r, "ApellidoPaterno");
    extranjero += cli(r, "Extranjero") == "TRUE";
    sinSector += !sectores.count(cli(r, "ClaveSector"));
    empresa2 += cli(r, "NumEmp") == "2";
  }
  EXPECT_EQ(publico, 2);
  EXPECT_GT(moral, 5);
  EXPECT_GT(sinPaterno, 0);
  EXPECT_GT(extranjero, 1);
  EXPECT_GT(sinSector, 0);
  EXPECT_GT(empresa2, 2);
  for (const char* a : {"9911018", "9503005", "6999992", "8219025", "8100000", "8123052"}) {
    EXPECT_TRUE(actividades.count(a)) << a;
  }
}

TEST_F(Demo, OperationsCoverYearsSidesSplitsAndCancellations) {
  Tabla ops = operaciones();
  Tabla cli = lee("tCliente");
  Tabla div = lee("tDivisas");
  std::map<std::string, std::string> empresaDe;
  for (std::size_t r = 0; r < cli.size(); ++r) empresaDe[cli(r, "ClaveCliente")] = cli(r, "NumEmp");
  std::set<std::string> divisas;
  for (std::size_t r = 0; r < div.size(); ++r) divisas.insert(div(r, "NumeroDivisa"));

  std::set<std::string> anios, empresas, lados, usadas;
  std::map<std::string, std::set<std::string>> partes;  // key fields -> tables of its rows
  std::map<std::string, int> renglones;
  std::set<std::string> folios;
  int canceladas = 0, tarde31 = 0;
  std::set<std::string> bordes;
  for (std::size_t r = 0; r < ops.size(); ++r) {
    const std::string f = ops(r, "Fecha");
    anios.insert(f.substr(0, 4));
    empresas.insert(ops(r, "NumEmp"));
    lados.insert(ops(r, "Tipo"));
    usadas.insert(ops(r, "NumeroDivisa"));
    canceladas += ops(r, "Cancelado") == "TRUE";
    tarde31 += f.rfind("2019-12-31 ", 0) == 0 && f != "2019-12-31 00:00:00";
    // The first instant of the period and the first one after it.
    if (f == "2019-01-01 00:00:00" || f == "2020-01-01 00:00:00") bordes.insert(f);
    std::string clave;
    for (const char* c :
         {"NumEmp", "Tipo", "Folio", "Fecha", "NumeroDivisa", "Cotizacion", "ClaveCliente"}) {
      clave += ops(r, c) + "|";
    }
    partes[clave].insert(ops(r, "Tabla"));
    ++renglones[clave];
    folios.insert(ops(r, "NumEmp") + "/" + ops(r, "Folio"));
    EXPECT_EQ(empresaDe[ops(r, "ClaveCliente")], ops(r, "NumEmp")) << ops(r, "ClaveCliente");
    EXPECT_TRUE(divisas.count(ops(r, "NumeroDivisa")));
  }
  EXPECT_EQ(folios.size(), std::size_t(resumen_.operaciones));
  EXPECT_EQ(resumen_.operaciones, 800);
  EXPECT_EQ(anios, (std::set<std::string>{"2018", "2019", "2020"}));
  EXPECT_EQ(empresas, (std::set<std::string>{"1", "2"}));
  EXPECT_TRUE(lados.count("C") && lados.count("V") && lados.size() > 2);
  EXPECT_GT(canceladas, 0);
  EXPECT_GT(tarde31, 0);
  EXPECT_EQ(bordes, (std::set<std::string>{"2019-01-01 00:00:00", "2020-01-01 00:00:00"}));
  int divididas = 0, entreTablas = 0;
  for (const auto& [clave, n] : renglones) divididas += n > 1;
  for (const auto& [clave, tablas] : partes) entreTablas += tablas.size() > 1;
  EXPECT_GT(divididas, 1);
  EXPECT_GT(entreTablas, 0);
  EXPECT_EQ(usadas, divisas);  // every currency has operations, documents and pesos included
}

TEST_F(Demo, PepReportsAndReportsThatMustNotCount) {
  Tabla rel = lee("tRelevan");
  std::set<std::string> cuentan;
  int otraEmpresa = 0, otroTipo = 0, otroAnio = 0;
  for (std::size_t r = 0; r < rel.size(); ++r) {
    std::string obs = rel(r, "Observaciones");
    for (char& c : obs) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (obs.find("PEP") == std::string::npos) continue;
    const std::string f = rel(r, "Fecha");
    bool en2019 = f >= "2019-01-01" && f < "2020-01-01";
    bool tipoI = rel(r, "TipoRelev") == "I", emp1 = rel(r, "NumEmp") == "1";
    if (en2019 && tipoI && emp1) cuentan.insert(rel(r, "ClaveCliente"));
    otraEmpresa += en2019 && tipoI && !emp1;
    otroTipo += en2019 && !tipoI;
    otroAnio += !en2019 && tipoI;
  }
  // PEP003 at midnight on 1 January 2019, PEP007 at midnight and PEP008 in the afternoon of
  // 31 December; PEP008's report of January 2020 alone would not count.
  EXPECT_EQ(cuentan, (std::set<std::string>{"PEP001", "PEP002", "PEP003", "PEP007", "PEP008"}));
  EXPECT_GT(otraEmpresa, 0);
  EXPECT_GT(otroTipo, 0);
  EXPECT_GT(otroAnio, 0);
}

TEST(DemoCommand, ReproducibleFromTheSeed) {
  t::TempDir d;
  const std::string exe = t::shellQuote(KV_KAVORI_DEMO_EXE);
  auto genera = [&](const std::string& carpeta, const std::string& args) {
    auto r = t::run(exe + " " + t::shellQuote((d / carpeta).string()) + args);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("300 operaciones"), std::string::npos) << r.out;
    return t::readFile(d / carpeta / "DataBase" / "Kavori.mdb");
  };
  std::string a = genera("a", " --operaciones 300 --semilla 5");
  std::string b = genera("b", " --semilla 5 --operaciones 300");
  std::string c = genera("c", " --operaciones 300 --semilla 6");
  EXPECT_FALSE(a.empty());
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == c);
}

TEST(DemoCommand, BadArgumentsAndUnwritableFolder) {
  t::TempDir d;
  const std::string exe = t::shellQuote(KV_KAVORI_DEMO_EXE);
  const std::string carpeta = t::shellQuote((d / "x").string());
  for (const std::string& args :
       {std::string(""), std::string(" --operaciones"), " --operaciones 12x " + carpeta,
        " --operaciones -5 " + carpeta, " --semilla abc " + carpeta, " --otra 1 " + carpeta,
        " " + carpeta + " " + carpeta}) {
    auto r = t::run(exe + args);
    // An unknown option is a usage error of its own kind (status 2), as in every program.
    EXPECT_EQ(r.status, args.find("--otra") != std::string::npos ? 2 : 1) << args << r.out;
    EXPECT_NE(r.out.find("Uso: kavori-demo CARPETA"), std::string::npos) << args << r.out;
  }
  EXPECT_TRUE(d.files().empty());
  t::writeFile(d / "archivo", "no es carpeta");
  auto r = t::run(exe + " " + t::shellQuote((d / "archivo").string()) + " --operaciones 10");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind("kavori-demo: ", 0), 0u) << r.out;
  EXPECT_EQ(t::readFile(d / "archivo"), "no es carpeta");
}

}  // namespace
}  // namespace kv::demo
