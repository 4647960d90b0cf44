#include "bench/comun/mdb_export.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <vector>

extern char** environ;

namespace kv::bench {

namespace {

// Owns the file actions of one spawn.
class AccionesSpawn {
 public:
  AccionesSpawn() { bListas_ = posix_spawn_file_actions_init(&fa_) == 0; }
  ~AccionesSpawn() {
    if (bListas_) posix_spawn_file_actions_destroy(&fa_);
  }
  AccionesSpawn(const AccionesSpawn&) = delete;
  AccionesSpawn& operator=(const AccionesSpawn&) = delete;
  bool Listas() const { return bListas_; }
  posix_spawn_file_actions_t* get() { return &fa_; }

 private:
  posix_spawn_file_actions_t fa_{};
  bool bListas_ = false;
};

}  // namespace

TResultadoExport EjecutaHijo(const std::vector<std::string>& argsIn, const std::string& sSalida) {
  TResultadoExport r;
  std::vector<std::string> args = argsIn;
  AccionesSpawn fa;
  if (args.empty() || !fa.Listas() ||
      posix_spawn_file_actions_addopen(fa.get(), 1, sSalida.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0600) != 0)
    return r;
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], fa.get(), nullptr, argv.data(), environ) != 0) return r;
  int st = 0;
  pid_t w = 0;
  do {
    w = wait4(pid, &st, 0, &r.uso);
  } while (w < 0 && errno == EINTR);
  r.bExito = w == pid && WIFEXITED(st) && WEXITSTATUS(st) == 0;
  return r;
}

TResultadoExport ExportaTabla(const std::string& sArchivo, const std::string& sTabla) {
  return EjecutaHijo({"mdb-export", sArchivo, sTabla}, "/dev/null");
}

}  // namespace kv::bench
