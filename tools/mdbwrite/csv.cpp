#include "tools/mdbwrite/csv.h"

#include "tools/mdbwrite/textos.h"

namespace kv::mdbw {

namespace {
constexpr int kEof = std::char_traits<char>::eof();
}

CsvReader::CsvReader(std::istream& in) : buf_(in.rdbuf()) {
  // A UTF-8 byte-order mark at the start is not part of the first field.
  if (buf_ && buf_->sgetc() == 0xEF) {
    std::string bom;
    for (int i = 0; i < 3 && buf_->sgetc() != kEof; ++i) bom.push_back(char(buf_->sbumpc()));
    if (bom != "\xEF\xBB\xBF") {
      for (auto it = bom.rbegin(); it != bom.rend(); ++it) buf_->sputbackc(*it);
    }
  }
}

bool CsvReader::next(std::vector<CsvField>& fields) {
  fields.clear();
  if (!buf_ || buf_->sgetc() == kEof) return false;
  recordLine_ = line_;
  CsvField field;
  for (;;) {
    int c = buf_->sbumpc();
    if (c == '"' && field.text.empty() && !field.quoted) {
      field.quoted = true;
      for (;;) {
        c = buf_->sbumpc();
        if (c == kEof) throw CsvSyntaxError(textos_mdbwrite::csvUnterminatedQuote(), recordLine_);
        if (c == '"') {
          if (buf_->sgetc() == '"') {
            buf_->sbumpc();
            field.text.push_back('"');
            continue;
          }
          break;
        }
        if (c == '\n') ++line_;
        field.text.push_back(char(c));
      }
      c = buf_->sbumpc();
      if (c == '\r' && buf_->sgetc() == '\n') c = buf_->sbumpc();
      if (c != ',' && c != '\n' && c != kEof) {
        throw CsvSyntaxError(textos_mdbwrite::csvTextAfterQuote(), line_);
      }
    } else {
      while (c != ',' && c != '\n' && c != kEof) {
        if (c == '\r' && buf_->sgetc() == '\n') {
          c = buf_->sbumpc();
          break;
        }
        if (c == '"') throw CsvSyntaxError(textos_mdbwrite::csvQuoteInUnquoted(), line_);
        field.text.push_back(char(c));
        c = buf_->sbumpc();
      }
    }
    fields.push_back(std::move(field));
    field = CsvField{};
    if (c == '\n') {
      ++line_;
      return true;
    }
    if (c == kEof) return true;
  }
}

}  // namespace kv::mdbw
