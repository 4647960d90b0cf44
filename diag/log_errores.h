#pragma once
// Error manager: turns an error code plus context into the user's text and, on request,
// shows it through the dialog service. Each concrete manager fills its catalogue once.
#include <map>
#include <string>

namespace kv {

// One catalogue entry.
struct TMsjError {
  std::string sMsjUsuario;  // text for the user, placed after the code
  std::string sMsjLog;      // text meant for a log; kept, never read
  bool bMostrarMsj = true;  // false: MuestraError stays silent for this code
};

class ILogErrores {
 public:
  virtual ~ILogErrores() = default;
  // Shows the message of sClaveErr for the class sNomClase with the extra text.
  virtual void MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                            const std::string& sMsjAdicional) = 0;
  // The message text without showing it.
  virtual std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                                   bool bIncluyeClave) = 0;
};

// Abstract manager; descendants register their codes in CargaErrores, which their own
// constructor calls (a C++ base constructor cannot reach the descendant's override).
class TManejadorErrores : public ILogErrores {
 public:
  void MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                    const std::string& sMsjAdicional) override;
  std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                           bool bIncluyeClave) override;

 protected:
  TManejadorErrores() = default;
  virtual void CargaErrores() = 0;
  // Registers one code; a code already present throws std::logic_error.
  void AgregaError(const std::string& sClaveErr, const std::string& sMsjUsuario,
                   const std::string& sMsjLog, bool bMostrarMsj);

 private:
  // The text MuestraError shows; false when the code is registered as silent.
  bool ArmaMensaje(const std::string& sClaveErr, const std::string& sNomClase,
                   const std::string& sMsjAdicional, std::string& sTexto) const;

  std::map<std::string, TMsjError> F_ListaErrores;
};

}  // namespace kv
