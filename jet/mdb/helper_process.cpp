#include "jet/mdb/helper_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

#include "data/db/error.h"
#include "diag/preparacion_spawn.h"
#include "jet/textos.h"

extern char** environ;

namespace kv::jet {

namespace {

using kv::db::DbError;

// Thrown inside PipeIn when the helper's stream ends or stalls.
struct StreamEnded {
  bool hung;
};

// Owns the helper: kills and reaps it unless it was waited for.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      wait();
    }
  }
  // Waits for the end; returns the wait status.
  int wait() {
    int st = 0;
    while (::waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return st;
  }
  void kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
  }

 private:
  pid_t pid_;
};

struct Fd {
  int fd = -1;
  Fd() = default;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }
  void reset() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

[[noreturn]] void cannotStart(int err) {
  throw DbError(textos_jet::kClass,
                textos_jet::readerError(textos_jet::text::kNoSePudoIniciarElLector +
                                        textos_jet::systemError(err)));
}

// The helper's environment: the caller's, with the memory limit handed to the address
// sanitizer's allocator in sanitizer builds (an address-space limit would stop its start).
std::vector<std::string> helperEnvironment([[maybe_unused]] std::uint64_t memoryLimit) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) env.emplace_back(*e);
#if defined(__SANITIZE_ADDRESS__)
  if (memoryLimit > 0) {
    const std::string limit = "hard_rss_limit_mb=" + std::to_string(memoryLimit >> 20);
    bool found = false;
    for (std::string& v : env)
      if (v.rfind("ASAN_OPTIONS=", 0) == 0) {
        v += ":" + limit;
        found = true;
      }
    if (!found) env.push_back("ASAN_OPTIONS=" + limit);
  }
#endif
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& v) {
  std::vector<char*> p;
  for (std::string& s : v) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

// posix_spawn's file actions and attributes, released on every path.
// A helper that died by a signal or exited with an error status.
void checkExit(int status) {
  if (WIFSIGNALED(status))
    throw DbError(textos_jet::kClass, textos_jet::readerSignal(WTERMSIG(status)));
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    throw DbError(textos_jet::kClass, textos_jet::readerExit(WEXITSTATUS(status)));
}

}  // namespace

void PipeIn::need(std::size_t n) {
  if (end_ - pos_ >= n) return;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (buf_.size() < n) buf_.resize(n);
  while (end_ - pos_ < n) {
    pollfd pfd{fd_, POLLIN, 0};
    const int pr = ::poll(&pfd, 1, timeoutMs_);
    if (pr < 0 && errno == EINTR) continue;
    if (pr == 0) throw StreamEnded{true};
    const ssize_t r = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) throw StreamEnded{false};
    end_ += static_cast<std::size_t>(r);
  }
}

std::uint8_t PipeIn::u8() {
  need(1);
  return static_cast<std::uint8_t>(buf_[pos_++]);
}

std::string_view PipeIn::bytes(std::uint32_t limit) {
  const std::uint32_t n = u32();
  if (n > limit)
    throw DbError(textos_jet::kClass,
                  textos_jet::readerError(textos_jet::text::kLongitudFueraDeRango));
  need(n);
  std::string_view v(buf_.data() + pos_, n);
  pos_ += n;
  return v;
}

void runHelper(const HelperCommand& command, const std::function<void(PipeIn&)>& parent) {
  int p[2];
  if (::pipe2(p, O_CLOEXEC) != 0) cannotStart(errno);
  Fd readEnd, writeEnd;
  readEnd.fd = p[0];
  writeEnd.fd = p[1];
  // The write end must not already sit on descriptor 3, where dup2 would leave it
  // marked close-on-exec.
  if (writeEnd.fd <= kHelperStreamFd) {
    const int moved = ::fcntl(writeEnd.fd, F_DUPFD_CLOEXEC, kHelperStreamFd + 1);
    if (moved < 0) cannotStart(errno);
    writeEnd.reset();
    writeEnd.fd = moved;
  }
  kv::TPreparacionSpawn setup;
  if (setup.nError != 0) cannotStart(setup.nError);
  posix_spawn_file_actions_addopen(&setup.acciones, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&setup.acciones, 1, "/dev/null", O_WRONLY, 0);
  // libmdb prints dumps and warnings on stderr.
  if (!std::getenv("KV_JET_HELPER_STDERR"))
    posix_spawn_file_actions_addopen(&setup.acciones, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&setup.acciones, writeEnd.fd, kHelperStreamFd);
  // A clean signal state, whatever the calling thread blocks or ignores.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.atributos, &none);
  posix_spawnattr_setsigdefault(&setup.atributos, &all);
  posix_spawnattr_setflags(&setup.atributos, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> args = command.argv;
  std::vector<std::string> env = helperEnvironment(command.memoryLimit);
  std::vector<char*> argv = pointers(args), envp = pointers(env);
  if (args.empty()) cannotStart(EINVAL);
  pid_t pid = -1;
  const int err =
      ::posix_spawn(&pid, argv[0], &setup.acciones, &setup.atributos, argv.data(), envp.data());
  if (err != 0) cannotStart(err);
  Child guard(pid);
  writeEnd.reset();
  PipeIn in(readEnd.fd, command.timeoutMs);
  bool complete = false;
  try {
    parent(in);
    // After its last frame the helper only closes the stream and exits.
    complete = true;
    in.u8();
    throw DbError(textos_jet::kClass,
                  textos_jet::readerError(textos_jet::text::kRespuestaInesperadaDelLector));
  } catch (const StreamEnded& e) {
    if (e.hung) {
      guard.kill();
      guard.wait();
      throw DbError(textos_jet::kClass, textos_jet::kReaderHung);
    }
    if (!complete) {
      checkExit(guard.wait());
      throw DbError(textos_jet::kClass,
                    textos_jet::readerError(textos_jet::text::kElLectorTerminoAntesDe));
    }
  }
  checkExit(guard.wait());
}

}  // namespace kv::jet
