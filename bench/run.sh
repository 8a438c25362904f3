#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench/), runs them and rewrites the results section of
# bench/README.md. Every ratio of the report comes from this one run. It takes about a quarter of
# an hour (gnuplot-iostream at 1e7 points alone takes minutes); run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libbenchmark-dev libgnuplot-iostream-dev libboost-iostreams-dev libboost-filesystem-dev)
command -v gnuplot >/dev/null || packages+=(gnuplot-nox)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Install first: sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DRIZARI_BENCH=ON -DRIZARI_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)"

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for program in bench_writer bench_api bench_processes; do
  echo "== $program"
  "build-bench/bench/$program" --markdown="$results/$program.md"
done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
memory=$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
huge=$(sed -n 's/.*\[\(.*\)\].*/\1/p' /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)
{
  echo "<!-- results: written by bench/run.sh, do not edit by hand -->"
  echo "Measured on $(date -u +%Y-%m-%d): $cpu, $(nproc) cores, $memory of memory, Linux $(uname -r),"
  echo "transparent huge pages \`$huge\`, $(gnuplot --version), g++ $(g++ -dumpfullversion). Medians of"
  echo "5 runs (3 for gnuplot-iostream at 1e7 points); the ratios compare cases of the same run."
  echo
  echo "### Whole processes (\`bench_processes\`)"
  echo
  cat "$results/bench_processes.md"
  echo
  echo "### The data file writer in-process (\`bench_writer\`)"
  echo
  cat "$results/bench_writer.md"
  echo
  echo "### The C++ API against the writer alone, in-process (\`bench_api\`)"
  echo
  cat "$results/bench_api.md"
  echo "<!-- end of results -->"
} > "$results/section.md"

awk -v section="$results/section.md" '
  /^<!-- results:/ { while ((getline line < section) > 0) print line; skipping = 1; next }
  /^<!-- end of results -->/ { skipping = 0; next }
  !skipping { print }
' bench/README.md > "$results/README.md"
cp "$results/README.md" bench/README.md
echo "== bench/README.md rewritten"
