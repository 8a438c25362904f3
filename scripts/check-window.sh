#!/usr/bin/env bash
# Shows a window plot with the real gnuplot on a virtual display, with the runner's standard input
# on /dev/null as an IDE or a desktop launcher would start it. The window must stay open until it
# is closed, the runner must then return 0, and the temporary folder must be empty.
# Then a live window in an engine session (--session): a curve that grows over 100 plots of one
# plot object. There must be one window, its picture must change while the plots go on, the
# runner must wait for it after the last plot and return 0 once it is closed, with the temporary
# folder empty.
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
# The runner must return 0 within ten seconds of the window's close and leave no temporary file.
closed_runner_exits() {
  for _ in $(seq 100); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$runner" 2>/dev/null && fail "the runner did not return after $1"
  local status=0
  wait "$runner" || status=$?
  runner=
  [[ $status -eq 0 ]] || fail "the runner exited with $status: $(cat "$scratch/out")"
  [[ -z $(ls -A "$scratch/tmp") ]] || fail "left in the temporary folder: $(ls -A "$scratch/tmp")"
}

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
closed_runner_exits "the window was closed"
echo "check-window: passed (window closed, runner exited 0, temporary folder empty)"

# The live window: examples/live.rz, 100 plots of one plot object in a session, and one more plot
# that draws a file to tell the check that the plots are done.
{
  cat examples/live.rz
  echo 'done = CPlot()'
  echo "done.outputType(PlotOutputType.File, \"png\", \"$scratch/done.png\")"
  echo 'done.text("done", TextAlign.Left, 0, 0, 0)'
  echo 'done.plotting()'
} >"$scratch/live.rz"
TMP="$scratch/tmp" TEMP= TMPDIR= "$build/rizari" --session "$scratch/live.rz" </dev/null >"$scratch/out" 2>&1 &
runner=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --class gnuplot | head -n1) || fail "no live window appeared"
import -window root "$scratch/first.png"
changed=
for _ in $(seq 120); do
  [[ -s $scratch/done.png ]] && break
  sleep 0.5
done
[[ -s $scratch/done.png ]] || fail "the live plots did not end: $(cat "$scratch/out")"
sleep 1
import -window root "${screenshot%.png}-live.png"
compare -metric AE "$scratch/first.png" "${screenshot%.png}-live.png" /dev/null 2>"$scratch/pixels" || changed=yes
[[ -n $changed ]] || fail "the live window's picture did not change"
windows=$(xdotool search --onlyvisible --class gnuplot | wc -l)
[[ $windows -eq 1 ]] || fail "$windows windows instead of one"
kill -0 "$runner" 2>/dev/null || fail "the runner returned while the live window was open: $(cat "$scratch/out")"
echo "check-window: live window $window redrawn ($(cat "$scratch/pixels") pixels changed), runner waiting; screenshot ${screenshot%.png}-live.png"
xdotool key --window "$window" q
closed_runner_exits "the live window was closed"
echo "check-window: passed (one live window, its picture changed, runner exited 0 after it was closed, temporary folder empty)"
