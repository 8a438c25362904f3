# Debian packages made by CPack from the install rules: `cpack -G DEB` in a build folder.
#
# Two packages, each made of one component of the install rules:
#   rizari      the runner, the module and libzu.so, the manual page and the member reference: all
#               a script user needs, and nothing that only a compiler reads.
#   rizari-dev  the static library, its headers, the CMake package and rizari.pc, for C++ programs.
# rizari-dev does not need rizari (a C++ program runs gnuplot itself), so each installs alone from
# its file; both bring gnuplot.
#
# Debian's places need the prefix /usr at configure time (GNUInstallDirs then picks the multiarch
# library folder, and the runner knows where its module is): scripts/build-deb.sh configures and
# builds so, with Debian's compiler flags.

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "rizari: packages made in this build install to ${CMAKE_INSTALL_PREFIX}; for Debian's "
    "places configure with -DCMAKE_INSTALL_PREFIX=/usr (scripts/build-deb.sh does)")
endif()

if(NOT RIZARI_GZIP)
  message(STATUS "rizari: gzip not found, so no Debian packages")
  return()
endif()
if(NOT DEFINED CPACK_PACKAGE_CONTACT)
  set(CPACK_PACKAGE_CONTACT "rizari developers <rizari@example.org>")
endif()

# What Debian asks of every package: its copyright file, in the machine-readable format, and a
# changelog (the version has no Debian revision, so the package is native and the file is
# changelog.gz), compressed without a time stamp like the manual page. They go only into the
# packages, not into a plain install.
string(TIMESTAMP rizari_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)  # SOURCE_DATE_EPOCH when set
string(TIMESTAMP rizari_year "%Y" UTC)
configure_file(cmake/debian/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog CONTENT
"${PROJECT_NAME} (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${rizari_changelog_date}
")
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
  COMMAND ${RIZARI_GZIP} -9nkf ${PROJECT_BINARY_DIR}/debian/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(rizari_deb_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)

set(rizari_deb_components runtime dev)
set(rizari_deb_packages rizari rizari-dev)
foreach(component package IN ZIP_LISTS rizari_deb_components rizari_deb_packages)
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${rizari_deb_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)                  # rizari_1.0.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SOURCE ${PROJECT_NAME})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION math)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# The libraries the binaries link, from dpkg-shlibdeps; gnuplot, which both run, any flavour of it
# (apt picks the first, the one without X11, when none is installed).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(rizari_deb_gnuplot "gnuplot-nox | gnuplot-qt | gnuplot-x11 | gnuplot")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS ${rizari_deb_gnuplot})
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS ${rizari_deb_gnuplot})
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS rizari)

# Each package's first description line is its synopsis; an empty summary keeps CPack from putting
# one shared synopsis above both.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "run plotting scripts that draw with gnuplot
rizari is a plotting module for the Zu script interpreter. Scripts create
CPlot objects, hand them data, set titles, axes, tics, legends, the 3D view
and styles, add shapes, arrows and labels, and call plotting(): the module
writes a gnuplot command script and data files and runs gnuplot, which draws
the picture in a window, into an image file or onto standard output.

This package holds the runner rizari, which runs such scripts as the
interpreter does, the module it loads, and the reference of every member.")
set(CPACK_DEBIAN_DEV_DESCRIPTION "C++ library for plotting with gnuplot - development files
rizari's plot class as a C++20 library: include <rizari/cplot.h> and link
rizari::rizari (CMake: find_package(rizari)) or the flags of pkg-config
rizari. A plot writes a gnuplot command script and data files and runs
gnuplot, which draws the picture in a window, into an image file or onto
standard output.

This package holds the static library, its headers, the CMake package and
the pkg-config file.")

# Files as Debian has them: stripped binaries, folders 0755, control files of the right modes.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
