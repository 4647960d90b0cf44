// lector-mdb: reads the tables of an Access file with libmdb and streams them to the
// engine that started it (mdb_reader_protocol.h). It runs as its own process so that a
// damaged file can only make this program fail: it limits its own memory, ends with its
// parent, and checks what Jet's structures let it check, so that damage is reported
// instead of read as fewer rows.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Debian's mdbtools.h opens extern "C" before including glib: glib must come first.
#include <glib.h>
#include <mdbtools.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "jet/mdb/helper_process.h"
#include "jet/mdb/mdb_reader_protocol.h"
#include "jet/table_source.h"
#include "jet/textos.h"

namespace {

using namespace kv::jet;
namespace textos_jet = kv::textos_jet;
namespace text = kv::textos_jet::text;

// A failure this program reports to the engine: its Spanish detail.
struct Failure {
  std::string detail;
};

[[noreturn]] void damaged(std::string detail) {
  throw Failure{std::move(detail)};
}

struct MdbCloser {
  void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableDefFree {
  void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableDefFree>;
struct GFree {
  void operator()(void* p) const { g_free(p); }
};

// Row offsets on a data page: the low bits place the row, the high bits mark it.
constexpr unsigned kOffsetMask = 0x1FFF;
constexpr unsigned kDeletedRow = 0x8000;   // deleted, or the moved copy of another row
constexpr unsigned kOverflowRow = 0x4000;  // holds a pointer to where the row went
constexpr int kMaxOverflowHops = 8;

struct Open {
  MdbPtr mdb;
  std::uint64_t fileSize = 0;
  std::uint64_t pages() const { return fileSize / static_cast<std::uint64_t>(mdb->fmt->pg_size); }
};

// The definition of the catalog (MSysObjects, page 2); `table` is null when unreadable.
struct CatalogTable {
  std::unique_ptr<MdbCatalogEntry> entry = std::make_unique<MdbCatalogEntry>();
  TablePtr table;  // refers to `entry`, and goes first
};

CatalogTable readCatalogTable(MdbHandle* mdb) {
  CatalogTable c;
  c.entry->mdb = mdb;
  c.entry->object_type = MDB_TABLE;
  c.entry->table_pg = 2;
  std::strcpy(c.entry->object_name, "MSysObjects");
  c.table.reset(mdb_read_table(c.entry.get()));
  if (c.table && (!c.table->usage_map || c.table->map_sz == 0)) c.table.reset();
  return c;
}

Open openMdb(const std::string& path) {
  Open o;
  o.mdb.reset(mdb_open(path.c_str(), MDB_NOFLAGS));
  if (!o.mdb) damaged(text::kLibmdbNoPudoAbrirEl);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) damaged(textos_jet::systemError(errno));
  o.fileSize = static_cast<std::uint64_t>(st.st_size);
  // The catalog's own table first: libmdb reads it without checking its usage map.
  if (!readCatalogTable(o.mdb.get()).table) damaged(text::kNoSePudoLeerEl);
  if (!mdb_read_catalog(o.mdb.get(), MDB_TABLE)) damaged(text::kNoSePudoLeerEl);
  return o;
}

ColumnKind kindOf(int type) {
  switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
      return ColumnKind::Integer;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
      return ColumnKind::Real;
    case MDB_DATETIME:
      return ColumnKind::Date;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
      return ColumnKind::Text;
    default:
      return ColumnKind::Blob;
  }
}

// Text stored in Jet's encodings (UCS-2, compressed UCS-2, code page) as UTF-8.
std::string decodeText(MdbHandle* mdb, const char* src, std::size_t len) {
  if (len == 0) return {};
  std::string out(2 * len + 16, '\0');
  const int n = mdb_unicode2ascii(mdb, src, len, out.data(), out.size());
  out.resize(n > 0 ? std::min(static_cast<std::size_t>(n), out.size()) : 0);
  out.resize(std::strlen(out.c_str()));
  return out;
}

// The bytes of a long value (memo or OLE): in the row, on one long-value page or on
// a chain of them.
std::string readLongValue(const Open& o, int start, int size) {
  MdbHandle* mdb = o.mdb.get();
  if (size < MDB_MEMO_OVERHEAD) return {};
  const std::uint32_t head = static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, start));
  const std::uint32_t valueLen = head & 0x3FFFFFFF;
  if (head & 0x80000000u)
    return std::string(reinterpret_cast<const char*>(mdb->pg_buf) + start + MDB_MEMO_OVERHEAD,
                       static_cast<std::size_t>(size - MDB_MEMO_OVERHEAD));
  std::int32_t pgRow = static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, start + 4));
  void* buf = nullptr;
  int rowStart = 0;
  std::size_t len = 0;
  auto fetch = [&] {
    if (mdb_find_pg_row(mdb, pgRow, &buf, &rowStart, &len) != 0) damaged(text::kValorLargoIlegible);
    if (rowStart < 0 || rowStart + len > static_cast<std::size_t>(mdb->fmt->pg_size))
      damaged(text::kValorLargoFueraDeLa);
  };
  if (head & 0x40000000u) {
    fetch();
    return std::string(static_cast<const char*>(buf) + rowStart, len);
  }
  if ((head & 0xFF000000u) != 0) damaged(text::kValorLargoConMarcasDesconocidas);
  if (valueLen > reader::kMaxValue || valueLen > o.fileSize)
    damaged(text::kValorLargoDemasiadoGrande);
  std::string raw;
  raw.reserve(valueLen);
  for (std::uint64_t guard = 0; pgRow != 0; ++guard) {
    if (guard > o.pages()) damaged(text::kCadenaDePaginasCircular);
    fetch();
    if (len < 4 || raw.size() + len - 4 > valueLen) break;
    raw.append(static_cast<const char*>(buf) + rowStart + 4, len - 4);
    pgRow = static_cast<std::int32_t>(mdb_get_int32(buf, rowStart));
  }
  return raw;
}

// The shortest decimal that reads back as the same float, as Access shows a Single.
double singleValue(float f) {
  if (!std::isfinite(f)) return f;
  char buf[32];
  for (int prec = 6; prec <= 9; ++prec) {
    const auto r = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::general, prec);
    float back = 0;
    std::from_chars(buf, r.ptr, back);
    if (back == f) {
      double d = 0;
      std::from_chars(buf, r.ptr, d);
      return d;
    }
  }
  return f;
}

void sendCell(PipeOut& out, const Open& o, MdbColumn* col, const MdbField& f) {
  MdbHandle* mdb = o.mdb.get();
  const unsigned char* pg = mdb->pg_buf;
  const int type = col->col_type;
  if (type == MDB_BOOL) {
    // Yes/no lives in the null bitmap: set means Yes.
    out.u8(reader::kInt);
    out.i64(f.is_null ? 0 : -1);
    return;
  }
  if (f.is_null) return out.u8(reader::kNull);
  const int start = f.start, siz = f.siz;
  if (start < 0 || siz < 0 || start + siz > mdb->fmt->pg_size) damaged(text::kCampoFueraDeLaPagina);
  auto fixed = [&](int n) {
    if (siz < n) damaged(text::kCampoMasCortoQueSu);
  };
  switch (type) {
    case MDB_BYTE:
      fixed(1);
      out.u8(reader::kInt);
      out.i64(pg[start]);
      return;
    case MDB_INT:
      fixed(2);
      out.u8(reader::kInt);
      out.i64(static_cast<std::int16_t>(mdb_get_int16(mdb->pg_buf, start)));
      return;
    case MDB_LONGINT:
    case MDB_COMPLEX:
      fixed(4);
      out.u8(reader::kInt);
      out.i64(static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, start)));
      return;
    case MDB_MONEY: {
      fixed(8);
      std::int64_t v;
      std::memcpy(&v, pg + start, 8);
      out.u8(reader::kReal);
      out.f64(static_cast<double>(v) / 10000.0);
      return;
    }
    case MDB_FLOAT:
      fixed(4);
      out.u8(reader::kReal);
      out.f64(singleValue(mdb_get_single(mdb->pg_buf, start)));
      return;
    case MDB_DOUBLE:
    case MDB_DATETIME:
      fixed(8);
      out.u8(reader::kReal);
      out.f64(mdb_get_double(mdb->pg_buf, start));
      return;
    case MDB_TEXT:
      out.u8(reader::kText);
      out.bytes(decodeText(mdb, reinterpret_cast<const char*>(pg) + start,
                           static_cast<std::size_t>(siz)));
      return;
    case MDB_MEMO: {
      const std::string raw = readLongValue(o, start, siz);
      out.u8(reader::kText);
      out.bytes(decodeText(mdb, raw.data(), raw.size()));
      return;
    }
    case MDB_REPID: {
      fixed(16);
      std::unique_ptr<char, GFree> s(mdb_col_to_string(mdb, mdb->pg_buf, start, type, siz));
      out.u8(reader::kText);
      out.bytes(s ? s.get() : "");
      return;
    }
    case MDB_NUMERIC: {
      fixed(17);
      std::unique_ptr<char, GFree> s(
          mdb_numeric_to_string(mdb, start, col->col_scale, col->col_prec));
      out.u8(reader::kReal);
      double v = 0;
      if (s) std::from_chars(s.get(), s.get() + std::strlen(s.get()), v);
      out.f64(v);
      return;
    }
    case MDB_OLE:
      out.u8(reader::kBlob);
      out.bytes(readLongValue(o, start, siz));
      return;
    default:
      out.u8(reader::kBlob);
      out.bytes(std::string_view(reinterpret_cast<const char*>(pg) + start,
                                 static_cast<std::size_t>(siz)));
  }
}

void checkCatalog(Open& o);

void listTables(PipeOut& out, const std::string& path) {
  Open o = openMdb(path);
  checkCatalog(o);
  MdbHandle* mdb = o.mdb.get();
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (e->object_type == MDB_TABLE && mdb_is_user_table(e)) {
      out.u8(reader::kTable);
      out.bytes(e->object_name);
    }
  }
  out.u8(reader::kEnd);
}

// Streams one table by walking the data pages its usage map names. Every named page
// must be in the file and be a data page of the table, and the live rows must add up to
// the count the table definition stores: anything else is damage, never fewer rows.
class TableWalk {
 public:
  // Without `out` the rows are only counted (the catalog, read by libmdb itself).
  TableWalk(PipeOut* out, Open& o, MdbTableDef* table)
      : out_(out), o_(o), mdb_(o.mdb.get()), table_(table), name_(table->name) {}

  void run() {
    const unsigned ncols = table_->num_cols;
    fields_.resize(ncols);
    byColumn_.resize(ncols);
    if (!table_->usage_map || table_->map_sz == 0) {
      if (table_->num_rows != 0) fail(text::kSinMapaDeUso);
    } else {
      guint32 page = 0;
      for (;;) {
        const gint32 next =
            mdb_map_find_next(mdb_, table_->usage_map, static_cast<unsigned>(table_->map_sz), page);
        if (next < 0) fail(text::kMapaDeUsoIlegible);
        if (next == 0) break;
        if (static_cast<guint32>(next) <= page) fail(text::kMapaDeUsoDesordenado);
        page = static_cast<guint32>(next);
        readPage(page);
      }
    }
    if (rows_ != table_->num_rows) fail(textos_jet::rowCountMismatch(rows_, table_->num_rows));
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    damaged(textos_jet::damagedTable(name_, what));
  }

  // Loads `page` into libmdb's page buffer, checking it is one of the table's data pages.
  void load(guint32 page) {
    if (page >= o_.pages() || mdb_read_pg(mdb_, page) != mdb_->fmt->pg_size)
      fail(textos_jet::pageMissing(page));
    if (mdb_->pg_buf[0] != MDB_PAGE_DATA ||
        static_cast<guint32>(mdb_get_int32(mdb_->pg_buf, 4)) != table_->entry->table_pg)
      fail(textos_jet::pageNotOfTable(page));
  }

  unsigned rowsOnPage(guint32 page) {
    const int rco = mdb_->fmt->row_count_offset;
    const unsigned n = static_cast<unsigned>(mdb_get_int16(mdb_->pg_buf, rco));
    if (rco + 2 + 2 * static_cast<std::size_t>(n) > static_cast<std::size_t>(mdb_->fmt->pg_size))
      fail(textos_jet::rowUnreadable(page, n));
    return n;
  }

  void readPage(guint32 page) {
    load(page);
    const unsigned n = rowsOnPage(page);
    for (unsigned r = 0; r < n; ++r) {
      const unsigned flags = static_cast<unsigned>(
          mdb_get_int16(mdb_->pg_buf, mdb_->fmt->row_count_offset + 2 + 2 * r));
      if (flags & kDeletedRow) continue;
      if (flags & kOverflowRow) {
        followOverflow(page, r);
        load(page);  // back to the page being walked
        continue;
      }
      sendRow(page, r);
    }
  }

  // A row that no longer fitted its page holds a pointer (page << 8 | row) to its copy.
  void followOverflow(guint32 page, unsigned r) {
    guint32 at = page;
    unsigned row = r;
    for (int hop = 0; hop <= kMaxOverflowHops; ++hop) {
      int start = 0;
      std::size_t size = 0;
      if (mdb_find_row(mdb_, static_cast<int>(row), &start, &size) != 0 || size < 4)
        fail(textos_jet::rowUnreadable(at, row));
      const auto ptr = static_cast<guint32>(mdb_get_int32(mdb_->pg_buf, start & kOffsetMask));
      at = ptr >> 8;
      row = ptr & 0xFF;
      load(at);
      if (row >= rowsOnPage(at)) fail(text::kFilaDesbordadaIlegible);
      const unsigned flags = static_cast<unsigned>(
          mdb_get_int16(mdb_->pg_buf, mdb_->fmt->row_count_offset + 2 + 2 * row));
      if (!(flags & kOverflowRow)) return sendRow(at, row);
    }
    fail(text::kFilaDesbordadaIlegible);
  }

  void sendRow(guint32 page, unsigned r) {
    int start = 0;
    std::size_t size = 0;
    if (mdb_find_row(mdb_, static_cast<int>(r), &start, &size) != 0 || size == 0)
      fail(textos_jet::rowUnreadable(page, r));
    start &= kOffsetMask;
    if (!out_) {
      ++rows_;
      return;
    }
    const unsigned ncols = static_cast<unsigned>(fields_.size());
    if (mdb_crack_row(table_, start, size, fields_.data()) < 0)
      fail(textos_jet::rowUnreadable(page, r));
    std::fill(byColumn_.begin(), byColumn_.end(), nullptr);
    for (unsigned i = 0; i < ncols; ++i)
      if (fields_[i].colnum >= 0 && static_cast<unsigned>(fields_[i].colnum) < ncols)
        byColumn_[fields_[i].colnum] = &fields_[i];
    out_->u8(reader::kRow);
    for (unsigned c = 0; c < ncols; ++c) {
      auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table_->columns, c));
      if (!byColumn_[c]) fail(text::kFilaSinTodosSusCampos);
      sendCell(*out_, o_, col, *byColumn_[c]);
    }
    ++rows_;
  }

  PipeOut* out_;
  Open& o_;
  MdbHandle* mdb_;
  MdbTableDef* table_;
  std::string name_;
  std::vector<MdbField> fields_;
  std::vector<const MdbField*> byColumn_;
  std::uint64_t rows_ = 0;
};

// The catalog's pages checked as a table's: libmdb skips the damaged ones silently, which
// would hide tables.
void checkCatalog(Open& o) {
  CatalogTable c = readCatalogTable(o.mdb.get());
  if (!c.table) damaged(text::kNoSePudoLeerEl);
  TableWalk(nullptr, o, c.table.get()).run();
}

void readTable(PipeOut& out, const std::string& path, const std::string& name) {
  Open o = openMdb(path);
  checkCatalog(o);
  std::string n = name;
  TablePtr table(mdb_read_table_by_name(o.mdb.get(), n.data(), MDB_TABLE));
  if (!table) damaged(textos_jet::damagedTable(name, text::kNoSePudoLeerLa));
  if (!mdb_read_columns(table.get())) damaged(text::kNoSePudieronLeerLos);
  const unsigned ncols = table->num_cols;
  if (ncols == 0 || ncols > reader::kMaxColumns || !table->columns || table->columns->len != ncols)
    damaged(text::kTablaSinCampos);
  out.u8(reader::kColumns);
  out.u32(ncols);
  for (unsigned i = 0; i < ncols; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    out.bytes(col->name);
    out.u8(static_cast<std::uint8_t>(kindOf(col->col_type)));
  }
  TableWalk(&out, o, table.get()).run();
  out.u8(reader::kEnd);
}

bool parseNumber(const char* s, std::uint64_t& v) {
  const char* end = s + std::strlen(s);
  const auto r = std::from_chars(s, end, v);
  return r.ec == std::errc{} && r.ptr == end;
}

// Ends this program with the process that started it (also when that one is already
// gone), and caps its address space.
void applyLimits(std::uint64_t parent, std::uint64_t memory) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (parent != 0 && static_cast<std::uint64_t>(::getppid()) != parent) _exit(5);
#if !defined(__SANITIZE_ADDRESS__)
  // (The address sanitizer reserves terabytes of address space; its builds get the
  // limit through its own allocator instead.)
  if (memory > 0) {
    const rlimit lim{memory, memory};
    ::setrlimit(RLIMIT_AS, &lim);
  }
#else
  (void)memory;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t parent = 0, memory = 0;
  int i = 1;
  for (; i + 1 < argc; i += 2) {
    std::uint64_t* target = nullptr;
    if (std::strcmp(argv[i], reader::kParentOption) == 0) target = &parent;
    if (std::strcmp(argv[i], reader::kMemoryOption) == 0) target = &memory;
    if (!target) break;
    if (!parseNumber(argv[i + 1], *target)) return 2;
  }
  const bool list = i + 2 == argc && std::strcmp(argv[i], reader::kListCommand) == 0;
  const bool table = i + 3 == argc && std::strcmp(argv[i], reader::kTableCommand) == 0;
  if (!list && !table) {
    std::fprintf(stderr,
                 "uso: lector-mdb [--padre PID] [--memoria BYTES] tablas ARCHIVO\n"
                 "     lector-mdb [--padre PID] [--memoria BYTES] tabla NOMBRE ARCHIVO\n"
                 "Programa auxiliar del motor Jet: escribe su resultado en el descriptor 3.\n");
    return 2;
  }
  applyLimits(parent, memory);
  ::signal(SIGPIPE, SIG_IGN);  // a vanished reader shows as a failed write
  PipeOut out(kHelperStreamFd);
  try {
    if (list)
      listTables(out, argv[i + 1]);
    else
      readTable(out, argv[i + 2], argv[i + 1]);
  } catch (const Failure& f) {
    out.u8(reader::kError);
    out.bytes(f.detail);
  } catch (const std::bad_alloc&) {
    out.u8(reader::kError);
    out.bytes(text::kMemoriaInsuficiente);
  }
  out.flush();
  return 0;
}
