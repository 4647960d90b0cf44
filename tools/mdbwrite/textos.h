// Every text the database writer and its command show.
#pragma once

#include <string>

namespace kv::textos_mdbwrite {

inline std::string csvUnterminatedQuote() {
  return "quoted field without its closing quote";
}
inline std::string csvTextAfterQuote() {
  return "text after the closing quote of a field";
}
inline std::string csvQuoteInUnquoted() {
  return "quote inside an unquoted field";
}

inline std::string unknownType(const std::string& t) {
  return "unknown column type \"" + t +
         "\" (use text(N), memo, byte, integer, long, single, double, currency, datetime or "
         "boolean)";
}
inline std::string headerWithoutType(const std::string& f) {
  return "column \"" + f + "\" has no type (write Name:type)";
}
inline std::string badTextSize(const std::string& t) {
  return "text size in \"" + t + "\" must be 1 to 255";
}
inline std::string badName(const std::string& what, const std::string& n) {
  return what + " name \"" + n +
         "\" must have 1 to 64 characters, none of them . ! [ ] ` or control";
}
inline std::string duplicateColumn(const std::string& n) {
  return "duplicate column name \"" + n + "\"";
}
inline std::string duplicateTable(const std::string& n) {
  return "duplicate table name \"" + n + "\"";
}
inline std::string noColumns(const std::string& t) {
  return "table \"" + t + "\" has no columns";
}
inline std::string tooManyColumns(const std::string& t) {
  return "table \"" + t + "\" has too many columns for one table definition page";
}
inline std::string noTable() {
  return "a row was given before any table";
}
inline std::string wrongFieldCount(std::size_t got, std::size_t want) {
  return std::to_string(got) + " values where the table has " + std::to_string(want) + " columns";
}
inline std::string notOfType(const std::string& v, const std::string& type) {
  return "\"" + v + "\" is not a " + type + " value";
}
inline std::string wrongKind(const std::string& type) {
  return "value of the wrong kind for a " + type + " column";
}
inline std::string outOfRange(const std::string& v, const std::string& type) {
  return "\"" + v + "\" is out of range for a " + type + " column";
}
inline std::string booleanNull() {
  return "a boolean (Yes/No) column cannot be null";
}
inline std::string textTooLong(std::size_t got, int max) {
  return "text of " + std::to_string(got) + " characters is longer than the column's " +
         std::to_string(max);
}
inline std::string badUtf8() {
  return "text is not valid UTF-8";
}
inline std::string rowTooLarge() {
  return "row does not fit in a 4096-byte page";
}
inline std::string memoTooLong() {
  return "memo longer than 16 MB";
}
inline std::string databaseTooLarge() {
  return "database larger than the 2 GB a Jet 4 file holds";
}
inline std::string passwordTooLong() {
  return "database password longer than 20 characters";
}
inline std::string ioError(const std::string& what, const std::string& path,
                           const std::string& why) {
  return "cannot " + what + " " + path + ": " + why;
}
inline std::string writerFailed() {
  return "an earlier error left the database unfinished";
}
inline std::string csvAt(const std::string& file, long line, int column,
                         const std::string& columnName, const std::string& what) {
  std::string s = file + ", line " + std::to_string(line);
  if (column >= 0) {
    s += ", column " + std::to_string(column + 1);
    if (!columnName.empty()) s += " (" + columnName + ")";
  }
  return s + ": " + what;
}
inline std::string csvEmpty() {
  return "no header line";
}
}  // namespace kv::textos_mdbwrite
