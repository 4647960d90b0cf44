// Letter case of ASCII names, as Jet compares table and column names.
#pragma once

#include <string>

namespace kv::mdbw {

inline std::string lowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return s;
}

}  // namespace kv::mdbw
