#include "diag/proceso_copia.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kv {

namespace {

// Writes all of n bytes; false when the pipe closed or failed.
bool EscribeTodo(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Gives the open file fd, already removed, a private copy under the same descriptor:
// a new unnamed file beside where it was, with the same bytes.
bool CopiaPrivada(int fd) {
  char sEnlace[64];
  std::snprintf(sEnlace, sizeof sEnlace, "/proc/self/fd/%d", fd);
  char sDestino[4096];
  const ssize_t n = ::readlink(sEnlace, sDestino, sizeof sDestino - 1);
  std::string sCarpeta = "/tmp";
  if (n > 0) {
    sDestino[n] = '\0';
    std::string s(sDestino);
    const auto barra = s.rfind('/');
    if (s.front() == '/' && barra != std::string::npos && barra > 0) sCarpeta = s.substr(0, barra);
  }
  int nuevo = ::open(sCarpeta.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (nuevo < 0) {
    std::string sPlantilla = sCarpeta + "/kv-copia-XXXXXX";
    nuevo = ::mkostemp(sPlantilla.data(), O_CLOEXEC);
    if (nuevo < 0) return false;
    ::unlink(sPlantilla.c_str());
  }
  struct stat st {};
  bool bOk = ::fstat(fd, &st) == 0;
  char buf[1 << 16];
  for (off_t nPos = 0; bOk && nPos < st.st_size;) {
    const ssize_t r = ::pread(fd, buf, sizeof buf, nPos);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    for (ssize_t hecho = 0; bOk && hecho < r;) {
      const ssize_t w =
          ::pwrite(nuevo, buf + hecho, static_cast<std::size_t>(r - hecho), nPos + hecho);
      if (w < 0 && errno == EINTR) continue;
      bOk = w > 0;
      if (bOk) hecho += w;
    }
    nPos += r;
  }
  const int nBanderas = ::fcntl(fd, F_GETFD);
  bOk = bOk && nBanderas >= 0 && ::dup3(nuevo, fd, (nBanderas & FD_CLOEXEC) ? O_CLOEXEC : 0) == fd;
  ::close(nuevo);
  return bOk;
}

// Every regular file open here and already removed gets its private copy.
bool SeparaArchivosBorrados(int fdPropio) {
  DIR* d = ::opendir("/proc/self/fd");
  if (!d) return false;
  std::vector<int> borrados;
  while (const dirent* e = ::readdir(d)) {
    char* fin = nullptr;
    const long fd = std::strtol(e->d_name, &fin, 10);
    if (fin == e->d_name || *fin != '\0' || fd == ::dirfd(d) || fd == fdPropio) continue;
    struct stat st {};
    if (::fstat(static_cast<int>(fd), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 0)
      borrados.push_back(static_cast<int>(fd));
  }
  ::closedir(d);
  for (int fd : borrados)
    if (!CopiaPrivada(fd)) return false;
  return true;
}

// The copy's side: one byte once it is ready, then the result's length (8 bytes, little-endian),
// then the result.
[[noreturn]] void TrabajaYSale(int fd, const std::function<std::string()>& trabajo) {
  int nSalida = 1;
  try {
    const char cLista = 'L';
    if (!SeparaArchivosBorrados(fd) || !EscribeTodo(fd, &cLista, 1)) ::_exit(1);
    const std::string r = trabajo();
    char longitud[8];
    std::uint64_t n = r.size();
    for (char& c : longitud) {
      c = static_cast<char>(n & 0xff);
      n >>= 8;
    }
    if (EscribeTodo(fd, longitud, sizeof longitud) && EscribeTodo(fd, r.data(), r.size()))
      nSalida = 0;
  } catch (...) {
    nSalida = 1;
  }
  ::_exit(nSalida);
}

}  // namespace

TProcesoCopia::~TProcesoCopia() {
  Detiene();
}

bool TProcesoCopia::Inicia(const std::function<std::string()>& trabajo) {
  Detiene();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  const pid_t nPadre = ::getpid();
  const pid_t nPid = ::fork();
  if (nPid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  if (nPid == 0) {
    ::close(fds[0]);
    // The copy does not outlive the process that waits for it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != nPadre) ::_exit(1);
    TrabajaYSale(fds[1], trabajo);
  }
  ::close(fds[1]);
  F_nPid = nPid;
  const int nLectura = fds[0];
  // The copy's files are its own before this process writes to any of them again.
  char cLista = 0;
  ssize_t r;
  while ((r = ::read(nLectura, &cLista, 1)) < 0 && errno == EINTR) {
  }
  if (r != 1 || cLista != 'L') {
    ::close(nLectura);
    Detiene();
    return false;
  }
  F_sDatos.clear();
  F_Lector = std::thread([this, nLectura] {
    char buf[65536];
    for (;;) {
      const ssize_t n = ::read(nLectura, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      F_sDatos.append(buf, static_cast<std::size_t>(n));
    }
    ::close(nLectura);
  });
  return true;
}

std::optional<std::string> TProcesoCopia::Espera() {
  if (F_nPid < 0) return std::nullopt;
  // The pipe ends when the copy does.
  if (F_Lector.joinable()) F_Lector.join();
  std::string datos = std::move(F_sDatos);
  int nEstado = 0;
  while (::waitpid(F_nPid, &nEstado, 0) < 0 && errno == EINTR) {
  }
  F_nPid = -1;
  if (!WIFEXITED(nEstado) || WEXITSTATUS(nEstado) != 0 || datos.size() < 8) return std::nullopt;
  std::uint64_t n = 0;
  for (int i = 7; i >= 0; --i)
    n = (n << 8) | static_cast<unsigned char>(datos[static_cast<std::size_t>(i)]);
  if (n != datos.size() - 8) return std::nullopt;
  return datos.substr(8);
}

void TProcesoCopia::Detiene() {
  if (F_nPid < 0) return;
  ::kill(F_nPid, SIGKILL);
  if (F_Lector.joinable()) F_Lector.join();
  F_sDatos.clear();
  int nEstado = 0;
  while (::waitpid(F_nPid, &nEstado, 0) < 0 && errno == EINTR) {
  }
  F_nPid = -1;
}

}  // namespace kv
