#pragma once
// Characters as the document layer compares them: UTF-8 to code points and back, letter
// case as Word's find treats it, and the characters an XML part can hold.
#include <string>

namespace kv::texto_word {

// Invalid UTF-8 sequences become U+FFFD.
std::u32string AU32(const std::string& sTexto);
std::string AUtf8(const std::u32string& sTexto);

// Simple case folding of one code point (one to one, so lengths are kept).
char32_t Pliega(char32_t c);
bool EsMayuscula(char32_t c);
bool EsMinuscula(char32_t c);
char32_t AMayuscula(char32_t c);
bool EsLetraODigito(char32_t c);

// True when a and b are equal ignoring letter case.
bool IgualesSinMayusculas(const std::u32string& a, const std::u32string& b);

// Drops the characters that XML 1.0 cannot hold (control characters other than tab and
// line ends, U+FFFE, U+FFFF, surrogates), so that no text from outside corrupts a part.
std::u32string SoloCaracteresXml(const std::u32string& sTexto);

}  // namespace kv::texto_word
