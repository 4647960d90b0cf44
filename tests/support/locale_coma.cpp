#include "tests/support/locale_coma.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kv {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLocale = "es_ES.UTF-8";

// The folder holding the compiled locale, made on first use and removed at exit; empty
// when localedef failed.
const fs::path& CarpetaLocale() {
  struct TCarpeta {
    fs::path ruta;
    TCarpeta() {
      const fs::path p = fs::temp_directory_path() / ("kv-locale-" + std::to_string(::getpid()));
      std::error_code ec;
      fs::create_directories(p, ec);
      const std::string orden =
          "localedef -i es_ES -f UTF-8 '" + (p / kLocale).string() + "' > /dev/null 2>&1";
      // localedef warns (exit 1) on some systems while still writing the locale.
      std::system(orden.c_str());
      if (fs::exists(p / kLocale / "LC_NUMERIC", ec)) ruta = p;
    }
    ~TCarpeta() {
      std::error_code ec;
      if (!ruta.empty()) fs::remove_all(ruta, ec);
    }
  };
  static const TCarpeta carpeta;
  return carpeta.ruta;
}

}  // namespace

TLocaleComaDecimal::TLocaleComaDecimal() {
  const fs::path& ruta = CarpetaLocale();
  if (ruta.empty()) {
    ADD_FAILURE() << "localedef could not build " << kLocale << " (package locales)";
    return;
  }
  ::setenv("LOCPATH", ruta.c_str(), 1);
  if (!std::setlocale(LC_ALL, kLocale)) {
    ADD_FAILURE() << "setlocale(" << kLocale << ") failed";
    return;
  }
  F_bActivo = std::localeconv()->decimal_point == std::string(",");
  if (!F_bActivo) ADD_FAILURE() << kLocale << " has no comma as decimal separator";
}

TLocaleComaDecimal::~TLocaleComaDecimal() {
  std::setlocale(LC_ALL, "C");
  ::unsetenv("LOCPATH");
}

}  // namespace kv
