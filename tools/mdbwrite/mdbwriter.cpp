// Jet 4 page layouts: page 0 header, page 1 an empty data page, page 2 the MSysObjects table
// definition; then each table's definition page and its data pages (and long-value pages) in
// order; at the end the catalog rows, the usage-map pages and rows. No indexes.
#include "tools/mdbwrite/mdbwriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "jet/mdb/jet4_format.h"
#include "tools/mdbwrite/texto_ascii.h"
#include "tools/mdbwrite/textos.h"

namespace kv::mdbw {

namespace {

// Every column type: its name in CSV headers and messages, Jet's code, the bytes it takes in
// a row's fixed area (a Boolean lives in the null mask) and whether it is stored variable.
constexpr ColumnTypeInfo kColumnTypes[] = {
    {ColumnType::Text, "text", 0x0A, 0, true},
    {ColumnType::Memo, "memo", 0x0C, 0, true},
    {ColumnType::Byte, "byte", 0x02, 1, false},
    {ColumnType::Integer, "integer", 0x03, 2, false},
    {ColumnType::Long, "long", 0x04, 4, false},
    {ColumnType::Single, "single", 0x06, 4, false},
    {ColumnType::Double, "double", 0x07, 8, false},
    {ColumnType::Currency, "currency", 0x05, 8, false},
    {ColumnType::DateTime, "datetime", 0x08, 8, false},
    {ColumnType::Boolean, "boolean", 0x01, 0, false},
};

}  // namespace

const ColumnTypeInfo& columnTypeInfo(ColumnType t) {
  for (const ColumnTypeInfo& i : kColumnTypes)
    if (i.type == t) return i;
  throw std::logic_error("column type without a row in kColumnTypes");
}

const ColumnTypeInfo* columnTypeNamed(std::string_view name) {
  for (const ColumnTypeInfo& i : kColumnTypes)
    if (name == i.name) return &i;
  return nullptr;
}

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::size_t kDataHeader = 14;
constexpr std::size_t kMaxRowsPerPage = 255;
constexpr std::size_t kMapRowSize = 69;  // type byte + 64-byte bitmap or 17 page pointers
constexpr std::uint32_t kType0Pages = 64 * 8;
constexpr std::uint32_t kPagesPerMapPage = (kPage - 4) * 8;
constexpr std::uint32_t kMapPagePointers = 17;
constexpr std::size_t kInlineMemoMax = 1000;
constexpr std::size_t kLongValueOnePage = kPage - kDataHeader - 2;
constexpr std::size_t kLongValueChunk = kLongValueOnePage - 4;
constexpr std::size_t kMaxRow = kPage - kDataHeader - 2;
constexpr std::uint8_t kJetOle = 0x0B;

using Bytes = std::vector<std::uint8_t>;

// Placeholder for the pages written last (header, catalog and table definitions).
constexpr std::array<std::uint8_t, kPage> kZeroPage{};

void put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
  put16(p, v);
  put16(p + 2, v >> 16);
}
void put64(std::uint8_t* p, std::uint64_t v) {
  put32(p, std::uint32_t(v));
  put32(p + 4, std::uint32_t(v >> 32));
}
void putDouble(std::uint8_t* p, double d) {
  std::uint64_t v;
  std::memcpy(&v, &d, 8);
  put64(p, v);
}

// UTF-8 to UTF-16 code units; false on malformed input.
bool toUtf16(const std::string& s, std::u16string& out) {
  out.clear();
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char c = s[i];
    std::uint32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= s.size() && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = s[i + k];
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
    i += extra + 1;
  }
  return true;
}

// Jet 4 text: "compressed" (FF FE, then one byte per character) when every character fits in
// one byte and that is shorter, otherwise UCS-2 little endian.
void encodeText(const std::u16string& u, bool mayCompress, Bytes& out) {
  out.clear();
  bool compress = mayCompress && u.size() > 2 &&
                  std::all_of(u.begin(), u.end(), [](char16_t c) { return c > 0 && c < 0x100; });
  if (compress) {
    out.reserve(u.size() + 2);
    out.push_back(0xFF);
    out.push_back(0xFE);
    for (char16_t c : u) out.push_back(std::uint8_t(c));
  } else {
    out.resize(u.size() * 2);
    for (std::size_t i = 0; i < u.size(); ++i) put16(&out[2 * i], u[i]);
  }
}

bool validTimestamp(const Timestamp& t) {
  if (t.year < 100 || t.year > 9999 || t.month < 1 || t.month > 12) return false;
  return t.day >= 1 && t.day <= jet4::daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 &&
         t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

// The stored day number of a valid timestamp.
double jetDate(const Timestamp& t) {
  return jet4::dateTime(jet4::dayNumber(t.year, unsigned(t.month), unsigned(t.day)),
                        t.hour * 3600 + t.minute * 60 + t.second);
}

bool parseTimestamp(const std::string& s, Timestamp& t) {
  auto num = [&](std::size_t pos, std::size_t len, int& out) {
    if (pos + len > s.size()) return false;
    out = 0;
    for (std::size_t i = pos; i < pos + len; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      out = out * 10 + (s[i] - '0');
    }
    return true;
  };
  t = Timestamp{};
  if (s.size() != 10 && s.size() != 19) return false;
  if (!num(0, 4, t.year) || s[4] != '-' || !num(5, 2, t.month) || s[7] != '-' ||
      !num(8, 2, t.day)) {
    return false;
  }
  if (s.size() == 19 && (s[10] != ' ' || !num(11, 2, t.hour) || s[13] != ':' ||
                         !num(14, 2, t.minute) || s[16] != ':' || !num(17, 2, t.second))) {
    return false;
  }
  return validTimestamp(t);
}

enum class Parsed { Ok, NotNumber, OutOfRange };

Parsed parseInteger(const std::string& s, std::int64_t& v) {
  const char* b = s.data();
  const char* e = b + s.size();
  if (b != e && *b == '+') ++b;
  if (b == e || *b == '+') return Parsed::NotNumber;
  auto r = std::from_chars(b, e, v);
  if (r.ptr != e) return Parsed::NotNumber;
  if (r.ec == std::errc::result_out_of_range) return Parsed::OutOfRange;
  return r.ec == std::errc{} ? Parsed::Ok : Parsed::NotNumber;
}

// Decimal with up to four decimals into ten-thousandths, exactly.
bool parseCurrency(const std::string& s, std::int64_t& v, bool& overflow) {
  overflow = false;
  std::size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  __int128 acc = 0;
  int digits = 0, decimals = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    if (point && ++decimals > 4) return false;
    ++digits;
    acc = acc * 10 + (c - '0');
    if (acc > (__int128(1) << 64)) overflow = true;
  }
  if (digits == 0 || (point && decimals == 0)) return false;
  for (; decimals < 4; ++decimals) acc *= 10;
  if (neg) acc = -acc;
  if (overflow || acc > std::numeric_limits<std::int64_t>::max() ||
      acc < std::numeric_limits<std::int64_t>::min()) {
    overflow = true;
    return false;
  }
  v = std::int64_t(acc);
  return true;
}

template <typename F>
bool parseFloat(const std::string& s, F& v) {
  const char* b = s.data();
  const char* e = b + s.size();
  if (b != e && *b == '+') ++b;
  if (b == e || *b == '+') return false;
  auto r = std::from_chars(b, e, v, std::chars_format::general);
  return r.ec == std::errc{} && r.ptr == e && std::isfinite(v);
}

std::string valueText(const Value& v) {
  if (auto s = std::get_if<std::string>(&v)) return *s;
  if (auto i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  if (auto d = std::get_if<double>(&v)) {
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, *d).ptr);
  }
  return {};
}

bool validName(const std::string& name) {
  std::u16string u;
  if (!toUtf16(name, u) || u.empty() || u.size() > 64) return false;
  return std::none_of(u.begin(), u.end(), [](char16_t c) {
    return c < 0x20 || c == '.' || c == '!' || c == '[' || c == ']' || c == '`';
  });
}

struct ColumnLayout {
  std::string name;
  std::u16string name16;
  ColumnType type;
  std::uint8_t jet;
  int size;
  std::uint16_t number;
  std::uint16_t varIndex = 0;
  std::uint16_t fixedOffset = 0;
  std::uint16_t length;
};

struct TableLayout {
  std::string name;
  std::vector<ColumnLayout> columns;
  std::uint32_t definitionPage = 0;
  bool system = false;
  std::size_t fixedSize = 0;
  std::size_t varCount = 0;
  std::uint64_t rows = 0;
  std::vector<std::uint32_t> pages;  // data pages in order
  std::uint32_t usedMap = 0;         // page << 8 | row of the usage-map rows
  std::uint32_t freeMap = 0;
};

std::size_t definitionSize(const TableLayout& t) {
  std::size_t n = 63 + 25 * t.columns.size();
  for (const auto& c : t.columns) n += 2 + 2 * c.name16.size();
  return n;
}

// An open file written page by page; closed and removed unless released.
class PageFile {
 public:
  explicit PageFile(const std::filesystem::path& target) : target_(target) {
    try {
      open();
    } catch (...) {
      close();
      throw;
    }
  }
  ~PageFile() { close(); }
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  void open() {
    std::string tmpl = target_.string() + ".tmp-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) fail("create", tmpl);
    temp_ = name.data();
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) {
      ::close(fd);
      fail("create", temp_);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
      ::close(fd);
      fail("create", temp_);
    }
    if (std::setvbuf(file_, nullptr, _IOFBF, 1 << 20) != 0) fail("write", temp_);
  }

  void close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
  }

  std::uint32_t nextPage() const { return pages_; }

  std::uint32_t append(const std::uint8_t* page) {
    if (pages_ >= kMapPagePointers * kPagesPerMapPage)
      throw WriteError(textos_mdbwrite::databaseTooLarge());
    if (std::fwrite(page, 1, kPage, file_) != kPage) fail("write", temp_);
    return pages_++;
  }

  void rewrite(std::uint32_t number, const std::uint8_t* page) {
    if (std::fseek(file_, long(number) * long(kPage), SEEK_SET) != 0 ||
        std::fwrite(page, 1, kPage, file_) != kPage || std::fseek(file_, 0, SEEK_END) != 0) {
      fail("write", temp_);
    }
  }

  void commit() {
    FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) fail("write", temp_);
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) fail("create", target_.string());
    temp_.clear();
  }

 private:
  [[noreturn]] static void fail(const std::string& what, const std::string& path) {
    throw WriteError(textos_mdbwrite::ioError(what, path, std::strerror(errno)));
  }

  std::filesystem::path target_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  std::uint32_t pages_ = 0;
};

// One data page being filled: rows packed from the end, their offsets after the header.
class DataPage {
 public:
  void reset(std::uint32_t owner) {
    page_.fill(0);
    page_[0] = 0x01;
    page_[1] = 0x01;
    put32(&page_[4], owner);
    top_ = kPage;
    rows_ = 0;
  }
  bool empty() const { return rows_ == 0; }
  bool fits(std::size_t size) const {
    return rows_ < kMaxRowsPerPage && size + 2 <= top_ - (kDataHeader + 2 * rows_);
  }
  // Adds a row; returns its row number on the page.
  std::uint32_t add(const std::uint8_t* row, std::size_t size) {
    top_ -= size;
    std::memcpy(&page_[top_], row, size);
    put16(&page_[kDataHeader + 2 * rows_], std::uint32_t(top_));
    return rows_++;
  }
  const std::uint8_t* finish() {
    put16(&page_[2], std::uint32_t(top_ - (kDataHeader + 2 * rows_)));
    put16(&page_[12], rows_);
    return page_.data();
  }

 private:
  std::array<std::uint8_t, kPage> page_{};
  std::size_t top_ = kPage;
  std::uint32_t rows_ = 0;
};

}  // namespace

struct DatabaseWriter::Impl {
  Options options;
  PageFile file;
  std::vector<TableLayout> tables;
  std::vector<std::string> tableKeys;  // lower-cased names
  TableLayout* current = nullptr;
  DataPage page;
  bool failed = false;
  bool finished = false;

  // Scratch reused from row to row.
  Bytes fixed;
  std::vector<std::uint8_t> mask;
  std::vector<Bytes> var;
  std::vector<int> memoColumns;
  std::u16string u16;
  Bytes row;

  Impl(const std::filesystem::path& target, const Options& o) : options(o), file(target) {
    std::u16string pw;
    if (!toUtf16(options.password, pw)) throw WriteError(textos_mdbwrite::badUtf8());
    if (pw.size() > 20) throw WriteError(textos_mdbwrite::passwordTooLong());
    if (!validTimestamp(options.created))
      throw WriteError(textos_mdbwrite::outOfRange("created", "datetime"));
    for (int i = 0; i < 3; ++i)
      file.append(kZeroPage.data());  // header, page 1, catalog definition
  }

  void endTable() {
    if (!current) return;
    flushPage();
    current = nullptr;
  }

  void flushPage() {
    if (!page.empty()) current->pages.push_back(file.append(page.finish()));
    page.reset(current->definitionPage);
  }

  void begin(const std::string& name, const std::vector<Column>& columns, bool system,
             std::uint32_t definitionPage) {
    endTable();
    if (!validName(name)) throw WriteError(textos_mdbwrite::badName("table", name));
    std::string key = lowerAscii(name);
    if (std::find(tableKeys.begin(), tableKeys.end(), key) != tableKeys.end() ||
        (!system && key == "msysobjects")) {
      throw WriteError(textos_mdbwrite::duplicateTable(name));
    }
    if (columns.empty()) throw WriteError(textos_mdbwrite::noColumns(name));
    TableLayout t;
    t.name = name;
    t.system = system;
    std::vector<std::string> keys;
    std::size_t fixedOffset = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Column& c = columns[i];
      if (!validName(c.name)) throw WriteError(textos_mdbwrite::badName("column", c.name), int(i));
      std::string ck = lowerAscii(c.name);
      if (std::find(keys.begin(), keys.end(), ck) != keys.end()) {
        throw WriteError(textos_mdbwrite::duplicateColumn(c.name), int(i));
      }
      keys.push_back(ck);
      if (c.type == ColumnType::Text && (c.size < 1 || c.size > 255)) {
        throw WriteError(textos_mdbwrite::badTextSize("text(" + std::to_string(c.size) + ")"),
                         int(i));
      }
      ColumnLayout l;
      l.name = c.name;
      toUtf16(c.name, l.name16);
      l.type = c.type;
      l.jet = columnTypeInfo(c.type).jetCode;
      l.size = c.size;
      l.number = std::uint16_t(i);
      if (columnTypeInfo(c.type).variable) {
        l.varIndex = std::uint16_t(t.varCount++);
        l.length = c.type == ColumnType::Text ? std::uint16_t(2 * c.size) : 0;
      } else if (c.type == ColumnType::Boolean) {
        l.length = 1;  // kept in the null mask, no bytes in the row
      } else {
        l.fixedOffset = std::uint16_t(fixedOffset);
        l.length = std::uint16_t(columnTypeInfo(c.type).length);
        fixedOffset += l.length;
      }
      t.columns.push_back(std::move(l));
    }
    // The catalog's LvProp column is an OLE column, which only it uses.
    if (system) t.columns.back().jet = kJetOle;
    t.fixedSize = fixedOffset;
    if (columns.size() > 255 || definitionSize(t) > kPage) {
      throw WriteError(textos_mdbwrite::tooManyColumns(name));
    }
    t.definitionPage = definitionPage ? definitionPage : file.append(kZeroPage.data());
    tableKeys.push_back(key);
    tables.push_back(std::move(t));
    current = &tables.back();
    fixed.assign(current->fixedSize, 0);
    mask.assign((current->columns.size() + 7) / 8, 0);
    var.assign(current->varCount, Bytes{});
    page.reset(current->definitionPage);
  }

  // Converts one value into the fixed area, the null mask or the column's variable bytes.
  void encode(const ColumnLayout& c, const Value& v, int index) {
    if (std::holds_alternative<Null>(v)) {
      if (c.type == ColumnType::Boolean) throw WriteError(textos_mdbwrite::booleanNull(), index);
      if (columnTypeInfo(c.type).variable) var[c.varIndex].clear();
      return;
    }
    const std::string* s = std::get_if<std::string>(&v);
    const char* tn = columnTypeInfo(c.type).name;
    auto wrongKind = [&]() { return WriteError(textos_mdbwrite::wrongKind(tn), index); };
    auto notType = [&]() {
      return WriteError(textos_mdbwrite::notOfType(valueText(v), tn), index);
    };
    auto range = [&]() { return WriteError(textos_mdbwrite::outOfRange(valueText(v), tn), index); };
    std::uint8_t* f = fixed.data() + c.fixedOffset;
    switch (c.type) {
      case ColumnType::Boolean: {
        bool b;
        if (auto pb = std::get_if<bool>(&v)) {
          b = *pb;
        } else if (s && (*s == "true" || *s == "false")) {
          b = *s == "true";
        } else if (s) {
          throw notType();
        } else {
          throw wrongKind();
        }
        if (!b) return;
        break;
      }
      case ColumnType::Byte:
      case ColumnType::Integer:
      case ColumnType::Long: {
        std::int64_t i;
        if (auto pi = std::get_if<std::int64_t>(&v)) {
          i = *pi;
        } else if (s) {
          Parsed r = parseInteger(*s, i);
          if (r == Parsed::OutOfRange) throw range();
          if (r == Parsed::NotNumber) throw notType();
        } else {
          throw wrongKind();
        }
        if (c.type == ColumnType::Byte) {
          if (i < 0 || i > 255) throw range();
          f[0] = std::uint8_t(i);
        } else if (c.type == ColumnType::Integer) {
          if (i < -32768 || i > 32767) throw range();
          put16(f, std::uint32_t(i));
        } else {
          if (i < std::numeric_limits<std::int32_t>::min() ||
              i > std::numeric_limits<std::int32_t>::max()) {
            throw range();
          }
          put32(f, std::uint32_t(i));
        }
        break;
      }
      case ColumnType::Single: {
        float x;
        if (auto pd = std::get_if<double>(&v)) {
          if (!std::isfinite(*pd) || std::fabs(*pd) > std::numeric_limits<float>::max()) {
            throw range();
          }
          x = float(*pd);
        } else if (auto pi = std::get_if<std::int64_t>(&v)) {
          x = float(*pi);
        } else if (s) {
          if (!parseFloat(*s, x)) throw notType();
        } else {
          throw wrongKind();
        }
        std::uint32_t bits;
        std::memcpy(&bits, &x, 4);
        put32(f, bits);
        break;
      }
      case ColumnType::Double: {
        double x;
        if (auto pd = std::get_if<double>(&v)) {
          if (!std::isfinite(*pd)) throw range();
          x = *pd;
        } else if (auto pi = std::get_if<std::int64_t>(&v)) {
          x = double(*pi);
        } else if (s) {
          if (!parseFloat(*s, x)) throw notType();
        } else {
          throw wrongKind();
        }
        putDouble(f, x);
        break;
      }
      case ColumnType::Currency: {
        std::int64_t m;
        if (auto pc = std::get_if<Currency>(&v)) {
          m = pc->tenThousandths;
        } else if (auto pi = std::get_if<std::int64_t>(&v)) {
          if (*pi > std::numeric_limits<std::int64_t>::max() / 10000 ||
              *pi < std::numeric_limits<std::int64_t>::min() / 10000) {
            throw range();
          }
          m = *pi * 10000;
        } else if (auto pd = std::get_if<double>(&v)) {
          if (!std::isfinite(*pd) || std::fabs(*pd) >= 9.2e14) throw range();
          m = std::llround(*pd * 10000.0);
        } else if (s) {
          bool overflow;
          if (!parseCurrency(*s, m, overflow)) throw overflow ? range() : notType();
        } else {
          throw wrongKind();
        }
        put64(f, std::uint64_t(m));
        break;
      }
      case ColumnType::DateTime: {
        Timestamp t;
        if (auto pt = std::get_if<Timestamp>(&v)) {
          t = *pt;
          if (!validTimestamp(t)) throw range();
        } else if (s) {
          if (!parseTimestamp(*s, t)) throw notType();
        } else {
          throw wrongKind();
        }
        putDouble(f, jetDate(t));
        break;
      }
      case ColumnType::Text:
      case ColumnType::Memo: {
        if (!s) throw wrongKind();
        if (!toUtf16(*s, u16)) throw WriteError(textos_mdbwrite::badUtf8(), index);
        if (c.type == ColumnType::Text && u16.size() > std::size_t(c.size)) {
          throw WriteError(textos_mdbwrite::textTooLong(u16.size(), c.size), index);
        }
        encodeText(u16, c.type == ColumnType::Text || u16.size() <= 1024, var[c.varIndex]);
        if (c.type == ColumnType::Memo) {
          if (var[c.varIndex].size() > 0xFFFFFF)
            throw WriteError(textos_mdbwrite::memoTooLong(), index);
          memoColumns.push_back(index);
        }
        break;
      }
    }
    mask[c.number / 8] |= std::uint8_t(1u << (c.number % 8));
  }

  std::size_t rowSize(const std::vector<bool>& inlineMemo) const {
    std::size_t n = 2 + current->fixedSize + mask.size();
    if (current->varCount) n += 2 + 2 * current->varCount + 2;
    for (std::size_t v = 0; v < var.size(); ++v) n += var[v].size();
    for (int ci : memoColumns) {
      const ColumnLayout& c = current->columns[ci];
      n += 12;
      if (!inlineMemo[c.varIndex]) n -= var[c.varIndex].size();
    }
    return n;
  }

  // Writes a memo's bytes to long-value pages; returns the 12-byte header for the row.
  Bytes writeLongValue(const Bytes& data) {
    Bytes header(12, 0);
    std::array<std::uint8_t, kPage> lv;
    auto start = [&](std::size_t rowBytes) {
      lv.fill(0);
      lv[0] = 0x01;
      lv[1] = 0x01;
      std::memcpy(&lv[4], "LVAL", 4);
      put16(&lv[2], std::uint32_t(kPage - kDataHeader - 2 - rowBytes));
      put16(&lv[12], 1);
      put16(&lv[14], std::uint32_t(kPage - rowBytes));
      return &lv[kPage - rowBytes];
    };
    if (data.size() <= kLongValueOnePage) {
      std::memcpy(start(data.size()), data.data(), data.size());
      put32(&header[0], std::uint32_t(data.size()) | 0x40000000u);
      put32(&header[4], file.append(lv.data()) << 8);
      return header;
    }
    put32(&header[0], std::uint32_t(data.size()));
    put32(&header[4], file.nextPage() << 8);
    for (std::size_t off = 0; off < data.size(); off += kLongValueChunk) {
      std::size_t n = std::min(kLongValueChunk, data.size() - off);
      std::uint8_t* p = start(n + 4);
      bool last = off + n == data.size();
      put32(p, last ? 0 : (file.nextPage() + 1) << 8);
      std::memcpy(p + 4, data.data() + off, n);
      file.append(lv.data());
    }
    return header;
  }

  void add(std::span<const Value> values) {
    if (!current) throw WriteError(textos_mdbwrite::noTable());
    const auto& cols = current->columns;
    if (values.size() != cols.size())
      throw WriteError(textos_mdbwrite::wrongFieldCount(values.size(), cols.size()));
    std::fill(fixed.begin(), fixed.end(), 0);
    std::fill(mask.begin(), mask.end(), 0);
    memoColumns.clear();
    for (std::size_t i = 0; i < cols.size(); ++i) encode(cols[i], values[i], int(i));

    // Short memos stay in the row; long ones (or any that would not let the row fit) move to
    // long-value pages.
    std::vector<bool> inlineMemo(current->varCount, false);
    for (int ci : memoColumns) {
      const ColumnLayout& c = cols[ci];
      inlineMemo[c.varIndex] = var[c.varIndex].size() <= kInlineMemoMax;
    }
    for (int ci : memoColumns) {
      if (rowSize(inlineMemo) <= kMaxRow) break;
      inlineMemo[cols[ci].varIndex] = false;
    }
    if (rowSize(inlineMemo) > kMaxRow) throw WriteError(textos_mdbwrite::rowTooLarge());
    for (int ci : memoColumns) {
      const ColumnLayout& c = cols[ci];
      Bytes& b = var[c.varIndex];
      if (inlineMemo[c.varIndex]) {
        Bytes h(12, 0);
        put32(&h[0], std::uint32_t(b.size()) | 0x80000000u);
        b.insert(b.begin(), h.begin(), h.end());
      } else {
        b = writeLongValue(b);
      }
    }

    // Row: column count, fixed area, variable data, end offset, variable offsets in reverse,
    // variable count, null mask.
    row.clear();
    auto push16 = [&](std::uint32_t v) {
      row.push_back(std::uint8_t(v));
      row.push_back(std::uint8_t(v >> 8));
    };
    push16(std::uint32_t(cols.size()));
    row.insert(row.end(), fixed.begin(), fixed.end());
    if (current->varCount) {
      std::vector<std::uint16_t> offsets(current->varCount + 1);
      for (std::size_t v = 0; v < var.size(); ++v) {
        offsets[v] = std::uint16_t(row.size());
        row.insert(row.end(), var[v].begin(), var[v].end());
      }
      offsets[var.size()] = std::uint16_t(row.size());
      for (std::size_t k = offsets.size(); k-- > 0;) push16(offsets[k]);
      push16(std::uint32_t(current->varCount));
    }
    row.insert(row.end(), mask.begin(), mask.end());

    if (!page.fits(row.size())) flushPage();
    page.add(row.data(), row.size());
    ++current->rows;
  }

  // Builds a table's usage-map row: a 64-byte bitmap from the first page when the pages span
  // fewer than 512, otherwise pointers to bitmap pages that each cover 32736 pages.
  Bytes usageMap(const std::vector<std::uint32_t>& pages) {
    Bytes m(kMapRowSize, 0);
    if (pages.empty() || pages.back() - pages.front() < kType0Pages) {
      std::uint32_t first = pages.empty() ? 0 : pages.front();
      put32(&m[1], first);
      for (std::uint32_t p : pages) m[5 + (p - first) / 8] |= std::uint8_t(1u << ((p - first) % 8));
      return m;
    }
    m[0] = 0x01;
    std::size_t i = 0;
    while (i < pages.size()) {
      std::uint32_t index = pages[i] / kPagesPerMapPage;
      std::array<std::uint8_t, kPage> bp{};
      bp[0] = 0x05;
      bp[1] = 0x01;
      for (; i < pages.size() && pages[i] / kPagesPerMapPage == index; ++i) {
        std::uint32_t bit = pages[i] % kPagesPerMapPage;
        bp[4 + bit / 8] |= std::uint8_t(1u << (bit % 8));
      }
      put32(&m[1 + 4 * index], file.append(bp.data()));
    }
    return m;
  }

  void writeDefinition(const TableLayout& t) {
    std::array<std::uint8_t, kPage> p{};
    p[0] = 0x02;
    p[1] = 0x01;
    std::size_t size = definitionSize(t);
    put16(&p[2], std::uint32_t(kPage - size));
    put32(&p[8], std::uint32_t(size));
    put32(&p[16], std::uint32_t(t.rows));
    p[40] = t.system ? 0x53 : 0x4E;
    put16(&p[41], std::uint32_t(t.columns.size()));
    put16(&p[43], std::uint32_t(t.varCount));
    put16(&p[45], std::uint32_t(t.columns.size()));
    put32(&p[55], t.usedMap);
    put32(&p[59], t.freeMap);
    std::size_t pos = 63;
    for (const ColumnLayout& c : t.columns) {
      std::uint8_t* d = &p[pos];
      d[0] = c.jet;
      put16(d + 5, c.number);
      put16(d + 7, c.varIndex);
      put16(d + 9, c.number);
      put16(d + 11, 0x0409);  // general sort order
      bool fixedColumn = !columnTypeInfo(c.type).variable && c.jet != kJetOle;
      d[15] = std::uint8_t((fixedColumn ? 0x01 : 0x00) | 0x02);
      d[16] = c.type == ColumnType::Text || c.type == ColumnType::Memo ? 0x01 : 0x00;
      put16(d + 21, c.fixedOffset);
      put16(d + 23, c.length);
      pos += 25;
    }
    for (const ColumnLayout& c : t.columns) {
      put16(&p[pos], std::uint32_t(2 * c.name16.size()));
      pos += 2;
      for (char16_t ch : c.name16) {
        put16(&p[pos], ch);
        pos += 2;
      }
    }
    file.rewrite(t.definitionPage, p.data());
  }

  void writeCatalog() {
    const Timestamp when = options.created;
    std::vector<TableLayout> user(tables.begin(), tables.end());
    std::vector<Column> cols = {{"Id", ColumnType::Long},
                                {"ParentId", ColumnType::Long},
                                {"Name", ColumnType::Text, 255},
                                {"Type", ColumnType::Integer},
                                {"DateCreate", ColumnType::DateTime},
                                {"DateUpdate", ColumnType::DateTime},
                                {"Flags", ColumnType::Long},
                                {"LvProp", ColumnType::Memo}};
    begin("MSysObjects", cols, true, kCatalogPage);
    constexpr std::int64_t kTablesFolder = 0x0F000001;
    constexpr std::int64_t kSystemFlags = std::int64_t(std::int32_t(0x80000000u));
    auto entry = [&](std::int64_t id, std::int64_t parent, const std::string& name,
                     std::int64_t type, std::int64_t flags) {
      Row r = {id, parent, name, type, when, when, flags, Null{}};
      add(r);
    };
    entry(kTablesFolder, 0x0F000000, "Tables", 3, kSystemFlags);
    entry(kCatalogPage, kTablesFolder, "MSysObjects", 1, kSystemFlags | 0x2);
    for (const TableLayout& t : user) entry(t.definitionPage, kTablesFolder, t.name, 1, 0);
    endTable();
  }

  void finish() {
    endTable();
    writeCatalog();

    // Usage-map rows, two per table, on data pages of their own.
    Bytes freeMap(kMapRowSize, 0);
    std::vector<Bytes> maps;
    for (TableLayout& t : tables) maps.push_back(usageMap(t.pages));
    DataPage mp;
    mp.reset(0);
    std::uint32_t mpNumber = file.nextPage();
    for (std::size_t i = 0; i < tables.size(); ++i) {
      if (!mp.fits(2 * kMapRowSize + 2)) {
        file.append(mp.finish());
        mp.reset(0);
        mpNumber = file.nextPage();
      }
      tables[i].usedMap = mpNumber << 8 | mp.add(maps[i].data(), maps[i].size());
      tables[i].freeMap = mpNumber << 8 | mp.add(freeMap.data(), freeMap.size());
    }
    file.append(mp.finish());
    for (const TableLayout& t : tables) writeDefinition(t);

    DataPage empty;
    empty.reset(0);
    file.rewrite(1, empty.finish());
    file.rewrite(0, header().data());
    file.commit();
  }

  std::array<std::uint8_t, kPage> header() const {
    std::array<std::uint8_t, kPage> h{};
    h[1] = 0x01;
    std::memcpy(&h[4], "Standard Jet DB", 16);
    h[0x14] = 0x01;  // Jet 4
    static constexpr std::uint8_t kFixed[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                              0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                              0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    std::memcpy(&h[jet4::kHeaderMaskAt], kFixed, sizeof kFixed);
    put16(&h[0x3C], 1252);  // code page; the key at 0x3E stays 0: pages are not encrypted
    put16(&h[0x6E], 0x0409);
    double created = jetDate(options.created);
    putDouble(&h[jet4::kCreatedAt], created);
    // The password, UCS-2, XORed with the creation date's whole days as a 4-byte mask.
    std::u16string pw;
    toUtf16(options.password, pw);
    std::uint8_t dateMask[4];
    put32(dateMask, std::uint32_t(std::int32_t(created)));
    for (std::size_t i = 0; i < jet4::kPasswordBytes; ++i) {
      std::uint8_t b = 0;
      if (i / 2 < pw.size()) b = std::uint8_t(pw[i / 2] >> (8 * (i % 2)));
      h[jet4::kPasswordAt + i] = b ^ dateMask[i % 4];
    }
    static constexpr std::uint8_t kTail[] = {0x54, 0x06, 0x00, 0x00, 0x34, 0x2E, 0x30, 0x00};
    std::memcpy(&h[0x98], kTail, sizeof kTail);
    jet4::maskHeader(&h[jet4::kHeaderMaskAt], jet4::kHeaderMaskedBytesJet4);
    return h;
  }
};

DatabaseWriter::DatabaseWriter(const std::filesystem::path& target, const Options& options)
    : impl_(std::make_unique<Impl>(target, options)) {}

DatabaseWriter::~DatabaseWriter() = default;

void DatabaseWriter::beginTable(const std::string& name, const std::vector<Column>& columns) {
  if (impl_->failed || impl_->finished) throw WriteError(textos_mdbwrite::writerFailed());
  try {
    impl_->begin(name, columns, false, 0);
  } catch (const WriteError&) {
    // A rejected definition leaves no table open; the file stays consistent.
    impl_->current = nullptr;
    throw;
  }
}

void DatabaseWriter::addRow(std::span<const Value> row) {
  if (impl_->failed || impl_->finished) throw WriteError(textos_mdbwrite::writerFailed());
  try {
    impl_->add(row);
  } catch (...) {
    impl_->failed = true;
    throw;
  }
}

void DatabaseWriter::finish() {
  if (impl_->failed || impl_->finished) throw WriteError(textos_mdbwrite::writerFailed());
  impl_->failed = true;
  impl_->finish();
  impl_->failed = false;
  impl_->finished = true;
}

void writeDatabase(const std::filesystem::path& target, const std::vector<Table>& tables,
                   const Options& options) {
  DatabaseWriter w(target, options);
  for (const Table& t : tables) {
    w.beginTable(t.name, t.columns);
    for (const Row& r : t.rows) w.addRow(r);
  }
  w.finish();
}

}  // namespace kv::mdbw
