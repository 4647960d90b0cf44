#pragma once

#include <span>

namespace kv {

// The blank questionnaire as a Word template package (.dotx), byte for byte as it is to be
// written to disk. Generated at build time from document/template/contenido and paquete.
std::span<const unsigned char> PlantillaCuestionario();

// The text of question nPregunta (1 to 212) as the template shows it; empty for any other
// number. From the same source as the template.
const char* TextoPregunta(int nPregunta);

}  // namespace kv
