#pragma once
// Where the program lives, opening files with the desktop's associated program, and finding
// files whatever the letter case of their names (the back office's files come from Windows).
#include <functional>
#include <optional>
#include <string>

namespace kv {

inline constexpr char kSeparador = '/';
// Window show mode of the old shell call; the desktop decides how to show the file.
inline constexpr int kMostrarNormal = 1;

// Full path of the executable (its real path, links resolved).
std::string DameRutaEjecutable();
// Folder of the executable without the final separator.
std::string DameCarpetaExe();
// Replaces the program folder for the rest of the process (tests that run the program's
// code over a prepared folder); an empty value goes back to the executable's folder.
void FijaCarpetaPrograma(std::optional<std::string> sCarpeta);

// Opens an existing file with its associated program; does nothing for a missing one.
// False only when the opener raised; true otherwise, also when it reported a failure.
bool EjecutaArchivo(const std::string& sArchivo, int nFormaMostrar = kMostrarNormal);

// What EjecutaArchivo calls to open a file; true on success. The window installs the
// desktop's opener (diag/qt/escritorio.h); until then opening fails.
using TAbridorArchivos = std::function<bool(const std::string& sArchivo)>;
// Installs an opener (an empty one removes it); returns the previous one.
TAbridorArchivos AsignaAbridorArchivos(TAbridorArchivos abridor);

// Finds sRelativa ("DataBase/Kavori.mdb", "\" also separates) below sCarpeta comparing each
// name without regard to letter case; an exact name wins. The full path, or nothing.
std::optional<std::string> BuscaArchivoIgnorandoMayusculas(const std::string& sCarpeta,
                                                           const std::string& sRelativa);

}  // namespace kv
