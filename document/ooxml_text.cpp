#include "document/ooxml_text.h"

namespace kv::ooxml {

std::u32string xmlCharsOnly(const std::u32string& sTexto) {
  std::u32string r;
  r.reserve(sTexto.size());
  for (char32_t c : sTexto) {
    bool bValido = c == U'\t' || c == U'\n' || c == U'\r' || (c >= 0x20 && c < 0xD800) ||
                   (c > 0xDFFF && c < 0xFFFE) || (c >= 0x10000 && c <= 0x10FFFF);
    if (bValido) r.push_back(c);
  }
  return r;
}

}  // namespace kv::ooxml
