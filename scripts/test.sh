#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: a
# plain debug build, then the same under AddressSanitizer + UBSan; then a
# short bounded libFuzzer run of the HTTP reply reader.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
for preset in default asan; do
  echo "== build and test: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

if [ -d tests/fuzz ] && command -v clang++ >/dev/null; then
  echo "== fuzz: HTTP reply reader"
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  for f in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    corpus=$(mktemp -d)
    # Any crashing input is kept in build/fuzz/ for a rerun.
    "$f" -max_total_time=30 -rss_limit_mb=512 -timeout=5 -artifact_prefix=build/fuzz/ "$corpus" tests/fuzz/corpus 2>&1 | tail -n 3
    rm -rf "$corpus"
  done
fi
echo "== all tests passed"
