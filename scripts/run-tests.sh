#!/usr/bin/env bash
# Builds everything and runs the whole test suite twice: in a normal build and in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Both must pass.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  local start=$SECONDS
  cmake -S . -B "$dir" -DRIZARI_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure --timeout 900 -j"$jobs")
  echo "== $dir: $((SECONDS - start)) s"
}

echo "== normal build (build/) =="
run_suite build
echo "== sanitizer build (build-san/) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-san -DRIZARI_SANITIZE=ON
