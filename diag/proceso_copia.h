#pragma once
// A copy of this process (fork) that does one piece of work and sends back its result
// as bytes. The copy starts with everything the process holds in memory, shared until
// either side writes it: a database loaded once can be read by two processes, one per
// core, without being loaded or copied again.
//
// A file the process holds open after removing it (a database's temporary store) would
// be one open file for both: each would write over the other's pages. Before its work
// the copy gets a private copy of each such file under the same descriptor, and Inicia
// returns only then.
//
// The copy is stopped when the thread that started it ends (as when the process ends):
// start it from a thread that outlives the TProcesoCopia, not from a passing worker.
//
// The copy runs on the one thread that started it. Its work must not touch what other
// threads of the process may hold locked (a window's toolkit, a logger): database work
// on a connection of the starting thread is fine. It ends with _exit: no destructor or
// exit handler of the process runs in it.
#include <sys/types.h>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace kv {

class TProcesoCopia {
 public:
  TProcesoCopia() = default;
  // A copy still running is stopped and waited for.
  ~TProcesoCopia();
  TProcesoCopia(const TProcesoCopia&) = delete;
  TProcesoCopia& operator=(const TProcesoCopia&) = delete;

  // Starts the copy, which runs trabajo and sends back what it returns. False, and
  // nothing runs, when the system refuses a copy. An exception in trabajo ends the
  // copy without a result.
  bool Inicia(const std::function<std::string()>& trabajo);
  // The copy's result once it ends; nullopt when it ended any other way (an exception,
  // a signal, an incomplete result) or was never started.
  std::optional<std::string> Espera();
  // Stops a running copy (SIGKILL) and waits for it.
  void Detiene();

 private:
  pid_t F_nPid = -1;
  // The copy's result is read as it comes, so that the copy ends (and gives back the
  // memory it holds) as soon as its work is done, not when this process asks.
  std::thread F_Lector;
  std::string F_sDatos;
};

}  // namespace kv
