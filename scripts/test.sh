#!/usr/bin/env bash
# Builds everything and runs every test: plainly, under AddressSanitizer with
# UndefinedBehaviorSanitizer, and the concurrent ones under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"
for preset in default asan tsan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done
# The benchmarks are run by hand, but they must keep building.
echo "== bench (build only)"
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$jobs"

