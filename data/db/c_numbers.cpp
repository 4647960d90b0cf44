#include "data/db/c_numbers.h"

#include <locale.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace kv::db {

namespace {

locale_t cLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// Switches this thread to the "C" locale for its lifetime.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(cLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

}  // namespace

std::string formatC(const char* format, ...) {
  CLocaleScope c;
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  char buf[128];
  const int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  std::string s;
  if (n >= 0 && static_cast<std::size_t>(n) < sizeof buf) {
    s.assign(buf, static_cast<std::size_t>(n));
  } else if (n >= 0) {
    s.resize(static_cast<std::size_t>(n));
    std::vsnprintf(s.data(), s.size() + 1, format, again);
  }
  va_end(again);
  return s;
}

double strtodC(const char* text, char** end) {
  return strtod_l(text, end, cLocale());
}

}  // namespace kv::db
