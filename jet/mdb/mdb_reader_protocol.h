#pragma once
// The stream between the table reader program (lector-mdb) and the engine: frames of a
// tag byte and a body, written with PipeOut and read with PipeIn (helper_process.h).
//   tables:  {'T' name}* 'E'
//   table:   'C' u32 count {name kind}*  {'R' cell*}*  'E'
//   failure: 'X' detail (a Spanish text), at any point
// A cell is a value tag and its value: null, i64, f64, or a length-prefixed string.
#include <cstdint>

namespace kv::jet::reader {

enum : std::uint8_t {
  kTable = 'T',
  kColumns = 'C',
  kRow = 'R',
  kEnd = 'E',
  kError = 'X',
};
enum : std::uint8_t { kNull = 0, kInt = 1, kReal = 2, kText = 3, kBlob = 4 };

inline constexpr std::uint32_t kMaxName = 4096;
inline constexpr std::uint32_t kMaxValue = 256u << 20;  // a memo or OLE value up to 256 MB
inline constexpr std::uint32_t kMaxColumns = 4096;

// Command line: lector-mdb --padre PID --memoria BYTES tablas ARCHIVO
//               lector-mdb --padre PID --memoria BYTES tabla NOMBRE ARCHIVO
inline constexpr const char* kParentOption = "--padre";
inline constexpr const char* kMemoryOption = "--memoria";
inline constexpr const char* kListCommand = "tablas";
inline constexpr const char* kTableCommand = "tabla";

}  // namespace kv::jet::reader
