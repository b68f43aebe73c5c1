#!/usr/bin/env bash
# Builds everything (windows included) with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite: a memory error or undefined behaviour fails it even where the
# tests pass. Leaks inside the font and graph libraries are left out
# (scripts/lsan-suppressions.txt). Takes a while: not part of ./test.
# BUILD_DIR (default build-asan) is the build's folder.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=${BUILD_DIR:-build-asan}
PAGIMOND_PRESET=asan-ubsan scripts/setup.sh  # CMakePresets.json

export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt"
export UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)"
