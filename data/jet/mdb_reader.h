#pragma once
// Tables of an Access .mdb file, read with libmdb inside a helper process
// (helper_process.h) and streamed into the engine's SQLite tables.
#include <cstdint>
#include <string>
#include <vector>

#include "data/jet/table_source.h"

namespace kv::jet {

class MdbTableSource : public TableSource {
 public:
  // Lists the user tables (in a helper process). Throws DbError when libmdb cannot
  // read the file.
  MdbTableSource(std::string path, std::uint64_t fileSize);

  const std::vector<std::string>& tableNames() const override { return tables_; }
  void loadTable(const std::string& name, TableWriter& writer) override;

 private:
  std::string path_;
  std::uint64_t fileSize_;
  std::vector<std::string> tables_;
};

}  // namespace kv::jet
