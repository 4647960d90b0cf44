#pragma once
// Small text helpers of the data-access classes.
#include <algorithm>
#include <string>

namespace kv {

// True when the text is empty or made of blanks and control characters only (what a
// trim would remove).
inline bool EnBlanco(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](unsigned char c) { return c <= ' '; });
}

// The text between two cQuote, each cQuote inside doubled (an SQL literal with '\'', a
// connection-string value with '"').
inline std::string Entrecomillado(const std::string& s, char cQuote) {
  std::string out(1, cQuote);
  for (char c : s) {
    out += c;
    if (c == cQuote) out += cQuote;
  }
  return out + cQuote;
}

}  // namespace kv
