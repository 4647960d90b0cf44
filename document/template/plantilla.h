#pragma once

#include <span>

namespace kv {

// The blank questionnaire as a Word template package (.dotx), byte for byte as it is to be
// written to disk. Generated at build time from document/template/contenido and paquete.
std::span<const unsigned char> PlantillaCuestionario();

}  // namespace kv
