#include "document/corrida_reporte.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "document/error_doc.h"
#include "document/textos.h"

namespace kv {

namespace fs = std::filesystem;

// The lock of a report's output: an flock on the open lock file, which the system frees
// when its owner dies. The file names its owner (process id, program and host, one a line)
// and goes when the run ends.
class TCerrojoArchivo {
 public:
  explicit TCerrojoArchivo(std::string sRuta) : F_sRuta(std::move(sRuta)) {}
  ~TCerrojoArchivo() {
    if (F_nFd < 0) return;
    ::unlink(F_sRuta.c_str());
    ::close(F_nFd);
  }
  TCerrojoArchivo(const TCerrojoArchivo&) = delete;
  TCerrojoArchivo& operator=(const TCerrojoArchivo&) = delete;

  // True once taken; false when another run holds it (or the file cannot be opened).
  bool Toma() {
    for (int nIntento = 0; nIntento < 8; ++nIntento) {
      const int nFd = ::open(F_sRuta.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (nFd < 0) return false;
      if (::flock(nFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(nFd);
        return false;
      }
      // Its owner may have removed the file between our open and our lock: then the lock
      // is on a name nobody sees, and the file is opened again.
      struct stat abierto {
      }, actual{};
      if (::fstat(nFd, &abierto) == 0 && ::stat(F_sRuta.c_str(), &actual) == 0 &&
          abierto.st_dev == actual.st_dev && abierto.st_ino == actual.st_ino) {
        char sEquipo[256] = {};
        ::gethostname(sEquipo, sizeof sEquipo - 1);
        const std::string s =
            std::to_string(::getpid()) + "\ncuestionario-operatividad\n" + sEquipo + "\n";
        if (::ftruncate(nFd, 0) == 0 && ::pwrite(nFd, s.data(), s.size(), 0) < 0) {
          // The owner's name is a courtesy: the lock holds without it.
        }
        F_nFd = nFd;
        return true;
      }
      ::close(nFd);
    }
    return false;
  }

  // The owner the file names; false when it names none.
  bool Dueno(long& nPid, std::string& sEquipo) const {
    std::ifstream in(F_sRuta);
    std::string sPid, sPrograma;
    if (!std::getline(in, sPid) || !std::getline(in, sPrograma) || !std::getline(in, sEquipo))
      return false;
    const auto [p, err] = std::from_chars(sPid.data(), sPid.data() + sPid.size(), nPid);
    return err == std::errc() && p == sPid.data() + sPid.size();
  }

 private:
  std::string F_sRuta;
  int F_nFd = -1;
};

namespace {

std::string Causa(int nError) {
  return std::string(" (") + std::strerror(nError) + ")";
}

// A process id that this host no longer runs (one of another user counts as running).
bool ProcesoTerminado(long nPid) {
  return nPid > 0 && ::kill(static_cast<pid_t>(nPid), 0) == -1 && errno == ESRCH;
}

// Eight hex digits, different for every call.
std::string Aleatorio() {
  static std::atomic<unsigned> nSerie{0};
  std::random_device azar;
  const unsigned n = azar() ^ (++nSerie * 2654435761u);
  char buf[9];
  const auto r = std::to_chars(buf, buf + 8, n, 16);
  return std::string(8 - static_cast<std::size_t>(r.ptr - buf), '0') + std::string(buf, r.ptr);
}

}  // namespace

void VerificaCarpetaEscribible(const std::string& sCarpeta) {
  struct stat st {};
  if (::stat(sCarpeta.c_str(), &st) != 0)
    throw EDocumentoWord(textos_doc::kCarpetaNoEscribible + sCarpeta + Causa(errno) +
                         textos_doc::kCarpetaNoEscribibleQueHacer);
  // A folder without any write permission is read-only also for an administrator.
  if (!S_ISDIR(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(sCarpeta.c_str(), W_OK) != 0)
    throw EDocumentoWord(textos_doc::kCarpetaNoEscribible + sCarpeta + textos_doc::kSoloLectura +
                         textos_doc::kCarpetaNoEscribibleQueHacer);
  // A read-only mount or a full disk shows only when a file is made.
  std::string sPrueba = sCarpeta + "/" + kPrefijoTrabajo + std::to_string(::getpid()) + "-XXXXXX";
  const int fd = ::mkstemp(sPrueba.data());
  if (fd < 0)
    throw EDocumentoWord(textos_doc::kCarpetaNoEscribible + sCarpeta + Causa(errno) +
                         textos_doc::kCarpetaNoEscribibleQueHacer);
  ::close(fd);
  ::unlink(sPrueba.c_str());
}

void VerificaReemplazable(const std::string& sRuta) {
  struct stat st {};
  if (::stat(sRuta.c_str(), &st) != 0) return;  // nothing to replace
  if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(sRuta.c_str(), W_OK) != 0)
    throw EDocumentoWord(textos_doc::kArchivoSoloLectura + sRuta +
                         textos_doc::kArchivoSoloLecturaQueHacer);
}

void BorraPerfilesHuerfanos() {
  std::error_code ec;
  const fs::path temporal = fs::temp_directory_path(ec);
  if (ec) return;
  const std::string sPrefijo = kPrefijoPerfil;
  for (const auto& e : fs::directory_iterator(temporal, ec)) {
    const std::string sNombre = e.path().filename().string();
    if (sNombre.rfind(sPrefijo, 0) != 0) continue;
    // "kv-perfil-<pid>-XXXXXX"
    long nPid = 0;
    const char* ini = sNombre.c_str() + sPrefijo.size();
    const char* fin = sNombre.c_str() + sNombre.size();
    const auto [p, err] = std::from_chars(ini, fin, nPid);
    if (err != std::errc() || p == ini || p == fin || *p != '-') continue;
    std::error_code ecBorra;
    if (ProcesoTerminado(nPid)) fs::remove_all(e.path(), ecBorra);
  }
}

TCorridaReporte::TCorridaReporte(const std::string& sCarpeta, const std::string& sSalida)
    : F_sCarpeta(sCarpeta),
      F_sPrefijo(kPrefijoTrabajo + std::to_string(::getpid()) + "-" + Aleatorio() + "-") {
  VerificaCarpetaEscribible(F_sCarpeta);
  // Held as long as the run lasts, however long: only the owner's death frees it.
  F_Cerrojo = std::make_unique<TCerrojoArchivo>(Ruta(sSalida + ".lock"));
  if (!F_Cerrojo->Toma()) {
    long nPid = 0;
    std::string sEquipo;
    std::string sDueno;
    if (F_Cerrojo->Dueno(nPid, sEquipo))
      sDueno = textos_doc::kDuenoProceso + std::to_string(nPid) + textos_doc::kDuenoEquipo +
               sEquipo + ")";
    throw EDocumentoWord(textos_doc::kReporteEnCurso + Ruta(sSalida) + sDueno +
                         textos_doc::kReporteEnCursoQueHacer);
  }
  // The lock is ours: whatever working file the folder holds belongs to a run that died.
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(F_sCarpeta, ec)) {
    std::error_code ecBorra;
    if (e.path().filename().string().rfind(kPrefijoTrabajo, 0) == 0)
      fs::remove_all(e.path(), ecBorra);
  }
  BorraPerfilesHuerfanos();
}

TCorridaReporte::~TCorridaReporte() = default;

std::string TCorridaReporte::Ruta(const std::string& sNombre) const {
  return F_sCarpeta + "/" + sNombre;
}

std::string TCorridaReporte::NombreDeTrabajo(const std::string& sNombre) const {
  return F_sPrefijo + sNombre;
}

void TCorridaReporte::Coloca(const std::string& sRutaTrabajo, const std::string& sNombre) const {
  const std::string sFinal = Ruta(sNombre);
  try {
    VerificaReemplazable(sFinal);
    if (::rename(sRutaTrabajo.c_str(), sFinal.c_str()) != 0)
      throw EDocumentoWord(textos_doc::kNoSeMovioPdf + sFinal + Causa(errno));
  } catch (const EDocumentoWord&) {
    ::unlink(sRutaTrabajo.c_str());
    throw;
  }
}

}  // namespace kv
