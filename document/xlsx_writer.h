#pragma once
// Writes .xlsx workbooks through libxlsxwriter in its constant-memory mode: each row goes to
// disk when the next one starts, so a sheet of a million rows costs no more memory than a
// sheet of one. The rows are formatted and written on a thread of the workbook's own, beside
// the thread that adds them; a failure there surfaces at a later addRow() or at close().
// A workbook is used from one thread at a time. A workbook is a list of tables; each table is a
// sheet with a bold, frozen header row, an AutoFilter over its rows and column widths that fit what
// was written. A table that would pass the format's row limit continues on further sheets named
// "Name (2)", "Name (3)"...
// The file appears only when close() succeeds: it is written under a temporary name in the
// same folder and renamed into place, so a failed or abandoned workbook leaves nothing and
// an earlier file of the same name stays as it was.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace kv::xlsx {

// A failure of the workbook, in the system's words with the library's cause.
class XlsxError : public std::runtime_error {
 public:
  explicit XlsxError(const std::string& message) : std::runtime_error(message) {}
};

// How a column's cells are shown.
enum class Kind {
  Text,      // text on one line
  LongText,  // text wrapped in a wide column
  General,   // numbers as the spreadsheet shows them by default
  Integer,   // whole numbers
  Amount,    // amounts, thousands separated, two decimals shown (the value keeps all)
  Rate,      // exchange rates, four decimals shown
  Date,      // dd/mm/yyyy, with the time of day when there is one
  Flag,      // 1 where set, centred; a 0 is left empty
};

struct Column {
  std::string title;
  Kind kind = Kind::Text;
};

// A date as the spreadsheet counts it: days since 30 December 1899, the fraction being the
// time of day (the same count as Jet's).
struct Date {
  double days = 0;
};

// A formula (without the leading "=") and the value a reader that does not recalculate
// shows: the value computed by whoever wrote the workbook.
struct Formula {
  std::string text;
  double cached = 0;
  // How its result is shown, when not as its column's cells.
  std::optional<Kind> kind = std::nullopt;
};

using Cell = std::variant<std::monostate, double, std::string, Date, Formula>;

// Rows of the format: the header plus 1,048,575 data rows.
inline constexpr std::uint32_t kMaxDataRows = 1048575;

class Workbook;

// One table of the workbook: its header and rows, over one or more sheets.
class Table {
 public:
  // A sheet of the table and the data rows it holds.
  struct Part {
    std::string sheet;
    std::uint32_t rows = 0;
  };

  // Appends a row (cells beyond the columns are an error; missing ones stay empty).
  // Throws XlsxError.
  void addRow(std::span<const Cell> cells);

  const std::string& name() const { return name_; }
  const std::vector<Column>& columns() const { return columns_; }
  const std::vector<Part>& parts() const { return parts_; }
  std::uint64_t rowCount() const { return rowCount_; }

  // The absolute reference of column `column`'s data cells in part `part`, with the sheet
  // name quoted: 'Compra dólares'!$D$2:$D$1001. A part without rows gives its first data
  // row, which is empty, so counts and sums over it are 0.
  std::string range(std::size_t part, std::size_t column) const;
  // The same reference for a single cell of part 0 (data row 1 is the first).
  std::string cell(std::uint32_t row, std::size_t column) const;

 private:
  friend class Workbook;
  struct Sheet;
  // Rows of one sheet on their way to the workbook's writing thread.
  struct Batch {
    Sheet* sheet = nullptr;
    std::uint32_t firstRow = 0;
    std::vector<Cell> cells;
    std::vector<std::size_t> ends;  // where each row's cells end in `cells`
  };
  Table(Workbook& book, std::string name, std::vector<Column> columns, std::uint32_t rowsPerSheet);
  void openPart();
  // Hands the rows added since the last batch to the writing thread.
  void flush();
  // On the writing thread: one row into the library.
  void writeRow(Sheet& sheet, std::uint32_t row, std::span<const Cell> cells) const;

  Workbook& book_;
  std::string name_;
  std::vector<Column> columns_;
  std::vector<Part> parts_;
  std::vector<std::shared_ptr<Sheet>> sheets_;
  std::uint32_t rowsPerSheet_;
  std::uint64_t rowCount_ = 0;
  Batch pending_;
};

class Workbook {
 public:
  struct Options {
    // Data rows per sheet before a table continues on the next one.
    std::uint32_t rowsPerSheet = kMaxDataRows;
  };

  // Starts the workbook that close() writes at `path`. Throws XlsxError.
  explicit Workbook(std::string path);
  Workbook(std::string path, Options options);
  // Without close(), or after a failed close(), nothing is left on disk.
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  // Adds a table; its first sheet comes after the sheets added so far. Sheet names have at
  // most 31 characters (27 for a table that may continue) and none of []:*?/\. rowsPerSheet
  // other than 0 replaces the workbook's for this table.
  Table& addTable(const std::string& name, std::vector<Column> columns,
                  std::uint32_t rowsPerSheet = 0);

  // Writes the file under a temporary name and renames it to the path. Throws XlsxError
  // (the temporary file is removed).
  void close();

  const std::string& path() const { return path_; }

 private:
  friend class Table;
  struct Impl;
  class RowWriter;
  static void writeBatch(const Table::Batch& batch);
  std::string path_;
  Options options_;
  std::unique_ptr<Impl> impl_;
  std::unique_ptr<RowWriter> writer_;
  std::vector<std::unique_ptr<Table>> tables_;
};

}  // namespace kv::xlsx
