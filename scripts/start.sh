#!/usr/bin/env bash
# Sets up the machine, builds the programs, installs them into build/stage and
# starts the launcher Tarvolin from there. With arguments, the programming
# program is started directly with them (the launcher takes none):
# scripts/start.sh radio.szt opens that file in the Chinese build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
stage=build/stage
if [ -x build/Quorim_CH ] && [ -x build/Tarvolin ]; then
  cmake --install build --prefix "$stage" >/dev/null
  if [ "$#" -gt 0 ]; then
    program=("$stage/bin/tarvolin_CH.DLL" "$@")
  else
    program=("$stage/bin/Tarvolin")
  fi
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. To run the program without one:  xvfb-run -a ${program[*]}" >&2
    exit 1
  fi
  exec "${program[@]}"
fi
# Without the windows: show what a new document holds.
tmp=$(mktemp --suffix=.szt)
build/quorim new "$tmp"
build/quorim show "$tmp"
rm -f "$tmp"
