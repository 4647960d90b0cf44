#pragma once
// Where the exchange house's answers are kept: RespuestasCC.ini beside Kavori.INI in the
// program folder, or in the user's configuration folder when the program folder cannot be
// written. When both exist, the more recently written one is in use.
#include <filesystem>
#include <string>

#include "engine/respuestas_cc.h"

namespace kv {

// The file in the program folder (the existing name in any letter case, else the usual one).
std::filesystem::path RutaRespuestasCCPrograma();
// The file in the user's configuration folder ($XDG_CONFIG_HOME/cuestionario-operatividad).
std::filesystem::path RutaRespuestasCCUsuario();
// The file in use; the program folder's when neither exists.
std::filesystem::path RutaRespuestasCCEnUso();
// The answers of the file in use (nothing when there is none).
TLecturaRespuestasCC CargaRespuestasCC();

// The report's confirmation: the instructions, with a paragraph before their closing question
// saying how many of the house's questions are unanswered (none when all are answered).
std::string TextoConfirmacionReporte(int nPendientes);

}  // namespace kv
