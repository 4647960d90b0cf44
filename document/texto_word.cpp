#include "document/texto_word.h"

#include <QChar>

namespace kv::texto_word {

std::u32string AU32(const std::string& sTexto) {
  std::u32string r;
  r.reserve(sTexto.size());
  const auto* p = reinterpret_cast<const unsigned char*>(sTexto.data());
  size_t n = sTexto.size(), i = 0;
  while (i < n) {
    unsigned char b = p[i];
    int nSiguen = 0;
    char32_t c = 0;
    char32_t cMinimo = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F, nSiguen = 1, cMinimo = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F, nSiguen = 2, cMinimo = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07, nSiguen = 3, cMinimo = 0x10000;
    } else {
      r.push_back(0xFFFD);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool bValido = true;
    for (int k = 0; k < nSiguen; ++k, ++j) {
      if (j >= n || (p[j] & 0xC0) != 0x80) {
        bValido = false;
        break;
      }
      c = (c << 6) | (p[j] & 0x3F);
    }
    if (!bValido || c < cMinimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      r.push_back(0xFFFD);  // resynchronise on the next byte
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
  for (char32_t c : sTexto) {
    if (c < 0x80) {
      r.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      r.push_back(static_cast<char>(0xC0 | (c >> 6)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      r.push_back(static_cast<char>(0xE0 | (c >> 12)));
      r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      r.push_back(static_cast<char>(0xF0 | (c >> 18)));
      r.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return r;
}

char32_t Pliega(char32_t c) {
  return QChar::toCaseFolded(c);
}
bool EsMayuscula(char32_t c) {
  return QChar::isUpper(c);
}
bool EsMinuscula(char32_t c) {
  return QChar::isLower(c);
}
char32_t AMayuscula(char32_t c) {
  return QChar::toUpper(c);
}
bool EsLetraODigito(char32_t c) {
  return QChar::isLetterOrNumber(c);
}

bool IgualesSinMayusculas(const std::u32string& a, const std::u32string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Pliega(a[i]) != Pliega(b[i])) return false;
  return true;
}

std::u32string SoloCaracteresXml(const std::u32string& sTexto) {
  std::u32string r;
  r.reserve(sTexto.size());
  for (char32_t c : sTexto) {
    bool bValido = c == U'\t' || c == U'\n' || c == U'\r' || (c >= 0x20 && c < 0xD800) ||
                   (c > 0xDFFF && c < 0xFFFE) || (c >= 0x10000 && c <= 0x10FFFF);
    if (bValido) r.push_back(c);
  }
  return r;
}

}  // namespace kv::texto_word
