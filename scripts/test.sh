#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test (the slow ones too:
# while working, `ctest --test-dir build -LE slow` skips them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
bash scripts/run_tests.sh build
