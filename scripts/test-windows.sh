#!/usr/bin/env bash
# Windows: both MinGW-w64 builds, and the 64-bit suite under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"
# Windows, cross-built; the 32-bit build only links, since 32-bit Wine is not
# installable here. Each test program runs once under wine64, whole.
echo "== windows-x86 (build only)"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j"$jobs"
echo "== windows (under Wine)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
