#pragma once
// Every text that the diagnostics library shows to the user.
namespace kv::textos {

// Message boxes and dialogs.
inline constexpr const char* kTituloAdvertencia = "Advertencia";
inline constexpr const char* kTituloError = "Error";
inline constexpr const char* kBotonSi = "&Sí";
inline constexpr const char* kBotonNo = "&No";
inline constexpr const char* kBotonAceptar = "Aceptar";
inline constexpr const char* kBotonCancelar = "Cancelar";

// Error catalogue and error layouts.
inline constexpr const char* kPrefijoError = "Error #";
inline constexpr const char* kErrorDesconocido = "Error desconocido";
inline constexpr const char* kClaveErrorBD = "BD-101";
inline constexpr const char* kMsjErrorBD = "Llame a Soporte Técnico.";
inline constexpr const char* kClaveRepetida = "Clave de error repetida en el catálogo: ";

// Program utilities.
inline constexpr const char* kFalloConversionAnsi = "Falló la conversión String a PAnsiChar";

}  // namespace kv::textos
