#pragma once
// The status line and the required-field alert, as the rest of the program sees them.
// Free of Qt headers so that non-window code can report progress through it.
#include <string>

class QLabel;
class QWidget;

namespace kv {

class IMensajero {
 public:
  virtual ~IMensajero() = default;
  // Permanent message.
  virtual void MsjEnTx(const std::string& sTexto) = 0;
  // Message cleared 3000 ms after the first temporary message since the last clearing.
  virtual void MsjTxTemp(const std::string& sTexto) = 0;
  // Message followed by a pause of 1000 ms (bTLargo) or 400 ms that keeps serving events.
  virtual void MsjTxEspera(const std::string& sTexto, bool bTLargo) = 0;
  // Moves the focus to edEdit (when given and enabled) and makes txLabel blink red.
  virtual void CampoObligatorio(QLabel* txLabel, QWidget* edEdit) = 0;
  virtual void SetTxLabel(QLabel* txLabel) = 0;
  // Status text colour: true red, false grey.
  virtual void SetDefColorAlerta(bool bValor) = 0;
  virtual bool GetDefColorAlerta() const = 0;
};

}  // namespace kv
