#include "document/corrida_reporte.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLockFile>
#include <QString>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "document/error_doc.h"
#include "document/textos_doc.h"

namespace kv {

namespace fs = std::filesystem;

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
  F_Cerrojo = std::make_unique<QLockFile>(QString::fromStdString(Ruta(sSalida + ".lock")));
  // Held as long as the run lasts, however long: only the owner's death frees it.
  F_Cerrojo->setStaleLockTime(0);
  if (!F_Cerrojo->tryLock(0)) {
    qint64 nPid = 0;
    QString sEquipo, sPrograma;
    std::string sDueno;
    if (F_Cerrojo->getLockInfo(&nPid, &sEquipo, &sPrograma))
      sDueno = textos_doc::kDuenoProceso + std::to_string(nPid) + textos_doc::kDuenoEquipo +
               sEquipo.toStdString() + ")";
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
