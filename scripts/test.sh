#!/usr/bin/env bash
# Builds everything and runs every test: plainly, under AddressSanitizer with
# UndefinedBehaviorSanitizer, the concurrent ones under ThreadSanitizer, each
# fuzz target for a bounded time, and then for Windows: both MinGW-w64 builds
# and the 64-bit suite under Wine.
# `scripts/test.sh windows` runs the Windows stage alone.
set -euo pipefail
cd "$(dirname "$0")/.."
stage="${1:-all}"
if [ "$stage" != all ] && [ "$stage" != windows ]; then
  echo "usage: scripts/test.sh [windows]" >&2
  exit 2
fi
scripts/setup.sh
jobs="$(nproc)"
if [ "$stage" = all ]; then
  for preset in default asan tsan fuzz; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
    ctest --preset "$preset" -j"$jobs"
  done
  # The benchmarks are run by hand, but they must keep building.
  echo "== bench (build only)"
  cmake --preset bench >/dev/null
  cmake --build --preset bench -j"$jobs"
fi
# Windows, cross-built. 32-bit Wine (wine32:i386) is not installed here, so
# the 32-bit build is only built; under wine64 each test program runs once,
# whole.
echo "== windows-x86 (build only)"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j"$jobs"
echo "== windows (under Wine)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
