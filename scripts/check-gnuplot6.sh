#!/usr/bin/env bash
# Renders every example, and a few scripts of its own that cover what the examples do not, with
# gnuplot 6.0 from Debian trixie as the engine, and reports per script each warning and error that
# gnuplot prints and whether the images were made; then runs the real-engine tests (when built)
# with that gnuplot.
#
#   scripts/check-gnuplot6.sh [--allow-skip] [--strict] [--local] [--out DIR] [BUILD_DIR=build]
#
# gnuplot 6 comes from a minimal trixie root (debootstrap --variant=minbase, only gnuplot-nox
# added), built once and kept in $RIZARI_TRIXIE_ROOT (default /var/cache/rizari/trixie); a root
# whose build did not finish is built again. The engine is a wrapper that runs the root's
# /usr/bin/gnuplot through chroot, in the caller's working directory, with the caller's arguments,
# standard streams and environment. The temporary folder and the work folder are bind-mounted at
# the same paths inside the root, so the command script, the data files and the images keep their
# names. The mounts are made in a private mount namespace, undone on exit whatever happens, and
# vanish with the namespace even if this script is killed.
#
#   --allow-skip  when the check cannot run (not root, no network for debootstrap, no chroot or
#                 bind mounts), print one line saying why and exit 0 instead of 3
#   --strict      gnuplot warnings count as failures too
#   --local       run the same scripts with this machine's gnuplot instead (a baseline; no root)
#   --out DIR     keep the images, and a copy of each command script, in DIR
#
# Exit status: 0 when every script ran without a gnuplot error and made all its images; 1 when
# one did not; 2 for a usage error; 3 when the check was skipped (0 with --allow-skip).
set -euo pipefail

me=check-gnuplot6
usage() {
    echo "usage: $0 [--allow-skip] [--strict] [--local] [--out DIR] [BUILD_DIR]" >&2
    exit 2
}

arguments=("$@")
allow_skip=0 strict=0 local_engine=0 keep_dir="" build_arg=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --allow-skip) allow_skip=1 ;;
        --strict) strict=1 ;;
        --local) local_engine=1 ;;
        --out) [[ $# -ge 2 ]] || usage; keep_dir=$2; shift ;;
        -*) usage ;;
        *) [[ -z "$build_arg" ]] || usage; build_arg=$1 ;;
    esac
    shift
done

source_dir=$(cd "$(dirname "$0")/.." && pwd -P)
. "$source_dir/scripts/debian-root.sh"
build_dir=$(cd "${build_arg:-$source_dir/build}" 2>/dev/null && pwd -P) || { echo "$me: no build folder ${build_arg:-$source_dir/build}" >&2; exit 1; }
runner="$build_dir/rizari"
[[ -x "$runner" ]] || {
    echo "$me: no runner at $runner (build it: cmake --build $build_dir --target rizari_module rizari_runner)" >&2
    exit 1
}
runner=$(cd "$(dirname "$runner")" && pwd -P)/rizari

# What the line of a skipped check says (skip, scripts/debian-root.sh).
unchecked="gnuplot 6 was not checked"

root=${RIZARI_TRIXIE_ROOT:-/var/cache/rizari/trixie}
mirror=${RIZARI_DEBIAN_MIRROR:-http://deb.debian.org/debian}
marker=.rizari-root-complete

if [[ $local_engine -eq 0 ]]; then
    [[ $(id -u) -eq 0 ]] || skip "it needs root (debootstrap, chroot and bind mounts)"
    [[ "$root" == /* && "$root" != / ]] || { echo "$me: RIZARI_TRIXIE_ROOT must be an absolute path other than /" >&2; exit 2; }
    in_private_mounts RIZARI_G6_PRIVATE_MOUNTS "${arguments[@]}"
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/rizari-g6.XXXXXX")
scratch=$(cd "$scratch" && pwd -P)
made_dirs=() # folders created inside the root for the mounts, deepest last
cleanup() {
    local i
    unmount_all
    for ((i = ${#made_dirs[@]} - 1; i >= 0; i--)); do rmdir "${made_dirs[i]}" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f s", b - a }'; }

# ---- Stage 1: the trixie root -------------------------------------------------------------
if [[ $local_engine -eq 0 ]]; then
    start=$(now)
    how="cached"
    mkdir -p "$(dirname "$root")"
    exec 9<"$(dirname "$root")"
    flock 9 # one build at a time; a second check waits and then finds the root complete
    if [[ ! -f "$root/$marker" ]]; then
        how="built"
        debootstrap_root trixie "$root" --include=gnuplot-nox
        built_version=$(chroot "$root" /usr/bin/gnuplot --version 2>/dev/null) ||
            skip "the root's gnuplot does not run under chroot here"
        echo "$built_version" >"$root/$marker"
    fi
    flock -u 9
    exec 9<&-
    version=$(chroot "$root" /usr/bin/gnuplot --version 2>/dev/null) ||
        skip "chroot into $root failed (chroot not permitted here?)"
    echo "$me: stage debootstrap: $(seconds_since "$start") ($how root $root)"
else
    local_gnuplot=$(command -v gnuplot) || { echo "$me: gnuplot is not on PATH" >&2; exit 1; }
    version=$("$local_gnuplot" --version)
fi
echo "$me: engine: $version$([[ $local_engine -eq 1 ]] && echo " (this machine's, --local)")"

# ---- Stage 2: the work folders, the mounts and the engine wrapper -------------------------
work_tmp="$scratch/tmp"
kept_scripts="$scratch/scripts"
logs="$scratch/logs"
home="$scratch/home"
mkdir -p "$work_tmp" "$kept_scripts" "$logs" "$home/sbin" "$scratch/extra"
if [[ -n "$keep_dir" ]]; then
    mkdir -p "$keep_dir"
    out=$(cd "$keep_dir" && pwd -P)
else
    out="$scratch/out"
    mkdir -p "$out"
fi

# Shows the host folder DIR at the same path inside the root.
bind_into_root() {
    local dir=$1 target="$root$1" parent
    # The outermost missing folder first, so that cleanup removes only what was made here.
    local missing=() p=$target
    while [[ ! -d "$p" ]]; do missing=("$p" "${missing[@]}"); p=$(dirname "$p"); done
    for parent in "${missing[@]}"; do mkdir "$parent" && made_dirs+=("$parent"); done
    mount_at --bind "$dir" "$target" || skip "bind mounts do not work here (mount --bind $dir failed)"
}

if [[ $local_engine -eq 0 ]]; then
    # /proc as on a running system: the engine session hands gnuplot its commands as /dev/fd/3.
    mount_at -t proc proc "$root/proc" || skip "no /proc could be mounted in the root"
    bind_into_root "$scratch"
    [[ "$out/" == "$scratch/"* ]] || bind_into_root "$out"
    engine_command="exec $(printf '%q' "$(command -v chroot)") $(printf '%q' "$root") /bin/sh -c 'cd \"\$1\" || exit 126; shift; exec /usr/bin/gnuplot \"\$@\"' gnuplot \"\$(pwd -P)\" \"\$@\""
else
    engine_command="exec $(printf '%q' "$local_gnuplot") \"\$@\""
fi
cat >"$home/sbin/gnuplot" <<WRAPPER
#!/usr/bin/env bash
# The engine for this check: keeps a copy of the command script (for quoting the lines gnuplot
# complains about), then runs gnuplot in the caller's working directory with the caller's
# arguments, standard streams and environment.
if [[ -f "\${1:-}" ]]; then cp "\$1" $(printf '%q' "$kept_scripts")/ 2>/dev/null || true; fi
$engine_command
WRAPPER
chmod +x "$home/sbin/gnuplot"

# ---- The scripts of this check -------------------------------------------------------------
# Grid cells that hold only a label, only an object, or nothing: the first two are drawn with an
# inline point ('-' data) inside the multiplot.
cat >"$scratch/extra/extra_grid_cells.rz" <<'RZ'
x = linspace(0, 6.283, 60)
p = CPlot()
p.subplot(2, 2)
a = p.getSubplot(0, 0)
a.title("a curve")
a.data2D(x, sin(x))
b = p.getSubplot(0, 1)
b.title("a label only")
b.text("nothing but this label", TextAlign.Center, 0.5, 0.5, 0)
c = p.getSubplot(1, 0)
c.title("a rectangle only")
c.rectangle(0, 0, 2, 1)
p.outputType(PlotOutputType.File, "pngcairo", "extra_grid_cells.png")
p.plotting()
RZ
# A 3D surface and a 2D curve side by side in one grid.
cat >"$scratch/extra/extra_grid_3d.rz" <<'RZ'
x = linspace(-2, 2, 15)
y = linspace(-2, 2, 15)
X = meshx(x, y)
Y = meshy(x, y)
p = CPlot()
p.subplot(1, 2)
a = p.getSubplot(0, 0)
a.title("surface")
a.data3D(x, y, exp(-X ^ 2 - Y ^ 2))
b = p.getSubplot(0, 1)
b.title("curve")
b.data2D(x, x ^ 2)
p.sizeOutput(800, 400)
p.outputType(PlotOutputType.File, "png", "extra_grid_3d.png")
p.plotting()
RZ
# A plot of a label and an arrow only (the inline point outside a grid), written through every
# file terminal the examples use and the ones the module adds "enhanced" to.
cat >"$scratch/extra/extra_terminals.rz" <<'RZ'
p = CPlot()
p.title("label and arrow only")
p.text("a label", TextAlign.Left, 1, 1, 0)
p.arrow(0, 0, 0, 0.9, 0.9, 0, "head filled")
p.outputType(PlotOutputType.File, "pdfcairo", "extra_terminals.pdf")
p.plotting()
p.outputType(PlotOutputType.File, "svg", "extra_terminals.svg")
p.plotting()
p.outputType(PlotOutputType.File, "postscript eps color", "extra_terminals.eps")
p.plotting()
p.sizeOutput(480, 360)
p.outputType(PlotOutputType.File, "png", "extra_terminals-png.png")
p.plotting()
p.outputType(PlotOutputType.File, "pngcairo", "extra_terminals-pngcairo.png")
p.plotting()
p.outputType(PlotOutputType.File, "gif", "extra_terminals.gif")
p.plotting()
p.outputType(PlotOutputType.File, "jpeg", "extra_terminals.jpeg")
p.plotting()
RZ
# Contour levels each in their own colour, listed in the legend ("set clabel"); the second copy
# of the surface, drawn as lines, carries the contour lines.
cat >"$scratch/extra/extra_contour_labels.rz" <<'RZ'
x = linspace(-2, 2, 21)
y = linspace(-2, 2, 21)
X = meshx(x, y)
Y = meshy(x, y)
p = CPlot()
Z = X * exp(-X ^ 2 - Y ^ 2)
p.title("contour levels in the legend")
p.data3D(x, y, Z)
p.data3D(x, y, Z)
p.plotType(PlotType.Lines, 1, 1, 1)
p.contourMode(ContourMode.Both)
p.contourLabel(1)
p.contourLevels([-0.3, -0.1, 0.1, 0.3])
p.changeViewAngle(60, 30)
p.outputType(PlotOutputType.File, "pngcairo", "extra_contour_labels.png")
p.plotting()
RZ
# The error bar styles that the examples do not draw.
cat >"$scratch/extra/extra_error_styles.rz" <<'RZ'
m3 = [[1, 2, 0.3], [2, 3, 0.4], [3, 2.5, 0.3], [4, 3.5, 0.5]]
m4 = [[1, 6, 0.2, 0.3], [2, 7, 0.3, 0.4], [3, 6.5, 0.2, 0.3], [4, 7.5, 0.3, 0.5]]
p = CPlot()
p.title("error bar styles")
p.data(m3, 4, 3)
p.data(m3 + [[0, 2, 0], [0, 2, 0], [0, 2, 0], [0, 2, 0]], 4, 3)
p.data(m4, 4, 4)
p.data(m4 + [[0, 3, 0, 0], [0, 3, 0, 0], [0, 3, 0, 0], [0, 3, 0, 0]], 4, 4)
p.data(m4 + [[0, 6, 0, 0], [0, 6, 0, 0], [0, 6, 0, 0], [0, 6, 0, 0]], 4, 4)
p.plotType(PlotType.XErrorBars, 0)
p.plotType(PlotType.BoxErrorBars, 1)
p.plotType(PlotType.XYErrorBars, 2)
p.plotType(PlotType.BoxXYErrorBars, 3)
p.plotType(PlotType.XYErrorLines, 4)
p.outputType(PlotOutputType.File, "png", "extra_error_styles.png")
p.plotting()
RZ
# A grid written to standard output.
cat >"$scratch/extra/extra_grid_stream.rz" <<'RZ'
x = linspace(0, 3, 30)
p = CPlot()
p.subplot(1, 2)
a = p.getSubplot(0, 0)
a.data2D(x, x)
b = p.getSubplot(0, 1)
b.data2D(x, exp(x))
b.scaleType(PlotAxis.Y, ScaleType.Log)
p.outputType(PlotOutputType.Stream, "png")
p.plotting()
RZ

# ---- Stage 3: rendering --------------------------------------------------------------------
. "$source_dir/scripts/image-type.sh"

# Prints one line that the engine or the runner wrote to standard error; for a gnuplot message
# ("FILE" line N: ...) also the line of the command script it names, and tallies the message.
show_message() {
    local line=$1 file number text=""
    echo "      ${line//"$work_tmp/"/}"
    if [[ "$line" =~ ^\"([^\"]+)\"\ line\ ([0-9]+):\ (.*)$ ]]; then
        file="$kept_scripts/$(basename "${BASH_REMATCH[1]}")"
        number=${BASH_REMATCH[2]}
        if [[ -f "$file" ]]; then
            text=$(sed -n "${number}p" "$file")
            echo "        script line $number: $text"
        fi
        printf '%s\t%s\n' "${BASH_REMATCH[3]}" "$text" >>"$scratch/tally"
    fi
}

scripts_total=0 scripts_failed=0 scripts_warned=0 images_made=0 images_missing=0
rm -rf "$out/data"
cp -R "$source_dir/examples/data" "$out/data"
export ZUHOME="$home" TMP="$work_tmp" TEMP="$work_tmp"
unset TMPDIR GNUPLOT_PS_DIR

start=$(now)
cd "$out"
for script in "$source_dir"/examples/*.rz "$scratch"/extra/*.rz; do
    name=$(basename "$script" .rz)
    # A window would wait to be closed, and this root has no display: scripts/check-window.sh shows those.
    if grep -qx '# window' "$script"; then
        echo "  skipped  $name: it shows a window"
        continue
    fi
    scripts_total=$((scripts_total + 1))
    # The files that the script names as its outputs, and those named NAME_* that it names in a
    # loop; none of them is left from an earlier run.
    mapfile -t expected < <(grep -o 'PlotOutputType\.File, *"[^"]*", *"[^"]*"' "$script" | sed 's/.*"\([^"]*\)"$/\1/')
    rm -f -- "${expected[@]}" "$name"-stdout.* "$name"_*.*
    status=0
    "$runner" "$script" >"$logs/$name.stdout" 2>"$logs/$name.stderr" || status=$?

    warnings=0 errors=0
    while IFS= read -r line; do
        [[ -z "${line// /}" ]] && continue
        if [[ "$line" =~ ^(\"[^\"]*\"\ )?\ *line\ [0-9]+:\ warning: ]]; then warnings=$((warnings + 1))
        else errors=$((errors + 1)); fi  # an error, the lines gnuplot shows with it, a library message
    done <"$logs/$name.stderr"

    made=() missing=()
    for file in "$name"_*.*; do  # the files whose names it makes (in a loop)
        if [[ -f "$file" ]]; then expected+=("$file"); fi
    done
    for file in "${expected[@]}"; do
        if [[ -s "$file" && "$(image_type "$file")" != unknown ]]; then made+=("$file"); else missing+=("$file"); fi
    done
    if grep -q 'PlotOutputType\.Stream' "$script"; then
        kind=$(image_type "$logs/$name.stdout")
        if [[ -s "$logs/$name.stdout" && $kind != unknown ]]; then
            mv "$logs/$name.stdout" "$name-stdout.$kind"
            made+=("$name-stdout.$kind")
        else
            missing+=("$name-stdout (standard output)")
        fi
    fi
    images_made=$((images_made + ${#made[@]}))
    images_missing=$((images_missing + ${#missing[@]}))

    verdict=ok
    if [[ $status -ne 0 || $errors -ne 0 || ${#missing[@]} -ne 0 ]]; then
        verdict=FAILED
        scripts_failed=$((scripts_failed + 1))
    elif [[ $warnings -ne 0 ]]; then
        verdict=warnings
        scripts_warned=$((scripts_warned + 1))
    fi
    shown=$name
    [[ "$script" == "$scratch"/* ]] && shown="$name (this check's own)"
    printf '  %-8s %s: images %s%s\n' "$verdict" "$shown" "${made[*]:-none}" \
        "$([[ ${#missing[@]} -ne 0 ]] && echo "; NOT MADE: ${missing[*]}")$([[ $status -ne 0 ]] && echo "; exit status $status")"
    while IFS= read -r line; do
        [[ -n "${line// /}" ]] && show_message "$line"
    done <"$logs/$name.stderr"
done
cd "$source_dir"
echo "$me: stage rendering: $(seconds_since "$start") ($scripts_total scripts)"

# ---- Stage 4: the real-engine tests -------------------------------------------------------
# The tests take this gnuplot as their engine; their folders live in the mounted scratch folder.
# gnuplot-nox warns on every "set mouse" (a build without mouse support, whatever the version);
# that one known warning is left out of what the tests see, line by line: a session reads the
# engine's answers from standard error while the engine runs.
tests_failed=0
if [[ -x "$build_dir/tests/engine_tests" ]]; then
    start=$(now)
    filtered="$scratch/home/gnuplot-quiet"
    cat >"$filtered" <<QUIET
#!/usr/bin/env bash
# A pipeline, not a process substitution: the wrapper ends only once every message is through,
# as gnuplot's own would. Descriptor 9 (not 3: a session's gnuplot reads its commands there)
# carries the images to standard output.
exec 9>&1
$(printf '%q' "$home/sbin/gnuplot") "\$@" 2>&1 1>&9 9>&- | grep --line-buffered -v 'warning: this copy of gnuplot has no mouse support' >&2 3<&- 9>&-
exit "\${PIPESTATUS[0]}"
QUIET
    chmod +x "$filtered"
    mkdir -p "$scratch/tests-tmp"
    tests_limit=900  # seconds; they take about two minutes, and a hang must not take the whole run
    if (cd "$scratch/tests-tmp" &&
        RIZARI_GNUPLOT="$filtered" TMPDIR="$scratch/tests-tmp" timeout --kill-after=30 "$tests_limit" \
            "$build_dir/tests/engine_tests" >"$logs/engine_tests.log" 2>&1); then
        echo "$me: the real-engine tests passed with $version"
    else
        tests_failed=1
        echo "$me: the real-engine tests FAILED with $version:"
        grep -E -A3 'Failure|FAILED  \]' "$logs/engine_tests.log" | sed 's/^/    /' | head -n 60
        if ! grep -q 'FAILED TEST' "$logs/engine_tests.log"; then
            echo "    (they did not finish: ended after $tests_limit s, or by a signal; their last lines:)"
            tail -n 5 "$logs/engine_tests.log" | sed 's/^/    /'
        fi
    fi
    echo "$me: stage tests: $(seconds_since "$start")"
fi

if [[ -n "$keep_dir" ]]; then
    mkdir -p "$out/scripts"
    cp -R "$kept_scripts/." "$out/scripts/"
    echo "$me: images in $out, command scripts in $out/scripts"
fi

if [[ -s "$scratch/tally" ]]; then
    echo "$me: the distinct gnuplot messages (count, message, the script line it names):"
    sort "$scratch/tally" | uniq -c | sort -rn | while read -r count rest; do
        printf '  %4d  %s\n' "$count" "${rest//$'\t'/   <- }"
    done
fi
clean=$((scripts_total - scripts_failed - scripts_warned))
echo "$me: ${version}: $scripts_total scripts: $clean clean, $scripts_warned with warnings only," \
    "$scripts_failed failed; $images_made images made, $images_missing not made"
if [[ $scripts_failed -ne 0 || $tests_failed -ne 0 || ($strict -eq 1 && $scripts_warned -ne 0) ]]; then
    echo "$me: FAILED"
    exit 1
fi
echo "$me: passed$([[ $scripts_warned -ne 0 ]] && echo " (with warnings; --strict fails on them)")"
