#include "diag/cli/opciones.h"

#include <algorithm>
#include <ostream>

#ifndef KV_VERSION
#error "KV_VERSION must name the version of the programs"
#endif

namespace kv::cli {

namespace {

constexpr std::string_view kAyuda = "--help";
constexpr std::string_view kAyudaCorta = "-h";
constexpr std::string_view kVersion = "--version";
constexpr std::string_view kFinOpciones = "--";

constexpr const char* kTxUso = "Uso: ";
constexpr const char* kTxMasInformacion = "Más información: ";
constexpr const char* kTxOpciones = "Opciones:\n";
constexpr const char* kTxEjemplo = "Ejemplo:\n";
constexpr const char* kTxEjemplos = "Ejemplos:\n";
constexpr const char* kTxAyuda = "muestra esta ayuda y termina";
constexpr const char* kTxVersion = "muestra la versión y termina";
constexpr const char* kTxDesconocida = "Opción desconocida: ";
constexpr const char* kTxSinValor = "Falta el valor de ";
constexpr const char* kTxNoLlevaValor = "No lleva valor: ";

// Characters as shown (UTF-8 continuation bytes do not count), for aligning columns.
std::size_t Ancho(std::string_view s) {
  return static_cast<std::size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

const TOpcion* BuscaOpcion(const TPrograma& p, std::string_view sNombre) {
  for (const TOpcion& o : p.opciones)
    if (o.sNombre == sNombre) return &o;
  return nullptr;
}

bool PareceOpcion(std::string_view s) {
  return s.size() > 1 && s[0] == '-';
}

}  // namespace

std::string_view VersionProgramas() {
  return KV_VERSION;
}

std::string Uso(const TPrograma& p) {
  std::string s;
  const std::string sSangria(Ancho(kTxUso), ' ');
  for (std::size_t i = 0; i < p.usos.size(); ++i) {
    s += i == 0 ? kTxUso : sSangria;
    s += p.sNombre;
    if (!p.usos[i].empty()) s.append(" ").append(p.usos[i]);
    s += '\n';
  }
  s.append(kTxMasInformacion).append(p.sNombre).append(" ").append(kAyuda).append("\n");
  return s;
}

std::string Ayuda(const TPrograma& p) {
  std::string s = Uso(p);
  s.erase(s.rfind(kTxMasInformacion));
  s.append("\n").append(p.sDescripcion);

  struct TRenglon {
    std::string sIzquierda;
    std::string_view sDescripcion;
  };
  std::vector<TRenglon> renglones;
  for (const TOpcion& o : p.opciones) {
    std::string sIzq(o.sNombre);
    if (!o.sValor.empty()) sIzq.append(" ").append(o.sValor);
    renglones.push_back({sIzq, o.sDescripcion});
  }
  renglones.push_back({std::string(kAyudaCorta) + ", " + std::string(kAyuda), kTxAyuda});
  renglones.push_back({std::string(kVersion), kTxVersion});
  std::size_t nAncho = 0;
  for (const TRenglon& r : renglones) nAncho = std::max(nAncho, Ancho(r.sIzquierda));
  s.append("\n").append(kTxOpciones);
  for (const TRenglon& r : renglones) {
    s.append("  ").append(r.sIzquierda);
    s.append(nAncho - Ancho(r.sIzquierda) + 2, ' ');
    s.append(r.sDescripcion).append("\n");
  }
  if (!p.ejemplos.empty()) {
    s.append("\n").append(p.ejemplos.size() == 1 ? kTxEjemplo : kTxEjemplos);
    for (std::string_view e : p.ejemplos) s.append("  ").append(e).append("\n");
  }
  return s;
}

std::string Version(const TPrograma& p) {
  return std::string(p.sNombre) + " " + std::string(VersionProgramas()) + "\n";
}

int ErrorDeUso(const TPrograma& p, std::string_view sMensaje, std::ostream& errores) {
  if (!sMensaje.empty()) errores << sMensaje << '\n';
  errores << Uso(p);
  errores.flush();
  return p.nEstadoUso;
}

std::optional<int> AtiendeAyudaOVersion(const TPrograma& p, int argc, const char* const* argv,
                                        std::ostream& salida) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == kFinOpciones) break;
    if (a == kAyuda || a == kAyudaCorta) {
      salida << Ayuda(p);
      salida.flush();
      return 0;
    }
    if (a == kVersion) {
      salida << Version(p);
      salida.flush();
      return 0;
    }
  }
  return std::nullopt;
}

TLinea LeeArgumentos(const TPrograma& p, int argc, const char* const* argv, std::ostream& salida,
                     std::ostream& errores) {
  TLinea linea;
  bool bSoloPosicionales = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (bSoloPosicionales || !PareceOpcion(a)) {
      linea.argumentos.push_back({"", std::string(a)});
      continue;
    }
    if (a == kFinOpciones) {
      bSoloPosicionales = true;
      continue;
    }
    if (a == kAyuda || a == kAyudaCorta || a == kVersion) {
      salida << (a == kVersion ? Version(p) : Ayuda(p));
      salida.flush();
      linea.nSalida = 0;
      return linea;
    }
    const std::size_t nIgual = a.find('=');
    const std::string_view sNombre = a.substr(0, nIgual);
    const TOpcion* o = a.rfind("--", 0) == 0 ? BuscaOpcion(p, sNombre) : nullptr;
    if (!o) {
      ErrorDeUso(p, std::string(kTxDesconocida) + std::string(a), errores);
      linea.nSalida = 2;
      return linea;
    }
    TArgumento arg{std::string(o->sNombre), ""};
    if (nIgual != std::string_view::npos) {
      if (o->sValor.empty()) {
        linea.nSalida = ErrorDeUso(p, std::string(kTxNoLlevaValor) + std::string(a), errores);
        return linea;
      }
      arg.sValor = std::string(a.substr(nIgual + 1));
    } else if (!o->sValor.empty()) {
      if (i + 1 >= argc) {
        linea.nSalida = ErrorDeUso(p, std::string(kTxSinValor) + std::string(a), errores);
        return linea;
      }
      arg.sValor = argv[++i];
    }
    linea.argumentos.push_back(std::move(arg));
  }
  return linea;
}

}  // namespace kv::cli
