#include "diag/log_errores.h"

#include <stdexcept>

#include "diag/bitacora.h"
#include "diag/dialogos.h"
#include "diag/textos.h"

namespace kv {
namespace {

// Blank as the classic Trim sees it: every character up to the space.
bool EsBlanco(const std::string& s) {
  for (unsigned char c : s)
    if (c > ' ') return false;
  return true;
}

}  // namespace

void TManejadorErrores::AgregaError(const std::string& sClaveErr, const std::string& sMsjUsuario,
                                    const std::string& sMsjLog, bool bMostrarMsj) {
  if (!F_ListaErrores.emplace(sClaveErr, TMsjError{sMsjUsuario, sMsjLog, bMostrarMsj}).second)
    throw std::logic_error(textos::kClaveRepetida + sClaveErr);
}

bool TManejadorErrores::ArmaMensaje(const std::string& sClaveErr, const std::string& sNomClase,
                                    const std::string& sMsjAdicional, std::string& sTexto) const {
  const std::string sSufijo = EsBlanco(sNomClase) ? std::string() : "." + sNomClase;
  const auto it = F_ListaErrores.find(sClaveErr);
  if (it == F_ListaErrores.end()) {
    sTexto = textos::kPrefijoError + sClaveErr + sSufijo + " " + sMsjAdicional;
    return true;
  }
  if (!it->second.bMostrarMsj) return false;
  sTexto = textos::kPrefijoError + sClaveErr + sSufijo + ": " + it->second.sMsjUsuario + " " +
           sMsjAdicional;
  return true;
}

void TManejadorErrores::MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                                     const std::string& sMsjAdicional) {
  std::string sTexto;
  if (!ArmaMensaje(sClaveErr, sNomClase, sMsjAdicional, sTexto)) return;
  // Support reads it later in the log, whatever the user did with the box.
  RegistraEnBitacora(sTexto);
  DameDialogos()->Mensaje(sTexto);
}

std::string TManejadorErrores::DameErrorMsj(const std::string& sClaveErr,
                                            const std::string& sMsjAdicional, bool bIncluyeClave) {
  std::string sTexto;
  const auto it = F_ListaErrores.find(sClaveErr);
  if (it != F_ListaErrores.end())
    sTexto = it->second.sMsjUsuario + " " + sMsjAdicional;
  else if (!sMsjAdicional.empty())
    sTexto = sMsjAdicional;
  else
    sTexto = textos::kErrorDesconocido;
  if (bIncluyeClave) sTexto = textos::kPrefijoError + sClaveErr + ": " + sTexto;
  return sTexto;
}

}  // namespace kv
