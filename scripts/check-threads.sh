#!/usr/bin/env bash
# Runs the core tests, the CLI tests among them, built with ThreadSanitizer: the compiles
# and the map read and render rooms on a second thread and empty Output on a third, and a
# data race there would change a page only now and then. Non-zero on any failure or race.
# BUILD_DIR (default build-threads) is the build's folder. Races reported inside Graphviz's
# font libraries, which start threads of their own and are not built for the sanitizer,
# are left out (scripts/tsan-suppressions.txt).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build libgtest-dev libcli11-dev libzip-dev pkgconf libgraphviz-dev)
scripts/install-packages.sh "${packages[@]}"

BUILD_DIR=${BUILD_DIR:-build-threads}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake --preset tsan -B "$BUILD_DIR" >/dev/null  # CMakePresets.json
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target core_tests pagimond-cli

export TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/scripts/tsan-suppressions.txt"
cd "$BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)"
