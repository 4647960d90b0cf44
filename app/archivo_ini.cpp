#include "app/archivo_ini.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

#include "diag/texto.h"

namespace kv {
namespace {

// Keys, sections and values without the control characters and spaces around them.
std::string Recorta(const std::string& s) {
  return kv::Recorta(s, kBlancosYControles);
}

bool IgualesSinCaso(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::optional<std::string> LeeTextoIni(const std::filesystem::path& ruta,
                                       const std::string& sSeccion, const std::string& sClave) {
  std::ifstream archivo(ruta, std::ios::binary);
  if (!archivo) return std::nullopt;
  std::string sLinea;
  bool bEnSeccion = false;
  bool bPrimera = true;
  while (std::getline(archivo, sLinea)) {
    if (bPrimera && sLinea.rfind("\xEF\xBB\xBF", 0) == 0) sLinea.erase(0, 3);
    bPrimera = false;
    const std::string s = Recorta(sLinea);
    if (s.empty() || s[0] == ';') continue;
    if (s[0] == '[') {
      const auto cierre = s.find(']');
      const std::string sNombre =
          Recorta(s.substr(1, cierre == std::string::npos ? s.npos : cierre - 1));
      // The first section of that name is the one read; a later one is ignored.
      if (bEnSeccion) return std::nullopt;
      bEnSeccion = IgualesSinCaso(sNombre, sSeccion);
      continue;
    }
    if (!bEnSeccion) continue;
    const auto igual = s.find('=');
    if (igual == std::string::npos) continue;
    if (!IgualesSinCaso(Recorta(s.substr(0, igual)), sClave)) continue;
    std::string sValor = Recorta(s.substr(igual + 1));
    if (sValor.size() >= 2 && (sValor.front() == '"' || sValor.front() == '\'') &&
        sValor.back() == sValor.front())
      sValor = sValor.substr(1, sValor.size() - 2);
    return sValor;
  }
  return std::nullopt;
}

int LeeEnteroIni(const std::filesystem::path& ruta, const std::string& sSeccion,
                 const std::string& sClave, int nDefecto) {
  const auto sValor = LeeTextoIni(ruta, sSeccion, sClave);
  if (!sValor || sValor->empty()) return nDefecto;
  const char* ini = sValor->data();
  const char* fin = ini + sValor->size();
  if (*ini == '+') ++ini;
  int n = 0;
  const auto [ptr, ec] = std::from_chars(ini, fin, n);
  if (ec != std::errc() || ptr != fin) return nDefecto;
  return n;
}

}  // namespace kv
