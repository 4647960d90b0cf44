#include "jet/mdb/mdb_reader.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "data/db/error.h"
#include "jet/mdb/helper_process.h"
#include "jet/mdb/mdb_reader_protocol.h"
#include "jet/textos.h"

// KV_READER_NAME and KV_READER_SUBDIR come from the build, which also installs the
// reader there.

namespace kv::jet {

namespace {

using kv::db::DbError;
namespace fs = std::filesystem;

std::atomic<int> gTimeoutOverrideMs{0};

// Folders above the running program searched for lib/<package>/ (a build tree keeps its
// programs up to three levels below its root).
constexpr int kLevelsUp = 4;

[[noreturn]] void damaged(const char* what) {
  throw DbError(textos_jet::kClass, textos_jet::readerError(what));
}

[[noreturn]] void readerFailed(PipeIn& in) {
  throw DbError(textos_jet::kClass,
                textos_jet::readerError(std::string(in.bytes(reader::kMaxName))));
}

HelperCommand readerCommand(std::uint64_t fileSize, std::vector<std::string> args) {
  const std::string program = readerProgram();
  if (program.empty())
    damaged(
        (std::string(textos_jet::text::kNoSeEncontroElLector) + "\"" KV_READER_NAME "\"").c_str());
  HelperCommand c;
  c.memoryLimit = readerMemoryLimit(fileSize);
  c.timeoutMs =
      gTimeoutOverrideMs.load() > 0 ? gTimeoutOverrideMs.load() : readerTimeoutMs(fileSize);
  c.argv = {program, reader::kParentOption, std::to_string(::getpid()), reader::kMemoryOption,
            std::to_string(c.memoryLimit)};
  c.argv.insert(c.argv.end(), args.begin(), args.end());
  return c;
}

}  // namespace

std::string readerProgram() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  fs::path dir = self.parent_path();
  const fs::path beside = dir / KV_READER_NAME;
  if (::access(beside.c_str(), X_OK) == 0) return beside.string();
  for (int level = 0; level < kLevelsUp && !dir.empty(); ++level) {
    const fs::path p = dir / KV_READER_SUBDIR / KV_READER_NAME;
    if (::access(p.c_str(), X_OK) == 0) return p.string();
    if (dir == dir.parent_path()) break;
    dir = dir.parent_path();
  }
  return {};
}

int readerTimeoutMs(std::uint64_t fileSize) {
  // Time to read the whole file at 20 MB/s, and 5 s to start: the reader never has to
  // read more than that between two things it sends. Never beyond a minute.
  const std::uint64_t ms = 5000 + fileSize / 20000;
  return static_cast<int>(std::min<std::uint64_t>(ms, 60000));
}

std::uint64_t readerMemoryLimit(std::uint64_t fileSize) {
  // Libraries and buffers, and three copies of the longest value the file can hold.
  return (256ull << 20) + 3 * std::min<std::uint64_t>(fileSize, reader::kMaxValue);
}

void setReaderTimeoutMs(int ms) {
  gTimeoutOverrideMs = ms;
}

MdbTableSource::MdbTableSource(std::string path, std::uint64_t fileSize)
    : path_(std::move(path)), fileSize_(fileSize) {
  runHelper(readerCommand(fileSize_, {reader::kListCommand, path_}), [&](PipeIn& in) {
    for (;;) {
      const std::uint8_t tag = in.u8();
      if (tag == reader::kEnd) return;
      if (tag == reader::kError) readerFailed(in);
      if (tag != reader::kTable) damaged(textos_jet::text::kRespuestaInesperadaDelLector);
      tables_.emplace_back(in.bytes(reader::kMaxName));
    }
  });
}

void MdbTableSource::loadTable(const std::string& name, TableWriter& writer) {
  runHelper(readerCommand(fileSize_, {reader::kTableCommand, name, path_}), [&](PipeIn& in) {
    std::uint8_t tag = in.u8();
    if (tag == reader::kError) readerFailed(in);
    if (tag != reader::kColumns) damaged(textos_jet::text::kRespuestaInesperadaDelLector);
    const std::uint32_t ncols = in.u32();
    if (ncols == 0 || ncols > reader::kMaxColumns)
      damaged(textos_jet::text::kNumeroDeCamposFueraDe);
    std::vector<ColumnInfo> cols;
    for (std::uint32_t i = 0; i < ncols; ++i) {
      std::string colName(in.bytes(reader::kMaxName));
      const std::uint8_t kind = in.u8();
      if (kind > static_cast<std::uint8_t>(ColumnKind::Blob))
        damaged(textos_jet::text::kTipoDesconocido);
      cols.push_back({std::move(colName), static_cast<ColumnKind>(kind)});
    }
    writer.begin(cols);
    for (;;) {
      tag = in.u8();
      if (tag == reader::kEnd) return;
      if (tag == reader::kError) readerFailed(in);
      if (tag != reader::kRow) damaged(textos_jet::text::kRespuestaInesperadaDelLector);
      for (std::uint32_t c = 0; c < ncols; ++c) {
        const int ci = static_cast<int>(c);
        switch (in.u8()) {
          case reader::kNull:
            writer.null(ci);
            break;
          case reader::kInt:
            writer.integer(ci, in.i64());
            break;
          case reader::kReal:
            writer.real(ci, in.f64());
            break;
          case reader::kText:
            writer.text(ci, in.bytes(reader::kMaxValue));
            break;
          case reader::kBlob:
            writer.blob(ci, in.bytes(reader::kMaxValue));
            break;
          default:
            damaged(textos_jet::text::kValorDesconocido);
        }
      }
      writer.endRow();
    }
  });
}

}  // namespace kv::jet
