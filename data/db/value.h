#pragma once
// A field value as the database layer hands it out: null, a whole number, a real
// number, a date/time (Jet day number) or a text. Yes/no fields arrive as -1/0.
#include <cstdint>
#include <string>
#include <variant>

namespace kv::db {

struct DateTime {
  double days = 0;  // days since 30 Dec 1899; the fraction is the time of day
  bool operator==(const DateTime&) const = default;
};

class Value {
 public:
  Value() = default;
  Value(std::int64_t v) : v_(v) {}
  Value(int v) : v_(static_cast<std::int64_t>(v)) {}
  Value(double v) : v_(v) {}
  Value(DateTime v) : v_(v) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(const char* v) : v_(std::string(v)) {}

  bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
  bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
  bool isReal() const { return std::holds_alternative<double>(v_); }
  bool isDateTime() const { return std::holds_alternative<DateTime>(v_); }
  bool isText() const { return std::holds_alternative<std::string>(v_); }
  bool isNumber() const { return isInteger() || isReal(); }

  // Text form: whole numbers without decimals, other numbers in their shortest form
  // with up to 15 significant digits and "." as separator (never the locale's),
  // dates as dd/mm/yyyy[ hh:nn:ss], null as the empty text.
  std::string toString() const;
  // Numeric forms; a text is parsed with "." as separator, null gives 0.
  std::int64_t toInt() const;
  double toDouble() const;

  const auto& raw() const { return v_; }
  bool operator==(const Value&) const = default;

 private:
  std::variant<std::monostate, std::int64_t, double, DateTime, std::string> v_;
};

// The shortest text of a real number with up to 15 significant digits, "." as separator.
std::string formatNumber(double d);

}  // namespace kv::db
