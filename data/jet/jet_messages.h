#pragma once
// Every text the Jet engine shows to users (through "BD-101" reports and jetsql).
// Users are Spanish-speaking compliance staff, so the texts are Spanish.
#include <string>

namespace kv::jet::msg {

// Class name of every failure of the engine.
inline constexpr const char* kClass = "EJetError";

inline constexpr const char* kNoDataSource =
    "La cadena de conexión no indica el archivo (Data Source)";
inline constexpr const char* kNotAccess =
    "El archivo no es una base de datos de Access (Jet 3 o Jet 4)";
inline constexpr const char* kBadPassword = "La contraseña de la base de datos no es válida";
inline constexpr const char* kReadOnly =
    "La base de datos de Access se abre sólo para lectura: no se permiten DELETE ni TRUNCATE";
inline constexpr const char* kOnlySelect = "La instrucción no devuelve registros";
inline constexpr const char* kDivByZero = "División entre cero";
inline constexpr const char* kTypeMismatch = "Los tipos de datos no coinciden en la expresión";
inline constexpr const char* kOverflow = "Desbordamiento numérico";
inline constexpr const char* kTooLong = "La instrucción SQL es demasiado larga o anidada";
inline constexpr const char* kReaderFailed = "El archivo de Access está dañado o no se puede leer";
inline constexpr const char* kReaderHung = "La lectura del archivo de Access no terminó a tiempo";
inline constexpr const char* kBadArgument = "Argumento no válido en la llamada a una función";
inline constexpr const char* kBadPattern = "Patrón de LIKE no válido";

inline std::string cannotOpen(const std::string& path, const std::string& why) {
  return "No se puede abrir el archivo \"" + path + "\": " + why;
}
inline std::string fileEmpty(const std::string& path) {
  return "El archivo \"" + path + "\" está vacío o incompleto";
}
inline std::string unknownTable(const std::string& name) {
  return "No se encontró la tabla o consulta de entrada '" + name + "'";
}
inline std::string syntax(const std::string& detail, std::size_t pos) {
  return "Error de sintaxis en la instrucción SQL (posición " + std::to_string(pos + 1) +
         "): " + detail;
}
inline std::string unsupported(const std::string& what) {
  return "La instrucción SQL usa algo que el motor no admite: " + what;
}
inline std::string unknownFunction(const std::string& name) {
  return "Función no definida en la expresión: " + name;
}
inline std::string wrongArgs(const std::string& name) {
  return "Número de argumentos incorrecto en la función " + name;
}
inline std::string notAggregated(const std::string& column) {
  return "La consulta no incluye la expresión '" + column +
         "' como parte de una función de agregado ni en GROUP BY";
}
inline std::string invalidDate(const std::string& text) {
  return "Fecha no válida en la instrucción SQL: #" + text + "#";
}
inline std::string sqliteFailure(const std::string& detail) {
  return "Error al evaluar la consulta: " + detail;
}
inline std::string unknownColumn(const std::string& name) {
  return "No se encontró el campo '" + name + "'";
}
inline std::string readerSignal(int sig) {
  return std::string(kReaderFailed) + " (el lector terminó con la señal " + std::to_string(sig) +
         ")";
}
inline std::string readerError(const std::string& detail) {
  return std::string(kReaderFailed) + ": " + detail;
}

}  // namespace kv::jet::msg
