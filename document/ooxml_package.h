#pragma once
// An Office Open XML package held in memory: the ZIP archive as read, plus the parts that
// were replaced. Saving writes the replaced parts and copies every other entry as it was
// stored (compressed bytes included), to a temporary file that is then renamed into place.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kv {

class TPaqueteOOXML {
 public:
  // Reads the package from the bytes of a ZIP file. Throws EDocumentoWord.
  explicit TPaqueteOOXML(std::string sBytes, const std::string& sNombreParaMensajes);
  ~TPaqueteOOXML();
  TPaqueteOOXML(const TPaqueteOOXML&) = delete;
  TPaqueteOOXML& operator=(const TPaqueteOOXML&) = delete;

  // Part names are those of the archive, without the leading "/"; compared ignoring case.
  bool Existe(const std::string& sParte) const;
  // The part's bytes (a replacement if there is one). Throws EDocumentoWord when missing.
  std::string Lee(const std::string& sParte) const;
  // Replaces (or adds) a part.
  void Reemplaza(const std::string& sParte, std::string sBytes);
  // Writes the package to sRuta through a temporary file beside it. Throws EDocumentoWord.
  void Guarda(const std::string& sRuta) const;

 private:
  struct TZip;
  std::unique_ptr<TZip> F_Zip;
  std::map<std::string, std::string> F_Reemplazos;  // key: the archive's own spelling
  std::string F_sNombre;

  std::string NombreEnArchivo(const std::string& sParte) const;
};

// Writes a ZIP archive of the given entries in order (fixtures, tests, benchmarks).
// Throws EDocumentoWord.
void EscribePaqueteZip(const std::string& sRuta,
                       const std::vector<std::pair<std::string, std::string>>& partes);

}  // namespace kv
