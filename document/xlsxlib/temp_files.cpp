#include "document/xlsxlib/temp_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

extern "C" FILE* kv_tmpfile(void) {
  try {
    std::string folder = "/tmp";
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
      const char* v = std::getenv(name);
      if (v && *v) {
        folder = v;
        break;
      }
    }
    std::string path = folder + "/kv-libro-XXXXXX";
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) return nullptr;
    ::unlink(path.c_str());
    FILE* f = ::fdopen(fd, "w+b");
    if (!f) {
      const int e = errno;
      ::close(fd);
      errno = e;
    }
    return f;
  } catch (...) {
    errno = ENOMEM;
    return nullptr;
  }
}
