#pragma once
// Number <-> text conversions of the C library that ignore the process locale: they run
// under the "C" locale whatever setlocale() chose (QApplication sets it from the
// environment), so the decimal separator is always "." and nothing is grouped.
#include <string>

namespace kv::db {

// snprintf under the "C" locale.
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// strtod under the "C" locale.
double strtodC(const char* text, char** end);

}  // namespace kv::db
