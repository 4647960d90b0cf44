// Streaming reader of RFC 4180 CSV (UTF-8, comma, '"' quoting, LF or CRLF line ends).
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::mdbw {

struct CsvField {
  std::string text;
  bool quoted = false;  // "" is an empty quoted field; an unquoted empty field is a null
};

class CsvSyntaxError : public std::runtime_error {
 public:
  CsvSyntaxError(const std::string& message, long line)
      : std::runtime_error(message), line_(line) {}
  long line() const { return line_; }

 private:
  long line_;
};

class CsvReader {
 public:
  explicit CsvReader(std::istream& in);
  // Reads the next record into fields; false at the end of the input.
  bool next(std::vector<CsvField>& fields);
  // Line (1-based) where the record last returned starts.
  long line() const { return recordLine_; }

 private:
  std::streambuf* buf_;
  long line_ = 1;
  long recordLine_ = 0;
};

}  // namespace kv::mdbw
