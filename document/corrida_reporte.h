#pragma once
// One report run on a program folder and the rules every file it writes there follows:
// the folder must be writable; one run at a time holds the folder's report (a lock file
// beside the output, whose owner's death hands it over); working files have names of their
// own per run, all starting with ".kv-"; an output is written under a working name and
// renamed onto its final name only once complete; an output the user made read-only is never
// replaced. Working files of runs that died are removed when the next run starts.
#include <memory>
#include <string>

namespace kv {

class TCerrojoArchivo;

// Prefix of every working file and folder a run leaves in the program folder meanwhile.
inline constexpr const char* kPrefijoTrabajo = ".kv-";
// Prefix of the converter's private profile folders in the system's temporary folder,
// followed by the owner's process id and "-".
inline constexpr const char* kPrefijoPerfil = "kv-perfil-";

// Throws EDocumentoWord, saying what to change, when no file can be created in sCarpeta.
void VerificaCarpetaEscribible(const std::string& sCarpeta);
// Throws EDocumentoWord naming the file when sRuta exists and may not be replaced
// (read-only, or not a file).
void VerificaReemplazable(const std::string& sRuta);
// Removes the converter profiles of the temporary folder whose owner process is gone.
void BorraPerfilesHuerfanos();

class TCorridaReporte {
 public:
  // Checks that sCarpeta is writable and takes the lock of its output sSalida (a name in
  // sCarpeta), then removes the working files that dead runs left there and the converter
  // profiles of dead processes. Throws EDocumentoWord when the folder cannot be written or
  // another run (of this or another process, alive) holds the report; nothing is left then.
  TCorridaReporte(const std::string& sCarpeta, const std::string& sSalida);
  ~TCorridaReporte();
  TCorridaReporte(const TCorridaReporte&) = delete;
  TCorridaReporte& operator=(const TCorridaReporte&) = delete;

  const std::string& Carpeta() const { return F_sCarpeta; }
  // Full path of sNombre in the folder.
  std::string Ruta(const std::string& sNombre) const;
  // Name (without the folder) of this run's working file for sNombre.
  std::string NombreDeTrabajo(const std::string& sNombre) const;
  // Renames the finished working file sRutaTrabajo onto sNombre in the folder. Throws
  // EDocumentoWord when the final file may not be replaced or the rename fails; the working
  // file is removed then and the final file stays as it was.
  void Coloca(const std::string& sRutaTrabajo, const std::string& sNombre) const;

 private:
  std::string F_sCarpeta;
  std::string F_sPrefijo;
  std::unique_ptr<TCerrojoArchivo> F_Cerrojo;
};

}  // namespace kv
