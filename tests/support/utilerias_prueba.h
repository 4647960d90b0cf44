#pragma once
// Program utilities for tests: pauses serve pending events once instead of waiting, and
// are recorded (with an optional action per pause), so timed sequences run at once.
#include <functional>
#include <vector>

#include "diag/qt/utilerias.h"

namespace kv {

class TUtileriasSinPausa : public TUtilerias {
 public:
  void HazPausa(int nSegs) override;

  // Lengths of the pauses asked for, in order.
  std::vector<int> Pausas;
  // Called at each pause with its number (0 first) before events are served.
  std::function<void(size_t nPausa)> AlPausar;
};

// Serves events until bCondicion holds or nMsMax elapse; whether it holds.
bool EsperaHasta(const std::function<bool()>& bCondicion, int nMsMax);

}  // namespace kv
