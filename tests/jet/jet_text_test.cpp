// How Jet compares texts: case and trailing blanks ignored, accented letters by their
// upper case; the same order wherever the texts part, inside the first bytes or past
// them, inside a character of two bytes or at its start.
#include <gtest/gtest.h>

#include <string>

#include "jet/sql/jet_text.h"

namespace kv::jet {
namespace {

int Signo(int n) {
  return (n > 0) - (n < 0);
}

TEST(JetText, CompareTextWhereverTheTextsPart) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"", "", 0},
      {"", "   ", 0},
      {"a", "", 1},
      {"ana", "ANA", 0},
      {"ana  ", "ANA", 0},
      {"abc", "abcd", -1},
      {"abc", "abc d", -1},
      {"abcdefgh1", "ABCDEFGH2", -1},
      {"abcdefgh", "abcdefgh", 0},
      {"abcdefghijklmnopq", "abcdefghijklmnopQ", 0},
      {"abcdefghijklmnopq", "abcdefghijklmnopr", -1},
      // parting inside a character of two bytes (U+00E9 and U+00C9, U+00E8)
      {"12345678\xC3\xA9", "12345678\xC3\x89", 0},
      {"12345678\xC3\xA9", "12345678\xC3\xA8", 1},
      {"a\xC3\xA9z", "A\xC3\x89Z", 0},
      {"a\xC3\xA9", "a\xC3\xA8", 1},
      // an accented letter comes after every ASCII one
      {"abc\xC3\xA9", "abcf", 1},
      {"\xC3\x91\x61nd\xC3\xBA", "\xC3\x91\x41NDU", 1},
      {"\xC3\xB1\x61nd\xC3\xBA", "\xC3\x91\x41ND\xC3\x9A", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Signo(compareText(c.a, c.b)), c.expected) << c.a << " | " << c.b;
    EXPECT_EQ(Signo(compareText(c.b, c.a)), -c.expected) << c.b << " | " << c.a;
    // Sorting never parts what comparing keeps together.
    if (c.expected == 0) {
      EXPECT_EQ(compareTextForSort(c.a, c.b), 0) << c.a << " | " << c.b;
    }
  }
}

}  // namespace
}  // namespace kv::jet
