#!/usr/bin/env bash
# Screenshots of the installed programs on a virtual display: the launcher in
# Chinese and in English, and the English programming program with a document;
# then, in both languages, the main window and its status bar after a read
# from the virtual radio, the Devices dialog and the guide (the window tests'
# ScreenshotTour takes these). Usage: scripts/screenshots.sh [OUTDIR]
# (default build/screenshots). Needs a build (scripts/build.sh build);
# installs it into a temporary stage. scripts/screenshots.sh --guide puts the
# pictures the guide shows into resources/help/, made small.
set -euo pipefail
cd "$(dirname "$0")/.."
guide=false
if [ "${1:-}" = --guide ]; then
  guide=true
  shift
fi
out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install build --prefix "$stage" >/dev/null
bin=$stage/bin

# A document with a few channels, one of them inhibited.
printf '%s\n' '信道,接收频率,发射频率,接收信令,发射信令,是否禁发' \
  '1,145.12500,145.12500,67.0,67.0,否' '2,145.50000,145.50000,D023N,D023N,否' \
  '3,146.00000,146.60000,OFF,88.5,否' '4,148.50000,141.90000,OFF,OFF,是' \
  '5,136.56250,136.56250,D754I,D754I,否' >"$stage/demo.csv"
"$bin/quorim" import "$stage/demo.csv" --model 16 --out "$stage/demo.szt"
"$bin/quorim" import "$stage/demo.csv" --model 199 --out "$stage/demo199.szt"

# One display for all shots. There is no window manager, so no title bars:
# each shot's window titles are written beside it (NAME.titles).
xvfb-run -a -s '-screen 0 1280x800x24' bash -c '
  set -e
  shot() {
    sleep 3
    import -window root "$2/$1"
    xwininfo -root -children | sed -n "s/^ *0x[0-9a-f]* \"\(.*\)\": (\"[^\"]*\".*/\1/p" >"$2/${1%.png}.titles"
  }
  rm -f "$1/bin/MAIN.ini"
  "$1/bin/Tarvolin" & shot launcher-zh.png "$2"; kill $! || true; wait $! 2>/dev/null || true
  printf "[MAIN]\nLANGUAGE=ENGLISH\n" >"$1/bin/MAIN.ini"
  "$1/bin/Tarvolin" & shot launcher-en.png "$2"; kill $! || true; wait $! 2>/dev/null || true
  "$1/bin/tarvolin_EN.DLL" "$1/demo.szt" & shot main-en.png "$2"; kill $! || true
' _ "$stage" "$out"

# The windows after a read from the virtual radio, and the guide.
QT_QPA_PLATFORM=xcb QUORIM_SHOTS="$out" QUORIM_SHOTS_MEMORY="$stage/demo199.szt" \
  xvfb-run -a -s '-screen 0 1280x800x24' build/tests/gui/quorim_gui_tests ScreenshotTour >/dev/null
if $guide; then
  for name in read-zh read-en devices-zh devices-en; do
    convert "$out/$name.png" -resize '640x>' -colors 64 -strip "PNG8:resources/help/$name.png"
  done
fi
ls "$out"
