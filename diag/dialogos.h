#pragma once
// The dialogs the program shows, behind one replaceable service: the window installs
// the Qt one (diag/qt/dialogos_qt.h), tests install one that answers from a script and
// records every text.
#include <memory>
#include <string>

namespace kv {

class IDialogos {
 public:
  virtual ~IDialogos() = default;
  // Modal message box with one OK button and no icon.
  virtual void Mensaje(const std::string& sTexto) = 0;
  // Warning dialog "Advertencia" with the buttons "&Sí" and "&No"; true when the answer is Sí.
  virtual bool AdvertenciaSiNo(const std::string& sTexto) = 0;
  // Error dialog with the buttons OK and Cancel; true when the answer is OK.
  virtual bool ErrorAceptarCancelar(const std::string& sTexto) = 0;
};

// The service in use. Until one is installed, a silent one writes the texts to the
// standard error stream and answers No/Cancel, so nothing ever waits on a box nobody sees.
std::shared_ptr<IDialogos> DameDialogos();
// Installs the service (an empty pointer puts the silent one back); returns the previous one.
std::shared_ptr<IDialogos> AsignaDialogos(std::shared_ptr<IDialogos> dialogos);

}  // namespace kv
