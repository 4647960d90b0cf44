#pragma once
// A failure of the document layer: of the package (libzip), of a part's XML (pugixml), of
// an operation on the document or of the PDF converter, in the system's own terms.
#include <stdexcept>
#include <string>

namespace kv {

class EDocumentoWord : public std::runtime_error {
 public:
  explicit EDocumentoWord(const std::string& sMensaje) : std::runtime_error(sMensaje) {}
};

}  // namespace kv
