#pragma once
// Dialog service for tests: answers from a script, records every dialog, never blocks.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "diag/dialogos.h"

namespace kv {

enum class TTipoDialogo { Mensaje, AdvertenciaSiNo, ErrorAceptarCancelar };

struct TDialogoMostrado {
  TTipoDialogo eTipo;
  std::string sTexto;
};

class TDialogosGrabados : public IDialogos {
 public:
  void Mensaje(const std::string& sTexto) override;
  bool AdvertenciaSiNo(const std::string& sTexto) override;
  bool ErrorAceptarCancelar(const std::string& sTexto) override;

  // Answers for the next questions, in order (true = Sí / OK).
  void Responde(std::initializer_list<bool> respuestas);
  // Answer once the script is used up (false unless changed); such answers are counted.
  void RespuestaPorDefecto(bool bRespuesta) { F_bPorDefecto = bRespuesta; }
  int RespuestasSinGuion() const { return F_nSinGuion; }
  // Called while a dialog is "on screen", before it answers (to look at the window then).
  void AlMostrar(std::function<void(const TDialogoMostrado&)> accion) {
    F_AlMostrar = std::move(accion);
  }

  const std::vector<TDialogoMostrado>& Dialogos() const { return F_Dialogos; }
  std::vector<std::string> Textos() const;
  void Limpia() { F_Dialogos.clear(); }

 private:
  bool Pregunta(TTipoDialogo eTipo, const std::string& sTexto);

  std::vector<TDialogoMostrado> F_Dialogos;
  std::deque<bool> F_Guion;
  bool F_bPorDefecto = false;
  int F_nSinGuion = 0;
  std::function<void(const TDialogoMostrado&)> F_AlMostrar;
};

// Installs a fresh recording service for its lifetime and puts the previous one back.
class TDialogosDePrueba {
 public:
  TDialogosDePrueba()
      : F_Grabados(std::make_shared<TDialogosGrabados>()), F_Anterior(AsignaDialogos(F_Grabados)) {}
  ~TDialogosDePrueba() { AsignaDialogos(F_Anterior); }
  TDialogosDePrueba(const TDialogosDePrueba&) = delete;
  TDialogosDePrueba& operator=(const TDialogosDePrueba&) = delete;

  TDialogosGrabados* operator->() { return F_Grabados.get(); }
  TDialogosGrabados& operator*() { return *F_Grabados; }

 private:
  std::shared_ptr<TDialogosGrabados> F_Grabados;
  std::shared_ptr<IDialogos> F_Anterior;
};

}  // namespace kv
