#pragma once
// The compression of the workbooks' packages: libxlsxwriter's packager opens, writes and
// closes each part through these instead of minizip's functions of the same names without
// the prefix (see deflate_parts.cpp). They take and return what minizip's do.
#include <minizip/zip.h>

#include <cstddef>

namespace kv::xlsx {

// Bytes of a part deflated as one chunk; larger parts are deflated in chunks side by side.
inline constexpr std::size_t kDeflateChunk = std::size_t{1} << 20;

}  // namespace kv::xlsx

extern "C" {
int kv_zipOpenNewFileInZip4_64(zipFile file, const char* filename, const zip_fileinfo* zipfi,
                               const void* extrafield_local, uInt size_extrafield_local,
                               const void* extrafield_global, uInt size_extrafield_global,
                               const char* comment, int method, int level, int raw, int windowBits,
                               int memLevel, int strategy, const char* password,
                               uLong crcForCrypting, uLong versionMadeBy, uLong flagBase,
                               int zip64);
int kv_zipWriteInFileInZip(zipFile file, const void* buf, unsigned len);
int kv_zipCloseFileInZip(zipFile file);
}
