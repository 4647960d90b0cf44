#include "data/jet/helper_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "data/db/error.h"
#include "data/jet/jet_messages.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

std::atomic<int> gTimeoutMs{60000};

// Thrown inside PipeIn when the child's stream ends or stalls.
struct StreamEnded {
  bool hung;
};

// Owns the child: kills and reaps it unless it was waited for.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      int st;
      while (::waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
      }
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

struct PipeFds {
  int fd[2] = {-1, -1};
  ~PipeFds() { closeBoth(); }
  void closeAt(int i) {
    if (fd[i] >= 0) ::close(fd[i]);
    fd[i] = -1;
  }
  void closeBoth() {
    closeAt(0);
    closeAt(1);
  }
};

}  // namespace

void setHelperTimeoutMs(int ms) {
  gTimeoutMs = ms;
}

void PipeOut::raw(const void* p, std::size_t n) {
  const char* c = static_cast<const char*>(p);
  while (n > 0) {
    if (used_ == buf_.size()) flush();
    const std::size_t k = std::min(n, buf_.size() - used_);
    std::memcpy(buf_.data() + used_, c, k);
    used_ += k;
    c += k;
    n -= k;
  }
}

void PipeOut::flush() {
  std::size_t off = 0;
  while (off < used_) {
    const ssize_t w = ::write(fd_, buf_.data() + off, used_ - off);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) _exit(4);  // the parent has gone: nothing left to do
    off += static_cast<std::size_t>(w);
  }
  used_ = 0;
}

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
    const int pr = ::poll(&pfd, 1, gTimeoutMs.load());
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
  if (n > limit) throw DbError(msg::kClass, msg::readerError(msg::text::kLongitudFueraDeRango));
  need(n);
  std::string_view v(buf_.data() + pos_, n);
  pos_ += n;
  return v;
}

void runInHelper(const std::function<void(PipeOut&)>& child,
                 const std::function<void(PipeIn&)>& parent) {
  PipeFds p;
  if (::pipe2(p.fd, O_CLOEXEC) != 0)
    throw DbError(msg::kClass, msg::readerError(std::strerror(errno)));
  const pid_t pid = ::fork();
  if (pid < 0) throw DbError(msg::kClass, msg::readerError(std::strerror(errno)));
  if (pid == 0) {
    // Child: quiet stdout and stderr (libmdb prints dumps and warnings there), stream
    // the work, leave without running the parent's exit handlers.
    ::signal(SIGPIPE, SIG_IGN);
    const int devnull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devnull >= 0) {
      ::dup2(devnull, 0);
      ::dup2(devnull, 1);
      if (!::getenv("KV_JET_HELPER_STDERR")) ::dup2(devnull, 2);
    }
    ::close(p.fd[0]);
    PipeOut out(p.fd[1]);
    int code = 0;
    try {
      child(out);
    } catch (const std::exception& e) {
      out.u8('X');
      out.bytes(e.what());
    } catch (...) {
      code = 3;
    }
    out.flush();
    _exit(code);
  }
  Child guard(pid);
  p.closeAt(1);
  PipeIn in(p.fd[0], gTimeoutMs.load());
  try {
    parent(in);
  } catch (const StreamEnded& e) {
    if (e.hung) {
      guard.kill();
      guard.wait();
      throw DbError(msg::kClass, msg::kReaderHung);
    }
    const int st = guard.wait();
    if (WIFSIGNALED(st)) throw DbError(msg::kClass, msg::readerSignal(WTERMSIG(st)));
    throw DbError(msg::kClass, msg::readerError(msg::text::kElLectorTerminoAntesDe));
  }
  p.closeAt(0);
  const int st = guard.wait();
  if (WIFSIGNALED(st)) throw DbError(msg::kClass, msg::readerSignal(WTERMSIG(st)));
  if (!WIFEXITED(st) || WEXITSTATUS(st) != 0)
    throw DbError(msg::kClass, msg::readerError(msg::text::kElLectorTerminoConError));
}

}  // namespace kv::jet
