#!/usr/bin/env bash
# The main job: build the library, the viewer and the example, run the
# example as a user would (no debugger: its messages go to its log file, and
# it starts the viewer), then show that log through the viewer. The example
# fails one check on purpose, so its exit status must be 1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh cmake g++ make
cmake --preset example >/dev/null
cmake --build --preset example -j"$(nproc)" --target stack_test divov
export PATH="$PWD/build/example/tools/divov:$PATH"
status=0
build/example/examples/stack/stack_test || status=$?
DiVov.exe --latest stack_test || true
echo "stack_test exit status: $status"
if [ "$status" -ne 1 ]; then
  echo "expected 1: the example fails exactly one check on purpose" >&2
  exit 1
fi
