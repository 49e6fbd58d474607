#!/usr/bin/env bash
# Sets up, builds and runs every test. Tests that need a real X server (focus, stacking) find one
# from xvfb-run; all others run offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
xvfb-run -a ctest --test-dir build --output-on-failure -j2 "$@"
