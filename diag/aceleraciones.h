#pragma once
// The speed-ups the environment can turn off, one by one, to compare the answers with and
// without each (KV_JET_CACHE, KV_JET_GRUPOS, KV_JET_CLAVES, KV_COPIA_PARALELA): NAME=0
// turns NAME off; any other value, or none, leaves it on. Header-only, so that any layer
// asks it the same way without linking diag.
#include <cstdlib>
#include <cstring>

namespace kv {

inline bool AceleracionApagada(const char* sNombre) {
  const char* v = std::getenv(sNombre);
  return v && std::strcmp(v, "0") == 0;
}

}  // namespace kv
