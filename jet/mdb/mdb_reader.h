#pragma once
// Tables of an Access .mdb file, read by the table reader program (lector-mdb, see
// mdb_reader_protocol.h) and streamed into the engine's SQLite tables.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/table_source.h"

namespace kv::jet {

class MdbTableSource : public TableSource {
 public:
  // Lists the user tables (through the reader). Throws DbError when the file cannot be
  // read.
  MdbTableSource(std::string path, std::uint64_t fileSize);

  const std::vector<std::string>& tableNames() const override { return tables_; }
  void loadTable(const std::string& name, TableWriter& writer) override;

 private:
  std::string path_;
  std::uint64_t fileSize_;
  std::vector<std::string> tables_;
};

// The reader program: beside the running program, in lib/<package>/ next to the folder
// of the running program (an installed /usr/bin + /usr/lib/<package> layout), or, in a
// build tree, in lib/<package>/ of a folder above the running program. Empty when none
// is found.
std::string readerProgram();

// How long the reader may stay silent, and how much address space it may take, for a
// file of `fileSize` bytes.
int readerTimeoutMs(std::uint64_t fileSize);
std::uint64_t readerMemoryLimit(std::uint64_t fileSize);

// Replaces the reader's silence limit (0 restores the one scaled to the file).
void setReaderTimeoutMs(int ms);

}  // namespace kv::jet
