// Generator of a demo Kavori program folder: DataBase/Kavori.mdb (password "quokka") with
// synthetic, reproducible back-office data, and Kavori.INI naming the active company.
#pragma once

#include <cstdint>
#include <filesystem>

namespace kv::demo {

struct OpcionesDemo {
  std::filesystem::path carpeta;
  long operaciones = 5000;  // exchange operations, 2018 to 2020, of both companies
  std::uint64_t semilla = 1;
};

struct ResumenDemo {
  long operaciones = 0;
  long renglonesMovtos = 0;
  long renglonesProces = 0;
  long clientes = 0;
  long reportes = 0;
};

inline constexpr const char* kPasswordBD = "quokka";
inline constexpr const char* kClaveAdmin = "ADMIN";
inline constexpr const char* kPasswordAdmin = "CAMBIOS";

// Writes the folder's two files (each through a temporary file and a rename). Throws
// kv::mdbw::WriteError or std::runtime_error on failure.
ResumenDemo GeneraDemo(const OpcionesDemo& opciones);

}  // namespace kv::demo
