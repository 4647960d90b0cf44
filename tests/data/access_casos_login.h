#pragma once
// The login rules as one table of cases over one set of employees, run on the SQLite
// stand-in and on a written .mdb file.
#include <optional>
#include <string>

namespace kv::prueba {

struct TEmpleado {
  const char* clave;
  std::optional<const char*> passw;  // nullopt: a null password
  int nivel;
};

inline constexpr TEmpleado kEmpleados[] = {
    {"ADMIN", "SECRETO", 0}, {"SINCLAVE", std::nullopt, 0}, {"VACIA", "", 0},
    {"MINUS", "secreto", 0}, {"CAJERO", "CAJA", 3},         {"DOBLE", "PRIMERA", 0},
    {"doble", "SEGUNDA", 0}, {"O'BRIEN", "X", 0},           {"PEÑA", "Ñ", 0},
};

struct TCasoLogin {
  const char* clave;
  const char* passw;
  bool soloAdmins;
  bool acceso;
};

inline constexpr TCasoLogin kCasosLogin[] = {
    {"ADMIN", "SECRETO", true, true},
    {"ADMIN", "secreto", true, false},  // exact, case-sensitive comparison
    {"ADMIN", "", true, false},
    {"NADIE", "SECRETO", true, false},  // no row
    {"SINCLAVE", "", true, true},       // null password: admitted with anything
    {"SINCLAVE", "LOQUESEA", true, true},
    {"VACIA", "", true, true},  // empty text: only the empty password
    {"VACIA", "X", true, false},
    {"MINUS", "SECRETO", true, false},  // lower-case stored password never matches
    {"CAJERO", "CAJA", true, false},    // level not 0
    {"CAJERO", "CAJA", false, true},
    {"DOBLE", "PRIMERA", true, true},  // two rows for the key: the first counts
    {"DOBLE", "SEGUNDA", true, false},
    {"X' OR '1'='1", "", true, false},  // injection attempt: just a key not found
    {"' OR ''='", "", false, false},
    {"ADMIN' --", "", true, false},
    {"O'BRIEN", "X", true, true},  // an apostrophe in a key is a plain character
    {"PEÑA", "Ñ", true, true},
};

}  // namespace kv::prueba
