#pragma once
// Every text the connection/query layer reports, and the failure classes that name them.
#include <string>

namespace kv::textos_db {

inline constexpr const char* kClassConnection = "EConexionBD";
inline constexpr const char* kClassQuery = "EConsultaBD";

inline constexpr const char* kUnclosedQuote = "Cadena de conexión con comillas sin cerrar";
inline constexpr const char* kNoProvider = "La cadena de conexión no indica el proveedor";
inline constexpr const char* kConnectionClosed = "La conexión está cerrada";
inline constexpr const char* kConnectionBusy = "La conexión está ocupada con otra operación";
inline std::string providerUnavailable(const std::string& provider) {
  return "El proveedor \"" + provider + "\" no está disponible";
}
inline std::string providerOpenedNothing(const std::string& provider) {
  return "El proveedor \"" + provider + "\" no abrió la conexión";
}

inline constexpr const char* kQueryWithoutConnection = "La consulta no tiene conexión";
inline constexpr const char* kQueryClosed = "La consulta está cerrada";
inline constexpr const char* kNoCurrentRow = "No hay registro actual";
inline std::string fieldNotFound(const std::string& name) {
  return "No se encontró el campo " + name;
}

}  // namespace kv::textos_db
