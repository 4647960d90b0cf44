#pragma once
// Texts of the data-access subsystem that reach the user (inside "BD-101" reports),
// kept in one place.
#include <string>

namespace kv::textos_datos {

// Error code and fixed values of the data-access classes.
inline constexpr const char* kErrorBD = "BD-101";
inline constexpr const char* kPasswBDPrinc = "quokka";
inline constexpr const char* kNomBDPrinc = "BDPrincipal";

// Failure class of errors that are not database errors (file copy, unexpected ones).
inline constexpr const char* kClaseFallaGeneral = "Exception";
inline constexpr const char* kClaseFallaCopia = "EInOutError";
inline constexpr const char* kFallaDesconocida = "Falla desconocida";

inline std::string FallaCopia(const std::string& sOrigen, const std::string& sDestino,
                              const std::string& sCausa) {
  return "No se pudo copiar \"" + sOrigen + "\" a \"" + sDestino + "\": " + sCausa;
}

// SQL Server through ODBC.
inline constexpr const char* kClaseErrorOdbc = "EOdbcError";
inline constexpr const char* kOdbcSinRegistros =
    "La instrucción no devolvió un conjunto de registros";
inline constexpr const char* kOdbcSinDiagnostico = "El controlador ODBC no dio más detalles";
inline constexpr const char* kOdbcFallaAmbiente = "No se pudo preparar el ambiente ODBC";

}  // namespace kv::textos_datos
