#!/usr/bin/env bash
# Large data: a noisy sine drawn by the C++ API into an 800 x 600 pngcairo image, thinned (the
# default for PNG) against gnuplot alone drawing the thinned file, against every point drawn, and
# against matplotlib on the same points; wall times are medians of RUNS runs (the whole 1e6 run
# once: it takes minutes), peak memory is the library process's own. Prints a Markdown table.
#   bench/large_data.sh [BUILD_DIR]   (default build-bench; configured and built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
runs=${RUNS:-3}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DRIZARI_BENCH=ON -DRIZARI_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target bench_large >/dev/null
program="$build/bench/bench_large"
command -v gnuplot >/dev/null || { echo "gnuplot is not installed" >&2; exit 1; }
/usr/bin/python3 -c 'import matplotlib' 2>/dev/null || { echo "install python3-matplotlib" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMP="$work"

# Wall seconds of one run of the command; its standard output goes to $work/out.
wall() {
  local start end
  start=$(date +%s.%N)
  "$@" >"$work/out"
  end=$(date +%s.%N)
  echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
}

# The median wall seconds of $runs runs.
median() {
  for _ in $(seq "$runs"); do wall "$@"; done | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

# The library's peak resident set in MiB, from the last run.
peak() { awk '{ printf "%.0f", $1 / 1024 }' "$work/out"; }

row() { printf '| %s | %s | %s | %s |\n' "$@"; }

echo "| case | points | wall s | note |"
echo "|---|---:|---:|---|"
for n in 1000000 10000000; do
  "$program" raw "$n" "$work/points.raw"
  arrays=$((n * 16 / 1048576))
  t=$(median "$program" thinned "$n" "$work/thinned.png")
  row "rizari, thinned (default)" "$n" "$t" \
    "library peak $(peak) MiB; the caller's arrays $arrays MiB, twice (the plot keeps a copy) + 16 MiB = $((2 * arrays + 16)) MiB"
  thinned=$t
  kept=$(RIZARI_KEEP=1 "$program" thinned "$n" "$work/kept.png" 2>&1 >/dev/null | sed -n 's/.*kept script \(.*\)$/\1/p')
  t=$(median gnuplot "$kept")
  row "gnuplot alone on the thinned file" "$n" "$t" "rizari / gnuplot alone: $(awk -v a="$thinned" -v b="$t" 'BEGIN { printf "%.2fx", a / b }')"
  t=$(median /usr/bin/python3 bench/large_data.py "$n" "$work/points.raw" "$work/matplotlib.png")
  row "matplotlib $(/usr/bin/python3 -c 'import matplotlib; print(matplotlib.__version__)')" "$n" "$t" \
    "matplotlib / rizari: $(awk -v a="$t" -v b="$thinned" 'BEGIN { printf "%.2fx", a / b }')"
  if [ "$n" -eq 1000000 ] && [ "${WHOLE:-1}" = 1 ]; then
    t=$(wall "$program" whole "$n" "$work/whole.png")
    differing="ImageMagick's compare is not installed"
    if command -v compare >/dev/null; then
      differing=$(compare -metric AE -fuzz 10% "$work/whole.png" "$work/thinned.png" null: 2>&1 || true)
      differing="$differing pixels of 480000 differ from the thinned picture"
    fi
    row "rizari, every point (reduceLargeData(false))" "$n" "$t" \
      "one run; whole / thinned: $(awk -v a="$t" -v b="$thinned" 'BEGIN { printf "%.1fx", a / b }'); library peak $(peak) MiB; $differing"
  fi
done
