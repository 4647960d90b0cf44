#pragma once
// Runs risky work (libmdb on a possibly damaged file) in a forked child that streams
// its result over a pipe. A crash, a hang or garbage in the child becomes a DbError
// in the parent; the parent process is never touched by the child's faults.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet {

// Buffered writer of the child's end of the pipe.
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
  void raw(const void* p, std::size_t n);
  void flush();

 private:
  int fd_;
  std::vector<char> buf_ = std::vector<char>(1 << 16);
  std::size_t used_ = 0;
};

// Buffered reader of the parent's end; throws DbError on a short stream or when the
// child stays silent longer than the timeout.
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
  std::string big_;
};

// Forks; the child runs `child` with a PipeOut and exits; the parent runs `parent`
// with a PipeIn. If the child dies by a signal, exits badly or goes silent, the
// parent's read fails and a DbError naming the cause is thrown.
void runInHelper(const std::function<void(PipeOut&)>& child,
                 const std::function<void(PipeIn&)>& parent);

// Inactivity limit of the helper, in milliseconds (default 60 s).
void setHelperTimeoutMs(int ms);

}  // namespace kv::jet
