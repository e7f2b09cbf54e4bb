#!/usr/bin/env bash
# Builds everything and runs every test: plainly, under AddressSanitizer with
# UndefinedBehaviorSanitizer, and the concurrent ones under ThreadSanitizer.
# Then Windows: both MinGW-w64 builds, and the 64-bit suite under Wine.
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

# Windows, cross-built; the 32-bit build only links, since 32-bit Wine is not
# installable here. Each test program runs once under wine64, whole.
echo "== windows-x86 (build only)"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j"$jobs"
echo "== windows (under Wine)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
