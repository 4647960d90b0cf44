#pragma once
// Reading a Word package in the template tests: its parts by name, parsed as XML.
#include <pugixml.hpp>

#include <map>
#include <span>
#include <string>
#include <vector>

namespace kv::prueba {

struct TParteZip {
  std::string nombre;
  std::string datos;
  time_t modificado = 0;
};

// Every entry of a ZIP archive held in memory, in archive order; throws std::runtime_error
// with libzip's message when the bytes are not a readable archive.
std::vector<TParteZip> LeeZip(std::span<const unsigned char> bytes);

// The archive's entries by name.
std::map<std::string, std::string> PartesPorNombre(const std::vector<TParteZip>& partes);

// Parses an XML part; throws std::runtime_error naming the part when it is not well formed.
void CargaXml(pugi::xml_document& doc, const std::string& nombre, const std::string& datos);

// The text of a node: its w:t descendants, in order.
std::string TextoDe(pugi::xml_node nodo);

// The texts of the numbered paragraphs of a package's body, in order.
std::vector<std::string> TextosNumerados(std::span<const unsigned char> paquete);

}  // namespace kv::prueba
