#pragma once
// What the evidence workbook of the answers needs besides the questionnaire: its options
// and its failure.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kv {

struct TOpcionesEvidencia {
  // Data rows per sheet before a sheet continues on the next (0: the format's limit).
  std::uint32_t nFilasPorHoja = 0;
};

// The evidence could not be written: the database or the workbook failed; the message
// says which and why.
class EEvidencia : public std::runtime_error {
 public:
  explicit EEvidencia(const std::string& sMensaje) : std::runtime_error(sMensaje) {}
};

}  // namespace kv
