#pragma once
// The questionnaire's own content, as the template carries it: sections, the 212 questions
// with their guidance notes and option lists. Generated at build time from
// document/template/contenido, the same sources the template is made from.
#include <span>

namespace kv {

enum class TAreaRespuesta { Caja, CajaAncha, Lista };

struct TOpcionCuestionario {
  const char* sTexto;  // in capitals, as printed
  bool bConCaja;       // followed by an empty box for the house's own value
};

struct TPreguntaCuestionario {
  int nNumero;
  int nSeccion;
  TAreaRespuesta area;
  std::span<const TOpcionCuestionario> opciones;  // empty for a box
  const char* sLista;                             // name of the option list, "" for a box
  const char* sTexto;
  const char* sNota;  // "" when the question has no guidance note
};

struct TSeccionCuestionario {
  int nNumero;
  int nPrimera;
  int nUltima;
  const char* sTitulo;
};

std::span<const TSeccionCuestionario> SeccionesCuestionario();
// Indexed by question number minus one.
std::span<const TPreguntaCuestionario> PreguntasCuestionario();

}  // namespace kv
