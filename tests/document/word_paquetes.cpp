#include "tests/document/word_paquetes.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "document/ooxml_package.h"
#include "document/ooxml_story.h"
#include "document/ooxml_text.h"

namespace kv::prueba {

const char* const kEspacios =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\" "
    "xmlns:o=\"urn:schemas-microsoft-com:office:office\"";

namespace {

constexpr const char* kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

}  // namespace

void TPaqueteWord::Escribe(const std::string& sRuta) const {
  std::string sTipoPrincipal =
      bPlantilla
          ? "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"
          : "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
  std::string tipos =
      std::string(kDecl) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>" +
      (bTipoPorDefecto ? "<Default Extension=\"xml\" ContentType=\"" + sTipoPrincipal + "\"/>"
                       : "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                         "<Override PartName=\"/word/document.xml\" ContentType=\"" +
                             sTipoPrincipal + "\"/>");
  std::string rels =
      std::string(kDecl) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"settings\" Type=\"" +
      kRel + "settings\" Target=\"settings.xml\"/>";
  std::vector<std::pair<std::string, std::string>> partes;
  auto historia = [&](const std::string& sNombre, const std::string& sContenido, bool bEncabezado) {
    std::string sRaiz = bEncabezado ? "w:hdr" : "w:ftr";
    std::string sTipo = bEncabezado ? "header" : "footer";
    tipos += "<Override PartName=\"/word/" + sNombre +
             "\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml." +
             sTipo + "+xml\"/>";
    rels += "<Relationship Id=\"" + sNombre.substr(0, sNombre.size() - 4) + "\" Type=\"" + kRel +
            sTipo + "\" Target=\"" + sNombre + "\"/>";
    partes.emplace_back("word/" + sNombre, std::string(kDecl) + "<" + sRaiz + kEspacios + ">" +
                                               sContenido + "</" + sRaiz + ">");
  };
  for (const auto& [n, c] : encabezados) historia(n, c, true);
  for (const auto& [n, c] : pies) historia(n, c, false);
  tipos +=
      "<Override PartName=\"/word/settings.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/"
      "></Types>";
  rels += "</Relationships>";
  std::vector<std::pair<std::string, std::string>> todo = {
      {"[Content_Types].xml", tipos},
      {"_rels/.rels",
       std::string(kDecl) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"" +
           kRel + "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
      {"word/document.xml", std::string(kDecl) + "<w:document" + kEspacios + "><w:body>" + sCuerpo +
                                "</w:body></w:document>"},
      {"word/_rels/document.xml.rels", rels},
      {"word/settings.xml",
       std::string(kDecl) + "<w:settings" + kEspacios + ">" + sAjustes + "</w:settings>"}};
  todo.insert(todo.end(), partes.begin(), partes.end());
  for (const auto& [n, c] : otras) todo.emplace_back(n, c);
  writeZipPackage(sRuta, todo);
}

std::string Parrafo(const std::string& sContenido, const std::string& sPPr) {
  return "<w:p>" + (sPPr.empty() ? "" : "<w:pPr>" + sPPr + "</w:pPr>") + sContenido + "</w:p>";
}

std::string Texto(const std::string& sTexto, const std::string& sRPr) {
  return "<w:r>" + (sRPr.empty() ? "" : "<w:rPr>" + sRPr + "</w:rPr>") +
         "<w:t xml:space=\"preserve\">" + sTexto + "</w:t></w:r>";
}

std::string Marcador(int nId, const std::string& sNombre) {
  std::string sId = std::to_string(nId);
  return "<w:bookmarkStart w:id=\"" + sId + "\" w:name=\"" + sNombre +
         "\"/><w:bookmarkEnd w:id=\"" + sId + "\"/>";
}

std::string SeccionFinal(const std::string& sReferencias, bool bPrimeraDiferente) {
  return "<w:sectPr>" + sReferencias +
         "<w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1417\" w:right=\"758\" "
         "w:bottom=\"1417\" w:left=\"851\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/>" +
         (bPrimeraDiferente ? "<w:titlePg/>" : "") + "</w:sectPr>";
}

std::string LeeParte(const std::string& sPaquete, const std::string& sParte) {
  std::ifstream in(sPaquete, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  OoxmlPackage paquete(out.str(), sPaquete);
  return paquete.read(sParte);
}

namespace {

pugi::xml_document Analiza(const std::string& sPaquete, const std::string& sParte) {
  std::string s = LeeParte(sPaquete, sParte);
  pugi::xml_document doc;
  doc.load_buffer(s.data(), s.size(), pugi::parse_default | pugi::parse_ws_pcdata);
  return doc;
}

}  // namespace

std::string TextoDeParte(const std::string& sPaquete, const std::string& sParte) {
  pugi::xml_document doc = Analiza(sPaquete, sParte);
  std::vector<pugi::xml_node> parrafos;
  ooxml::collectParagraphs(doc.document_element(), parrafos);
  std::string r;
  for (pugi::xml_node p : parrafos) {
    if (!r.empty()) r += "\n";
    r += ooxml::AUtf8(ooxml::paragraphText(p));
  }
  return r;
}

std::string TodoElTexto(const std::string& sPaquete, const std::string& sParte) {
  pugi::xml_document doc = Analiza(sPaquete, sParte);
  std::string r;
  for (pugi::xpath_node t : doc.select_nodes("//w:t")) r += t.node().text().get();
  return r;
}

namespace {

void Marca(pugi::xml_node n, std::string& r) {
  for (pugi::xml_node c : n.children()) {
    std::string sNombre = c.name();
    if (sNombre == "w:t") {
      r += c.text().get();
    } else if (sNombre == "w:tab") {
      r += "\t";
    } else if (sNombre == "w:bookmarkStart") {
      r += "[";
    } else if (sNombre == "w:bookmarkEnd") {
      r += "]";
    } else if (sNombre == "w:p") {
      if (!r.empty()) r += "\n";
      Marca(c, r);
    } else {
      Marca(c, r);
    }
  }
}

}  // namespace

std::string TextoConMarcadores(const std::string& sPaquete, const std::string& sParte) {
  pugi::xml_document doc = Analiza(sPaquete, sParte);
  std::string r;
  Marca(doc.document_element(), r);
  return r;
}

std::string FormatoDelTexto(const std::string& sPaquete, const std::string& sParte,
                            const std::string& sTexto) {
  pugi::xml_document doc = Analiza(sPaquete, sParte);
  for (pugi::xpath_node t : doc.select_nodes("//w:r/w:t")) {
    if (sTexto != t.node().text().get()) continue;
    std::ostringstream out;
    t.node().parent().child("w:rPr").print(out, "", pugi::format_raw);
    return out.str();
  }
  return "?";
}

std::string PdfATexto(const std::string& sPdf) {
  std::string sOrden = "pdftotext -layout '" + sPdf + "' -";
  std::unique_ptr<FILE, int (*)(FILE*)> tubo(popen(sOrden.c_str(), "r"), pclose);
  std::string r;
  std::array<char, 4096> buf;
  size_t n;
  while (tubo && (n = fread(buf.data(), 1, buf.size(), tubo.get())) > 0) r.append(buf.data(), n);
  return r;
}

std::string ConvertidorFalso(const std::string& sCarpeta, const std::string& sVersion,
                             const std::string& sConversion) {
  static int nContador = 0;
  std::string sRuta = sCarpeta + "/convertidor-" + std::to_string(++nContador);
  std::ofstream out(sRuta);
  out << "#!/bin/sh\n"
         "if [ \"$1\" = \"--version\" ]; then echo \"LibreOffice "
      << sVersion
      << " 40(Build:2)\"; exit 0; fi\n"
         "outdir=\"\"; prev=\"\"; last=\"\"\n"
         "for a in \"$@\"; do [ \"$prev\" = \"--outdir\" ] && outdir=\"$a\"; prev=\"$a\"; "
         "last=\"$a\"; done\n"
         "base=$(basename \"$last\"); base=\"${base%.*}\"\n"
      << sConversion << "\nexit 0\n";
  out.close();
  std::filesystem::permissions(sRuta, std::filesystem::perms::owner_all);
  return sRuta;
}

TProgramaDePrueba::TProgramaDePrueba() {
  FijaCarpetaPrograma(Carpeta());
  F_AbridorAnterior = AsignaAbridorArchivos([this](const std::string& s) {
    abiertos.push_back(s);
    return true;
  });
}

TProgramaDePrueba::~TProgramaDePrueba() {
  FijaCarpetaPrograma(std::nullopt);
  AsignaAbridorArchivos(F_AbridorAnterior);
}

std::vector<std::string> TProgramaDePrueba::Archivos() const {
  std::vector<std::string> r;
  for (const auto& e : std::filesystem::recursive_directory_iterator(F_Carpeta.Ruta()))
    r.push_back(std::filesystem::relative(e.path(), F_Carpeta.Ruta()).string());
  std::sort(r.begin(), r.end());
  return r;
}

}  // namespace kv::prueba
