#pragma once
// Texts of the answers preview that are its own (the rest are the window's).
namespace kv::textos_respuestas {

inline constexpr const char* kUso =
    "Uso: respuestas CARPETA --tipo-cambio TC [--pep CLAVE]... [--respuestas-cc ARCHIVO]\n"
    "     respuestas CARPETA --peps\n"
    "Lee CARPETA/DataBase/Kavori.mdb y CARPETA/Kavori.INI; escribe una línea por pregunta\n"
    "(número, tabulador, respuesta) o, con --peps, los posibles PEP detectados.\n"
    "Con --respuestas-cc, las preguntas del centro cambiario llevan las respuestas de ARCHIVO\n"
    "(RespuestasCC.ini); un salto de línea de una respuesta se escribe como \\n.\n";
inline constexpr const char* kSinValor = "Falta el valor de ";
inline constexpr const char* kOpcionDesconocida = "Opción desconocida: ";
inline constexpr const char* kSinArchivoCC = "No existe el archivo de respuestas: ";

}  // namespace kv::textos_respuestas
