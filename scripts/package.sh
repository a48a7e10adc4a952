#!/usr/bin/env bash
# Builds the programs and makes the Debian package from them:
# BUILD_DIR/quorim_VERSION_ARCH.deb. Usage: scripts/package.sh [BUILD_DIR]
# Install it with:  sudo apt-get install ./BUILD_DIR/quorim_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=${1:-build}
bash scripts/build.sh "$dir"
rm -f "$dir"/quorim_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/quorim_*.deb
