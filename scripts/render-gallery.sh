#!/usr/bin/env bash
# Renders every example script with the runner and the real gnuplot, and writes an index.html
# that shows each picture beside its script, under the script's caption.
#
#   scripts/render-gallery.sh BUILD_DIR [OUT_DIR=out/gallery]
#
# Each example runs in OUT_DIR (it writes its images there). A script that fails, or that writes
# anything to standard error (a gnuplot error or warning, a library message), stops the gallery
# with a non-zero exit status. Every example starts with a one-line caption comment ("# ..."); a
# script without one fails too. What an example writes to standard output (the stream example's
# image) is kept as NAME-stdout.<type>; the files whose names a script makes (in a loop) are
# shown when they are named NAME_*. An example that shows a window (a line "# window" in it)
# would wait for the window to be closed: it is skipped, and said so.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 BUILD_DIR [OUT_DIR]" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
out_dir=${2:-out/gallery}
runner="$build_dir/rizari"
[[ -x "$runner" ]] || { echo "render-gallery: no runner at $runner (build rizari_runner first)" >&2; exit 1; }
# The engine: RIZARI_GNUPLOT when set (another gnuplot to check), else the gnuplot on PATH.
gnuplot_bin=${RIZARI_GNUPLOT:-$(command -v gnuplot)} || { echo "render-gallery: gnuplot is not on PATH" >&2; exit 1; }

mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)

# The interpreter home: the engine is looked up as $ZUHOME/sbin/gnuplot.
home="$out_dir/.home"
mkdir -p "$home/sbin" "$out_dir/.tmp"
ln -sfn "$gnuplot_bin" "$home/sbin/gnuplot"
export ZUHOME="$home" TMP="$out_dir/.tmp" TEMP="$out_dir/.tmp"
unset GNUPLOT_PS_DIR

# The examples read their data files as data/NAME, relative to the working directory.
rm -rf "$out_dir/data"
cp -R "$source_dir/examples/data" "$out_dir/data"

html_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' "$@"; }

. "$source_dir/scripts/image-type.sh"

failures=0
entries=""
cd "$out_dir"
for script in "$source_dir"/examples/*.rz; do
    name=$(basename "$script" .rz)
    first_line=$(head -n 1 "$script")
    if [[ "$first_line" != "# "?* ]]; then
        echo "render-gallery: FAILED $name: the first line is not a caption comment (# ...)" >&2
        failures=$((failures + 1))
        continue
    fi
    if grep -qx '# window' "$script"; then
        echo "render-gallery: skipped $name (it shows a window)"
        continue
    fi
    caption=$(printf '%s\n' "${first_line#\# }" | html_escape)
    stdout_file="$out_dir/.$name.stdout"
    stderr_file="$out_dir/.$name.stderr"
    rm -f -- "$name"_*.*
    status=0
    "$runner" "$script" >"$stdout_file" 2>"$stderr_file" || status=$?
    if [[ $status -ne 0 || -s "$stderr_file" ]]; then
        echo "render-gallery: FAILED $name (exit status $status)" >&2
        sed 's/^/    /' "$stderr_file" >&2
        failures=$((failures + 1))
        continue
    fi
    images=()
    if [[ -s "$stdout_file" ]]; then
        kind=$(image_type "$stdout_file")
        mv "$stdout_file" "$out_dir/$name-stdout.$kind"
        images+=("$name-stdout.$kind")
    fi
    # The files that the script names as its outputs.
    while IFS= read -r file; do
        if [[ ! -s "$out_dir/$file" ]]; then
            echo "render-gallery: FAILED $name: $file was not written" >&2
            failures=$((failures + 1))
            continue
        fi
        images+=("$file")
    done < <(grep -o 'PlotOutputType\.File, *"[^"]*", *"[^"]*"' "$script" | sed 's/.*"\([^"]*\)"$/\1/')
    # The files whose names it makes (in a loop): NAME_*.
    for file in "$name"_*.*; do
        if [[ -f "$file" && "$file" != *-page1.png ]]; then images+=("$file"); fi
    done
    pictures=""
    for image in "${images[@]}"; do
        case "$(image_type "$out_dir/$image")" in
            png | gif | jpeg | svg) pictures+="<img src=\"$image\" alt=\"$image\">" ;;
            pdf)
                if command -v pdftoppm >/dev/null; then
                    pdftoppm -png -r 120 -f 1 -l 1 -singlefile "$out_dir/$image" "$out_dir/${image%.pdf}-page1"
                    pictures+="<a href=\"$image\"><img src=\"${image%.pdf}-page1.png\" alt=\"$image\"></a>"
                else
                    pictures+="<a href=\"$image\">$image</a>"
                fi
                ;;
            *) pictures+="<a href=\"$image\">$image</a>" ;;
        esac
    done
    entries+="<section><h2>$name</h2><p class=\"caption\">$caption</p><div class=\"row\"><div class=\"pic\">$pictures</div><pre>$(html_escape "$script")</pre></div></section>"$'\n'
    rm -f "$stdout_file" "$stderr_file"
done

cat >"$out_dir/index.html" <<HTML
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>rizari gallery</title>
<style>
body { font-family: sans-serif; margin: 2em; background: #fafafa; }
section { margin-bottom: 2.5em; border-bottom: 1px solid #ddd; padding-bottom: 1.5em; }
.row { display: flex; gap: 2em; align-items: flex-start; flex-wrap: wrap; }
.caption { margin: 0 0 1em; color: #333; }
.pic img { max-width: 100%; border: 1px solid #ccc; background: white; display: block; margin-bottom: 0.5em; }
pre { background: #f0f0f0; padding: 1em; font-size: 0.85em; max-width: 720px; overflow-x: auto; margin: 0; }
</style>
</head>
<body>
<h1>rizari gallery</h1>
<p>Each picture was drawn by gnuplot from the script beside it, run with <code>rizari SCRIPT</code> in a folder
that holds the examples' <code>data/</code>.</p>
$entries</body>
</html>
HTML

if [[ $failures -ne 0 ]]; then
    echo "render-gallery: $failures example(s) failed" >&2
    exit 1
fi
echo "render-gallery: $(ls "$source_dir"/examples/*.rz | wc -l) examples rendered into $out_dir"
