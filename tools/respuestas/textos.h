#pragma once
// Texts of the answers preview that are its own (the rest are the window's).
namespace kv::textos_respuestas {

inline constexpr const char* kUso =
    "Uso: respuestas CARPETA --tipo-cambio TC [--pep CLAVE]... [--evidencia SALIDA.xlsx]\n"
    "     respuestas CARPETA --peps\n"
    "Lee CARPETA/DataBase/Kavori.mdb y CARPETA/Kavori.INI; escribe una línea por pregunta\n"
    "(número, tabulador, respuesta) o, con --peps, los posibles PEP detectados.\n"
    "Con --evidencia guarda además el libro de Excel con la evidencia de cada respuesta.\n";
inline constexpr const char* kSinValor = "Falta el valor de ";
inline constexpr const char* kOpcionDesconocida = "Opción desconocida: ";

}  // namespace kv::textos_respuestas
