# The Debian package: cpack -G DEB from a Release build configured with the prefix /usr
# (scripts/paquete). It holds whatever the install rules of the targets declare, the
# package's copyright and changelog, and Depends from dpkg-shlibdeps plus the programs the
# tool runs and the fonts its document and window use.

set(KV_MANTENEDOR "Soporte del Cuestionario de Operatividad <soporte@cuestionario-operatividad.mx>"
    CACHE STRING "Maintainer of the Debian package")

set(_doc ${CMAKE_INSTALL_DATADIR}/doc/cuestionario-operatividad)
set(_gen ${CMAKE_BINARY_DIR}/paquete)
configure_file(${CMAKE_CURRENT_LIST_DIR}/paquete/changelog ${_gen}/changelog @ONLY)
# Debian wants the changelog compressed with gzip -9n (no name or time stamp inside).
execute_process(COMMAND gzip -9nc ${_gen}/changelog OUTPUT_FILE ${_gen}/changelog.gz
                RESULT_VARIABLE _gzip)
if(NOT _gzip EQUAL 0)
  message(FATAL_ERROR "gzip could not compress the package changelog")
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/paquete/copyright ${_gen}/changelog.gz
        DESTINATION ${_doc})

# Manual pages made from each program's --help (scripts/paquete turns this on).
option(KV_MAN_PAGES "Make the programs' manual pages from their --help" OFF)
if(KV_MAN_PAGES)
  set(_mans)
  foreach(_p cuestionario-operatividad respuestas jetsql kavori-demo mdbwrite)
    set(_man ${_gen}/man/${_p}.1.gz)
    add_custom_command(OUTPUT ${_man}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_gen}/man
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/pagina_man.sh $<TARGET_FILE:${_p}> ${_p}
              ${PROJECT_VERSION} ${_man}
      DEPENDS ${_p} ${CMAKE_CURRENT_LIST_DIR}/pagina_man.sh VERBATIM)
    list(APPEND _mans ${_man})
  endforeach()
  add_custom_target(paginas_man ALL DEPENDS ${_mans})
  install(FILES ${_mans} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cuestionario-operatividad)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KV_MANTENEDOR}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Cuestionario de Operatividad CNBV (Encuesta SITI 2020) para centros cambiarios")
set(CPACK_PACKAGE_DESCRIPTION
    "Lee la base de datos Access del sistema de operación del centro cambiario\n"
    "(DataBase/Kavori.mdb, sólo lectura), permite confirmar qué clientes señalados\n"
    "son personas políticamente expuestas (PEP), calcula las 212 respuestas del\n"
    "cuestionario de 2019 y lo guarda lleno en PDF.\n"
    "\n"
    "Incluye la ventana cuestionario-operatividad y las herramientas de línea de\n"
    "comandos respuestas, jetsql, kavori-demo y mdbwrite.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Not libraries, so dpkg-shlibdeps cannot find them: the PDF converter, the fonts of the
# document and the window, the SQL Server ODBC driver, the opener of the finished PDF.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libreoffice-writer-nogui | libreoffice-writer, fonts-crosextra-carlito, fonts-dejavu-extra, fonts-wine, tdsodbc, xdg-utils")
include(CPack)
