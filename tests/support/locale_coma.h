#pragma once
// A real comma-decimal C library locale for tests, as a Spanish system has it: es_ES
// compiled once per process with localedef into a temporary LOCPATH.
namespace kv {

// While alive, the process's C library locale is es_ES.UTF-8 (decimal separator ",",
// thousands "."), set with setlocale as QApplication does; "C" again afterwards. A test
// fails (not skips) when the locale cannot be built.
class TLocaleComaDecimal {
 public:
  TLocaleComaDecimal();
  ~TLocaleComaDecimal();
  TLocaleComaDecimal(const TLocaleComaDecimal&) = delete;
  TLocaleComaDecimal& operator=(const TLocaleComaDecimal&) = delete;

  // Whether the locale is in force (the decimal separator is a comma).
  bool Activo() const { return F_bActivo; }

 private:
  bool F_bActivo = false;
};

}  // namespace kv
