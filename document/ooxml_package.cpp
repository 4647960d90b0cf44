#include "document/ooxml_package.h"

#include <zip.h>

#include <algorithm>
#include <cstring>

#include "document/error_doc.h"
#include "document/textos.h"

namespace kv {

namespace {

struct TDescartaZip {
  void operator()(zip_t* z) const { zip_discard(z); }
};
using TZipPtr = std::unique_ptr<zip_t, TDescartaZip>;

struct TCierraArchivoZip {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using TArchivoZipPtr = std::unique_ptr<zip_file_t, TCierraArchivoZip>;

std::string MensajeZip(zip_error_t* error) {
  const char* s = zip_error_strerror(error);
  return s ? s : "";
}

std::string MensajeZip(zip_t* z) {
  return MensajeZip(zip_get_error(z));
}

[[noreturn]] void FallaZip(const std::string& sPrefijo, const std::string& sDetalle) {
  throw EDocumentoWord(sPrefijo + " (" + sDetalle + ")");
}

// A writable archive that is discarded unless Cierra() succeeds.
class TZipEscritura {
 public:
  explicit TZipEscritura(const std::string& sRuta) {
    int nError = 0;
    zip_.reset(zip_open(sRuta.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &nError));
    if (!zip_) {
      zip_error_t error;
      zip_error_init_with_code(&error, nError);
      std::string sDetalle = MensajeZip(&error);
      zip_error_fini(&error);
      FallaZip(textos_doc::kErrorGuardar + sRuta, sDetalle);
    }
    F_sRuta = sRuta;
  }
  zip_t* get() const { return zip_.get(); }
  // Adds an entry from a source; the source is freed on failure.
  void Agrega(const std::string& sNombre, zip_source_t* fuente) {
    if (!fuente) FallaZip(textos_doc::kErrorGuardar + F_sRuta, MensajeZip(zip_.get()));
    if (zip_file_add(zip_.get(), sNombre.c_str(), fuente, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(fuente);
      FallaZip(textos_doc::kErrorGuardar + F_sRuta, MensajeZip(zip_.get()));
    }
  }
  void AgregaBytes(const std::string& sNombre, const std::string& sBytes) {
    Agrega(sNombre, zip_source_buffer(zip_.get(), sBytes.data(), sBytes.size(), 0));
  }
  // libzip writes a temporary file beside sRuta and renames it over sRuta.
  void Cierra() {
    if (zip_close(zip_.get()) != 0)
      FallaZip(textos_doc::kErrorGuardar + F_sRuta, MensajeZip(zip_.get()));
    (void)zip_.release();
  }

 private:
  TZipPtr zip_;
  std::string F_sRuta;
};

}  // namespace

struct OoxmlPackage::Zip {
  std::string sBytes;  // must outlive the archive that reads from it
  TZipPtr zip;
};

OoxmlPackage::OoxmlPackage(std::string sBytes, const std::string& sNombreParaMensajes)
    : zip_(std::make_unique<Zip>()), name_(sNombreParaMensajes) {
  zip_->sBytes = std::move(sBytes);
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* fuente =
      zip_source_buffer_create(zip_->sBytes.data(), zip_->sBytes.size(), 0, &error);
  if (fuente) {
    zip_->zip.reset(zip_open_from_source(fuente, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!zip_->zip) zip_source_free(fuente);
  }
  if (!zip_->zip) {
    std::string sDetalle = MensajeZip(&error);
    zip_error_fini(&error);
    FallaZip(textos_doc::kPaqueteIlegible + name_, sDetalle);
  }
  zip_error_fini(&error);
}

OoxmlPackage::~OoxmlPackage() = default;

std::string OoxmlPackage::nameInArchive(const std::string& sParte) const {
  std::string sNombre = sParte;
  if (!sNombre.empty() && sNombre.front() == '/') sNombre.erase(0, 1);
  for (const auto& [sClave, sBytes] : replaced_)
    if (strcasecmp(sClave.c_str(), sNombre.c_str()) == 0) return sClave;
  zip_int64_t nIndice = zip_name_locate(zip_->zip.get(), sNombre.c_str(), ZIP_FL_NOCASE);
  if (nIndice >= 0) {
    const char* s = zip_get_name(zip_->zip.get(), static_cast<zip_uint64_t>(nIndice), 0);
    if (s) return s;
  }
  return sNombre;
}

bool OoxmlPackage::contains(const std::string& sParte) const {
  std::string sNombre = nameInArchive(sParte);
  return replaced_.count(sNombre) > 0 || zip_name_locate(zip_->zip.get(), sNombre.c_str(), 0) >= 0;
}

std::string OoxmlPackage::read(const std::string& sParte) const {
  std::string sNombre = nameInArchive(sParte);
  if (auto it = replaced_.find(sNombre); it != replaced_.end()) return it->second;
  zip_t* z = zip_->zip.get();
  zip_int64_t nIndice = zip_name_locate(z, sNombre.c_str(), 0);
  if (nIndice < 0) throw EDocumentoWord(textos_doc::kParteFaltante + sNombre);
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(z, static_cast<zip_uint64_t>(nIndice), 0, &st) != 0 ||
      !(st.valid & ZIP_STAT_SIZE))
    FallaZip(textos_doc::kPaqueteIlegible + name_, MensajeZip(z));
  TArchivoZipPtr archivo(zip_fopen_index(z, static_cast<zip_uint64_t>(nIndice), 0));
  if (!archivo) FallaZip(textos_doc::kPaqueteIlegible + name_, MensajeZip(z));
  std::string sBytes(static_cast<size_t>(st.size), '\0');
  size_t nLeidos = 0;
  while (nLeidos < sBytes.size()) {
    zip_int64_t n = zip_fread(archivo.get(), sBytes.data() + nLeidos, sBytes.size() - nLeidos);
    if (n < 0)
      FallaZip(textos_doc::kPaqueteIlegible + name_, MensajeZip(zip_file_get_error(archivo.get())));
    if (n == 0) break;
    nLeidos += static_cast<size_t>(n);
  }
  if (nLeidos != sBytes.size()) FallaZip(textos_doc::kPaqueteIlegible + name_, sNombre);
  return sBytes;
}

void OoxmlPackage::replace(const std::string& sParte, std::string sBytes) {
  replaced_[nameInArchive(sParte)] = std::move(sBytes);
}

void OoxmlPackage::save(const std::string& sRuta) const {
  zip_t* origen = zip_->zip.get();
  TZipEscritura destino(sRuta);
  std::vector<std::string> nuevos;
  for (const auto& [sNombre, sBytes] : replaced_) nuevos.push_back(sNombre);
  zip_int64_t nEntradas = zip_get_num_entries(origen, 0);
  for (zip_int64_t i = 0; i < nEntradas; ++i) {
    const char* s = zip_get_name(origen, static_cast<zip_uint64_t>(i), 0);
    if (!s) FallaZip(textos_doc::kPaqueteIlegible + name_, MensajeZip(origen));
    std::string sNombre = s;
    if (auto it = replaced_.find(sNombre); it != replaced_.end()) {
      destino.AgregaBytes(sNombre, it->second);
      nuevos.erase(std::find(nuevos.begin(), nuevos.end(), sNombre));
    } else {
      // The stored (compressed) bytes are copied as they are.
      destino.Agrega(sNombre, zip_source_zip(destino.get(), origen, static_cast<zip_uint64_t>(i),
                                             ZIP_FL_COMPRESSED, 0, -1));
    }
  }
  for (const auto& sNombre : nuevos) destino.AgregaBytes(sNombre, replaced_.at(sNombre));
  destino.Cierra();
}

void writeZipPackage(const std::string& sRuta,
                     const std::vector<std::pair<std::string, std::string>>& partes) {
  TZipEscritura destino(sRuta);
  for (const auto& [sNombre, sBytes] : partes) destino.AgregaBytes(sNombre, sBytes);
  destino.Cierra();
}

}  // namespace kv
