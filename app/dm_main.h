#pragma once
// The data module: the in-memory PEP table that the detection fills, the grid shows and
// the report reads. Lives as long as the program.
#include "engine/tabla_peps.h"

namespace kv {

class TdmMain {
 public:
  TdmMain() { vtPEPs.Open(); }
  TTablaPEPs vtPEPs;
};

}  // namespace kv
