#!/usr/bin/env bash
# Shows a window plot with the real gnuplot on a virtual display, with the runner's standard input
# on /dev/null as an IDE or a desktop launcher would start it. The window must stay open until it
# is closed, the runner must then return 0, and the temporary folder must be empty.
#
#   scripts/check-window.sh [BUILD_DIR=build] [SCREENSHOT=window.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
screenshot=$(realpath -m "${2:-window.png}")
scripts/install-deps.sh xvfb xdotool imagemagick

scratch=$(mktemp -d)
display=:$((90 + RANDOM % 400))
cleanup() {
  [[ -n ${runner:-} ]] && kill "$runner" 2>/dev/null
  [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "check-window: $*" >&2; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

mkdir "$scratch/tmp"
cat >"$scratch/window.rz" <<'SCRIPT'
x = linspace(0, 6.283185, 100)
p = CPlot()
p.title("A window without a terminal")
p.data2D(x, sin(x))
p.plotting()
SCRIPT
TMP="$scratch/tmp" TEMP= TMPDIR= "$build/rizari" "$scratch/window.rz" </dev/null >"$scratch/out" 2>&1 &
runner=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --class gnuplot | head -n1) || fail "no window appeared"
sleep 2
kill -0 "$runner" 2>/dev/null || fail "the runner returned while the window was open: $(cat "$scratch/out")"
import -window root "$screenshot"
echo "check-window: window $window open, runner waiting; screenshot $screenshot"

xdotool key --window "$window" q  # gnuplot closes its window on q
for _ in $(seq 100); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
kill -0 "$runner" 2>/dev/null && fail "the runner did not return after the window was closed"
status=0
wait "$runner" || status=$?
runner=
[[ $status -eq 0 ]] || fail "the runner exited with $status: $(cat "$scratch/out")"
[[ -z $(ls -A "$scratch/tmp") ]] || fail "left in the temporary folder: $(ls -A "$scratch/tmp")"
echo "check-window: passed (window closed, runner exited 0, temporary folder empty)"
