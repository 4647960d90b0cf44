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

class OoxmlPackage {
 public:
  // Reads the package from the bytes of a ZIP file. Throws EDocumentoWord.
  explicit OoxmlPackage(std::string sBytes, const std::string& sNombreParaMensajes);
  ~OoxmlPackage();
  OoxmlPackage(const OoxmlPackage&) = delete;
  OoxmlPackage& operator=(const OoxmlPackage&) = delete;

  // Part names are those of the archive, without the leading "/"; compared ignoring case.
  bool contains(const std::string& sParte) const;
  // The part's bytes (a replacement if there is one). Throws EDocumentoWord when missing.
  std::string read(const std::string& sParte) const;
  // Replaces (or adds) a part.
  void replace(const std::string& sParte, std::string sBytes);
  // Writes the package to sRuta through a temporary file beside it. Throws EDocumentoWord.
  void save(const std::string& sRuta) const;

 private:
  struct Zip;
  std::unique_ptr<Zip> zip_;
  std::map<std::string, std::string> replaced_;  // key: the archive's own spelling
  std::string name_;

  std::string nameInArchive(const std::string& sParte) const;
};

// Writes a ZIP archive of the given entries in order (fixtures, tests, benchmarks).
// Throws EDocumentoWord.
void writeZipPackage(const std::string& sRuta,
                     const std::vector<std::pair<std::string, std::string>>& partes);

}  // namespace kv
