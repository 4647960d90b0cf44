#include "tests/document/template_paquete.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace kv::prueba {
namespace {

struct CierraZip {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct CierraArchivo {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct LiberaFuente {
  void operator()(zip_source_t* s) const { zip_source_free(s); }
};

[[noreturn]] void Falla(const std::string& que, zip_error_t* error) {
  throw std::runtime_error(que + ": " + zip_error_strerror(error));
}

}  // namespace

std::vector<TParteZip> LeeZip(std::span<const unsigned char> bytes) {
  zip_error_t error;
  zip_error_init(&error);
  std::unique_ptr<zip_source_t, LiberaFuente> fuente(
      zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error));
  if (!fuente) {
    const std::string msj = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw std::runtime_error("zip_source_buffer_create: " + msj);
  }
  std::unique_ptr<zip_t, CierraZip> zip(zip_open_from_source(fuente.get(), ZIP_RDONLY, &error));
  if (!zip) {
    const std::string msj = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw std::runtime_error("zip_open_from_source: " + msj);
  }
  fuente.release();  // the archive owns the source now
  zip_error_fini(&error);

  std::vector<TParteZip> partes;
  const zip_int64_t total = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < total; ++i) {
    const auto indice = static_cast<zip_uint64_t>(i);
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip.get(), indice, 0, &st) != 0) Falla("zip_stat", zip_get_error(zip.get()));
    std::unique_ptr<zip_file_t, CierraArchivo> archivo(zip_fopen_index(zip.get(), indice, 0));
    if (!archivo) Falla(st.name, zip_get_error(zip.get()));
    std::string datos(st.size, '\0');
    const zip_int64_t leidos = zip_fread(archivo.get(), datos.data(), st.size);
    if (leidos < 0 || static_cast<zip_uint64_t>(leidos) != st.size)
      Falla(st.name, zip_file_get_error(archivo.get()));
    partes.push_back({st.name, std::move(datos), st.mtime});
  }
  return partes;
}

std::map<std::string, std::string> PartesPorNombre(const std::vector<TParteZip>& partes) {
  std::map<std::string, std::string> r;
  for (const auto& p : partes) r[p.nombre] = p.datos;
  return r;
}

void CargaXml(pugi::xml_document& doc, const std::string& nombre, const std::string& datos) {
  const auto r = doc.load_buffer(datos.data(), datos.size(),
                                 pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!r) throw std::runtime_error(nombre + ": " + r.description());
}

std::string TextoDe(pugi::xml_node nodo) {
  std::string texto;
  for (const auto& t : nodo.select_nodes(".//w:t")) texto += t.node().text().get();
  return texto;
}

std::vector<std::string> TextosNumerados(std::span<const unsigned char> paquete) {
  pugi::xml_document doc;
  CargaXml(doc, "word/document.xml", PartesPorNombre(LeeZip(paquete)).at("word/document.xml"));
  std::vector<std::string> textos;
  for (const auto& p : doc.select_nodes("/w:document/w:body/w:p[w:pPr/w:numPr]"))
    textos.push_back(TextoDe(p.node()));
  return textos;
}

}  // namespace kv::prueba
