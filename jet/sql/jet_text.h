#pragma once
// Text and number helpers with Jet's rules: case folding of Unicode letters, text
// comparison ignoring case and trailing blanks, and number-to-text forms.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::jet {

// Decodes one UTF-8 character at s[i] and advances i; invalid bytes come back as
// themselves (Latin-1 reading) so that no input is rejected.
char32_t nextChar(std::string_view s, std::size_t& i);

// Upper case of one character, one to one (no ß -> SS; dotless i stays).
char32_t upperChar(char32_t c);
char32_t lowerChar(char32_t c);
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);

// Jet text comparison: trailing blanks ignored, letters compared without case.
// Returns <0, 0, >0.
int compareText(std::string_view a, std::string_view b);
// Whether two names (of tables, fields, aliases) are the same to Jet.
inline bool sameName(std::string_view a, std::string_view b) {
  return compareText(a, b) == 0;
}

// Jet's General sort order for ORDER BY: blanks and symbols before digits before
// letters, an accented letter with its base letter ("Ángel" before "Bruno"), and only
// texts that tie there are told apart by compareText. Returns 0 exactly when
// compareText does, so it never splits what = and GROUP BY keep together.
int compareTextForSort(std::string_view a, std::string_view b);

// CStr form of a number: 15 significant digits, "." separator, "1E+15" style.
std::string cstrNumber(double d);
// STR(): a blank before a non-negative number, then the CStr form.
std::string strOfNumber(double d);
std::string strOfInteger(std::int64_t v);

// Jet's ROUND: half to even on the binary value, to `digits` decimals.
double roundHalfEven(double x, int digits);

}  // namespace kv::jet
