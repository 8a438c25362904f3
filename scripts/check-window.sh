#!/usr/bin/env bash
# Shows a window plot with the real gnuplot on a virtual display, with the runner's standard input
# on /dev/null as an IDE or a desktop launcher would start it. The window must stay open until it
# is closed, the runner must then return 0, and the temporary folder must be empty.
# Then a live window (examples/live.rz asks for it with liveWindow(1)): a curve that grows over
# 100 plots of one plot object. There must be one window, its picture must change while the plots go on, the
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
# The visible gnuplot windows now, one id a line (none is no error). The whole list is read before
# it is used: a reader that stops early would kill xdotool with SIGPIPE.
gnuplot_windows() { xdotool search --onlyvisible --class gnuplot 2>/dev/null || true; }
# Waits up to $1 seconds for a gnuplot window and prints the id of the first one.
first_window() {
  local ids
  for _ in $(seq $(($1 * 10))); do
    ids=$(gnuplot_windows)
    [[ -n $ids ]] && { echo "${ids%%$'\n'*}"; return 0; }
    sleep 0.1
  done
  return 1
}
# Closes gnuplot's windows with q until the runner is gone: the windows are looked up again at each
# try, since a window found earlier may have been replaced or closed by then (BadWindow).
close_windows() {
  for _ in $(seq 100); do
    kill -0 "$runner" 2>/dev/null || return 0
    for id in $(gnuplot_windows); do xdotool key --window "$id" q 2>/dev/null || true; done
    sleep 0.1
  done
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

window=$(first_window 20) || fail "no window appeared"
sleep 2
kill -0 "$runner" 2>/dev/null || fail "the runner returned while the window was open: $(cat "$scratch/out")"
import -window root "$screenshot"
echo "check-window: window $window open, runner waiting; screenshot $screenshot"

close_windows  # gnuplot closes its window on q
closed_runner_exits "the window was closed"
echo "check-window: passed (window closed, runner exited 0, temporary folder empty)"

# The live window: examples/live.rz, 100 plots of one plot object drawn by the session's engine, then
# two file plots of different terminals (the second cannot reuse the engine, and must not close the
# window for it); the last tells the check that the plots are done.
{
  cat examples/live.rz
  echo 'other = CPlot()'
  echo "other.outputType(PlotOutputType.File, \"pngcairo\", \"$scratch/other.png\")"
  echo 'other.text("other", TextAlign.Left, 0, 0, 0)'
  echo 'other.plotting()'
  echo 'done = CPlot()'
  echo "done.outputType(PlotOutputType.File, \"png\", \"$scratch/done.png\")"
  echo 'done.text("done", TextAlign.Left, 0, 0, 0)'
  echo 'done.plotting()'
} >"$scratch/live.rz"
TMP="$scratch/tmp" TEMP= TMPDIR= "$build/rizari" "$scratch/live.rz" </dev/null >"$scratch/out" 2>&1 &
runner=$!
window=$(first_window 30) || fail "no live window appeared"
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
windows=$(gnuplot_windows | wc -l)
[[ $windows -eq 1 ]] || fail "$windows windows instead of one"
kill -0 "$runner" 2>/dev/null || fail "the runner returned while the live window was open: $(cat "$scratch/out")"
echo "check-window: live window $window redrawn ($(cat "$scratch/pixels") pixels changed), runner waiting; screenshot ${screenshot%.png}-live.png"
close_windows
closed_runner_exits "the live window was closed"
echo "check-window: passed (one live window, its picture changed, runner exited 0 after it was closed, temporary folder empty)"
