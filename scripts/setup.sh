#!/usr/bin/env bash
# Installs what building and testing Probex needs and a fresh machine lacks;
# given package names, only those.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev catch2 doctest-dev python3 lcov chromium libxml2-utils
  # The packages: dpkg-shlibdeps (dpkg-dev) works out the Debian package's
  # Depends; pkg-config (pkgconf) reads the installed modules back.
  dpkg-dev pkgconf
  # The fuzz targets: clang, whose libFuzzer and sanitizer runtimes come apart.
  clang libclang-rt-14-dev
  # The Windows stage: the MinGW-w64 cross compilers (their -posix flavour),
  # GoogleTest's sources to build for Windows, and 64-bit Wine to run the tests.
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine64)
if [ $# -gt 0 ]; then
  packages=("$@")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
