#!/usr/bin/env bash
# Speed of the book check and of the graph map on generated books of 1,000 and 10,000 rooms
# (and the sample book), with check_graph_bench; also `pagimond-cli check` and
# `pagimond-cli graph` end to end on the largest book.
#
#   bench/check_graph.sh [BUILD_DIR] [ROOMS...]     (defaults: build, 1000 10000)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
shift || true
SIZES=("$@")
((${#SIZES[@]})) || SIZES=(1000 10000)
GEN="$BUILD/bench/make_big_project"
BENCH="$BUILD/bench/check_graph_bench"
CLI="$BUILD/bin/pagimond-cli"
for tool in "$GEN" "$BENCH" "$CLI"; do
  [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/pagimond-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
books=("app/Projects/Il Ponte sul Fiume")
for n in "${SIZES[@]}"; do
  "$GEN" "$work/Libro $n" "$n" >/dev/null
  books+=("$work/Libro $n")
done
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo "Machine: $cpu, $(nproc) cores; load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
"$BENCH" "${books[@]}"
last="${books[-1]}"
echo "pagimond-cli on $(basename "$last") (wall, CPU):"
/usr/bin/time -f "  check           %e s  %U+%S s" "$CLI" check "$last" >/dev/null || true
/usr/bin/time -f "  graph --format dot %e s  %U+%S s" "$CLI" graph "$last" --format dot >/dev/null
echo "load average after the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
