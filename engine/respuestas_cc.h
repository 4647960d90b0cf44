#pragma once
// The exchange house's own answers: the 39 questions the database cannot answer, their kind
// of entry and the question each one depends on, the answers typed by the user, their text
// file (RespuestasCC.ini) and what each answer puts into the questionnaire document.
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/genera_cuestionario.h"
#include "document/template/contenido.h"

namespace kv {

enum class TTipoRespuestaCC {
  Texto,       // one line: names, registrations
  TextoLargo,  // several lines: lists of names
  RFC,         // one line; a shape other than a legal person's RFC is warned, not refused
  Entero,      // a count: a whole number >= 0
  Monto,       // an amount: "." as decimal point, at most two decimals
  Una,         // one option of the list
  Varias,      // every option that applies
};

struct TPreguntaCC {
  int nNumero;
  TTipoRespuestaCC tipo;
  // The question applies only when question nDependeDe is answered with the option
  // sSiAplica; 0 when it always applies.
  int nDependeDe;
  const char* sSiAplica;
};

// The questions the house answers, in questionnaire order.
std::span<const TPreguntaCC> PreguntasCC();
// The question of that number, or null when the database answers it.
const TPreguntaCC* BuscaPreguntaCC(int nPregunta);
// The questionnaire's own content of a question (text, note, options).
const TPreguntaCuestionario& ContenidoPregunta(int nPregunta);

// One answer: the text of the text kinds (numbers as typed), or the chosen options of a list
// by name, in the list's order, with the text of the box of the chosen option that has one.
struct TRespuestaCC {
  std::string sTexto;
  std::vector<std::string> opciones;
  std::string sEspecifique;
  bool Vacia() const { return sTexto.empty() && opciones.empty(); }
  bool operator==(const TRespuestaCC&) const = default;
};

enum class TEstadoPreguntaCC {
  Contestada,
  NoAplica,   // the question it depends on was answered so that it does not apply
  Pendiente,  // still to be answered
};

class TRespuestasCC {
 public:
  // The answer of question n, or null when it has none.
  const TRespuestaCC* Respuesta(int nPregunta) const;
  // Sets the answer of question n; an empty answer removes it.
  void Fija(int nPregunta, TRespuestaCC respuesta);
  TEstadoPreguntaCC Estado(int nPregunta) const;
  // Whether question n applies given the answers so far (a question whose controlling
  // question is still unanswered does not apply yet).
  bool Aplica(int nPregunta) const;
  // How many of the house's questions are still to be answered.
  int Pendientes() const;
  const std::map<int, TRespuestaCC>& Todas() const { return F_Respuestas; }
  bool operator==(const TRespuestasCC&) const = default;

 private:
  std::map<int, TRespuestaCC> F_Respuestas;
};

// The problem with an answer for question n, in Spanish for the user; empty when it is valid.
std::string ValidaRespuestaCC(int nPregunta, const TRespuestaCC& respuesta);
// A warning about an answer that is kept as typed (an RFC of an unusual shape); or empty.
std::string AvisoRespuestaCC(int nPregunta, const TRespuestaCC& respuesta);

// The answer of question n as a text: the text typed, the chosen options separated by "; "
// (the box's text after its option), "NO APLICA"; nothing while it is still to be answered.
std::optional<std::string> TextoRespuestaCC(const TRespuestasCC& respuestas, int nPregunta);
// The text typed at question n's bookmark: as TextoRespuestaCC for the text kinds and for a
// question that does not apply; empty for an answered list (its options are ticked instead).
std::optional<std::string> TextoEnMarcadorCC(const TRespuestasCC& respuestas, int nPregunta);
// The options of question n's list to tick and the text of its box.
TMarcasOpciones MarcasRespuestaCC(const TRespuestasCC& respuestas, int nPregunta);

// ---------------------------------------------------------------------------------------
// The file RespuestasCC.ini: UTF-8 text, section [RespuestasCC], one key per question
// (P1, P2, ... P212), lists as their options' names separated by " | ".

inline constexpr const char* kArchivoRespuestasCC = "RespuestasCC.ini";

std::string EscribeTextoRespuestasCC(const TRespuestasCC& respuestas);

struct TLecturaRespuestasCC {
  bool bExiste = false;              // false: no file, nothing else is set
  bool bAjeno = false;               // not an answers file at all (nothing was taken from it)
  TRespuestasCC respuestas;          // every valid answer found
  std::vector<std::string> errores;  // one per line or answer that was not taken
  bool Correcta() const { return errores.empty(); }
};

TLecturaRespuestasCC LeeTextoRespuestasCC(const std::string& sTexto);
TLecturaRespuestasCC LeeArchivoRespuestasCC(const std::filesystem::path& ruta);

struct TGuardadoRespuestasCC {
  bool bOk = false;
  bool bSinPermiso = false;  // the folder does not let the file be written
  std::string sError;        // what went wrong, in Spanish, with its cause
};

// Writes the file through a temporary file beside it that is then renamed into place, and
// reads it back to check it holds the same answers. A file that was there is replaced only
// by a complete new one.
TGuardadoRespuestasCC GuardaArchivoRespuestasCC(const std::filesystem::path& ruta,
                                                const TRespuestasCC& respuestas);

// Of the given places, the file in use: the most recently written of those that exist;
// nothing when none does.
std::optional<std::filesystem::path> ElijeArchivoRespuestasCC(
    const std::vector<std::filesystem::path>& candidatos);

}  // namespace kv
