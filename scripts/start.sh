#!/usr/bin/env bash
# Sets up the machine, builds the programs and starts them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
if [ -x build/Quorim_CH ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. To run the program without one:  xvfb-run -a build/Quorim_CH" >&2
    exit 1
  fi
  exec build/Quorim_CH "$@"
fi
# Without the windows: show what a new document holds.
tmp=$(mktemp --suffix=.szt)
build/quorim new "$tmp"
build/quorim show "$tmp"
rm -f "$tmp"
