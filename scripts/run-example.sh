#!/usr/bin/env bash
# The main job: build the library and the example, run the example, and show
# what it reported through the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target stack_test
build/default/examples/stack/stack_test
