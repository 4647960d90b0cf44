#pragma once
// Text helpers: case-insensitive replacement and the Windows-1252 ("ANSI") code page.
#include <stdexcept>
#include <string>

namespace kv {

// Replaces every occurrence of sAnterior, compared without regard to case (accented letters
// included), by sNuevo. An empty sAnterior leaves the text as it is.
std::string ReemplazaTexto(const std::string& sTexto, const std::string& sAnterior,
                           const std::string& sNuevo);

// UTF-8 to Windows-1252. Throws EConversionAnsi ("Falló la conversión String a PAnsiChar")
// when a character has no equivalent, the input is not valid UTF-8, or it holds a NUL
// (a zero-terminated result would lose what follows it).
std::string ACp1252(const std::string& sTexto);
// Windows-1252 to UTF-8; every byte has a meaning.
std::string DeCp1252(const std::string& sAnsi);

class EConversionAnsi : public std::runtime_error {
 public:
  EConversionAnsi();
};

}  // namespace kv
