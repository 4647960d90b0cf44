# Libraries built from third-party sources kept in the repository (third_party/).

# kv_extract_archive(ARCHIVE SHA256 MARKER [PATTERN...]): checks the archive's SHA-256 and
# extracts it (only the PATTERNs, when given) into the calling folder's build folder, unless
# MARKER, a file of the extracted tree, is already there. Configuring runs again when the
# archive changes.
function(kv_extract_archive archive sha256 marker)
  file(SHA256 ${archive} _actual)
  if(NOT _actual STREQUAL sha256)
    message(FATAL_ERROR "${archive}: SHA-256 ${_actual}, expected ${sha256}")
  endif()
  if(NOT EXISTS ${marker})
    if(ARGN)
      file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${CMAKE_CURRENT_BINARY_DIR} PATTERNS ${ARGN})
    else()
      file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${CMAKE_CURRENT_BINARY_DIR})
    endif()
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${archive})
endfunction()

# kv_third_party_library(NAME SOURCE...): a static library of third-party C. None of the
# project's warnings or sanitizers (it is not our code to fix; the sanitizers still watch
# every call we make into it), always optimised, so that the test build runs at the speed
# users see, and its symbols hidden.
function(kv_third_party_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES COMPILE_OPTIONS "-O2;-w;-fvisibility=hidden")
endfunction()
