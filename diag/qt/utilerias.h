#pragma once
// Program utilities: where the program lives, the busy wrapper, a pause that keeps the
// window alive, and the conversion to a zero-terminated Windows-1252 text.
#include <functional>
#include <memory>
#include <string>

#include "diag/interfaced_padre.h"

class QWidget;

namespace kv {

using TProc = std::function<void()>;

// A window MuestraForm can show. No window of the program implements it.
class IMjVentana {
 public:
  virtual ~IMjVentana() = default;
  virtual void InicializaVentana() = 0;
  virtual void CargaDatos() = 0;
  virtual void MuestraVentana() = 0;
  virtual void CierraVentana() = 0;
};

class IUtilerias {
 public:
  virtual ~IUtilerias() = default;
  // Folder of the executable, ending with the path separator.
  virtual std::string DameDirProg() = 0;
  // File name of the executable.
  virtual std::string DameNomExeProg() = 0;
  // Full path of the executable.
  virtual std::string DameRutaCompProg() = 0;
  virtual void MuestraForm(const std::shared_ptr<IMjVentana>& sFormulario) = 0;
  // Runs Proc under the busy cursor; the cursor comes back on every exit.
  virtual void ProcesayEspera(const TProc& Proc) = 0;
  // As above with bnBoton disabled for the run; events are processed once before Proc so
  // the disabled button and the cursor are painted. Both are restored on every exit.
  virtual void ProcesayEspera(const TProc& Proc, QWidget* bnBoton) = 0;
  // Keeps serving events for at least nSegs milliseconds (at least once, also for 0).
  virtual void HazPausa(int nSegs) = 0;
  // Windows-1252 zero-terminated copy of the text, valid until the next conversion.
  // Throws EConversionAnsi when a character would be lost.
  virtual const char* StringToPAnsiChar(const std::string& sStringVar) = 0;
};

class TUtilerias : public TInterfacedPadre, public IUtilerias {
 public:
  explicit TUtilerias(std::shared_ptr<ILogErrores> LogErrores = nullptr)
      : TInterfacedPadre(std::move(LogErrores)) {}

  std::string DameDirProg() override;
  std::string DameNomExeProg() override;
  std::string DameRutaCompProg() override;
  void MuestraForm(const std::shared_ptr<IMjVentana>& sFormulario) override;
  void ProcesayEspera(const TProc& Proc) override;
  void ProcesayEspera(const TProc& Proc, QWidget* bnBoton) override;
  void HazPausa(int nSegs) override;
  const char* StringToPAnsiChar(const std::string& sStringVar) override;

 private:
  std::string F_sAnsi;  // storage of the last conversion
};

// The screen cursor as one setting, like the old screen's: busy or default. Setting the
// default drops every busy cursor set before. No-ops without a graphical application.
void PonCursorEspera();
void PonCursorNormal();
bool CursorEsperaPuesto();

}  // namespace kv
