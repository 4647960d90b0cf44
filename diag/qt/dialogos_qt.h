#pragma once
// The dialog service of the window (diag/dialogos.h), played with QMessageBox.
#include <string>

#include "diag/dialogos.h"

namespace kv {

// Dialogs played with QMessageBox; needs a QApplication.
class TDialogosQt : public IDialogos {
 public:
  void Mensaje(const std::string& sTexto) override;
  bool AdvertenciaSiNo(const std::string& sTexto) override;
  bool ErrorAceptarCancelar(const std::string& sTexto) override;
};

}  // namespace kv
