#pragma once
// Runs risky work (libmdb on a possibly damaged file) in a separate program that streams
// its result over a pipe on its descriptor 3. A crash, a hang or garbage in that program
// becomes a DbError in the caller; the calling process is never touched by its faults.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet {

// Descriptor on which a helper program writes its stream.
inline constexpr int kHelperStreamFd = 3;

// Buffered writer of the helper's end of the pipe. A failed write means the reading side
// has gone: the helper then leaves at once.
class PipeOut {
 public:
  explicit PipeOut(int fd) : fd_(fd) {}
  void u8(std::uint8_t v) { raw(&v, 1); }
  void u32(std::uint32_t v) { raw(&v, 4); }
  void i64(std::int64_t v) { raw(&v, 8); }
  void f64(double v) { raw(&v, 8); }
  void bytes(std::string_view s) {
    u32(static_cast<std::uint32_t>(s.size()));
    raw(s.data(), s.size());
  }
  void raw(const void* p, std::size_t n) {
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
  void flush() {
    std::size_t off = 0;
    while (off < used_) {
      const ssize_t w = ::write(fd_, buf_.data() + off, used_ - off);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) _exit(4);  // nobody reads any more: nothing left to do
      off += static_cast<std::size_t>(w);
    }
    used_ = 0;
  }

 private:
  int fd_;
  std::vector<char> buf_ = std::vector<char>(1 << 16);
  std::size_t used_ = 0;
};

// Buffered reader of the caller's end; throws DbError on a short stream or when the
// helper stays silent longer than the time-out.
class PipeIn {
 public:
  PipeIn(int fd, int timeoutMs) : fd_(fd), timeoutMs_(timeoutMs) {}
  std::uint8_t u8();
  std::uint32_t u32() { return scalar<std::uint32_t>(); }
  std::int64_t i64() { return scalar<std::int64_t>(); }
  double f64() { return scalar<double>(); }
  // A length-prefixed byte string; `limit` guards against absurd lengths.
  std::string_view bytes(std::uint32_t limit);

 private:
  template <typename T>
  T scalar() {
    need(sizeof(T));
    T v;
    std::memcpy(&v, buf_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return v;
  }
  void need(std::size_t n);
  int fd_;
  int timeoutMs_;
  std::vector<char> buf_ = std::vector<char>(1 << 16);
  std::size_t pos_ = 0, end_ = 0;
};

// What to run: the program, its arguments (argv[0] included) and how long it may stay
// silent. `memoryLimit` (bytes, 0 = none) is only passed on to sanitizer builds, whose
// allocator cannot live under an address-space limit; the helper limits itself otherwise.
struct HelperCommand {
  std::vector<std::string> argv;
  int timeoutMs = 60000;
  std::uint64_t memoryLimit = 0;
};

// Starts the helper with posix_spawn (stdin and stdout on /dev/null, stderr too unless
// KV_JET_HELPER_STDERR is set, the stream on descriptor 3) and runs `parent` on the
// stream. If the helper cannot start, dies by a signal, exits badly or goes silent, a
// DbError naming the cause is thrown; the helper never outlives the call.
void runHelper(const HelperCommand& command, const std::function<void(PipeIn&)>& parent);

}  // namespace kv::jet
