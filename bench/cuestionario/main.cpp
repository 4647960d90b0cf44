// bench-cuestionario [--operaciones N] [--carpeta DIR] [--tipo-cambio TC] [--sin-ingenuo]
//                    [--sin-evidencia]
// Prints, for one demo company database, the time and peak memory of: (a) opening it
// with the Jet provider and loading the questionnaire's tables, (b) the PEP detection,
// (c) the 212 answers (prepared, as the report does: half of them in a copy of the
// process), (d) mdb-export of tMovtos, tProces and tCliente for reference, (e) the 212
// answers evaluated each from scratch, one after the other, (f) the evidence workbook of
// the answers of (c), (g) the whole `respuestas` command in a process of its own (open,
// load, detection, 212 answers, with the same two PEPs ticked); then the ratios between
// them, the slowest question's share of (c), the statement both halves of (c) read and the
// halves' seconds after it, and each peak of memory against the file.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/archivo_ini.h"
#include "app/textos.h"
#include "bench/comun/carpeta_demo.h"
#include "bench/comun/mdb_export.h"
#include "data/colector_conxs.h"
#include "data/db/connection.h"
#include "data/db/value.h"
#include "diag/programa.h"
#include "engine/rep_cuest_siti2020.h"
#include "engine/tabla_peps.h"
#include "jet/jet_provider.h"
#include "tools/kavori-demo/generador.h"

namespace {

using namespace kv;
namespace fs = std::filesystem;

// The program's own texts.
namespace textos {
constexpr const char* kUso =
    "uso: bench-cuestionario [--operaciones N] [--carpeta DIR] [--tipo-cambio TC] "
    "[--sin-ingenuo] [--sin-evidencia]\n";
constexpr const char* kUsoPropias =
    "  --tipo-cambio TC tipo de cambio promedio del dólar (19.26)\n"
    "  --sin-ingenuo    omite (e), las 212 respuestas cada una desde cero\n"
    "  --sin-evidencia  omite (f), el libro de evidencia\n";
constexpr const char* kValorNoValido = "bench-cuestionario: valor no válido para ";
constexpr const char* kSinBase = "bench-cuestionario: no hay DataBase/Kavori.mdb en ";
constexpr const char* kSinEmpresa = "bench-cuestionario: Kavori.INI no da la empresa activa";
constexpr const char* kSinConexion = "bench-cuestionario: no se pudo abrir la base";
constexpr const char* kFallaPEPs = "bench-cuestionario: falló la detección de PEPs";
constexpr const char* kFallaExport = "bench-cuestionario: mdb-export falló con ";
constexpr const char* kPreguntasFallidas = "preguntas con error: ";
constexpr const char* kRespuestasDistintas = "¡las respuestas de (e) difieren de las de (c)!";
constexpr const char* kRespuestasIguales = "respuestas de (e) idénticas a las de (c)";
constexpr const char* kMasLentas = "preguntas más lentas de (c):";
constexpr const char* kFaseA = "(a) abrir y cargar tablas";
constexpr const char* kFaseB = "(b) detección de PEPs";
constexpr const char* kFaseC = "(c) 212 respuestas";
constexpr const char* kFaseD = "(d) mdb-export 3 tablas";
constexpr const char* kFaseE = "(e) 212 respuestas ingenuas";
constexpr const char* kFaseF = "(f) libro de evidencia";
constexpr const char* kFaseG = "(g) respuestas completo";
constexpr const char* kFallaRespuestas = "bench-cuestionario: respuestas falló";
constexpr const char* kRespuestasDeG = "respuestas de (g) ";
constexpr const char* kMayorParte = "pregunta más lenta de (c), parte de (c):";
constexpr const char* kComun = "consulta común de (c), antes de las dos mitades:";
constexpr const char* kMitadAqui = "mitades de (c): este proceso";
constexpr const char* kMitadEspera = "su espera a la copia";
constexpr const char* kMitadCopia = "consultas de la copia (suma)";
constexpr const char* kFallaEvidencia = "bench-cuestionario: falló el libro de evidencia: ";
constexpr const char* kLibro = "libro de evidencia: ";
}  // namespace textos

// Tables the questionnaire reads; each is loaded by the engine on its first use.
const std::vector<std::string> kTablasCuestionario = {"tMovtos",  "tProces", "tCliente",
                                                      "tDivisas", "tSector", "tRelevan"};
// Tables whose export is the reference cost of reading the data once.
const std::vector<std::string> kTablasExport = {"tMovtos", "tProces", "tCliente"};

struct TOpciones {
  long nOperaciones = 1000000;
  std::string sCarpeta;
  double dTipoCambio = 19.26;
  bool bSinIngenuo = false;
  bool bSinEvidencia = false;
};

template <typename T>
bool LeeNumero(const std::string& s, T& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

std::optional<TOpciones> LeeOpciones(int argc, char** argv) {
  TOpciones o;
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--sin-ingenuo" || a == "--sin-evidencia") {
      (a == "--sin-ingenuo" ? o.bSinIngenuo : o.bSinEvidencia) = true;
      continue;
    }
    if ((a != "--operaciones" && a != "--carpeta" && a != "--tipo-cambio") || i + 1 >= args.size())
      return std::nullopt;
    const std::string& v = args[++i];
    bool bOk = true;
    if (a == "--operaciones")
      bOk = LeeNumero(v, o.nOperaciones) && o.nOperaciones >= 0;
    else if (a == "--tipo-cambio")
      bOk = LeeNumero(v, o.dTipoCambio) && o.dTipoCambio > 0;
    else
      o.sCarpeta = v;
    if (!bOk) {
      std::fprintf(stderr, "%s%s: %s\n", textos::kValorNoValido, a.c_str(), v.c_str());
      return std::nullopt;
    }
  }
  return o;
}

// One measured phase: wall time, CPU time of the process and its children, and the
// peaks of resident memory reached so far (ru_maxrss, KiB).
struct TFase {
  std::string sNombre;
  bool bMedida = false;
  double dSegundos = 0;
  double dCPU = 0;
  long nPicoProcesoKiB = 0;
  long nPicoHijosKiB = 0;
};

double Segundos(const timeval& t) {
  return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

double CPU(int nQuien) {
  rusage u{};
  getrusage(nQuien, &u);
  return Segundos(u.ru_utime) + Segundos(u.ru_stime);
}

long PicoKiB(int nQuien) {
  rusage u{};
  getrusage(nQuien, &u);
  return u.ru_maxrss;
}

TFase Mide(const std::string& sNombre, const std::function<void()>& trabajo) {
  TFase f;
  f.sNombre = sNombre;
  const double dCPU0 = CPU(RUSAGE_SELF) + CPU(RUSAGE_CHILDREN);
  const auto t0 = std::chrono::steady_clock::now();
  trabajo();
  f.dSegundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  f.dCPU = CPU(RUSAGE_SELF) + CPU(RUSAGE_CHILDREN) - dCPU0;
  f.nPicoProcesoKiB = PicoKiB(RUSAGE_SELF);
  f.nPicoHijosKiB = PicoKiB(RUSAGE_CHILDREN);
  f.bMedida = true;
  return f;
}

double MiB(long nKiB) {
  return static_cast<double>(nKiB) / 1024.0;
}

// Reads the file once so that (a) and (d) both find it in the page cache.
void CalientaCache(const fs::path& ruta) {
  std::ifstream in(ruta, std::ios::binary);
  std::vector<char> buf(1 << 20);
  while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0) {
  }
}

// Switches off, for the naive pass, the engine's reuse of derived tables between answer
// texts (dropping what it kept), and back on afterwards.
void DesactivaReuso(db::Connection& Conector) {
  jet::setDerivedCache(Conector.session(), false);
}
void ReactivaReuso(db::Connection& Conector) {
  jet::setDerivedCache(Conector.session(), true);
}

// The answers of one pass: the bookmark texts, the failures and each question's seconds.
struct TPasada {
  std::vector<std::string> respuestas;
  std::vector<double> segundos;
  std::vector<double> cpu;                 // CPU seconds of the process and its children
  double dComun = 0;                       // the statement both halves read, when prepared
  TRepCuestionarioCNBV::TMitades mitades;  // the halves after it
  int nFallidas = 0;
};

// The 212 bookmark texts; progress every 10 questions on stderr. With bPrepara the
// answers are prepared first, as the report and `respuestas` do: a prepared question's
// time (and, its statement being all computation, its CPU) is its statement's, wherever
// it ran.
TPasada RespondeTodas(TRepCuestSITI2020& rep, bool bPrepara) {
  TPasada p;
  const auto t0 = std::chrono::steady_clock::now();
  if (bPrepara) {
    rep.PreparaRespuestas();
    const auto it = rep.SegundosPreparacion().find(0);
    if (it != rep.SegundosPreparacion().end()) p.dComun = it->second;
    p.mitades = rep.SegundosMitades();
    std::fprintf(stderr, "  preparadas, %.1f s\n",
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  auto tAnterior = std::chrono::steady_clock::now();
  double dCPUAnterior = CPU(RUSAGE_SELF) + CPU(RUSAGE_CHILDREN);
  for (int n = 1; n <= rep.TotalPreguntas(); ++n) {
    const auto itPrep = rep.SegundosPreparacion().find(n);
    const double dPrep = bPrepara && itPrep != rep.SegundosPreparacion().end() ? itPrep->second : 0;
    std::string s;
    if (!rep.RespondePregunta(n, s)) ++p.nFallidas;
    p.respuestas.push_back(std::move(s));
    const auto t = std::chrono::steady_clock::now();
    p.segundos.push_back(dPrep + std::chrono::duration<double>(t - tAnterior).count());
    tAnterior = t;
    const double dCPU = CPU(RUSAGE_SELF) + CPU(RUSAGE_CHILDREN);
    p.cpu.push_back(dPrep + dCPU - dCPUAnterior);
    dCPUAnterior = dCPU;
    if (n % 10 == 0 || n == rep.TotalPreguntas())
      std::fprintf(stderr, "  pregunta %d/%d, %.1f s\n", n, rep.TotalPreguntas(),
                   std::chrono::duration<double>(t - t0).count());
  }
  return p;
}

// The slowest questions of a pass, where a speed-up pays most.
void ImprimeMasLentas(const TPasada& p, std::size_t nCuantas) {
  std::vector<std::size_t> orden(p.segundos.size());
  for (std::size_t i = 0; i < orden.size(); ++i) orden[i] = i;
  nCuantas = std::min(nCuantas, orden.size());
  std::partial_sort(orden.begin(), orden.begin() + static_cast<std::ptrdiff_t>(nCuantas),
                    orden.end(),
                    [&](std::size_t a, std::size_t b) { return p.segundos[a] > p.segundos[b]; });
  std::printf("%s", textos::kMasLentas);
  for (std::size_t i = 0; i < nCuantas; ++i)
    std::printf(" %zu (%.1f s)", orden[i] + 1, p.segundos[orden[i]]);
  std::printf("\n");
}

// The slowest question's share of the whole pass, by time and by CPU. Prepared answers
// run on two cores: the shares are of the pass's wall time and CPU, not of the sums.
void ImprimeMayorParte(const TPasada& p, const TFase& fase) {
  auto Mayor = [](const std::vector<double>& v) {
    return static_cast<std::size_t>(std::max_element(v.begin(), v.end()) - v.begin());
  };
  const std::size_t iT = Mayor(p.segundos), iC = Mayor(p.cpu);
  const double dTiempo = fase.dSegundos, dCPU = fase.dCPU;
  if (p.segundos.empty() || dTiempo <= 0 || dCPU <= 0) return;
  if (p.dComun > 0)
    std::printf("%s %.2f s (%.1f %%)\n", textos::kComun, p.dComun, 100.0 * p.dComun / dTiempo);
  if (p.mitades.dAqui > 0)
    std::printf("%s %.2f s, %s %.2f s, %s %.2f s\n", textos::kMitadAqui, p.mitades.dAqui,
                textos::kMitadEspera, p.mitades.dEspera, textos::kMitadCopia, p.mitades.dCopia);
  std::printf("%s tiempo %zu (%.1f %%), CPU %zu (%.1f %%)\n", textos::kMayorParte, iT + 1,
              100.0 * p.segundos[iT] / dTiempo, iC + 1, 100.0 * p.cpu[iC] / dCPU);
}

void ImprimeFases(const std::vector<TFase>& fases) {
  std::printf("%-30s %10s %10s %14s %14s\n", "fase", "tiempo s", "CPU s", "pico proc MiB",
              "pico hijos MiB");
  for (const auto& f : fases) {
    if (!f.bMedida) {
      std::printf("%-30s %10s\n", f.sNombre.c_str(), "omitida");
      continue;
    }
    std::printf("%-30s %10.3f %10.3f %14.1f %14.1f\n", f.sNombre.c_str(), f.dSegundos, f.dCPU,
                MiB(f.nPicoProcesoKiB), MiB(f.nPicoHijosKiB));
  }
}

void ImprimeRazon(const char* sNombre, const TFase& num, const TFase& den) {
  if (!num.bMedida || !den.bMedida || den.dSegundos <= 0 || den.dCPU <= 0) {
    std::printf("%-10s %10s\n", sNombre, "-");
    return;
  }
  std::printf("%-10s %10.2f %10.2f\n", sNombre, num.dSegundos / den.dSegundos, num.dCPU / den.dCPU);
}

// Each export's own peak: a child that exec()s keeps the peak of the memory it had
// before, so the export is started by the small bench-pico-export, which prints it
// (KiB). 0 when that fails.
long PicoExportKiB(const std::string& sArchivo, const std::string& sTabla) {
  const fs::path salida =
      fs::temp_directory_path() / ("bench-cuestionario-pico-" + std::to_string(getpid()));
  const auto r = bench::EjecutaHijo({KV_BENCH_PICO_EXPORT, sArchivo, sTabla}, salida.string());
  long nKiB = 0;
  if (r.bExito) std::ifstream(salida) >> nKiB;
  std::error_code ec;
  fs::remove(salida, ec);
  return nKiB;
}

int Ejecuta(const TOpciones& o) {
  // The demo folder: the given one, or a new one that is removed at the end.
  const bench::TCarpetaDemo demo(o.sCarpeta, o.nOperaciones, "bench-cuestionario");
  const fs::path& carpeta = demo.Ruta();
  const auto sRutaBD = BuscaArchivoIgnorandoMayusculas(
      carpeta.string(), std::string(textos_app::kCarpetaBD) + "/" + textos_app::kArchivoBD);
  if (!sRutaBD) {
    std::fprintf(stderr, "%s%s\n", textos::kSinBase, carpeta.string().c_str());
    return 1;
  }
  const auto sRutaIni = BuscaArchivoIgnorandoMayusculas(carpeta.string(), textos_app::kArchivoIni);
  const int nNumEmp = sRutaIni ? LeeEnteroIni(*sRutaIni, textos_app::kSeccionControl,
                                              textos_app::kClaveEmpresaActiva, 0)
                               : 0;
  if (nNumEmp <= 0) {
    std::fprintf(stderr, "%s\n", textos::kSinEmpresa);
    return 1;
  }
  const auto nTamanoBD = fs::file_size(*sRutaBD);
  std::printf("archivo: %s (%.1f MiB), empresa %d, tipo de cambio %.4g\n", sRutaBD->c_str(),
              static_cast<double>(nTamanoBD) / (1024.0 * 1024.0), nNumEmp, o.dTipoCambio);
  std::fflush(stdout);
  CalientaCache(*sRutaBD);

  std::vector<TFase> fases;
  db::Connection* Conector = nullptr;
  bool bAbierta = false;
  fases.push_back(Mide(textos::kFaseA, [&] {
    jet::registerJetProvider();
    ColectorConexiones->CreaBDPrinc(*sRutaBD, "", false);
    bAbierta = ColectorConexiones->Conecta(textos_app::kConexionPrincipal) &&
               ColectorConexiones->DameAccessConex(textos_app::kConexionPrincipal, Conector) &&
               Conector->connected();
    if (!bAbierta) return;
    for (const auto& t : kTablasCuestionario) {
      const auto rs = Conector->session().select("SELECT COUNT(*) AS n FROM [" + t + "]");
      std::fprintf(stderr, "  %-10s %lld filas\n", t.c_str(),
                   static_cast<long long>(rs.rows.at(0).at(0).toInt()));
    }
  }));
  if (!bAbierta) {
    std::fprintf(stderr, "%s\n", textos::kSinConexion);
    return 1;
  }

  TRepCuestSITI2020 rep(Conector, o.dTipoCambio, nNumEmp);
  TTablaPEPs vtPEPs;
  bool bPEPs = false;
  fases.push_back(Mide(textos::kFaseB, [&] { bPEPs = rep.DetectaPEPs(vtPEPs); }));
  if (!bPEPs) {
    std::fprintf(stderr, "%s\n", textos::kFallaPEPs);
    return 1;
  }
  // The first two detected clients ticked, so the PEP clause takes part in the answers.
  for (std::size_t i = 0; i < std::min<std::size_t>(2, vtPEPs.RecordCount()); ++i)
    vtPEPs.SetEsPEP(i, true);
  rep.EstableceTablaPEPs(&vtPEPs);
  std::printf("posibles PEP detectados: %zu (2 marcados)\n", vtPEPs.RecordCount());
  std::fflush(stdout);

  TPasada c;
  fases.push_back(Mide(textos::kFaseC, [&] { c = RespondeTodas(rep, true); }));
  if (c.nFallidas > 0) std::printf("%s%d\n", textos::kPreguntasFallidas, c.nFallidas);
  ImprimeMasLentas(c, 10);
  ImprimeMayorParte(c, fases.back());
  std::fflush(stdout);

  // The workbook of the answers just given, beside the demo folder.
  TFase f;
  f.sNombre = textos::kFaseF;
  std::uintmax_t nTamanoLibro = 0;
  if (!o.bSinEvidencia) {
    const fs::path libro = carpeta / "evidencia-bench.xlsx";
    bool bLibroOk = true;
    f = Mide(textos::kFaseF, [&] {
      try {
        rep.EscribeEvidencia(libro.string(), {});
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s%s\n", textos::kFallaEvidencia, e.what());
        bLibroOk = false;
      }
    });
    f.bMedida = bLibroOk;
    std::error_code ec;
    nTamanoLibro = fs::file_size(libro, ec);
    if (ec) nTamanoLibro = 0;
    std::printf("%s%.1f MiB\n", textos::kLibro, static_cast<double>(nTamanoLibro) / 1048576.0);
    fs::remove(libro, ec);
  }

  // Peak of the engine's forked table loaders, before any mdb-export child ends.
  const long nPicoCargadoresKiB = PicoKiB(RUSAGE_CHILDREN);

  TFase e;
  e.sNombre = textos::kFaseE;
  if (!o.bSinIngenuo) {
    DesactivaReuso(*Conector);
    TPasada pe;
    e = Mide(textos::kFaseE, [&] { pe = RespondeTodas(rep, false); });
    ReactivaReuso(*Conector);
    std::printf("%s\n", pe.respuestas == c.respuestas ? textos::kRespuestasIguales
                                                      : textos::kRespuestasDistintas);
  }
  fases.push_back(e);

  // (g): the command as a user runs it; wait4 gives its CPU (its readers included) and
  // its own peak of memory.
  TFase g;
  g.sNombre = textos::kFaseG;
  {
    std::vector<std::string> args = {KV_BENCH_RESPUESTAS, carpeta.string(), "--tipo-cambio",
                                     db::formatNumber(o.dTipoCambio)};
    for (std::size_t i = 0; i < std::min<std::size_t>(2, vtPEPs.RecordCount()); ++i) {
      args.push_back("--pep");
      args.push_back(vtPEPs.Row(i).ClaveCliente);
    }
    const fs::path salida =
        fs::temp_directory_path() / ("bench-cuestionario-respuestas-" + std::to_string(getpid()));
    const auto t0 = std::chrono::steady_clock::now();
    const auto r = bench::EjecutaHijo(args, salida.string());
    g.dSegundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    g.dCPU = Segundos(r.uso.ru_utime) + Segundos(r.uso.ru_stime);
    g.nPicoProcesoKiB = r.uso.ru_maxrss;
    g.bMedida = r.bExito;
    if (!r.bExito) std::fprintf(stderr, "%s\n", textos::kFallaRespuestas);
    // Its lines are "N<TAB>text"; the same texts as (c).
    std::vector<std::string> lineas;
    std::ifstream in(salida);
    for (std::string l; std::getline(in, l);) lineas.push_back(l.substr(l.find('\t') + 1));
    std::error_code ec;
    fs::remove(salida, ec);
    if (r.bExito)
      std::printf("%s%s\n", textos::kRespuestasDeG,
                  lineas == c.respuestas ? "idénticas a las de (c)" : "¡distintas de las de (c)!");
  }

  // Last, so that the children's peak of the phases above is the engine's loaders'.
  bool bExportOk = true;
  TFase d = Mide(textos::kFaseD, [&] {
    for (const auto& t : kTablasExport) {
      if (!bench::ExportaTabla(*sRutaBD, t).bExito) {
        std::fprintf(stderr, "%s%s\n", textos::kFallaExport, t.c_str());
        bExportOk = false;
      }
    }
  });
  long nPicoExportKiB = 0;
  for (const auto& t : kTablasExport)
    nPicoExportKiB = std::max(nPicoExportKiB, PicoExportKiB(*sRutaBD, t));
  d.nPicoHijosKiB = nPicoExportKiB;
  d.bMedida = bExportOk;

  fases.insert(fases.begin() + 3, d);
  fases.push_back(f);
  fases.push_back(g);

  std::printf("\n");
  ImprimeFases(fases);
  std::printf("\n%-10s %10s %10s\n", "razón", "tiempo", "CPU");
  ImprimeRazon("(a)/(d)", fases[0], fases[3]);
  ImprimeRazon("(c)/(d)", fases[2], fases[3]);
  ImprimeRazon("(e)/(c)", fases[4], fases[2]);
  ImprimeRazon("(f)/(c)", fases[5], fases[2]);
  ImprimeRazon("(g)/(d)", fases[6], fases[3]);

  // Peak of the whole run: this process, and the engine's table loaders (forked
  // children); mdb-export is reported on its own line.
  const long nPicoProceso = PicoKiB(RUSAGE_SELF);
  const double dTamano = static_cast<double>(nTamanoBD) / 1024.0;
  const auto Renglon = [&](const char* sNombre, double dKiB) {
    std::printf("%-36s %10.1f %12.2f\n", sNombre, dKiB / 1024.0, dKiB / dTamano);
  };
  std::printf("\n%-36s %10s %12s\n", "memoria pico", "MiB", "x tamaño .mdb");
  Renglon("archivo .mdb", dTamano);
  Renglon("proceso (RUSAGE_SELF)", static_cast<double>(nPicoProceso));
  // The copy that answers half the questions counts there too, with the pages it shares.
  Renglon("cargadores y copia (RUSAGE_CHILDREN)", static_cast<double>(nPicoCargadoresKiB));
  Renglon("mdb-export (mayor de los 3, wait4)", static_cast<double>(nPicoExportKiB));
  Renglon("respuestas de (g) (wait4)", static_cast<double>(g.nPicoProcesoKiB));
  return c.nFallidas > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto opciones = LeeOpciones(argc, argv);
  if (!opciones) {
    std::fprintf(stderr, "%s%s%s", textos::kUso, bench::kAyudaCarpetaDemo, textos::kUsoPropias);
    return 2;
  }
  kv::ColectorConexiones = std::make_shared<kv::TColectorConxs>();
  int nEstado = 1;
  try {
    nEstado = Ejecuta(*opciones);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  std::fflush(stdout);
  kv::ColectorConexiones.reset();
  return nEstado;
}
