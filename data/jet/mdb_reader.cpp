#include "data/jet/mdb_reader.h"

// Debian's mdbtools.h opens extern "C" before including glib: glib must come first.
#include <glib.h>
#include <mdbtools.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "data/db/c_numbers.h"
#include "data/db/error.h"
#include "data/jet/helper_process.h"
#include "data/jet/jet_messages.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

// Frame tags of the helper's stream.
enum : std::uint8_t {
  kTable = 'T',
  kColumns = 'C',
  kRow = 'R',
  kEnd = 'E',
  kError = 'X',
};
enum : std::uint8_t { kNull = 0, kInt = 1, kReal = 2, kText = 3, kBlob = 4 };

constexpr std::uint32_t kMaxName = 4096;
constexpr std::uint32_t kMaxValue = 256u << 20;  // a memo or OLE value up to 256 MB

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

[[noreturn]] void damaged(const char* what) {
  throw DbError(msg::kClass, msg::readerError(what));
}

MdbPtr openMdb(const std::string& path) {
  MdbPtr mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
  if (!mdb) damaged(msg::text::kLibmdbNoPudoAbrirEl);
  if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) damaged(msg::text::kNoSePudoLeerEl);
  return mdb;
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
std::string readLongValue(MdbHandle* mdb, int start, int size) {
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
    if (mdb_find_pg_row(mdb, pgRow, &buf, &rowStart, &len) != 0)
      damaged(msg::text::kValorLargoIlegible);
    if (rowStart < 0 || rowStart + len > static_cast<std::size_t>(mdb->fmt->pg_size))
      damaged(msg::text::kValorLargoFueraDeLa);
  };
  if (head & 0x40000000u) {
    fetch();
    return std::string(static_cast<const char*>(buf) + rowStart, len);
  }
  if ((head & 0xFF000000u) != 0) damaged(msg::text::kValorLargoConMarcasDesconocidas);
  if (valueLen > kMaxValue) damaged(msg::text::kValorLargoDemasiadoGrande);
  std::string raw;
  raw.reserve(valueLen);
  for (int guard = 0; pgRow != 0; ++guard) {
    if (guard > 1 << 20) damaged(msg::text::kCadenaDePaginasCircular);
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
  for (int prec = 6; prec <= 9; ++prec) {
    const std::string s = kv::db::formatC("%.*g", prec, static_cast<double>(f));
    float back = 0;
    std::from_chars(s.data(), s.data() + s.size(), back);
    if (back == f) return kv::db::strtodC(s.c_str(), nullptr);
  }
  return f;
}

void sendCell(PipeOut& out, MdbHandle* mdb, MdbColumn* col, const MdbField& f) {
  const unsigned char* pg = mdb->pg_buf;
  const int type = col->col_type;
  if (type == MDB_BOOL) {
    // Yes/no lives in the null bitmap: set means Yes.
    out.u8(kInt);
    out.i64(f.is_null ? 0 : -1);
    return;
  }
  if (f.is_null) return out.u8(kNull);
  const int start = f.start, siz = f.siz;
  if (start < 0 || siz < 0 || start + siz > mdb->fmt->pg_size)
    damaged(msg::text::kCampoFueraDeLaPagina);
  auto fixed = [&](int n) {
    if (siz < n) damaged(msg::text::kCampoMasCortoQueSu);
  };
  switch (type) {
    case MDB_BYTE:
      fixed(1);
      out.u8(kInt);
      out.i64(pg[start]);
      return;
    case MDB_INT:
      fixed(2);
      out.u8(kInt);
      out.i64(static_cast<std::int16_t>(mdb_get_int16(mdb->pg_buf, start)));
      return;
    case MDB_LONGINT:
    case MDB_COMPLEX:
      fixed(4);
      out.u8(kInt);
      out.i64(static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, start)));
      return;
    case MDB_MONEY: {
      fixed(8);
      std::int64_t v;
      std::memcpy(&v, pg + start, 8);
      out.u8(kReal);
      out.f64(static_cast<double>(v) / 10000.0);
      return;
    }
    case MDB_FLOAT:
      fixed(4);
      out.u8(kReal);
      out.f64(singleValue(mdb_get_single(mdb->pg_buf, start)));
      return;
    case MDB_DOUBLE:
    case MDB_DATETIME:
      fixed(8);
      out.u8(kReal);
      out.f64(mdb_get_double(mdb->pg_buf, start));
      return;
    case MDB_TEXT:
      out.u8(kText);
      out.bytes(decodeText(mdb, reinterpret_cast<const char*>(pg) + start,
                           static_cast<std::size_t>(siz)));
      return;
    case MDB_MEMO: {
      const std::string raw = readLongValue(mdb, start, siz);
      out.u8(kText);
      out.bytes(decodeText(mdb, raw.data(), raw.size()));
      return;
    }
    case MDB_REPID: {
      fixed(16);
      std::unique_ptr<char, GFree> s(mdb_col_to_string(mdb, mdb->pg_buf, start, type, siz));
      out.u8(kText);
      out.bytes(s ? s.get() : "");
      return;
    }
    case MDB_NUMERIC: {
      fixed(17);
      std::unique_ptr<char, GFree> s(
          mdb_numeric_to_string(mdb, start, col->col_scale, col->col_prec));
      out.u8(kReal);
      out.f64(s ? kv::db::strtodC(s.get(), nullptr) : 0.0);
      return;
    }
    case MDB_OLE:
      out.u8(kBlob);
      out.bytes(readLongValue(mdb, start, siz));
      return;
    default:
      out.u8(kBlob);
      out.bytes(std::string_view(reinterpret_cast<const char*>(pg) + start,
                                 static_cast<std::size_t>(siz)));
  }
}

void childListTables(PipeOut& out, const std::string& path) {
  MdbPtr mdb = openMdb(path);
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (e->object_type == MDB_TABLE && mdb_is_user_table(e)) {
      out.u8(kTable);
      out.bytes(e->object_name);
    }
  }
  out.u8(kEnd);
}

void childReadTable(PipeOut& out, const std::string& path, const std::string& name,
                    std::uint64_t maxRows) {
  MdbPtr mdb = openMdb(path);
  std::string n = name;
  TablePtr table(mdb_read_table_by_name(mdb.get(), n.data(), MDB_TABLE));
  if (!table) damaged(msg::text::kNoSePudoLeerLa);
  if (!mdb_read_columns(table.get())) damaged(msg::text::kNoSePudieronLeerLos);
  const unsigned ncols = table->num_cols;
  if (ncols == 0 || !table->columns || table->columns->len != ncols)
    damaged(msg::text::kTablaSinCampos);
  out.u8(kColumns);
  out.u32(ncols);
  for (unsigned i = 0; i < ncols; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    out.bytes(col->name);
    out.u8(static_cast<std::uint8_t>(kindOf(col->col_type)));
  }
  mdb_rewind_table(table.get());
  std::vector<MdbField> fields(ncols);
  std::vector<const MdbField*> byColumn(ncols);
  std::uint64_t rows = 0;
  while (mdb_fetch_row(table.get())) {
    if (++rows > maxRows) damaged(msg::text::kMasFilasDeLasQue);
    // Crack the row again to tell null from empty text (libmdb binds both as "").
    int rowStart = 0;
    std::size_t rowSize = 0;
    if (mdb_find_row(mdb.get(), static_cast<int>(table->cur_row) - 1, &rowStart, &rowSize) != 0)
      damaged(msg::text::kFilaIlegible);
    rowStart &= 0x1FFF;
    const int got = mdb_crack_row(table.get(), rowStart, rowSize, fields.data());
    if (got < 0) damaged(msg::text::kFilaIlegible);
    std::fill(byColumn.begin(), byColumn.end(), nullptr);
    for (unsigned i = 0; i < ncols; ++i)
      if (fields[i].colnum >= 0 && static_cast<unsigned>(fields[i].colnum) < ncols)
        byColumn[fields[i].colnum] = &fields[i];
    out.u8(kRow);
    for (unsigned c = 0; c < ncols; ++c) {
      auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
      if (!byColumn[c]) damaged(msg::text::kFilaSinTodosSusCampos);
      sendCell(out, mdb.get(), col, *byColumn[c]);
    }
  }
  out.u8(kEnd);
}

[[noreturn]] void childFailed(PipeIn& in) {
  throw DbError(msg::kClass, msg::readerError(std::string(in.bytes(kMaxName))));
}

}  // namespace

MdbTableSource::MdbTableSource(std::string path, std::uint64_t fileSize)
    : path_(std::move(path)), fileSize_(fileSize) {
  runInHelper([&](PipeOut& out) { childListTables(out, path_); },
              [&](PipeIn& in) {
                for (;;) {
                  const std::uint8_t tag = in.u8();
                  if (tag == kEnd) return;
                  if (tag == kError) childFailed(in);
                  if (tag != kTable) damaged(msg::text::kRespuestaInesperadaDelLector);
                  tables_.emplace_back(in.bytes(kMaxName));
                }
              });
}

void MdbTableSource::loadTable(const std::string& name, TableWriter& writer) {
  // Every row takes at least a few bytes of a page: more rows than that is a loop.
  const std::uint64_t maxRows = fileSize_ / 4 + 1000;
  runInHelper([&](PipeOut& out) { childReadTable(out, path_, name, maxRows); },
              [&](PipeIn& in) {
                std::uint8_t tag = in.u8();
                if (tag == kError) childFailed(in);
                if (tag != kColumns) damaged(msg::text::kRespuestaInesperadaDelLector);
                const std::uint32_t ncols = in.u32();
                if (ncols == 0 || ncols > 4096) damaged(msg::text::kNumeroDeCamposFueraDe);
                std::vector<ColumnInfo> cols;
                for (std::uint32_t i = 0; i < ncols; ++i) {
                  std::string colName(in.bytes(kMaxName));
                  const std::uint8_t kind = in.u8();
                  if (kind > static_cast<std::uint8_t>(ColumnKind::Blob))
                    damaged(msg::text::kTipoDesconocido);
                  cols.push_back({std::move(colName), static_cast<ColumnKind>(kind)});
                }
                writer.begin(cols);
                for (;;) {
                  tag = in.u8();
                  if (tag == kEnd) return;
                  if (tag == kError) childFailed(in);
                  if (tag != kRow) damaged(msg::text::kRespuestaInesperadaDelLector);
                  for (std::uint32_t c = 0; c < ncols; ++c) {
                    const int ci = static_cast<int>(c);
                    switch (in.u8()) {
                      case kNull:
                        writer.null(ci);
                        break;
                      case kInt:
                        writer.integer(ci, in.i64());
                        break;
                      case kReal:
                        writer.real(ci, in.f64());
                        break;
                      case kText:
                        writer.text(ci, in.bytes(kMaxValue));
                        break;
                      case kBlob:
                        writer.blob(ci, in.bytes(kMaxValue));
                        break;
                      default:
                        damaged(msg::text::kValorDesconocido);
                    }
                  }
                  writer.endRow();
                }
              });
}

}  // namespace kv::jet
