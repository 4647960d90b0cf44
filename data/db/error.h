#pragma once
// A failure of the database layer. className() is the failure's class as the
// "BD-101" report shows it ("<class> - <message>"); each provider names its own.
#include <stdexcept>
#include <string>

namespace kv::db {

class DbError : public std::runtime_error {
 public:
  DbError(std::string className, const std::string& message)
      : std::runtime_error(message), className_(std::move(className)) {}
  const std::string& className() const { return className_; }
  // "<class> - <message>", the additional text of a "BD-101" report.
  std::string describe() const { return className_ + " - " + what(); }

 private:
  std::string className_;
};

}  // namespace kv::db
