#pragma once
// Texts of the answers preview that are its own (the rest are the window's).
#include <string>

#include "diag/cli/opciones.h"

namespace kv::textos_respuestas {

// Its command line: usage, options and examples.
inline const cli::TPrograma kPrograma{
    "respuestas",
    {"CARPETA --tipo-cambio TC [--pep CLAVE]...", "CARPETA --peps"},
    "Lee CARPETA/DataBase/Kavori.mdb y CARPETA/Kavori.INI; escribe una línea por pregunta\n"
    "(número, tabulador, respuesta) o, con --peps, los posibles PEP detectados. Sólo lee la "
    "base.\n",
    {{"--tipo-cambio", "TC", "tipo de cambio promedio de 2019 (con punto decimal)"},
     {"--pep", "CLAVE", "marca como PEP al cliente detectado con esa clave (se puede repetir)"},
     {"--peps", "",
      "escribe los posibles PEP detectados (Id, clave, nombre) en vez de respuestas"}},
    {"respuestas /srv/kavori --peps", "respuestas /srv/kavori --tipo-cambio 19.26 --pep PEP001"},
    2};

inline const std::string kArgumentoDeMas = "Argumento de más: ";

}  // namespace kv::textos_respuestas
