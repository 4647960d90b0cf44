// bench-ventana [--operaciones N] [--carpeta DIR]
// Runs the window's two commands (PEP detection, then the report with its PDF) over a
// demo company database on the offscreen platform, with a timer ticking every 10 ms,
// and prints for each command its duration and the longest time the window went
// without serving its events (the longest gap between two ticks).
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/cuestionario_siti.h"
#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/modelo_peps.h"
#include "bench/comun/carpeta_demo.h"
#include "data/colector_conxs.h"
#include "diag/dialogos.h"
#include "diag/programa.h"
#include "tools/kavori-demo/generador.h"

namespace {

using namespace kv;
namespace fs = std::filesystem;

namespace textos {
constexpr const char* kUso = "uso: bench-ventana [--operaciones N] [--carpeta DIR]\n";
constexpr const char* kNotaCarpeta = "  (con --carpeta, el reporte queda en esa carpeta)\n";
constexpr const char* kLinea =
    "%-22s %9.2f s   tics %6d   pausa más larga %6.0f ms   pausas > 200 ms: %d\n";
constexpr const char* kDeteccion = "detección de PEPs";
constexpr const char* kReporte = "reporte (212 + PDF)";
constexpr const char* kEstado = "  estado al terminar: %s\n";
constexpr const char* kMaxima = "pausa más larga de todo el recorrido: %.0f ms (meta: 200 ms)\n";
constexpr const char* kSinPEPs = "bench-ventana: la detección no dejó filas para marcar\n";
}  // namespace textos

// Answers Yes/OK to every box, so the commands run to their end unattended.
class TDialogosSi : public IDialogos {
 public:
  void Mensaje(const std::string& s) override { std::fprintf(stderr, "[mensaje] %s\n", s.c_str()); }
  bool AdvertenciaSiNo(const std::string&) override { return true; }
  bool ErrorAceptarCancelar(const std::string& s) override {
    std::fprintf(stderr, "[error] %s\n", s.c_str());
    return true;
  }
};

// Ticks every 10 ms and keeps the longest time between two ticks.
class TMedidorPausas {
 public:
  TMedidorPausas() {
    F_Reloj.setInterval(10);
    F_Reloj.setTimerType(Qt::PreciseTimer);
    QObject::connect(&F_Reloj, &QTimer::timeout, [this] { Tic(); });
  }
  void Inicia() {
    F_nTics = 0;
    F_nLargas = 0;
    F_dMaxMs = 0;
    F_Ultimo.start();
    F_Reloj.start();
  }
  void Termina() {
    Tic();  // the stretch from the last tick to the end counts too
    F_Reloj.stop();
  }
  int Tics() const { return F_nTics; }
  int Largas() const { return F_nLargas; }
  double MaxMs() const { return F_dMaxMs; }

 private:
  void Tic() {
    const double dMs = static_cast<double>(F_Ultimo.nsecsElapsed()) / 1e6;
    F_Ultimo.restart();
    ++F_nTics;
    if (dMs > 200) ++F_nLargas;
    if (dMs > F_dMaxMs) F_dMaxMs = dMs;
  }
  QTimer F_Reloj;
  QElapsedTimer F_Ultimo;
  int F_nTics = 0;
  int F_nLargas = 0;
  double F_dMaxMs = 0;
};

struct TOpciones {
  long nOperaciones = 1000000;
  std::string sCarpeta;
};

std::optional<TOpciones> LeeOpciones(int argc, char** argv) {
  TOpciones o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string v = argv[++i];
    if (a == "--operaciones") {
      const auto r = std::from_chars(v.data(), v.data() + v.size(), o.nOperaciones);
      if (r.ec != std::errc{} || r.ptr != v.data() + v.size() || o.nOperaciones < 0)
        return std::nullopt;
    } else if (a == "--carpeta") {
      o.sCarpeta = v;
    } else {
      return std::nullopt;
    }
  }
  return o;
}

// Runs one command under the meter and prints its line; returns the longest gap.
double Mide(TMedidorPausas& medidor, const char* sNombre, QPushButton* bnBoton,
            const TfrmPrincipal& frm) {
  QElapsedTimer reloj;
  reloj.start();
  medidor.Inicia();
  bnBoton->click();
  medidor.Termina();
  std::printf(textos::kLinea, sNombre, static_cast<double>(reloj.nsecsElapsed()) / 1e9,
              medidor.Tics(), medidor.MaxMs(), medidor.Largas());
  std::printf(textos::kEstado, frm.txMensajes->text().toStdString().c_str());
  std::fflush(stdout);
  return medidor.MaxMs();
}

int Ejecuta(const TOpciones& o) {
  const bench::TCarpetaDemo demo(o.sCarpeta, o.nOperaciones, "bench-ventana");
  const fs::path& carpeta = demo.Ruta();
  FijaCarpetaPrograma(carpeta.string());
  AsignaDialogos(std::make_shared<TDialogosSi>());
  AsignaAbridorArchivos([](const std::string&) { return true; });  // no viewer opens
  ColectorConexiones = std::make_shared<TColectorConxs>();
  double dMax = 0;
  {
    TdmMain dm;
    TfrmPrincipal frm(dm, DameFabricaSITI2020());
    frm.show();
    QApplication::processEvents();
    frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
    frm.edPassw->setText(QString::fromLatin1(demo::kPasswordAdmin));

    TMedidorPausas medidor;
    dMax = Mide(medidor, textos::kDeteccion, frm.bnDetectaPEPs, frm);
    if (frm.dsPEPs()->rowCount() == 0) {
      std::fputs(textos::kSinPEPs, stderr);
    } else {
      dm.vtPEPs.SetEsPEP(0, true);
    }
    dMax = std::max(dMax, Mide(medidor, textos::kReporte, frm.bnGenReporte, frm));
  }
  ColectorConexiones.reset();
  std::printf(textos::kMaxima, dMax);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto opciones = LeeOpciones(argc, argv);
  if (!opciones) {
    std::fprintf(stderr, "%s%s%s", textos::kUso, bench::kAyudaCarpetaDemo, textos::kNotaCarpeta);
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication aplicacion(argc, argv);
  try {
    return Ejecuta(*opciones);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
