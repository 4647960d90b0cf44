#pragma once
// What a posix_spawn call takes besides the program: its file actions and attributes, made
// and destroyed together. Header-only, so that any layer starting a program (the table
// reader, the PDF converter) uses it without linking diag.
#include <spawn.h>

namespace kv {

struct TPreparacionSpawn {
  posix_spawn_file_actions_t acciones;
  posix_spawnattr_t atributos;
  // Non-zero (an errno value) when either could not be made; they are unusable then.
  int nError = 0;

  TPreparacionSpawn() {
    nError = posix_spawn_file_actions_init(&acciones);
    if (nError != 0) return;
    nError = posix_spawnattr_init(&atributos);
    if (nError != 0) posix_spawn_file_actions_destroy(&acciones);
  }
  ~TPreparacionSpawn() {
    if (nError != 0) return;
    posix_spawn_file_actions_destroy(&acciones);
    posix_spawnattr_destroy(&atributos);
  }
  TPreparacionSpawn(const TPreparacionSpawn&) = delete;
  TPreparacionSpawn& operator=(const TPreparacionSpawn&) = delete;
};

}  // namespace kv
