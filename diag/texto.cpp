#include "diag/texto.h"

#include <locale.h>
#include <wctype.h>

#include <array>

#include "diag/textos.h"

namespace kv {
namespace {

// Unicode of the bytes 0x80 to 0x9F; the five unassigned bytes stand for the C1 controls
// of the same number, as Windows converts them.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t UnicodeDe(unsigned char c) {
  return (c >= 0x80 && c <= 0x9F) ? kAlto[c - 0x80] : static_cast<char16_t>(c);
}

// Unicode letter properties without regard to the process locale.
locale_t LocaleUnicode() {
  static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

char32_t PliegaMayusculas(char32_t c) {
  const locale_t loc = LocaleUnicode();
  return static_cast<char32_t>(towlower_l(towupper_l(static_cast<wint_t>(c), loc), loc));
}
char32_t AMayuscula(char32_t c) {
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), LocaleUnicode()));
}
bool EsMayuscula(char32_t c) {
  return iswupper_l(static_cast<wint_t>(c), LocaleUnicode()) != 0;
}
bool EsMinuscula(char32_t c) {
  return iswlower_l(static_cast<wint_t>(c), LocaleUnicode()) != 0;
}
bool EsLetraODigito(char32_t c) {
  return iswalnum_l(static_cast<wint_t>(c), LocaleUnicode()) != 0;
}

std::u32string AU32(const std::string& sTexto, bool* pValido) {
  std::u32string r;
  r.reserve(sTexto.size());
  if (pValido) *pValido = true;
  const auto* p = reinterpret_cast<const unsigned char*>(sTexto.data());
  const std::size_t n = sTexto.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = p[i];
    int nSiguen = 0;
    char32_t c = 0, cMinimo = 0;
    if (b < 0x80) {
      r.push_back(b);
      ++i;
      continue;
    }
    if ((b & 0xE0) == 0xC0)
      c = b & 0x1F, nSiguen = 1, cMinimo = 0x80;
    else if ((b & 0xF0) == 0xE0)
      c = b & 0x0F, nSiguen = 2, cMinimo = 0x800;
    else if ((b & 0xF8) == 0xF0)
      c = b & 0x07, nSiguen = 3, cMinimo = 0x10000;
    std::size_t j = i + 1;
    bool bValido = nSiguen > 0;
    for (int k = 0; bValido && k < nSiguen; ++k, ++j) {
      if (j >= n || (p[j] & 0xC0) != 0x80)
        bValido = false;
      else
        c = (c << 6) | (p[j] & 0x3F);
    }
    if (!bValido || c < cMinimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      r.push_back(0xFFFD);  // resynchronise on the next byte
      if (pValido) *pValido = false;
      ++i;
      continue;
    }
    r.push_back(c);
    i = j;
  }
  return r;
}

std::string AUtf8(const std::u32string& sTexto) {
  std::string r;
  r.reserve(sTexto.size());
  for (char32_t c : sTexto) AgregaUtf8(r, c);
  return r;
}

bool IgualesSinMayusculas(const std::u32string& a, const std::u32string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (PliegaMayusculas(a[i]) != PliegaMayusculas(b[i])) return false;
  return true;
}

void AgregaUtf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IgualesSinMayusculas(const std::string& a, const std::string& b) {
  return IgualesSinMayusculas(AU32(a), AU32(b));
}

EConversionAnsi::EConversionAnsi() : std::runtime_error(textos::kFalloConversionAnsi) {}

std::string ReemplazaTexto(const std::string& sTexto, const std::string& sAnterior,
                           const std::string& sNuevo) {
  if (sAnterior.empty()) return sTexto;
  const std::u32string texto = AU32(sTexto);
  std::u32string buscado = AU32(sAnterior);
  for (char32_t& c : buscado) c = PliegaMayusculas(c);
  std::string r;
  r.reserve(sTexto.size());
  for (std::size_t i = 0; i < texto.size();) {
    bool bCoincide = i + buscado.size() <= texto.size();
    for (std::size_t k = 0; bCoincide && k < buscado.size(); ++k)
      bCoincide = PliegaMayusculas(texto[i + k]) == buscado[k];
    if (bCoincide) {
      r += sNuevo;
      i += buscado.size();
    } else {
      AgregaUtf8(r, texto[i++]);
    }
  }
  return r;
}

std::string ACp1252(const std::string& sTexto) {
  bool bValido = true;
  const std::u32string texto = AU32(sTexto, &bValido);
  if (!bValido) throw EConversionAnsi();
  std::string sAnsi;
  sAnsi.reserve(texto.size());
  for (const char32_t u : texto) {
    if (u == 0) throw EConversionAnsi();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      sAnsi.push_back(static_cast<char>(u));
      continue;
    }
    size_t i = 0;
    while (i < kAlto.size() && kAlto[i] != u) ++i;
    if (i == kAlto.size()) throw EConversionAnsi();
    sAnsi.push_back(static_cast<char>(0x80 + i));
  }
  return sAnsi;
}

std::string DeCp1252(const std::string& sAnsi) {
  std::string s;
  s.reserve(sAnsi.size() * 2);
  for (const char c : sAnsi) AgregaUtf8(s, UnicodeDe(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace kv
