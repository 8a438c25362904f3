#!/usr/bin/env bash
# Builds the module and the runner and renders every example into out/gallery/, with an
# index.html that shows each picture beside its script.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DRIZARI_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target rizari_module rizari_runner
scripts/render-gallery.sh build out/gallery
echo "Gallery: $(pwd)/out/gallery/index.html"
