// The compression of the workbooks' packages.
//
// libxlsxwriter writes each sheet to a temporary file and, when the workbook closes, packs
// every part into the .xlsx through minizip, deflating at zlib's default level on the one
// thread that closes it. A workbook of a year of operations holds a few hundred MB of sheet
// XML: at that level the close alone took five seconds. The library has no option for the
// level, so its packager is compiled with its three calls that open, write and close a part
// renamed to the functions below (third_party/libxlsxwriter/CMakeLists.txt), which:
//  - open the part with minizip as raw data, marked as deflated at zlib's fastest level;
//  - cut the part's bytes into chunks of kDeflateChunk and deflate each on a thread of its own,
//    as many at a time as there are cores (two to four), as one raw deflate stream (each chunk
//    primed with the 32 KiB before it and ended on a byte boundary, the last one ending the
//    stream);
//  - hand minizip the compressed chunks in order, then the part's length and CRC-32.
// The output is the same for the same bytes whatever the threads' timing. Any failure is
// minizip's own ZIP_INTERNALERROR, which the library reports as a part that could not be
// added, and the workbook as not saved.
#include "document/xlsxlib/deflate_parts.h"

#include <zlib.h>

#include <algorithm>
#include <deque>
#include <exception>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kv::xlsx {

namespace {

// What deflate looks back at.
constexpr std::size_t kWindow = 32768;

struct Deflated {
  std::string bytes;
  uLong crc = 0;
  std::size_t length = 0;
  bool ok = false;
};

const Bytef* Bytes(const std::string& s) {
  return reinterpret_cast<const Bytef*>(s.data());
}

Deflated DeflateChunk(const std::string& text, const std::string& before, bool last) {
  Deflated d;
  d.length = text.size();
  d.crc = crc32(crc32(0, nullptr, 0), Bytes(text), static_cast<uInt>(text.size()));
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    return d;
  bool ok = before.empty() ||
            deflateSetDictionary(&z, Bytes(before), static_cast<uInt>(before.size())) == Z_OK;
  // Room for the worst case plus the empty block that ends a chunk on a byte boundary.
  d.bytes.resize(deflateBound(&z, static_cast<uLong>(text.size())) + 64);
  z.next_in = const_cast<Bytef*>(Bytes(text));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(d.bytes.data());
  z.avail_out = static_cast<uInt>(d.bytes.size());
  if (ok) {
    const int rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    ok = last ? rc == Z_STREAM_END : rc == Z_OK && z.avail_in == 0 && z.avail_out > 0;
  }
  d.bytes.resize(z.total_out);
  deflateEnd(&z);
  d.ok = ok;
  return d;
}

// One part on its way into the package.
class Part {
 public:
  explicit Part(zipFile file)
      : file_(file), inFlight_(std::clamp(std::thread::hardware_concurrency(), 2u, 4u)) {}

  int write(const void* buf, unsigned len) {
    pending_.append(static_cast<const char*>(buf), len);
    std::size_t used = 0;
    while (pending_.size() - used >= kDeflateChunk) {
      submit(pending_.substr(used, kDeflateChunk), false);
      used += kDeflateChunk;
    }
    pending_.erase(0, used);
    return drain(inFlight_);
  }

  int close() {
    submit(std::move(pending_), true);
    const int e = drain(0);
    const int c = zipCloseFileInZipRaw64(file_, length_, crc_);
    return e != ZIP_OK ? e : c;
  }

 private:
  void submit(std::string text, bool last) {
    std::string before = std::move(window_);
    window_ = text.substr(text.size() - std::min(text.size(), kWindow));
    auto chunk = std::make_shared<const std::string>(std::move(text));
    chunks_.push_back(std::async(std::launch::async, [chunk, before = std::move(before), last] {
      return DeflateChunk(*chunk, before, last);
    }));
  }

  // Writes the chunks done in order until at most `keep` are on their way.
  int drain(std::size_t keep) {
    while (chunks_.size() > keep) {
      const Deflated d = chunks_.front().get();
      chunks_.pop_front();
      if (!d.ok) error_ = ZIP_INTERNALERROR;
      if (error_ != ZIP_OK) continue;
      crc_ = crc32_combine(crc_, d.crc, static_cast<z_off_t>(d.length));
      length_ += d.length;
      const int e =
          zipWriteInFileInZip(file_, d.bytes.data(), static_cast<unsigned>(d.bytes.size()));
      if (e < 0) error_ = e;
    }
    return error_;
  }

  zipFile file_;
  std::size_t inFlight_;
  std::string pending_;
  std::string window_;
  std::deque<std::future<Deflated>> chunks_;
  uLong crc_ = 0;
  ZPOS64_T length_ = 0;
  int error_ = ZIP_OK;
};

std::mutex gPartsMutex;
std::map<zipFile, std::unique_ptr<Part>> gParts;

Part* Find(zipFile file) {
  std::lock_guard lock(gPartsMutex);
  const auto it = gParts.find(file);
  return it == gParts.end() ? nullptr : it->second.get();
}

}  // namespace

}  // namespace kv::xlsx

using kv::xlsx::Part;

extern "C" int kv_zipOpenNewFileInZip4_64(
    zipFile file, const char* filename, const zip_fileinfo* zipfi, const void* extrafield_local,
    uInt size_extrafield_local, const void* extrafield_global, uInt size_extrafield_global,
    const char* comment, int method, int level, int raw, int windowBits, int memLevel, int strategy,
    const char* password, uLong crcForCrypting, uLong versionMadeBy, uLong flagBase, int zip64) {
  try {
    {
      std::lock_guard lock(kv::xlsx::gPartsMutex);
      kv::xlsx::gParts.erase(file);
    }
    const bool ours = method == Z_DEFLATED && !raw && password == nullptr;
    const int e = zipOpenNewFileInZip4_64(
        file, filename, zipfi, extrafield_local, size_extrafield_local, extrafield_global,
        size_extrafield_global, comment, method, ours ? Z_BEST_SPEED : level, ours ? 1 : raw,
        windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase, zip64);
    if (e == ZIP_OK && ours) {
      std::lock_guard lock(kv::xlsx::gPartsMutex);
      kv::xlsx::gParts[file] = std::make_unique<Part>(file);
    }
    return e;
  } catch (...) {
    return ZIP_INTERNALERROR;
  }
}

extern "C" int kv_zipWriteInFileInZip(zipFile file, const void* buf, unsigned len) {
  Part* p = kv::xlsx::Find(file);
  if (!p) return zipWriteInFileInZip(file, buf, len);
  try {
    return p->write(buf, len);
  } catch (...) {
    return ZIP_INTERNALERROR;
  }
}

extern "C" int kv_zipCloseFileInZip(zipFile file) {
  std::unique_ptr<Part> p;
  {
    std::lock_guard lock(kv::xlsx::gPartsMutex);
    const auto it = kv::xlsx::gParts.find(file);
    if (it != kv::xlsx::gParts.end()) {
      p = std::move(it->second);
      kv::xlsx::gParts.erase(it);
    }
  }
  if (!p) return zipCloseFileInZip(file);
  try {
    return p->close();
  } catch (...) {
    zipCloseFileInZipRaw64(file, 0, 0);
    return ZIP_INTERNALERROR;
  }
}
