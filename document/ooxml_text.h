#pragma once
// Characters as the document layer compares them: UTF-8 to code points and back, letter
// case as Word's find treats it (diag/texto.h), and the characters an XML part can hold.
#include <string>

#include "diag/texto.h"

namespace kv::ooxml {

using ::kv::AMayuscula;
using ::kv::AU32;
using ::kv::AUtf8;
using ::kv::EsLetraODigito;
using ::kv::EsMayuscula;
using ::kv::EsMinuscula;
using ::kv::IgualesSinMayusculas;

// Simple case folding of one code point (one to one, so lengths are kept).
inline char32_t foldCase(char32_t c) {
  return PliegaMayusculas(c);
}

// Drops the characters that XML 1.0 cannot hold (control characters other than tab and
// line ends, U+FFFE, U+FFFF, surrogates), so that no text from outside corrupts a part.
std::u32string xmlCharsOnly(const std::u32string& sTexto);

}  // namespace kv::ooxml
