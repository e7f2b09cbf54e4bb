#!/usr/bin/env bash
# The main job: build the library, the viewer and the example, run the
# example as a user would (no debugger: its messages go to its log file, and
# it starts the viewer), then show that log through the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target stack_test divov
export PATH="$PWD/build/default/tools/divov:$PATH"
build/default/examples/stack/stack_test
DiVov.exe --latest stack_test
