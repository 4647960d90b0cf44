#pragma once
// Reading of the back office's INI file the way Windows reads it: section and key names
// compared ignoring letter case, first match wins, blanks around names and values dropped.
#include <filesystem>
#include <optional>
#include <string>

namespace kv {

// The value of a key, or nothing when the file, the section or the key is missing.
std::optional<std::string> LeeTextoIni(const std::filesystem::path& ruta,
                                       const std::string& sSeccion, const std::string& sClave);

// The whole-number value of a key; nDefecto when missing or not a whole number.
int LeeEnteroIni(const std::filesystem::path& ruta, const std::string& sSeccion,
                 const std::string& sClave, int nDefecto);

}  // namespace kv
