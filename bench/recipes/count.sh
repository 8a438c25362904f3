#!/usr/bin/env bash
# The lines of each recipe of docs/recipes.md, without blank lines and comment lines: the runner
# script (examples/recipe_NAME.rz), the C++ program (examples/cpp/recipe_NAME.cpp) and the
# matplotlib script that does the same (NAME.py here; run them with Debian's python3-matplotlib
# in a folder that holds examples/data as data/).
set -euo pipefail
cd "$(dirname "$0")"
# lines FILE COMMENT: the lines of FILE that are neither blank nor begin with COMMENT.
lines() {
    if [[ -f "$1" ]]; then grep -cEv "^[[:space:]]*($2|\$)" "$1" || true; else echo -; fi
}
printf '%-18s %6s %6s %10s\n' recipe rizari C++ matplotlib
for python in *.py; do
    name=${python%.py}
    printf '%-18s %6s %6s %10s\n' "$name" "$(lines "../../examples/recipe_$name.rz" '#')" \
        "$(lines "../../examples/cpp/recipe_$name.cpp" //)" "$(lines "$python" '#')"
done
