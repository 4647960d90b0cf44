#include "document/pdf_converter.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "diag/preparacion_spawn.h"
#include "document/corrida_reporte.h"
#include "document/error_doc.h"
#include "document/textos.h"

extern char** environ;

namespace kv {

namespace fs = std::filesystem;

namespace {

class TDescriptor {
 public:
  TDescriptor() = default;
  explicit TDescriptor(int fd) : F_fd(fd) {}
  ~TDescriptor() { Cierra(); }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int get() const { return F_fd; }
  void Asigna(int fd) {
    Cierra();
    F_fd = fd;
  }
  void Cierra() {
    if (F_fd >= 0) ::close(F_fd);
    F_fd = -1;
  }

 private:
  int F_fd = -1;
};

struct TTuberia {
  TDescriptor lectura, escritura;
  TTuberia() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
      throw EDocumentoWord(std::string("pipe: ") + std::strerror(errno));
    lectura.Asigna(fds[0]);
    escritura.Asigna(fds[1]);
  }
};

void Verifica(int nError) {
  if (nError != 0) throw EDocumentoWord(std::string("posix_spawn: ") + std::strerror(nError));
}

// A folder under the system's temporary folder (or beside a target), removed with
// everything in it.
class TCarpetaTemporal {
 public:
  explicit TCarpetaTemporal(const fs::path& padre, const std::string& sPrefijo) {
    std::string sPlantilla = (padre / (sPrefijo + "XXXXXX")).string();
    if (!::mkdtemp(sPlantilla.data()))
      throw EDocumentoWord(textos_doc::kCarpetaTemporal + sPlantilla + " (" + std::strerror(errno) +
                           ")");
    F_Ruta = sPlantilla;
  }
  ~TCarpetaTemporal() {
    std::error_code ec;
    fs::remove_all(F_Ruta, ec);
  }
  TCarpetaTemporal(const TCarpetaTemporal&) = delete;
  TCarpetaTemporal& operator=(const TCarpetaTemporal&) = delete;
  const fs::path& Ruta() const { return F_Ruta; }

 private:
  fs::path F_Ruta;
};

// file:// URL of an absolute path, reserved characters escaped.
std::string UrlDeArchivo(const fs::path& ruta) {
  static const char* kHex = "0123456789ABCDEF";
  std::string r = "file://";
  for (unsigned char c : ruta.string()) {
    if (std::isalnum(c) || std::strchr("/-._~", c)) {
      r.push_back(static_cast<char>(c));
    } else {
      r.push_back('%');
      r.push_back(kHex[c >> 4]);
      r.push_back(kHex[c & 15]);
    }
  }
  return r;
}

// The converter's "Error:" lines, without the prefix; empty when there is none.
std::string LineasDeError(const std::string& errors) {
  std::istringstream in(errors);
  std::string sLinea, r;
  while (std::getline(in, sLinea)) {
    size_t n = sLinea.find("Error:");
    if (n == std::string::npos) continue;
    std::string s = sLinea.substr(n + 6);
    while (!s.empty() && (s.front() == ' ')) s.erase(0, 1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
    if (!r.empty()) r += "; ";
    r += s;
  }
  return r;
}

// "LibreOffice 7.4.7.2 40(Build:2)": the first word that starts with a digit.
std::string VersionEnSalida(const std::string& output) {
  std::istringstream in(output);
  std::string sPalabra;
  while (in >> sPalabra)
    if (std::isdigit(static_cast<unsigned char>(sPalabra[0]))) return sPalabra;
  return {};
}

bool EmpiezaComoPdf(const fs::path& ruta) {
  std::ifstream in(ruta, std::ios::binary);
  char cabecera[4] = {};
  return in.read(cabecera, 4) && std::memcmp(cabecera, "%PDF", 4) == 0;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argumentos,
                         std::chrono::milliseconds timeout, const std::function<void()>& onWait) {
  TTuberia salida, errores;
  TPreparacionSpawn spawn;
  Verifica(spawn.nError);
  posix_spawn_file_actions_t* acciones = &spawn.acciones;
  posix_spawnattr_t* atributos = &spawn.atributos;
  Verifica(posix_spawn_file_actions_addopen(acciones, 0, "/dev/null", O_RDONLY, 0));
  Verifica(posix_spawn_file_actions_adddup2(acciones, salida.escritura.get(), 1));
  Verifica(posix_spawn_file_actions_adddup2(acciones, errores.escritura.get(), 2));
  // The child gets nothing else of ours (database files, sockets of the window).
  Verifica(posix_spawn_file_actions_addclosefrom_np(acciones, 3));
  // Its own process group, so a time-out can stop the child and whatever it started.
  Verifica(posix_spawnattr_setflags(atributos, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK));
  Verifica(posix_spawnattr_setpgroup(atributos, 0));
  sigset_t ninguna;
  sigemptyset(&ninguna);
  Verifica(posix_spawnattr_setsigmask(atributos, &ninguna));

  std::vector<char*> argv;
  for (const auto& s : argumentos) argv.push_back(const_cast<char*>(s.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  int nError = posix_spawnp(&pid, argv[0], acciones, atributos, argv.data(), environ);
  if (nError != 0)
    throw EDocumentoWord(textos_doc::kConvertidorNoEncontrado + argumentos[0] + " (" +
                         std::strerror(nError) + ")");
  salida.escritura.Cierra();
  errores.escritura.Cierra();
  // Should the waiting end by an exception (from onWait), the child goes too.
  struct TGuardaHijo {
    pid_t pid;
    bool bActiva = true;
    ~TGuardaHijo() {
      if (!bActiva) return;
      ::kill(-pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  } guarda{pid};

  ProcessResult r;
  const auto fin = std::chrono::steady_clock::now() + timeout;
  std::array<pollfd, 2> fds{pollfd{salida.lectura.get(), POLLIN, 0},
                            pollfd{errores.lectura.get(), POLLIN, 0}};
  std::array<std::string*, 2> destinos{&r.output, &r.errors};
  int nAbiertos = 2;
  char buf[4096];
  auto lee = [&](size_t i) {
    ssize_t nLeidos = ::read(fds[i].fd, buf, sizeof buf);
    if (nLeidos > 0) {
      destinos[i]->append(buf, static_cast<size_t>(nLeidos));
    } else if (nLeidos == 0 || (errno != EINTR && errno != EAGAIN)) {
      fds[i].fd = -1;  // end of this output
      --nAbiertos;
    }
    return nLeidos > 0;
  };
  for (;;) {
    if (std::chrono::steady_clock::now() >= fin) {
      guarda.bActiva = false;
      ::kill(-pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      r.timedOut = true;
      return r;
    }
    if (nAbiertos > 0) {
      int n = ::poll(fds.data(), fds.size(), 50);
      if (n > 0)
        for (size_t i = 0; i < fds.size(); ++i)
          if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) lee(i);
    } else {
      ::usleep(20000);
    }
    // Has it exited? (Not reaped yet, so its process group id stays ours.)
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid) {
      for (size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].fd < 0) continue;
        ::fcntl(fds[i].fd, F_SETFL, O_NONBLOCK);
        while (fds[i].fd >= 0 && lee(i)) {
        }
      }
      break;
    }
    if (onWait) onWait();
  }
  // Nothing the child started outlives it.
  guarda.bActiva = false;
  ::kill(-pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
  return r;
}

std::string PdfConverter::version() const {
  static std::mutex cerrojo;
  static std::map<std::string, std::string> cache;  // one question per program per run
  {
    std::lock_guard<std::mutex> bloqueo(cerrojo);
    if (auto it = cache.find(program); it != cache.end()) return it->second;
  }
  ProcessResult r;
  try {
    r = runProcess({program, "--version"}, timeout, onWait);
  } catch (const EDocumentoWord& e) {
    throw EDocumentoWord(std::string(textos_doc::kErrorInstanciarWord) + ": " + e.what());
  }
  const std::string sVersion = VersionEnSalida(r.output);
  if (r.timedOut || sVersion.empty())
    throw EDocumentoWord(std::string(textos_doc::kErrorInstanciarWord) + ": " +
                         textos_doc::kConvertidorSinVersion + program);
  std::lock_guard<std::mutex> bloqueo(cerrojo);
  cache[program] = sVersion;
  return sVersion;
}

void PdfConverter::checkVersion() const {
  std::string sVersion = version();
  // Compared as a number: release 10 is newer than release 6.
  int nMayor = std::atoi(sVersion.c_str());
  if (nMayor < minimumVersion)
    throw EDocumentoWord(textos_doc::kConvertidorAntiguo + std::to_string(minimumVersion) + ": " +
                         sVersion);
}

void PdfConverter::checkAvailable() const {
  ProcessResult r;
  try {
    r = runProcess({program, "--version"}, std::min(timeout, versionTimeout), onWait);
  } catch (const EDocumentoWord& e) {
    throw EDocumentoWord(textos_doc::kLibreOfficeNoEncontrado + program +
                         textos_doc::kLibreOfficeParaPdf + textos_doc::kDetalle + e.what());
  }
  const std::string sVersion = VersionEnSalida(r.output);
  if (r.timedOut || sVersion.empty())
    throw EDocumentoWord("LibreOffice (" + program + textos_doc::kLibreOfficeNoResponde);
  if (std::atoi(sVersion.c_str()) < minimumVersion)
    throw EDocumentoWord(textos_doc::kLibreOfficeAntiguo + sVersion +
                         textos_doc::kLibreOfficeAntiguoMinima + std::to_string(minimumVersion) +
                         textos_doc::kLibreOfficeActualice);
}

void PdfConverter::convert(const std::string& sDocx, const std::string& sPdf) const {
  try {
    convertInFolders(sDocx, sPdf);
  } catch (const fs::filesystem_error& e) {
    throw EDocumentoWord(textos_doc::kConvertidorSinPdf + std::string(" (") + e.what() + ")");
  }
}

void PdfConverter::convertInFolders(const std::string& sDocx, const std::string& sPdf) const {
  fs::path destino = fs::absolute(sPdf);
  // The owner's process id in the name lets a later run remove it should this one die.
  TCarpetaTemporal perfil(fs::temp_directory_path(),
                          kPrefijoPerfil + std::to_string(::getpid()) + "-");
  // The output folder sits beside the target, so the finished PDF is renamed into place.
  TCarpetaTemporal salida(destino.parent_path(), kPrefijoTrabajo + std::string("pdf-"));
  ProcessResult r;
  try {
    r = runProcess(
        {program, "--headless", "--norestore",
         "-env:UserInstallation=" + UrlDeArchivo(perfil.Ruta()), "--infilter=MS Word 2007 XML",
         "--convert-to", "pdf", "--outdir", salida.Ruta().string(), fs::absolute(sDocx).string()},
        timeout, onWait);
  } catch (const EDocumentoWord& e) {
    throw EDocumentoWord(std::string(textos_doc::kErrorInstanciarWord) + ": " + e.what());
  }
  if (r.timedOut)
    throw EDocumentoWord(
        textos_doc::kConvertidorTiempo +
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()));
  if (std::string sError = LineasDeError(r.errors); !sError.empty())
    throw EDocumentoWord(textos_doc::kConvertidorFallo + sError);
  // The folder was new: the one file in it is the converter's.
  fs::path hecho;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(salida.Ruta(), ec))
    if (e.is_regular_file() && e.path().extension() == ".pdf") hecho = e.path();
  if (hecho.empty() || fs::file_size(hecho, ec) == 0 || ec || !EmpiezaComoPdf(hecho))
    throw EDocumentoWord(textos_doc::kConvertidorSinPdf);
  if (::rename(hecho.c_str(), destino.c_str()) != 0)
    throw EDocumentoWord(textos_doc::kNoSeMovioPdf + destino.string() + " (" +
                         std::strerror(errno) + ")");
}

}  // namespace kv
