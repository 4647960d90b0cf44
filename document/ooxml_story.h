#pragma once
// Text editing inside WordprocessingML stories (body, header, footer, text box), the way
// Word's find, replace and typing leave the document: a match may run over several runs,
// replaced or typed text takes the formatting of its spot.
#include <pugixml.hpp>

#include <string>
#include <vector>

namespace kv::ooxml {

// One find-and-replace request, already translated from the caller's parameters.
struct Search {
  std::u32string text;
  // The replacement split at each "^&" (the found text goes between the pieces).
  std::vector<std::u32string> replacementParts{std::u32string()};
  bool matchCase = false;  // match case
  bool wholeWord = false;  // whole words only
  bool forward = true;
  int replace = 0;  // 0: find only, 1: the first occurrence, 2: all
};

// Searches the paragraphs below the given nodes (one story range, text boxes excluded)
// and replaces as requested. Returns the number of replacements.
int replaceInNodes(const std::vector<pugi::xml_node>& nodos, const Search& busqueda);

// Paragraphs below a node, in document order, not entering text boxes.
void collectParagraphs(pugi::xml_node nodo, std::vector<pugi::xml_node>& parrafos);
// The visible text of a paragraph as find sees it (tabs "\t", line breaks "\v").
std::u32string paragraphText(pugi::xml_node parrafo);

// Inserts sTexto as a new run beside `ancla` (a bookmark start or end): before it, or after
// it with bDespues; formatted like the text at that spot (the character before, else the
// one after, else the paragraph mark). Line ends become line breaks. Throws EDocumentoWord
// when no paragraph can take the text.
void insertTextBeside(pugi::xml_node ancla, bool bDespues, const std::u32string& sTexto);

// True when a bookmark's markers enclose text (or a paragraph end); false when collapsed.
bool marksText(pugi::xml_node inicio, pugi::xml_node fin);

// Removes the content between two markers of one bookmark (same paragraph, or paragraphs of
// one container, which are then joined). Throws EDocumentoWord for other layouts.
void deleteBetween(pugi::xml_node inicio, pugi::xml_node fin);

// True for the on/off values of WordprocessingML (missing value = on).
bool isOn(pugi::xml_node elemento);

}  // namespace kv::ooxml
