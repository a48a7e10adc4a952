#!/usr/bin/env bash
# Runs every test of a build folder: run_tests.sh BUILD_DIR
#
# The tests labelled "slow" keep wire timing against a virtual radio that is
# itself a process: a paced reply spread over 12 ms, a window that must not
# freeze for a tenth of a second. On a virtual machine a whole processor can be
# held for 100-150 ms about once in five seconds (a real-time process sleeping
# 1 ms wakes that late), and a virtual radio held in the middle of a reply
# looks to the program exactly like a radio that stopped answering. Those tests
# get up to three runs. The other tests time single reads of a few tens of
# milliseconds against a pseudo-terminal: one that fails gets one more run,
# named in the log, and fails for good if it fails again.
set -euo pipefail
dir=${1:?usage: run_tests.sh BUILD_DIR}
common=(--test-dir "$dir" --output-on-failure --timeout 300 -j "$(nproc)")
if ! ctest "${common[@]}" --no-tests=error -LE slow; then
  echo "== run_tests.sh: the failed tests run once more =="
  ctest "${common[@]}" --rerun-failed
fi
ctest "${common[@]}" --no-tests=ignore -L slow --repeat until-pass:3
