#include "jet/mdb/mdb_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "data/db/error.h"
#include "diag/texto.h"
#include "jet/mdb/jet4_format.h"
#include "jet/textos.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

using jet4::kCreatedAt;
using jet4::kPasswordAt;

// Bytes of page 0 read: the masked part and the Jet 4 password's date.
constexpr std::size_t kHeaderBytes = 0x98;

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::string decodeMdbPassword(const unsigned char* pageIn, int jetVersion) {
  unsigned char page[kHeaderBytes];
  std::memcpy(page, pageIn, kHeaderBytes);
  jet4::maskHeader(page + jet4::kHeaderMaskAt,
                   jetVersion == 3 ? jet4::kHeaderMaskedBytesJet3 : jet4::kHeaderMaskedBytesJet4);
  std::string out;
  if (jetVersion == 3) {
    // Jet 3: up to 20 single-byte characters.
    for (std::size_t i = 0; i < 20 && page[kPasswordAt + i]; ++i)
      AgregaUtf8(out, page[kPasswordAt + i]);
    return out;
  }
  // Jet 4: 20 UCS-2 characters, each byte also masked with the creation date.
  double date;
  std::memcpy(&date, page + kCreatedAt, sizeof date);
  std::int32_t dateMask = 0;
  if (date > -2147483648.0 && date < 2147483648.0) dateMask = static_cast<std::int32_t>(date);
  unsigned char mask[4];
  std::memcpy(mask, &dateMask, 4);
  std::vector<char16_t> chars;
  for (std::size_t i = 0; i < jet4::kPasswordBytes; i += 2) {
    const unsigned lo = page[kPasswordAt + i] ^ mask[i % 4];
    const unsigned hi = page[kPasswordAt + i + 1] ^ mask[(i + 1) % 4];
    chars.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  while (!chars.empty() && chars.back() == 0) chars.pop_back();
  for (char16_t c : chars) AgregaUtf8(out, c);
  return out;
}

MdbHeader readMdbHeader(const std::string& path) {
  Fd f;
  f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (f.fd < 0)
    throw DbError(textos_jet::kClass, textos_jet::cannotOpen(path, textos_jet::systemError(errno)));
  struct stat st {};
  if (::fstat(f.fd, &st) != 0)
    throw DbError(textos_jet::kClass, textos_jet::cannotOpen(path, textos_jet::systemError(errno)));
  if (!S_ISREG(st.st_mode))
    throw DbError(textos_jet::kClass, textos_jet::cannotOpen(path, textos_jet::text::kNoEsArchivo));
  unsigned char page[kHeaderBytes];
  std::size_t got = 0;
  while (got < sizeof page) {
    const ssize_t n = ::read(f.fd, page + got, sizeof page - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0)
      throw DbError(textos_jet::kClass,
                    textos_jet::cannotOpen(path, textos_jet::systemError(errno)));
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < sizeof page) throw DbError(textos_jet::kClass, textos_jet::fileEmpty(path));
  static const unsigned char magic[] = {0x00, 0x01, 0x00, 0x00};
  if (std::memcmp(page, magic, 4) != 0 || std::memcmp(page + 4, "Standard Jet DB", 16) != 0)
    throw DbError(textos_jet::kClass, textos_jet::kNotAccess);
  MdbHeader h;
  switch (page[0x14]) {
    case 0:
      h.jetVersion = 3;
      break;
    case 1:
      h.jetVersion = 4;
      break;
    default:
      throw DbError(textos_jet::kClass, textos_jet::kNotAccess);
  }
  const std::uint64_t pageSize = h.jetVersion == 3 ? 2048 : 4096;
  h.fileSize = static_cast<std::uint64_t>(st.st_size);
  // Page 0 (header), page 1 and the catalog's definition on page 2 at least.
  if (h.fileSize < 3 * pageSize) throw DbError(textos_jet::kClass, textos_jet::fileEmpty(path));
  // Jet writes whole pages: a partial last page is a cut copy or a damaged file.
  if (h.fileSize % pageSize != 0)
    throw DbError(textos_jet::kClass, textos_jet::partialFile(h.fileSize, pageSize));
  h.password = decodeMdbPassword(page, h.jetVersion);
  return h;
}

void checkMdbPassword(const MdbHeader& header, const std::string& given) {
  // A file without a password opens whatever is given, as with Jet.
  if (header.password.empty()) return;
  if (given != header.password) throw DbError(textos_jet::kClass, textos_jet::kBadPassword);
}

}  // namespace kv::jet
