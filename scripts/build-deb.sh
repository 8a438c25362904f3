#!/usr/bin/env bash
# Builds the Debian packages rizari and rizari-dev (see cmake/packaging.cmake) in a build folder
# of their own, configured for Debian's places (prefix /usr) with Debian's compiler and linker
# flags from dpkg-buildflags, and prints the paths of the two .deb files.
#
#   scripts/build-deb.sh [BUILD_DIR=build-deb]
#
# The time stamps in the packages (changelog, manual page) are the last commit's, so that the same
# commit gives the same packages.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd -P)
build_dir=${1:-$source_dir/build-deb}

"$source_dir/scripts/install-deps.sh" cmake g++ make dpkg-dev file help2man >&2

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]] && timestamp=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null); then
    export SOURCE_DATE_EPOCH=$timestamp
fi

# Debian's flags (optimisation, all the hardening, file names relative to the sources) without -g:
# the packages carry no debugging data, and the static library is not stripped.
flag() { (cd "$source_dir" && DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get "$1"); }
cxxflags="$(flag CPPFLAGS) $(flag CXXFLAGS)"
ldflags=$(flag LDFLAGS)

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=None \
    -DRIZARI_TESTS=OFF -DRIZARI_BENCH=OFF -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >&2
cmake --build "$build_dir" -j"$(nproc)" >&2
rm -f "$build_dir"/*.deb
(cd "$build_dir" && cpack -G DEB >&2)
ls "$build_dir"/*.deb
