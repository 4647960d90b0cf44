// Test helpers: a temporary folder, running commands, and reading a table back with mdb-export
// and with mdb-reader as rows of optional texts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/archivos.h"

namespace kv::mdbw::test {

// The tests' temporary folder (tests/support/archivos.h) with the writer tests' shorthands.
class TempDir : public TCarpetaTemporal {
 public:
  TempDir() : TCarpetaTemporal("kv-mdbw-") {}
  const std::filesystem::path& path() const { return Ruta(); }
  std::filesystem::path operator/(const std::string& name) const { return Ruta() / name; }
  // Names of the files in the folder, sorted.
  std::vector<std::string> files() const;
};

struct CommandResult {
  int status = -1;
  std::string out;  // standard output and standard error together
};

struct SplitResult {
  int status = -1;
  std::string out, err;  // standard output, standard error
};

std::string shellQuote(const std::string& s);
CommandResult run(const std::string& command);
// Runs a shell command keeping its standard output and standard error apart.
SplitResult runApart(const std::string& command);

using Cell = std::optional<std::string>;
using TextRow = std::vector<Cell>;

struct ReadTable {
  std::vector<std::string> header;  // mdb-export: names; mdb-reader: Name:type
  std::vector<TextRow> rows;
};

// mdb-export with null shown as NUL, booleans as TRUE/FALSE, dates as YYYY-MM-DD HH:MM:SS.
ReadTable readWithMdbExport(const std::filesystem::path& file, const std::string& table);
// mdb-reader through node; the header holds Name:type as mdbwrite's CSV input does.
ReadTable readWithMdbReader(const std::filesystem::path& file, const std::string& table);
// mdb-reader's view of the database password, and of the table names.
std::string passwordWithMdbReader(const std::filesystem::path& file);
std::vector<std::string> tablesWithMdbReader(const std::filesystem::path& file);

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace kv::mdbw::test
