#pragma once
// Text helpers: Unicode letter case, case-insensitive replacement and the Windows-1252
// ("ANSI") code page. Free of the process locale.
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// The blanks Recorta takes off by default: space, tab and line ends.
inline constexpr std::string_view kBlancos = " \t\r\n";
// Every control character (NUL included) and the space: what an editor may leave around a
// value of a settings file.
inline constexpr char kControlesYEspacio[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                              11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                              22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
inline constexpr std::string_view kBlancosYControles(kControlesYEspacio, sizeof kControlesYEspacio);

// sTexto without the leading and trailing characters of sBlancos. Header-only: the
// database layer uses it without linking diag.
inline std::string Recorta(std::string_view sTexto, std::string_view sBlancos = kBlancos) {
  const auto nIni = sTexto.find_first_not_of(sBlancos);
  if (nIni == std::string_view::npos) return {};
  return std::string(sTexto.substr(nIni, sTexto.find_last_not_of(sBlancos) - nIni + 1));
}

// One Unicode character: case folded (upper and lower case alike), upper case, and its
// properties, one to one (no "ß" -> "SS").
char32_t PliegaMayusculas(char32_t c);
char32_t AMayuscula(char32_t c);
bool EsMayuscula(char32_t c);
bool EsMinuscula(char32_t c);
bool EsLetraODigito(char32_t c);
// UTF-8 to code points; each byte of an invalid sequence becomes U+FFFD (and *pValido
// false when given).
std::u32string AU32(const std::string& sTexto, bool* pValido = nullptr);
std::string AUtf8(const std::u32string& sTexto);
// Appends c to s as UTF-8.
void AgregaUtf8(std::string& s, char32_t c);
// Whether two texts are equal without regard to case (accented letters included).
bool IgualesSinMayusculas(const std::u32string& a, const std::u32string& b);
bool IgualesSinMayusculas(const std::string& a, const std::string& b);

// Replaces every occurrence of sAnterior, compared without regard to case (accented letters
// included), by sNuevo. An empty sAnterior leaves the text as it is.
std::string ReemplazaTexto(const std::string& sTexto, const std::string& sAnterior,
                           const std::string& sNuevo);

// UTF-8 to Windows-1252. Throws EConversionAnsi ("Falló la conversión String a PAnsiChar")
// when a character has no equivalent, the input is not valid UTF-8, or it holds a NUL
// (a zero-terminated result would lose what follows it).
std::string ACp1252(const std::string& sTexto);
// Windows-1252 to UTF-8; every byte has a meaning.
std::string DeCp1252(const std::string& sAnsi);

class EConversionAnsi : public std::runtime_error {
 public:
  EConversionAnsi();
};

}  // namespace kv
