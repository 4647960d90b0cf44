#pragma once
// The PDF export, done by LibreOffice run headless as a child process with a private,
// temporary profile (so the job never goes to an office suite the user has open), under
// a time limit. Only a new, non-empty file that starts with "%PDF", with no "Error:" line
// from the converter, counts as an export; it is then moved into place.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kv {

// Outcome of a child process run to its end or stopped at its time limit.
struct TResultadoProceso {
  int nEstado = -1;  // exit status; -1 when it did not exit normally
  bool bVencido = false;
  std::string sSalida;
  std::string sErrores;
};

// Runs argv[0] (looked up in PATH) with the arguments, standard input from /dev/null, the
// outputs collected. On the time limit the child's whole process group is killed. alEsperar
// runs about every 50 ms while waiting. Throws EDocumentoWord when it cannot be started.
TResultadoProceso EjecutaProceso(const std::vector<std::string>& argumentos,
                                 std::chrono::milliseconds limite,
                                 const std::function<void()>& alEsperar = {});

class TConvertidorPDF {
 public:
  // The converter program: a name looked up in PATH or a full path.
  std::string sPrograma = "soffice";
  std::chrono::milliseconds limite{std::chrono::seconds(120)};
  // Oldest release whose Word import and PDF export the form was checked with.
  int nVersionMinima = 6;
  std::function<void()> alEsperar;

  // The converter's version, such as "7.4.7.2". Throws EDocumentoWord when it cannot be run
  // (message: "Ocurrió un error al instanciar el programa Word" and the cause) or tells none.
  std::string DameVersion() const;
  // Throws EDocumentoWord when the version is older than nVersionMinima.
  void ValidaVersion() const;
  // Checks before any work that the converter starts, tells its version within
  // limiteVersion and is recent enough. Throws EDocumentoWord with a message for the user
  // that says what to install or change.
  void VerificaDisponible() const;
  std::chrono::milliseconds limiteVersion{std::chrono::seconds(30)};
  // Exports sDocx as the PDF sPdf (replacing a file of that name). Throws EDocumentoWord
  // with the converter's own message when no PDF was made; sPdf is then left untouched.
  void Convierte(const std::string& sDocx, const std::string& sPdf) const;

 private:
  void ConvierteEnCarpetas(const std::string& sDocx, const std::string& sPdf) const;
};

}  // namespace kv
