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
struct ProcessResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  bool timedOut = false;
  std::string output;
  std::string errors;
};

// Runs argv[0] (looked up in PATH) with the arguments, standard input from /dev/null, the
// outputs collected. On the time limit the child's whole process group is killed. onWait
// runs about every 50 ms while waiting. Throws EDocumentoWord when it cannot be started.
ProcessResult runProcess(const std::vector<std::string>& argumentos,
                         std::chrono::milliseconds timeout,
                         const std::function<void()>& onWait = {});

class PdfConverter {
 public:
  // The converter program: a name looked up in PATH or a full path.
  std::string program = "soffice";
  std::chrono::milliseconds timeout{std::chrono::seconds(120)};
  // Oldest release whose Word import and PDF export the form was checked with.
  int minimumVersion = 6;
  std::function<void()> onWait;

  // The converter's version, such as "7.4.7.2". Throws EDocumentoWord when it cannot be run
  // (message: "Ocurrió un error al instanciar el programa Word" and the cause) or tells none.
  std::string version() const;
  // Throws EDocumentoWord when the version is older than minimumVersion.
  void checkVersion() const;
  // Checks before any work that the converter starts, tells its version within
  // versionTimeout and is recent enough. Throws EDocumentoWord with a message for the user
  // that says what to install or change.
  void checkAvailable() const;
  std::chrono::milliseconds versionTimeout{std::chrono::seconds(30)};
  // Exports sDocx as the PDF sPdf (replacing a file of that name). Throws EDocumentoWord
  // with the converter's own message when no PDF was made; sPdf is then left untouched.
  void convert(const std::string& sDocx, const std::string& sPdf) const;

 private:
  void convertInFolders(const std::string& sDocx, const std::string& sPdf) const;
};

}  // namespace kv
