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

}  // namespace kv
