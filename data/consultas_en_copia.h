#pragma once
// Statements run in a copy of this process (TProcesoCopia), on the database as the
// session holds it at the start: the other core works on them while this process goes
// on with its own. Their rows come back when asked for.
#include <optional>
#include <string>
#include <vector>

#include "data/db/provider.h"
#include "diag/proceso_copia.h"

namespace kv {

class TConsultasEnCopia {
 public:
  struct TResultado {
    std::optional<db::RowSet> filas;  // nullopt when the statement failed
    double dSegundos = 0;             // the statement's time in the copy
  };

  // A copy still running is stopped; the session's memory is its own again.
  ~TConsultasEnCopia();
  TConsultasEnCopia() = default;
  TConsultasEnCopia(const TConsultasEnCopia&) = delete;
  TConsultasEnCopia& operator=(const TConsultasEnCopia&) = delete;

  // Starts the copy running each statement in turn on sesion, once it has told the session
  // what it will run (db::Session::foresee); meanwhile the session and its copy share its
  // memory (db::Session::shareMemory). False, and nothing runs, when no copy can be made
  // (KV_COPIA_PARALELA=0 among them): the caller runs them.
  bool Inicia(db::Session& sesion, std::vector<std::string> consultas);
  // Both keep a window's heartbeat going (db::runWithHeartbeat) while they work.
  // Each statement's result, in the order given; nullopt when the copy did not end well
  // (none then: the caller runs them). The copy's messages are none: a statement that
  // failed there says why when the caller runs it again.
  std::optional<std::vector<TResultado>> Espera();

 private:
  void Devuelve();

  TProcesoCopia F_Copia;
  db::Session* F_Sesion = nullptr;  // while shared with a copy
  std::size_t F_nConsultas = 0;
};

}  // namespace kv
