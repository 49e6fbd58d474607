#!/usr/bin/env bash
# Configures and builds into build/ (programs land in build/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."
# Tests and benchmarks on again when the demo set the folder up without them.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMELDLUX_BUILD_TESTS=ON \
  -DMELDLUX_BUILD_BENCH=ON "$@" >/dev/null
cmake --build build
