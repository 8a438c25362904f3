#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 in build-win/ and runs the tests under Wine,
# with the fake engine built as a Windows program too: every whole-script golden, the writers, the
# platform layer (temporary names and folders, folder names with blanks and accents, the engine's
# command line, the streamed image through binary standard output), and the DLLs themselves (the
# module's exports, no runtime DLLs needed). Ends with the line "N passed, M failed".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-win
toolchain=$root/cmake/mingw-w64.cmake
jobs=$(nproc)

start=$SECONDS
scripts/install-deps.sh cmake make googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
mkdir -p "$build"
log=$build/check.log
: >"$log"

# GoogleTest from Debian's sources, built once with the same toolchain.
gtest=$build/gtest
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest (build-win/googletest)"
  cmake -S /usr/src/googletest -B "$build/googletest" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" >>"$log"
  cmake --build "$build/googletest" -j"$jobs" >>"$log"
  cmake --install "$build/googletest" >>"$log"
fi

echo "== rizari (build-win/rizari)"
out=$build/rizari
cmake -S . -B "$out" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DRIZARI_BENCH=OFF -DRIZARI_INSTALL=OFF -DGTest_DIR="$gtest/lib/cmake/GTest" >>"$log"
cmake --build "$out" -j"$jobs" --target unit_tests scripts_test >>"$log" 2>&1 || { tail -40 "$log"; exit 1; }
echo "   built in $((SECONDS - start)) s"

passed=0
failed=0
skipped=0
check() {  # NAME COMMAND...: one check of this script
  if "${@:2}"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $1"
    failed=$((failed + 1))
  fi
}

# ---- The DLLs and programs ----
objdump=x86_64-w64-mingw32-objdump

exportsAreTheEntryPoints() {
  local expected actual
  expected=$(tail -n +2 "$out/rizari_exports.def" | tr -d ' ' | sort)
  actual=$($objdump -p "$out/librizari.dl" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/ {print $NF}' | sort)
  echo "   librizari.dl exports $(echo "$actual" | wc -l) names"
  [ -n "$actual" ] && [ "$expected" = "$actual" ]
}

# Each program and DLL needs only system DLLs (and zu.dll): the runtime is linked in.
onlySystemDlls() {
  local file dlls
  for file in "$out"/librizari.dl "$out"/zu.dll "$out"/rizari.exe "$out"/tests/*.exe; do
    dlls=$($objdump -p "$file" | awk '/DLL Name:/ {print tolower($3)}' | grep -v -x -E 'kernel32.dll|msvcrt.dll|shell32.dll|user32.dll|advapi32.dll|zu.dll' || true)
    [ -z "$dlls" ] || { echo "   $(basename "$file") needs $dlls"; return 1; }
  done
}

check "librizari.dl exports exactly the names of rizari_exports.def" exportsAreTheEntryPoints
check "the programs need no runtime DLLs" onlySystemDlls

# ---- The test programs under Wine ----
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix (build-win/wine)"
  wineboot --init >>"$log" 2>&1
  wineserver -w
fi
wineserver -p  # kept running between the programs; ended below
trap 'wineserver -k 2>/dev/null || true' EXIT

runTests() {  # PROGRAM: adds its tests to the counts
  local program=$1 result=$build/$1.log n
  echo "== $program under Wine"
  (cd "$out/tests" && wine "./$program.exe" --gtest_brief=1) >"$result" 2>&1 || true
  grep -E '^\[  FAILED  \] .* \([0-9]+ ms\)$' "$result" || true
  if ! grep -q '^\[==========\] .* ran\.' "$result"; then
    echo "FAILED: $program did not finish; see build-win/$program.log"
    failed=$((failed + 1))
    return
  fi
  n=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$result")
  passed=$((passed + ${n:-0}))
  n=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$result")
  failed=$((failed + ${n:-0}))
  n=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$result")
  skipped=$((skipped + ${n:-0}))
}

runTests unit_tests
runTests scripts_test

echo "== build-win: $((SECONDS - start)) s; $skipped skipped (POSIX-only or checked here instead)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
