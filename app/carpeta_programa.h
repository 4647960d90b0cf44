#pragma once
// The program folder of a run: the folder that holds Kavori.INI and DataBase/, where the
// report and its working files go.
#include <QSettings>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "diag/cli/opciones.h"

namespace kv {

// The window's command line: "cuestionario-operatividad [CARPETA]".
extern const cli::TPrograma kProgramaVentana;

// The settings of the program (the remembered folder): an INI file of the user's scope.
std::unique_ptr<QSettings> DameAjustes();

// Shows the folder dialog starting at sInicial; the chosen folder, or nothing when cancelled.
using TPideCarpeta = std::function<std::optional<std::string>(const std::string& sInicial)>;

// The folder of this run, without final separator:
// - the argument when given (relative to the current folder; it must exist);
// - else the executable's folder when it has Kavori.INI;
// - else the folder remembered from an earlier choice when it still has Kavori.INI;
// - else the one the user picks in the dialog (asked again while it has no Kavori.INI),
//   remembered in `ajustes` for the next start.
// Nothing when the argument names no folder (said in a message box) or the user cancels.
// A folder where the report cannot be written is said in a message box (what to change),
// and kept.
std::optional<std::string> EligeCarpetaPrograma(const std::optional<std::string>& sArgumento,
                                                QSettings& ajustes,
                                                const TPideCarpeta& pideCarpeta);

}  // namespace kv
