#pragma once
// Checks of an Access file's first page done without libmdb: the Jet signature and
// version, and the database password as Jet checks it.
#include <cstdint>
#include <string>

namespace kv::jet {

struct MdbHeader {
  int jetVersion = 0;  // 3 or 4
  std::uint64_t fileSize = 0;
  std::string password;  // the stored database password (UTF-8), empty when none
};

// Reads and checks the header of `path`. Throws DbError ("EJetError") when the file
// is missing, unreadable, too short or not a Jet 3 / Jet 4 database.
MdbHeader readMdbHeader(const std::string& path);

// Decodes the password stored in a header page (at least 0x98 bytes).
std::string decodeMdbPassword(const unsigned char* page, int jetVersion);

// Refuses the open when `given` is not the stored password (case-sensitive, as Jet).
void checkMdbPassword(const MdbHeader& header, const std::string& given);

}  // namespace kv::jet
