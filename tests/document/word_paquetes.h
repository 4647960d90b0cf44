#pragma once
// Small WordprocessingML packages built by the tests themselves, and readers of what the
// document layer wrote.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "diag/programa.h"
#include "tests/support/aplicacion_qt.h"

namespace kv::prueba {

// The namespace declarations every fixture part carries.
extern const char* const kEspacios;

struct TPaqueteWord {
  std::string sCuerpo;                             // inside <w:body>, the final w:sectPr included
  std::map<std::string, std::string> encabezados;  // "header1.xml" -> inside <w:hdr>
  std::map<std::string, std::string> pies;         // "footer1.xml" -> inside <w:ftr>
  std::string sAjustes;                            // inside <w:settings>
  bool bPlantilla = true;
  // The main part's type given by the default of ".xml" instead of its own override.
  bool bTipoPorDefecto = false;
  // Extra parts carried untouched: name -> bytes.
  std::map<std::string, std::string> otras;

  // Writes the package; relationship ids are the part names without ".xml".
  void Escribe(const std::string& sRuta) const;
};

// Shorthands for fixture XML.
std::string Parrafo(const std::string& sContenido, const std::string& sPPr = "");
std::string Texto(const std::string& sTexto, const std::string& sRPr = "");
std::string Marcador(int nId, const std::string& sNombre);  // collapsed start + end
std::string SeccionFinal(const std::string& sReferencias = "", bool bPrimeraDiferente = false);

// A part of a written package.
std::string LeeParte(const std::string& sPaquete, const std::string& sParte);
// The paragraphs' visible text of a part, one line per paragraph (text boxes apart).
std::string TextoDeParte(const std::string& sPaquete, const std::string& sParte);
// Every w:t text of a part joined, in document order (text boxes included).
std::string TodoElTexto(const std::string& sPaquete, const std::string& sParte);

// The body's text with "[" and "]" where bookmarks start and end, paragraphs on lines.
std::string TextoConMarcadores(const std::string& sPaquete, const std::string& sParte);
// The run properties (serialised) of the run whose text is sTexto; "?" when none is.
std::string FormatoDelTexto(const std::string& sPaquete, const std::string& sParte,
                            const std::string& sTexto);

// The text of a PDF as pdftotext lays it out (pages separated by form feeds).
std::string PdfATexto(const std::string& sPdf);

// A stand-in for the converter: a shell script that answers "--version" with sVersion and
// otherwise runs sConversion with $outdir (the output folder) and $base (the input's name
// without extension) set. Returns its path.
std::string ConvertidorFalso(const std::string& sCarpeta, const std::string& sVersion,
                             const std::string& sConversion);

// A temporary folder that stands as the program folder for its lifetime; files that the
// layer asks to open are recorded instead.
class TProgramaDePrueba {
 public:
  TProgramaDePrueba();
  ~TProgramaDePrueba();
  TProgramaDePrueba(const TProgramaDePrueba&) = delete;
  TProgramaDePrueba& operator=(const TProgramaDePrueba&) = delete;

  std::string Carpeta() const { return F_Carpeta.Ruta().string(); }
  std::string Ruta(const std::string& sRelativa) const { return Carpeta() + "/" + sRelativa; }
  // Names of the files in the folder (and below it), sorted, relative to it.
  std::vector<std::string> Archivos() const;
  std::vector<std::string> abiertos;

 private:
  TCarpetaTemporal F_Carpeta;
  TAbridorArchivos F_AbridorAnterior;
};

}  // namespace kv::prueba
