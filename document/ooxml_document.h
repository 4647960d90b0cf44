#pragma once
// A WordprocessingML document made from a template or document package: the parts it
// changes are parsed (main document, headers and footers, settings, content types), every
// other part is carried as stored. Word's object model is followed where the package
// allows: sections with their headers and footers, floating shapes, bookmarks, variables.
#include <pugixml.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/ooxml_package.h"
#include "document/ooxml_story.h"

namespace kv {

class OoxmlDocument {
 public:
  // Reads the package from its bytes. Throws EDocumentoWord when it is not a usable
  // WordprocessingML document or template.
  OoxmlDocument(std::string sBytes, const std::string& sNombre);
  ~OoxmlDocument();

  // Word's page-setup flags of section nSeccion (0-based).
  int sectionCount();
  bool oddAndEvenPages();
  bool differentFirstPage(int nSeccion);

  // Replaces in every story in Word's order: for each section its even-page header and
  // footer (when odd and even pages differ), its first-page ones (when the first page is
  // different), its primary ones, its body; then every text box among the floating shapes.
  void replaceEverywhere(const ooxml::Search& busqueda);

  // Bookmark names are compared without regard to case, as Word does.
  bool hasBookmark(const std::string& sNombre) const;
  // Types at the bookmark (0: over it, or after it when it marks no text; an enclosing
  // bookmark's text is replaced and the bookmark goes), before it (1) or after it (2).
  // The bookmark itself never grows. Throws EDocumentoWord; false for a missing bookmark.
  bool writeAtBookmark(const std::string& sNombre, const std::string& sTexto, int nModo);
  // Removes the bookmarked content, and with it the bookmark; a bookmark that marks no text
  // stays. Throws EDocumentoWord; false for a missing bookmark.
  bool deleteBookmark(const std::string& sNombre);
  // Ticks options of the choice list at a bookmark: the option lines are the paragraphs
  // with an enclosing square (U+20DE) from the bookmark's paragraph on; in each chosen line
  // (0-based) the space the square encloses becomes "X". sCaja goes into the empty box that
  // follows the option nCaja (none when negative). Throws EDocumentoWord when a chosen line
  // or the box is not there; false for a missing bookmark.
  bool tickOptions(const std::string& sNombre, const std::vector<int>& opciones, int nCaja,
                   const std::string& sCaja);

  // Adds a document variable; false when one of that name exists (Word refuses it).
  bool addVariable(const std::string& sNombre, const std::string& sValor);
  // Sets the results of the DOCVARIABLE fields of the main document to their variables.
  void updateFields();

  // Saves as a document (.docx content type). Throws EDocumentoWord.
  void save(const std::string& sRuta);

 private:
  struct Part {
    std::string sNombre;
    pugi::xml_document xml;
    bool bModificada = false;
  };
  struct Section {
    std::vector<pugi::xml_node> nodos;
    pugi::xml_node sectPr;
  };
  struct Bookmark {
    Part* parte;
    pugi::xml_node inicio;
    pugi::xml_node fin;
  };
  struct Shape {
    bool bCuadroTexto = false;
    std::vector<pugi::xml_node> contenidos;  // the text box story and its fallback copy
  };

  Part& part(const std::string& sNombre);
  // Relationship id -> (type, target part) of a part ("" for the package's own).
  std::map<std::string, std::pair<std::string, std::string>> relationships(
      const std::string& sParte);
  std::vector<Section> sections();
  void indexBookmarks(Part& parte);
  // The header or footer part of a section for "default", "first" or "even"; a section
  // without its own uses the previous section's. Empty when there is none.
  std::string sectionStory(const std::vector<Section>& secciones, size_t nSeccion,
                           const char* sElemento, const char* sTipo) const;
  void replaceInPart(const std::string& sNombre, const ooxml::Search& busqueda);
  std::vector<Shape> shapes();
  const Bookmark* bookmark(const std::string& sNombre) const;
  void forgetBookmark(const std::string& sNombre);
  Part* settings();

  OoxmlPackage package_;
  std::string name_;
  std::map<std::string, std::unique_ptr<Part>> parts_;  // key: lower-case name
  std::string mainPart_;
  std::string mainType_;
  std::map<std::string, std::string> mainRelationships_;  // relationship id -> part name
  std::string settingsPart_;
  std::map<std::string, Bookmark> bookmarks_;  // key: folded name
};

}  // namespace kv
