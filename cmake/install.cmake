# Installation, in two components: "runtime" (the runner with its manual page, the module and the
# interpreter stand-in, the member reference) and "dev" (the library with its public headers and the
# guide to the typed front, a CMake package and a pkg-config file). A plain install installs both.
option(RIZARI_INSTALL "Install rizari" ${PROJECT_IS_TOP_LEVEL})
if(NOT RIZARI_INSTALL)
  return()
endif()

include(CMakePackageConfigHelpers)
set(RIZARI_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/rizari)

install(TARGETS rizari EXPORT rizariTargets COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/rizari DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
install(EXPORT rizariTargets NAMESPACE rizari:: DESTINATION ${RIZARI_CMAKE_DIR} COMPONENT dev)

install(TARGETS rizari_module zu rizari_runner COMPONENT runtime
  LIBRARY DESTINATION ${RIZARI_INSTALL_MODULEDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE EXCLUDE_FROM_ALL DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES docs/reference.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
# The typed front's guide goes with the headers, into a documents folder of the dev component's own
# (the rizari-dev package's: a package fills no other package's folder), with a copy of the
# reference it links to, since rizari-dev installs without rizari.
install(FILES docs/cpp.md docs/reference.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/rizari-dev COMPONENT dev)

configure_package_config_file(cmake/rizariConfig.cmake.in ${PROJECT_BINARY_DIR}/rizariConfig.cmake
  INSTALL_DESTINATION ${RIZARI_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/rizariConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/rizariConfig.cmake ${PROJECT_BINARY_DIR}/rizariConfigVersion.cmake
  DESTINATION ${RIZARI_CMAKE_DIR} COMPONENT dev)

if(BUILD_SHARED_LIBS)
  set(RIZARI_PC_CFLAGS "-DRIZARI_SHARED")
endif()
# The prefix as seen from the pkg-config folder, so that the installed tree can move.
file(RELATIVE_PATH RIZARI_PC_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" RIZARI_PC_PREFIX "${RIZARI_PC_PREFIX}")
configure_file(cmake/rizari.pc.in ${PROJECT_BINARY_DIR}/rizari.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/rizari.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

# The manual page rizari(1), made by help2man from what the runner itself prints for --help and
# --version, and compressed as Debian wants it (no name or time stamp in the gzip header).
find_program(RIZARI_HELP2MAN help2man DOC "help2man, which makes the manual page from the runner's --help")
find_program(RIZARI_GZIP gzip)
if(RIZARI_HELP2MAN AND RIZARI_GZIP AND NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  set(man ${PROJECT_BINARY_DIR}/rizari.1)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND ${RIZARI_HELP2MAN} --no-info "--name=run a plotting script with the rizari module" --output=${man}
      $<TARGET_FILE:rizari_runner>
    COMMAND ${RIZARI_GZIP} -9nf ${man}
    DEPENDS rizari_runner rizari_module
    COMMENT "Making the manual page rizari(1) from rizari --help" VERBATIM)
  add_custom_target(rizari_man ALL DEPENDS ${man}.gz)
  install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
elseif(NOT WIN32)
  message(STATUS "rizari: help2man not found, so no manual page (Debian: apt-get install help2man)")
endif()
