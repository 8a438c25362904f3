# Installation: the library with its public headers, a CMake package and a pkg-config file; the
# module, the interpreter stand-in and the runner beside them.
option(RIZARI_INSTALL "Install rizari" ${PROJECT_IS_TOP_LEVEL})
if(NOT RIZARI_INSTALL)
  return()
endif()

include(CMakePackageConfigHelpers)
set(RIZARI_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/rizari)

install(TARGETS rizari EXPORT rizariTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/rizari DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT rizariTargets NAMESPACE rizari:: DESTINATION ${RIZARI_CMAKE_DIR})

# On Windows every DLL sits beside the runner, where the loader finds it.
if(WIN32)
  set(RIZARI_MODULE_DESTINATION ${CMAKE_INSTALL_BINDIR})
else()
  set(RIZARI_MODULE_DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(TARGETS rizari_module zu rizari_runner
  LIBRARY DESTINATION ${RIZARI_MODULE_DESTINATION}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE EXCLUDE_FROM_ALL DESTINATION ${CMAKE_INSTALL_LIBDIR})

configure_package_config_file(cmake/rizariConfig.cmake.in ${PROJECT_BINARY_DIR}/rizariConfig.cmake
  INSTALL_DESTINATION ${RIZARI_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/rizariConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/rizariConfig.cmake ${PROJECT_BINARY_DIR}/rizariConfigVersion.cmake
  DESTINATION ${RIZARI_CMAKE_DIR})

if(BUILD_SHARED_LIBS)
  set(RIZARI_PC_CFLAGS "-DRIZARI_SHARED")
endif()
configure_file(cmake/rizari.pc.in ${PROJECT_BINARY_DIR}/rizari.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/rizari.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
