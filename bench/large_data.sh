#!/usr/bin/env bash
# Large data drawn by the typed C++ front from the caller's arrays (Plot::addView) into an 800 x 600
# pngcairo image, thinned (the default for PNG), against gnuplot alone drawing the thinned file
# that RIZARI_KEEP=1 kept, and against matplotlib on the same points (bench_large.cpp says what
# each case draws). Times are medians of RUNS runs (default 3): processor seconds (user and
# system, the process and the children it waited for: rizari's includes gnuplot's), which a loaded
# machine disturbs little, and wall seconds; peak memory is the library process's own, the
# caller's arrays included. Then rizari's own part at 1e7 points, in-process with an engine that
# returns at once (processor time of the process, and wall time), against one read pass over x
# and y. Prints Markdown tables.
#   bench/large_data.sh [BUILD_DIR]   (default build-bench; configured and built when missing)
# WHOLE=1 also draws the 1e6 line and scatter cases from every point (minutes) and counts the
# pixels that differ from the thinned pictures (ImageMagick's compare, fuzz 10%).
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

# Processor and wall seconds of one run of the command ("CPU WALL"); its standard output goes to
# $work/out.
timed() {
  /usr/bin/time -f '%U %S %e' -o "$work/time" "$@" >"$work/out"
  awk '{ printf "%.2f %.2f\n", $1 + $2, $3 }' "$work/time"
}

# The medians of $runs runs: "CPU WALL".
median() {
  for _ in $(seq "$runs"); do timed "$@"; done >"$work/times"
  printf '%s %s\n' "$(sort -n -k1 "$work/times" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')" \
    "$(sort -n -k2 "$work/times" | awk '{ t[NR] = $2 } END { print t[int((NR + 1) / 2)] }')"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }

matplotlib=$(/usr/bin/python3 -c 'import matplotlib; print(matplotlib.__version__)')
echo "| case | points | rizari cpu s (wall) | gnuplot alone on the thinned file | matplotlib $matplotlib | matplotlib / rizari, cpu | rizari peak MiB (arrays) | kept points |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
for run in line:100000 line:1000000 line:10000000 points:1000000 dots:1000000 float:1000000 zoomed:1000000 logx:1000000; do
  name=${run%%:*} n=${run##*:}
  "$program" raw "$name" "$n" "$work/points.raw"
  read -r t tw < <(median "$program" draw "$name" "$n" "$work/$name.png")
  peak=$(awk '{ printf "%.0f", $1 / 1024 }' "$work/out")
  arrays=$((n * 16 / 1048576))
  [ "$name" = float ] && arrays=$((n * 24 / 1048576))
  told=$(RIZARI_KEEP=1 "$program" draw "$name" "$n" "$work/kept.png" 2>&1 >/dev/null)
  kept=$(echo "$told" | sed -n 's/.*reduced from [0-9]* to \([0-9]*\) points.*/\1/p')
  script=$(echo "$told" | sed -n 's/.*kept script \(.*\)$/\1/p')
  read -r g gw < <(median gnuplot "$script")
  read -r m mw < <(median /usr/bin/python3 bench/large_data.py "$name" "$n" "$work/points.raw" "$work/matplotlib.png")
  echo "| $name | $n | $t ($tw) | $g ($gw) | $m ($mw) | $(ratio "$m" "$t") | $peak ($arrays) | ${kept:-whole} |"
  if [ "${WHOLE:-0}" = 1 ] && [ "$n" -eq 1000000 ] && [ "$name" != float ]; then
    read -r w ww < <(timed "$program" whole "$name" "$n" "$work/whole.png")
    differing=$(compare -metric AE -fuzz 10% "$work/whole.png" "$work/$name.png" null: 2>&1 || true)
    echo "| $name, every point | $n | $w ($ww) | | | | | $differing pixels of 480000 differ |"
  fi
done

echo
echo "| rizari's own part, 1e7 points, engine returning at once | processor ms | wall ms | / one read pass (processor) |"
echo "|---|---:|---:|---:|"
read -r pass passw api apiw view vieww < <("$program" own 10000000)
echo "| one read pass over x and y (min and max) | $pass | $passw | 1.00x |"
echo "| CPlot data2D + plotting() (the plot's copy, thinned) | $api | $apiw | $(ratio "$api" "$pass") |"
echo "| Plot addView + render() (no copy, thinned) | $view | $vieww | $(ratio "$view" "$pass") |"
