#include "tests/support/dialogos_grabados.h"

namespace kv {

void TDialogosGrabados::Mensaje(const std::string& sTexto) {
  F_Dialogos.push_back({TTipoDialogo::Mensaje, sTexto});
  if (F_AlMostrar) F_AlMostrar(F_Dialogos.back());
}

bool TDialogosGrabados::AdvertenciaSiNo(const std::string& sTexto) {
  return Pregunta(TTipoDialogo::AdvertenciaSiNo, sTexto);
}

bool TDialogosGrabados::ErrorAceptarCancelar(const std::string& sTexto) {
  return Pregunta(TTipoDialogo::ErrorAceptarCancelar, sTexto);
}

bool TDialogosGrabados::Pregunta(TTipoDialogo eTipo, const std::string& sTexto) {
  F_Dialogos.push_back({eTipo, sTexto});
  if (F_AlMostrar) F_AlMostrar(F_Dialogos.back());
  if (F_Guion.empty()) {
    ++F_nSinGuion;
    return F_bPorDefecto;
  }
  const bool bRespuesta = F_Guion.front();
  F_Guion.pop_front();
  return bRespuesta;
}

void TDialogosGrabados::Responde(std::initializer_list<bool> respuestas) {
  F_Guion.insert(F_Guion.end(), respuestas);
}

std::vector<std::string> TDialogosGrabados::Textos() const {
  std::vector<std::string> textos;
  for (const auto& d : F_Dialogos) textos.push_back(d.sTexto);
  return textos;
}

}  // namespace kv
