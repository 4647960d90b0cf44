#include "document/xlsx_writer.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "document/textos.h"

namespace kv::xlsx {

namespace {

// Longest text a cell holds.
constexpr std::size_t kMaxTextBytes = 32767;
// Column widths, in characters.
constexpr double kMaxWidth = 60;
constexpr double kLongTextWidth = 50;
// Height of a row of one line, in points.
constexpr double kRowHeight = 15;
// Room for the AutoFilter's button beside a header's title.
constexpr double kFilterButton = 3;

std::string Cause(lxw_error e) {
  return std::string(" (") + lxw_strerror(e) + ")";
}

void Check(lxw_error e, const char* what) {
  if (e != LXW_NO_ERROR) throw XlsxError(what + Cause(e));
}

// Characters of a UTF-8 text (continuation bytes are not counted).
double Characters(const std::string& s) {
  double n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string ShortNumber(double d) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, r.ptr);
}

// Characters a number takes as a cell of its kind shows it: whole numbers digit by digit,
// amounts with thousands separators and two decimals, rates with four decimals, others in
// their shortest form.
double NumberWidth(double d, Kind kind) {
  const bool whole = kind == Kind::Integer || kind == Kind::Flag || kind == Kind::Amount ||
                     kind == Kind::Rate || d == std::floor(d);
  if (!whole || !(std::fabs(d) < 1e15)) return Characters(ShortNumber(d));
  double digits = 1;
  for (double a = std::fabs(std::round(d)); a >= 10; a /= 10) ++digits;
  const double sign = d < 0 ? 1 : 0;
  switch (kind) {
    case Kind::Amount:
      return sign + digits + std::floor((digits - 1) / 3) + 3;
    case Kind::Rate:
      return sign + digits + 5;
    default:
      return sign + digits;
  }
}

// Whether a text goes into a cell as it is: no character XML cannot carry, not too long.
bool PlainText(const std::string& s) {
  if (s.size() > kMaxTextBytes) return false;
  for (unsigned char c : s)
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
  return true;
}

// The text as a cell keeps it: characters XML 1.0 cannot carry become the format's escape
// _xHHHH_, a text too long for a cell is cut at a character boundary.
std::string CellText(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (unsigned char c : s) {
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      char esc[8];
      std::snprintf(esc, sizeof esc, "_x%04X_", static_cast<unsigned>(c));
      r += esc;
    } else {
      r += static_cast<char>(c);
    }
  }
  if (r.size() > kMaxTextBytes) {
    std::size_t n = kMaxTextBytes;
    while (n > 0 && (static_cast<unsigned char>(r[n]) & 0xC0) == 0x80) --n;
    r.resize(n);
  }
  return r;
}

// Column letters of a zero-based index: 0 A, 25 Z, 26 AA.
std::string ColumnName(std::size_t c) {
  std::string s;
  ++c;
  while (c > 0) {
    s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
    c = (c - 1) / 26;
  }
  return s;
}

// A sheet name as formulas write it: between single quotes, quotes doubled.
std::string QuotedSheet(const std::string& name) {
  std::string s = "'";
  for (char c : name) {
    s += c;
    if (c == '\'') s += '\'';
  }
  return s + "'";
}

// Rows per batch handed to the writing thread, and batches that may wait for it.
constexpr std::size_t kRowsPerBatch = 1024;
constexpr std::size_t kBatchesWaiting = 64;

}  // namespace

// The thread that turns rows into the library's cells. Formatting numbers and writing the
// sheets' XML costs as much as running the statements that produce the rows, so the two
// go side by side on two cores. The library is not thread-safe: its calls are made here,
// in the order they were posted (a sheet's set-up, then its rows), or by close() once this
// thread is idle (drain()).
class Workbook::RowWriter {
 public:
  using Job = std::variant<Table::Batch, std::function<void()>>;

  ~RowWriter() {
    {
      std::lock_guard lock(m_);
      stop_ = true;
      queue_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  // Queues rows or a call to the library, waiting while too many are queued. Throws the
  // thread's failure.
  void post(Job&& job) {
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    std::unique_lock lock(m_);
    done_.wait(lock, [&] { return queue_.size() < kBatchesWaiting || error_; });
    rethrow();
    queue_.push_back(std::move(job));
    wake_.notify_one();
  }

  // A written batch to fill again (its cells' memory reused), or a new one.
  Table::Batch spare() {
    std::lock_guard lock(m_);
    if (spare_.empty()) return {};
    Table::Batch b = std::move(spare_.back());
    spare_.pop_back();
    b.ends.clear();
    return b;
  }

  // Waits until every queued batch is written. Throws the thread's failure.
  void drain() {
    std::unique_lock lock(m_);
    done_.wait(lock, [&] { return (queue_.empty() && !busy_) || error_; });
    rethrow();
  }

 private:
  void rethrow() {
    if (error_) std::rethrow_exception(error_);
  }

  void run() {
    std::unique_lock lock(m_);
    for (;;) {
      wake_.wait(lock, [&] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      Job job = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      lock.unlock();
      std::exception_ptr failure;
      try {
        if (auto* call = std::get_if<std::function<void()>>(&job))
          (*call)();
        else
          Workbook::writeBatch(std::get<Table::Batch>(job));
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      busy_ = false;
      // Back to the producer, whose next rows reuse its cells' memory: no text is freed on
      // this thread that another allocated.
      if (auto* batch = std::get_if<Table::Batch>(&job); batch && spare_.size() < kBatchesWaiting)
        spare_.push_back(std::move(*batch));
      if (failure && !error_) error_ = failure;
      if (error_) queue_.clear();
      done_.notify_all();
    }
  }

  std::mutex m_;
  std::condition_variable wake_, done_;
  std::deque<Job> queue_;
  std::vector<Table::Batch> spare_;
  bool busy_ = false;
  bool stop_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

struct Workbook::Impl {
  lxw_workbook* book = nullptr;
  std::string temporary;
  lxw_format* header = nullptr;
  lxw_format* text = nullptr;
  lxw_format* general = nullptr;
  lxw_format* longText = nullptr;
  lxw_format* integer = nullptr;
  lxw_format* amount = nullptr;
  lxw_format* rate = nullptr;
  lxw_format* date = nullptr;
  lxw_format* dateTime = nullptr;
  lxw_format* flag = nullptr;

  // A workbook of the library that only takes the sheets' names, on the thread that adds
  // the tables: a name is checked by the library's own rules at once, without waiting for
  // the writing thread. It is never closed, so it never writes a file.
  lxw_workbook* names = nullptr;

  ~Impl() {
    // A workbook never closed is freed without writing anything.
    if (book) lxw_workbook_free(book);
    if (names) lxw_workbook_free(names);
    if (!temporary.empty()) std::remove(temporary.c_str());
  }

  // Every cell sits at the top of its row, beside the wrapped texts of its neighbours.
  lxw_format* Format(const char* numFormat) {
    lxw_format* f = workbook_add_format(book);
    if (!f) throw XlsxError(textos_doc::kLibroSinMemoria);
    if (numFormat) format_set_num_format(f, numFormat);
    format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
    return f;
  }

  void checkSheetName(const std::string& name) {
    const lxw_error valid = workbook_validate_sheet_name(names, name.c_str());
    if (valid != LXW_NO_ERROR) throw XlsxError(textos_doc::kHojaNoValida + name + Cause(valid));
    if (!workbook_add_worksheet(names, name.c_str()))
      throw XlsxError(textos_doc::kHojaNoValida + name);
  }

  lxw_format* ForKind(Kind k, bool hasTime) const {
    switch (k) {
      case Kind::Text:
        return text;
      case Kind::General:
        return general;
      case Kind::LongText:
        return longText;
      case Kind::Integer:
        return integer;
      case Kind::Amount:
        return amount;
      case Kind::Rate:
        return rate;
      case Kind::Date:
        return hasTime ? dateTime : date;
      case Kind::Flag:
        return flag;
    }
    return nullptr;
  }
};

struct Table::Sheet {
  const Table* table = nullptr;
  lxw_worksheet* sheet = nullptr;
  std::vector<double> widths;
};

// ---- Table ----

Table::Table(Workbook& book, std::string name, std::vector<Column> columns,
             std::uint32_t rowsPerSheet)
    : book_(book),
      name_(std::move(name)),
      columns_(std::move(columns)),
      rowsPerSheet_(rowsPerSheet == 0 || rowsPerSheet > kMaxDataRows ? book.options_.rowsPerSheet
                                                                     : rowsPerSheet) {
  openPart();
}

void Table::openPart() {
  // The rows of the previous part go first.
  flush();
  const std::string sheetName =
      parts_.empty() ? name_ : name_ + " (" + std::to_string(parts_.size() + 1) + ")";
  book_.impl_->checkSheetName(sheetName);
  auto s = std::make_shared<Sheet>();
  s->table = this;
  for (const Column& c : columns_) s->widths.push_back(Characters(c.title) + kFilterButton);
  Workbook::Impl& w = *book_.impl_;
  book_.writer_->post([&w, s, sheetName, this] {
    // The name passed the library's checks above: what fails here is the temporary file
    // that holds the sheet's rows until the workbook closes.
    errno = 0;
    s->sheet = workbook_add_worksheet(w.book, sheetName.c_str());
    if (!s->sheet)
      throw XlsxError(textos_doc::kHojaSinArchivoTemporal + sheetName +
                      (errno ? std::string(" (") + std::strerror(errno) + ")" : ""));
    for (std::size_t c = 0; c < columns_.size(); ++c)
      Check(worksheet_write_string(s->sheet, 0, static_cast<lxw_col_t>(c),
                                   CellText(columns_[c].title).c_str(), w.header),
            textos_doc::kNoSeEscribioCelda);
    worksheet_freeze_panes(s->sheet, 1, 0);
    // Printed landscape, one page wide, the header on every page.
    worksheet_set_landscape(s->sheet);
    worksheet_fit_to_pages(s->sheet, 1, 0);
    Check(worksheet_repeat_rows(s->sheet, 0, 0), textos_doc::kNoSeEscribioCelda);
  });
  parts_.push_back({sheetName, 0});
  sheets_.push_back(std::move(s));
}

void Table::addRow(std::span<const Cell> cells) {
  if (!book_.impl_->book) throw XlsxError(textos_doc::kLibroCerrado);
  if (cells.size() > columns_.size()) throw XlsxError(textos_doc::kFilaDeMas + name_);
  if (parts_.back().rows >= rowsPerSheet_) openPart();
  if (pending_.ends.empty()) {
    pending_.sheet = sheets_.back().get();
    pending_.firstRow = static_cast<lxw_row_t>(parts_.back().rows + 1);
  }
  // Assigned over the cells of a batch written before, so that texts reuse their memory.
  const std::size_t begin = pending_.ends.empty() ? 0 : pending_.ends.back();
  if (pending_.cells.size() < begin + cells.size()) pending_.cells.resize(begin + cells.size());
  std::copy(cells.begin(), cells.end(),
            pending_.cells.begin() + static_cast<std::ptrdiff_t>(begin));
  pending_.ends.push_back(begin + cells.size());
  ++parts_.back().rows;
  ++rowCount_;
  if (pending_.ends.size() >= kRowsPerBatch) flush();
}

void Table::flush() {
  if (pending_.ends.empty()) return;
  book_.writer_->post(std::move(pending_));
  pending_ = book_.writer_->spare();
}

void Workbook::writeBatch(const Table::Batch& batch) {
  std::size_t begin = 0;
  std::uint32_t row = batch.firstRow;
  for (const std::size_t end : batch.ends) {
    batch.sheet->table->writeRow(*batch.sheet, row++,
                                 std::span<const Cell>(batch.cells).subspan(begin, end - begin));
    begin = end;
  }
}

void Table::writeRow(Sheet& s, std::uint32_t row, std::span<const Cell> cells) const {
  Workbook::Impl& w = *book_.impl_;
  // A row with wrapped text is as tall as its longest text needs (readers do not size rows
  // on their own when they open the file).
  double lines = 1;
  for (std::size_t c = 0; c < cells.size(); ++c)
    if (const auto* t = std::get_if<std::string>(&cells[c]);
        t && columns_[c].kind == Kind::LongText)
      lines = std::max(lines, std::ceil(Characters(*t) * 1.1 / (kLongTextWidth - 2)));
  if (lines > 1)
    Check(worksheet_set_row(s.sheet, row, kRowHeight * lines, nullptr),
          textos_doc::kNoSeEscribioCelda);
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const auto col = static_cast<lxw_col_t>(c);
    const Kind kind = columns_[c].kind;
    double width = 0;
    lxw_error e = LXW_NO_ERROR;
    if (const auto* d = std::get_if<double>(&cells[c]); d && kind == Kind::Flag && *d == 0) {
      // An unset flag stays empty: most flags are unset, and the empty cells cost neither
      // the writing nor the file's size.
    } else if (const auto* d = std::get_if<double>(&cells[c])) {
      e = worksheet_write_number(s.sheet, row, col, *d, w.ForKind(kind, false));
      width = NumberWidth(*d, kind);
    } else if (const auto* t = std::get_if<std::string>(&cells[c])) {
      // Most texts go as they are, without a copy.
      std::string escaped;
      const std::string& text = PlainText(*t) ? *t : (escaped = CellText(*t));
      e = worksheet_write_string(s.sheet, row, col, text.c_str(), w.ForKind(kind, false));
      width = kind == Kind::LongText ? kLongTextWidth : Characters(text);
    } else if (const auto* f = std::get_if<Date>(&cells[c])) {
      const bool hasTime = f->days != std::floor(f->days);
      e = worksheet_write_number(s.sheet, row, col, f->days, w.ForKind(kind, hasTime));
      width = hasTime ? 19 : 10;
    } else if (const auto* m = std::get_if<Formula>(&cells[c])) {
      const Kind shown = m->kind.value_or(kind);
      e = worksheet_write_formula_num(s.sheet, row, col, m->text.c_str(), w.ForKind(shown, false),
                                      m->cached);
      width = NumberWidth(m->cached, shown);
    }
    Check(e, textos_doc::kNoSeEscribioCelda);
    s.widths[c] = std::max(s.widths[c], width + 1);
  }
}

std::string Table::range(std::size_t part, std::size_t column) const {
  const std::string col = "$" + ColumnName(column) + "$";
  const std::uint32_t last = std::max<std::uint32_t>(parts_.at(part).rows, 1) + 1;
  return QuotedSheet(parts_.at(part).sheet) + "!" + col + "2:" + col + std::to_string(last);
}

std::string Table::cell(std::uint32_t row, std::size_t column) const {
  return QuotedSheet(parts_.at(0).sheet) + "!$" + ColumnName(column) + "$" +
         std::to_string(row + 1);
}

// ---- Workbook ----

Workbook::Workbook(std::string path) : Workbook(std::move(path), Options{}) {}

Workbook::Workbook(std::string path, Options options)
    : path_(std::move(path)),
      options_(options),
      impl_(std::make_unique<Impl>()),
      writer_(std::make_unique<RowWriter>()) {
  if (options_.rowsPerSheet == 0 || options_.rowsPerSheet > kMaxDataRows)
    options_.rowsPerSheet = kMaxDataRows;
  // Beside the target, so that the final rename stays within one file system.
  static std::atomic<int> counter{0};
  impl_->temporary = path_ + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
  lxw_workbook_options o{};
  o.constant_memory = LXW_TRUE;
  o.tmpdir = nullptr;
  o.use_zip64 = LXW_FALSE;
  impl_->book = workbook_new_opt(impl_->temporary.c_str(), &o);
  impl_->names = workbook_new_opt(impl_->temporary.c_str(), nullptr);
  if (!impl_->book || !impl_->names) throw XlsxError(textos_doc::kLibroSinMemoria);
  Impl& w = *impl_;
  w.header = w.Format(nullptr);
  format_set_bold(w.header);
  format_set_bg_color(w.header, 0xD9E1F2);
  format_set_bottom(w.header, LXW_BORDER_THIN);
  format_set_text_wrap(w.header);
  // Texts keep a little room on their left, away from a number that ends beside them.
  w.text = w.Format(nullptr);
  format_set_align(w.text, LXW_ALIGN_LEFT);
  format_set_indent(w.text, 1);
  w.general = w.Format(nullptr);
  w.longText = w.Format(nullptr);
  format_set_text_wrap(w.longText);
  format_set_align(w.longText, LXW_ALIGN_LEFT);
  format_set_indent(w.longText, 1);
  w.integer = w.Format("0");
  w.amount = w.Format("#,##0.00");
  w.rate = w.Format("0.0000");
  w.date = w.Format("dd/mm/yyyy");
  w.dateTime = w.Format("dd/mm/yyyy hh:mm:ss");
  w.flag = w.Format("0");
  format_set_align(w.flag, LXW_ALIGN_CENTER);
}

// The writing thread stops before the library's workbook is freed.
Workbook::~Workbook() {
  writer_.reset();
}

Table& Workbook::addTable(const std::string& name, std::vector<Column> columns,
                          std::uint32_t rowsPerSheet) {
  if (!impl_->book) throw XlsxError(textos_doc::kLibroCerrado);
  tables_.push_back(
      std::unique_ptr<Table>(new Table(*this, name, std::move(columns), rowsPerSheet)));
  return *tables_.back();
}

void Workbook::close() {
  Impl& w = *impl_;
  if (!w.book) throw XlsxError(textos_doc::kLibroCerrado);
  for (const auto& t : tables_) t->flush();
  writer_->drain();
  for (const auto& t : tables_) {
    const auto lastCol = static_cast<lxw_col_t>(t->columns_.empty() ? 0 : t->columns_.size() - 1);
    for (std::size_t p = 0; p < t->parts_.size(); ++p) {
      Table::Sheet& s = *t->sheets_[p];
      Check(worksheet_autofilter(s.sheet, 0, 0, static_cast<lxw_row_t>(t->parts_[p].rows), lastCol),
            textos_doc::kNoSeEscribioCelda);
      for (std::size_t c = 0; c < t->columns_.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        const double width = t->columns_[c].kind == Kind::LongText
                                 ? kLongTextWidth
                                 : std::min(s.widths[c], kMaxWidth);
        Check(worksheet_set_column(s.sheet, col, col, width, nullptr),
              textos_doc::kNoSeEscribioCelda);
      }
    }
  }
  lxw_workbook* book = w.book;
  w.book = nullptr;  // workbook_close frees it, whatever its outcome
  const lxw_error e = workbook_close(book);
  if (e != LXW_NO_ERROR) throw XlsxError(textos_doc::kNoSeGuardoLibro + path_ + Cause(e));
  if (std::rename(w.temporary.c_str(), path_.c_str()) != 0)
    throw XlsxError(textos_doc::kNoSeGuardoLibro + path_ + " (" + std::strerror(errno) + ")");
  w.temporary.clear();
}

}  // namespace kv::xlsx
