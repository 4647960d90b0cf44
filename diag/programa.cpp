#include "diag/programa.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "diag/texto.h"

namespace fs = std::filesystem;

namespace kv {
namespace {

std::mutex& Candado() {
  static std::mutex m;
  return m;
}

std::optional<std::string>& CarpetaFijada() {
  static std::optional<std::string> carpeta;
  return carpeta;
}

// Until the window installs the desktop's opener (diag/qt/escritorio.h) nothing opens.
bool SinAbridor(const std::string& sArchivo) {
  throw std::logic_error("no desktop opener installed to open " + sArchivo);
}

TAbridorArchivos& Abridor() {
  static TAbridorArchivos abridor = SinAbridor;
  return abridor;
}

bool MismoNombreSinCaso(const std::string& a, const std::string& b) {
  return IgualesSinMayusculas(a, b);
}

}  // namespace

std::string DameRutaEjecutable() {
  std::error_code ec;
  const fs::path real = fs::read_symlink("/proc/self/exe", ec);
  {
    std::lock_guard<std::mutex> guard(Candado());
    if (CarpetaFijada()) return *CarpetaFijada() + kSeparador + real.filename().string();
  }
  return real.string();
}

std::string DameCarpetaExe() {
  {
    std::lock_guard<std::mutex> guard(Candado());
    if (CarpetaFijada()) return *CarpetaFijada();
  }
  return fs::path(DameRutaEjecutable()).parent_path().string();
}

void FijaCarpetaPrograma(std::optional<std::string> sCarpeta) {
  if (sCarpeta) {
    while (sCarpeta->size() > 1 && sCarpeta->back() == kSeparador) sCarpeta->pop_back();
  }
  std::lock_guard<std::mutex> guard(Candado());
  CarpetaFijada() = std::move(sCarpeta);
}

bool EjecutaArchivo(const std::string& sArchivo, int /*nFormaMostrar*/) {
  std::error_code ec;
  if (!fs::exists(sArchivo, ec) || fs::is_directory(sArchivo, ec)) return true;
  TAbridorArchivos abridor;
  {
    std::lock_guard<std::mutex> guard(Candado());
    abridor = Abridor();
  }
  try {
    abridor(sArchivo);  // a failure reported by the desktop is not the caller's concern
  } catch (...) {
    return false;
  }
  return true;
}

TAbridorArchivos AsignaAbridorArchivos(TAbridorArchivos abridor) {
  if (!abridor) abridor = SinAbridor;
  std::lock_guard<std::mutex> guard(Candado());
  std::swap(Abridor(), abridor);
  return abridor;
}

std::optional<std::string> BuscaArchivoIgnorandoMayusculas(const std::string& sCarpeta,
                                                           const std::string& sRelativa) {
  std::vector<std::string> partes;
  std::string parte;
  for (const char c : sRelativa + kSeparador) {
    if (c == '/' || c == '\\') {
      if (!parte.empty() && parte != ".") partes.push_back(parte);
      parte.clear();
    } else {
      parte.push_back(c);
    }
  }
  if (partes.empty()) return std::nullopt;

  std::error_code ec;
  fs::path actual(sCarpeta);
  for (size_t i = 0; i < partes.size(); ++i) {
    const bool bUltima = i + 1 == partes.size();
    const auto sirve = [bUltima](const fs::path& p) {
      std::error_code ec2;
      return bUltima ? fs::is_regular_file(p, ec2) : fs::is_directory(p, ec2);
    };
    if (sirve(actual / partes[i])) {
      actual /= partes[i];
      continue;
    }
    // Several spellings may exist: take the first in name order so the choice is stable.
    std::vector<std::string> candidatos;
    for (fs::directory_iterator it(actual, ec), fin; !ec && it != fin; it.increment(ec)) {
      const std::string nombre = it->path().filename().string();
      if (MismoNombreSinCaso(nombre, partes[i]) && sirve(it->path())) candidatos.push_back(nombre);
    }
    if (candidatos.empty()) return std::nullopt;
    actual /= *std::min_element(candidatos.begin(), candidatos.end());
  }
  return actual.string();
}

}  // namespace kv
