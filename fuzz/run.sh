#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/*_fuzz.cpp) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in their own build folder, replays the inputs kept from earlier
# crashes (fuzz/regressions/<target>/), then fuzzes each target for a bounded time from its
# seeds (fuzz/seeds/<target>/ and the sample book). Non-zero when any target crashes.
#   fuzz/run.sh [TARGET...]        FUZZ_SECONDS (default 20) per target, FUZZ_BUILD_DIR
#                                  (default build-fuzz); new inputs collect in
#                                  FUZZ_BUILD_DIR/corpus/<target>, crashes in .../crashes/
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(clang libfuzzer-14-dev cmake ninja-build libcli11-dev libzip-dev pkgconf libgraphviz-dev)
scripts/install-packages.sh "${packages[@]}"

BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-20}
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  # clang, libFuzzer's instrumentation, ASan and UBSan over the whole core (CMakePresets.json)
  cmake --preset fuzz -B "$BUILD" >/dev/null
fi

if (($#)); then
  targets=("$@")
else
  targets=()
  for src in fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
if ! nice cmake --build "$BUILD" --parallel "$(nproc)" --target "${targets[@]}" >"$BUILD/build.log" 2>&1; then
  tail -n 40 "$BUILD/build.log"
  echo "fuzz: the targets do not build"
  exit 1
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$BUILD/logs" "$BUILD/crashes"
passed=0
failed=0
for t in "${targets[@]}"; do
  bin="$BUILD/fuzz/$t"
  log="$BUILD/logs/$t.log"
  ok=1
  # Every input that once crashed a target must now pass through it.
  if compgen -G "fuzz/regressions/$t/*" >/dev/null; then
    "$bin" -timeout=10 fuzz/regressions/"$t"/* >"$log" 2>&1 || ok=0
  fi
  if ((ok)); then
    mkdir -p "$BUILD/corpus/$t"
    seeds=("app/Projects")
    [ -d "fuzz/seeds/$t" ] && seeds=("fuzz/seeds/$t" "${seeds[@]}")
    "$bin" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
      -artifact_prefix="$BUILD/crashes/$t-" "$BUILD/corpus/$t" "${seeds[@]}" >>"$log" 2>&1 || ok=0
  fi
  if ((ok)); then
    passed=$((passed + 1))
    echo "fuzz $t: ok ($(grep -Eo '^Done [0-9]+ runs' "$log" | tail -1 | cut -d' ' -f2) runs in ${SECONDS_EACH} s)"
  else
    failed=$((failed + 1))
    echo "fuzz $t: CRASH (log: $log; input in $BUILD/crashes/)"
    tail -n 40 "$log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
