#pragma once
// Facts of the Jet file format that the table reader, the SQL layer, the providers and the
// writer (tools/mdbwrite) share: day numbers and the masked header of page 0.
// Header-only and free of dependencies, so any layer may include it.
#include <cstddef>
#include <cstdint>
#include <utility>

namespace kv::jet4 {

// ---- Day numbers: a date is a Double of days since 30 December 1899, the fraction being
// the time of day. Before that day the whole part counts back while the fraction still
// counts forward within the day (-1.25 is 29 Dec 1899, 06:00).

inline constexpr int kDaysPerMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr bool isLeapYear(std::int64_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Days in month m (1 to 12) of year y.
constexpr int daysInMonth(std::int64_t y, int m) {
  return kDaysPerMonth[m - 1] + (m == 2 && isLeapYear(y) ? 1 : 0);
}

// Jet's day number of a civil date (proleptic Gregorian; days-from-civil of H. Hinnant,
// counted from 1970-01-01 = day 25569).
constexpr std::int64_t dayNumber(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 25569;
}

struct CivilDate {
  std::int64_t year;
  unsigned month, day;
};

// The civil date of a whole day number (the inverse of dayNumber).
constexpr CivilDate civilDate(std::int64_t dayNumber) {
  const std::int64_t z = dayNumber - 25569 + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

// A whole day number and a time of day (seconds since midnight) as one stored Double.
constexpr double dateTime(std::int64_t day, double secondsOfDay) {
  const double frac = secondsOfDay / 86400.0;
  return day < 0 ? static_cast<double>(day) - frac : static_cast<double>(day) + frac;
}

// ---- Page 0: from byte 0x18 on, the header is XORed with the RC4 keystream of a fixed key
// (126 bytes in Jet 3, 128 in Jet 4). The Jet 4 password (20 UCS-2 characters at 0x42) is
// further XORed with the creation date's whole days (a Double at 0x72) as a 4-byte mask.

inline constexpr std::size_t kHeaderMaskAt = 0x18;
inline constexpr std::size_t kHeaderMaskedBytesJet3 = 126;
inline constexpr std::size_t kHeaderMaskedBytesJet4 = 128;
inline constexpr std::size_t kPasswordAt = 0x42;
inline constexpr std::size_t kPasswordBytes = 40;
inline constexpr std::size_t kCreatedAt = 0x72;

// XORs n bytes with the header's RC4 keystream: masks and unmasks alike.
inline void maskHeader(unsigned char* data, std::size_t n) {
  static constexpr unsigned char kKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
  unsigned char s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + kKey[i % 4]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  for (std::size_t k = 0, i = 0, j = 0; k < n; ++k) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    data[k] ^= s[(s[i] + s[j]) & 0xFF];
  }
}

}  // namespace kv::jet4
