#include "data/db/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "jet/mdb/jet4_format.h"

namespace kv::db {

std::string formatNumber(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d < 0 ? "-Inf" : "Inf";
  if (d == std::trunc(d) && std::fabs(d) < 1e15) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(d));
    return std::string(buf, res.ptr);
  }
  // Shortest text that reads back the same at 15 significant digits.
  for (int prec = 1; prec <= 15; ++prec) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, prec);
    std::string s(buf, res.ptr);
    double back = 0;
    std::from_chars(s.data(), s.data() + s.size(), back);
    char b15[64], d15[64];
    const auto rb = std::to_chars(b15, b15 + sizeof b15, back, std::chars_format::general, 15);
    const auto rd = std::to_chars(d15, d15 + sizeof d15, d, std::chars_format::general, 15);
    if (std::string_view(b15, rb.ptr - b15) == std::string_view(d15, rd.ptr - d15)) return s;
  }
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
  return std::string(buf, res.ptr);
}

namespace {

std::string formatDateTime(double days) {
  // Jet day numbers: day 0 is 30 Dec 1899; negative numbers count back with the
  // fraction still meaning the time of day.
  double whole = std::trunc(days);
  double frac = std::fabs(days - whole);
  const jet4::CivilDate date = jet4::civilDate(static_cast<long long>(whole));
  const unsigned dd = date.day, mm = date.month;
  const long long y = date.year;
  long long secs = std::llround(frac * 86400.0);
  if (secs >= 86400) secs = 86399;
  char buf[64];
  if (secs == 0) {
    std::snprintf(buf, sizeof buf, "%02u/%02u/%04lld", dd, mm, y);
  } else {
    std::snprintf(buf, sizeof buf, "%02u/%02u/%04lld %02lld:%02lld:%02lld", dd, mm, y, secs / 3600,
                  (secs / 60) % 60, secs % 60);
  }
  return buf;
}

double parseNumber(const std::string& s) {
  double d = 0;
  const char* b = s.data();
  const char* e = b + s.size();
  while (b < e && *b == ' ') ++b;
  std::from_chars(b, e, d);
  return d;
}

}  // namespace

std::string Value::toString() const {
  struct {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(std::int64_t v) const { return std::to_string(v); }
    std::string operator()(double v) const { return formatNumber(v); }
    std::string operator()(DateTime v) const { return formatDateTime(v.days); }
    std::string operator()(const std::string& v) const { return v; }
  } visitor;
  return std::visit(visitor, v_);
}

double Value::toDouble() const {
  struct {
    double operator()(std::monostate) const { return 0; }
    double operator()(std::int64_t v) const { return static_cast<double>(v); }
    double operator()(double v) const { return v; }
    double operator()(DateTime v) const { return v.days; }
    double operator()(const std::string& v) const { return parseNumber(v); }
  } visitor;
  return std::visit(visitor, v_);
}

std::int64_t Value::toInt() const {
  if (isInteger()) return std::get<std::int64_t>(v_);
  return static_cast<std::int64_t>(std::llround(toDouble()));
}

}  // namespace kv::db
