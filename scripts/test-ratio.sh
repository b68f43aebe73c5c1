#!/usr/bin/env bash
# Prints the non-blank lines of the tracked C++ files (.cpp, .h) under tests/ and under
# src/, and the ratio of the first to the second: tests are meant to stay a quarter to a
# third of the code. Run from anywhere inside the repository.
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"
count() {
  git ls-files -z -- "$1" | grep -zE '\.(cpp|h)$' | xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}
tests=$(count tests)
code=$(count src)
echo "tests: $tests"
echo "code:  $code"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio: %.2f\n", (c ? t / c : 0) }'
