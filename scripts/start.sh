#!/usr/bin/env bash
# Sets up the machine, builds the programs, installs them into build/stage and
# starts the launcher Tarvolin from there. With arguments, the programming
# program is started directly with them (the launcher takes none):
# scripts/start.sh radio.szt opens that file in the Chinese build.
#
# scripts/start.sh --demo [--model 16|199] [--english|--chinese] [ARGS...]
# first starts a virtual radio (quorim-radio, the QZ - 16 unless told) on a
# pseudo-terminal and points COM1 at it (QUORIM_COM1), then the programming
# program itself (the launcher would end at once and take the radio with
# it), so it reads, writes and tunes without a radio; the virtual radio ends
# with the program. The program speaks the locale's language as Unix tools
# read it (LC_ALL, then LC_MESSAGES, then LANG): Chinese for zh*, English
# otherwise; --english or --chinese choose.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=false
model=16
build=tarvolin_CH.DLL
if [ "${1:-}" = --demo ]; then
  demo=true
  shift
  locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
  case "$locale" in
    zh*) build=tarvolin_CH.DLL ;;
    *) build=tarvolin_EN.DLL ;;
  esac
  while [ "$#" -gt 0 ]; do
    case "$1" in
      --model)
        [ "$#" -ge 2 ] || { echo "start.sh: --model needs 16 or 199" >&2; exit 2; }
        model=$2
        shift 2 ;;
      --english) build=tarvolin_EN.DLL; shift ;;
      --chinese) build=tarvolin_CH.DLL; shift ;;
      *) break ;;
    esac
  done
  case "$model" in
    16 | 199) ;;
    *) echo "start.sh: --model takes 16 or 199, not \"$model\"" >&2; exit 2 ;;
  esac
fi
bash scripts/setup.sh
bash scripts/build.sh build
stage=build/stage
if [ -x build/Quorim_CH ] && [ -x build/Tarvolin ]; then
  cmake --install build --prefix "$stage" >/dev/null
  if [ "$#" -gt 0 ] || $demo; then
    program=("$stage/bin/$build" "$@")
  else
    program=("$stage/bin/Tarvolin")
  fi
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. To run the program without one:  xvfb-run -a ${program[*]}" >&2
    exit 1
  fi
  if ! $demo; then
    exec "${program[@]}"
  fi
  # The radio prints its terminal's path first.
  said=$(mktemp)
  "$stage/bin/quorim-radio" --model "$model" >"$said" &
  radio=$!
  trap 'kill "$radio" 2>/dev/null; wait "$radio" 2>/dev/null; rm -f "$said"' EXIT
  for _ in $(seq 50); do
    [ -s "$said" ] && break
    sleep 0.1
  done
  pty=$(head -n 1 "$said")
  if [ -z "$pty" ]; then
    echo "start.sh: the virtual radio did not start" >&2
    exit 1
  fi
  echo "Virtual radio QZ - $model on $pty; COM1 points at it."
  QUORIM_COM1=$pty "${program[@]}"
  exit
fi
if $demo; then
  echo "start.sh: --demo needs the windows (Qt 6), which were not built" >&2
  exit 1
fi
# Without the windows: show what a new document holds.
tmp=$(mktemp --suffix=.szt)
build/quorim new "$tmp"
build/quorim show "$tmp"
rm -f "$tmp"
