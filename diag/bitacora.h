#pragma once
// The error log support can ask for: every failure the program reports (database errors,
// a report that could not be made and why) is appended, with date and time, to one text
// file in the user's data folder of the program.
#include <string>

namespace kv {

// Full path of the log file: the user's data folder ($XDG_DATA_HOME, by default
// ~/.local/share) + "/cuestionario-operatividad/errores.log".
std::string DameRutaBitacora();
// Appends "yyyy-MM-dd HH:mm:ss  sTexto" as one entry; line breaks of the text are kept,
// indented. A log that cannot be written is passed over: logging never stops the program.
void RegistraEnBitacora(const std::string& sTexto);

}  // namespace kv
