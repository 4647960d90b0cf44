#include "jet/sql/jet_text.h"

#include <locale.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "data/db/c_numbers.h"
#include "diag/texto.h"

namespace kv::jet {

namespace {

// glibc's C.UTF-8 carries the full Unicode simple case mapping.
locale_t caseLocale() {
  static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return loc;
}

char32_t latin1Upper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  return c;
}

char32_t latin1Lower(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

}  // namespace

char32_t nextChar(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    ++i;
    return b0;
  }
  char32_t c = b0 & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return b0;
    }
    c = (c << 6) | (b & 0x3F);
  }
  i += len;
  return c;
}

char32_t upperChar(char32_t c) {
  if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - 32 : c;
  // Dotless i and long s have no one-to-one upper case in Windows' mapping.
  if (c == 0x131 || c == 0x17F) return c;
  locale_t loc = caseLocale();
  if (loc == static_cast<locale_t>(nullptr)) return latin1Upper(c);
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), loc));
}

char32_t lowerChar(char32_t c) {
  if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 32 : c;
  if (c == 0x130) return c;
  locale_t loc = caseLocale();
  if (loc == static_cast<locale_t>(nullptr)) return latin1Lower(c);
  return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), loc));
}

namespace {
template <typename F>
std::string mapChars(std::string_view s, F f) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) AgregaUtf8(out, f(nextChar(s, i)));
  return out;
}
}  // namespace

std::string toUpper(std::string_view s) {
  return mapChars(s, upperChar);
}
std::string toLower(std::string_view s) {
  return mapChars(s, lowerChar);
}

int compareText(std::string_view a, std::string_view b) {
  while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
  while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
  // Identical bytes are equal characters in any case: the comparison starts where the
  // texts part, back at the start of that character. Sorting and grouping mostly compare
  // a text with an equal one, or with one that shares its first characters.
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t k = 0;
  while (k + 8 <= n && std::memcmp(a.data() + k, b.data() + k, 8) == 0) k += 8;
  while (k < n && a[k] == b[k]) ++k;
  if (k == a.size() && k == b.size()) return 0;
  auto continuation = [&](std::size_t at) {
    auto inside = [&](std::string_view s) {
      return at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80;
    };
    return inside(a) || inside(b);
  };
  while (k > 0 && continuation(k)) --k;
  std::size_t i = k, j = k;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      // ASCII fast path.
      const int ua = (ca >= 'a' && ca <= 'z') ? ca - 32 : ca;
      const int ub = (cb >= 'a' && cb <= 'z') ? cb - 32 : cb;
      if (ua != ub) return ua < ub ? -1 : 1;
      ++i;
      ++j;
      continue;
    }
    const char32_t ua = upperChar(nextChar(a, i));
    const char32_t ub = upperChar(nextChar(b, j));
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

namespace {

// Base letters of the accented Latin letters U+00C0..U+017F ('.': not a letter; '*': a
// letter written as two, see kSortPairs). Upper and lower case share a base.
constexpr std::string_view kSortBase =
    // U+00C0..U+00FF
    "AAAAAA*CEEEEIIIIDNOOOOO.OUUUUY*"
    "*AAAAAA*CEEEEIIIIDNOOOOO.OUUUUY*Y"
    // U+0100..U+017F
    "AAAAAACCCCCCCCDDDDEEEEEEEEEEGGGGGGGGHHHHIIIIIIIIII**JJKKKLLLLLLLLLLNNNNNNNNNOOOOOO**"
    "RRRRRRSSSSSSSSTTTTTTUUUUUUUUUUUUWWYYYZZZZZZS";

struct SortPair {
  char32_t c;
  char first, second;
};
constexpr SortPair kSortPairs[] = {{0xC6, 'A', 'E'},  {0xDE, 'T', 'H'},  {0xDF, 'S', 'S'},
                                   {0xE6, 'A', 'E'},  {0xFE, 'T', 'H'},  {0x132, 'I', 'J'},
                                   {0x133, 'I', 'J'}, {0x152, 'O', 'E'}, {0x153, 'O', 'E'}};

// Primary sort weights: class (symbols 0, digits 1, letters 2, other scripts 3) above
// the value inside the class.
constexpr std::uint32_t weight(std::uint32_t cls, char32_t value) {
  return (cls << 24) | static_cast<std::uint32_t>(value);
}

// Reads the primary weights of a text one by one (a two-letter character gives two).
class SortKeys {
 public:
  explicit SortKeys(std::string_view s) : s_(s) {}
  bool next(std::uint32_t& w) {
    if (pending_) {
      w = pending_;
      pending_ = 0;
      return true;
    }
    if (i_ >= s_.size()) return false;
    const char32_t c = upperChar(nextChar(s_, i_));
    if (c < 0x80) {
      if (c >= U'A' && c <= U'Z') {
        w = weight(2, c);
      } else if (c >= U'0' && c <= U'9') {
        w = weight(1, c);
      } else {
        w = weight(0, c);
      }
      return true;
    }
    if (c >= 0xC0 && c < 0xC0 + kSortBase.size()) {
      const char base = kSortBase[c - 0xC0];
      if (base == '*') {
        for (const SortPair& p : kSortPairs)
          if (p.c == c) {
            w = weight(2, static_cast<unsigned char>(p.first));
            pending_ = weight(2, static_cast<unsigned char>(p.second));
            return true;
          }
      }
      w = base == '.' ? weight(0, c) : weight(2, static_cast<unsigned char>(base));
      return true;
    }
    w = c < 0xC0 ? weight(0, c) : weight(3, c);
    return true;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
  std::uint32_t pending_ = 0;
};

}  // namespace

int compareTextForSort(std::string_view a, std::string_view b) {
  while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
  while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
  if (a == b) return 0;
  SortKeys ka(a), kb(b);
  for (;;) {
    std::uint32_t wa = 0, wb = 0;
    const bool ha = ka.next(wa), hb = kb.next(wb);
    if (!ha || !hb) {
      if (ha != hb) return ha ? 1 : -1;
      break;
    }
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return compareText(a, b);
}

std::string cstrNumber(double d) {
  if (d == 0) return "0";
  // %G writes two exponent digits at least ("1E+15"), as CStr does.
  return kv::db::formatC("%.15G", d);
}

namespace {
// STR's leading blank before a non-negative number.
std::string withSign(bool nonNegative, const std::string& digits) {
  std::string s;
  s.reserve(digits.size() + 1);
  if (nonNegative) s += ' ';
  s += digits;
  return s;
}
}  // namespace

std::string strOfNumber(double d) {
  return withSign(d >= 0, cstrNumber(d));
}

std::string strOfInteger(std::int64_t v) {
  return withSign(v >= 0, std::to_string(v));
}

double roundHalfEven(double x, int digits) {
  if (!std::isfinite(x)) return x;
  if (digits <= 0) return std::nearbyint(x);  // default rounding mode: ties to even
  if (digits > 15) return x;
  // printf rounds the exact binary value, ties to even, like Jet's ROUND.
  const std::string s = kv::db::formatC("%.*f", digits, x);
  return kv::db::strtodC(s.c_str(), nullptr);
}

}  // namespace kv::jet
