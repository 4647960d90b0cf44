#pragma once
// Command line of every program. Each program describes its usage, options and an example
// as data (a TPrograma); reading the arguments, "--help", "--version", unknown options and
// missing values are answered here the same way for all of them.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {

// One option of a program: its long name ("--tipo-cambio"), the placeholder of its value
// ("TC"; empty when it takes none) and what it does (Spanish, one line).
struct TOpcion {
  std::string_view sNombre;
  std::string_view sValor;
  std::string_view sDescripcion;
};

// What a program tells about itself.
struct TPrograma {
  std::string_view sNombre;                // "respuestas"
  std::vector<std::string_view> usos;      // argument forms after the name, one per line
  std::string_view sDescripcion;           // what it does; lines end with "\n"
  std::vector<TOpcion> opciones;           // its own options; "--help" and "--version" are added
  std::vector<std::string_view> ejemplos;  // whole command lines
  int nEstadoUso = 2;  // exit status of a usage error other than an unknown option
};

// One argument as read: an option with its value (empty when it takes none), or a positional
// argument (empty sOpcion).
struct TArgumento {
  std::string sOpcion;
  std::string sValor;
  bool EsPosicional() const { return sOpcion.empty(); }
};

struct TLinea {
  std::vector<TArgumento> argumentos;
  // Set when the program ends here with this status: "--help" or "--version" answered, or a
  // usage error written.
  std::optional<int> nSalida;
};

// The version of the programs ("1.0.0").
std::string_view VersionProgramas();

// "Uso: " lines and the pointer to "--help".
std::string Uso(const TPrograma& p);
// Usage, description, options, examples.
std::string Ayuda(const TPrograma& p);
// "respuestas 1.0.0\n".
std::string Version(const TPrograma& p);

// Reads argv[1..argc-1] in order. "--" ends the options; "-h"/"--help" writes the help to
// `salida`; "--version" writes the version there; an unknown option writes its name and the
// usage to `errores` (status 2); an option without its value, the same with the program's
// usage status. "--opcion=VALOR" is the same as "--opcion VALOR".
TLinea LeeArgumentos(const TPrograma& p, int argc, const char* const* argv, std::ostream& salida,
                     std::ostream& errores);

// Only "-h"/"--help" and "--version" (before any "--"), for a program that must answer them
// before other parts read the rest of its line (the window, ahead of its toolkit's options).
std::optional<int> AtiendeAyudaOVersion(const TPrograma& p, int argc, const char* const* argv,
                                        std::ostream& salida);

// Writes sMensaje (one line, when not empty) and the usage to `errores`; returns the program's
// usage status.
int ErrorDeUso(const TPrograma& p, std::string_view sMensaje, std::ostream& errores);

}  // namespace kv::cli
