#!/usr/bin/env bash
# Runs the Windows quorim.exe under Wine as if it were the Linux quorim, for
# the end-to-end tests (scripts/windows.sh sets QUORIM_CLI to this script):
#  - a device path after --port becomes COM11 (COM12, ...), mapped to that
#    device;
#  - QUORIM_COMn=/dev/... maps COMn to that device (Windows has no such
#    variable: COMn is the port of that name);
#  - the program's folder under %LOCALAPPDATA% (Wine's own, in the prefix)
#    is $XDG_DATA_HOME/quorim, so the backups land where the tests look.
# Needs WINEPREFIX and QUORIM_WIN_BUILD (the folder holding quorim.exe).
set -euo pipefail
dosdevices="$WINEPREFIX/dosdevices"
args=()
prev=
n=11
for a in "$@"; do
  if [ "$prev" = "--port" ] && [ "${a:0:1}" = "/" ]; then
    ln -sfn "$a" "$dosdevices/com$n"
    a=COM$n
    n=$((n + 1))
  fi
  args+=("$a")
  prev=$a
done
for n in 1 2 3 4; do
  var="QUORIM_COM$n"
  if [ -n "${!var:-}" ]; then
    ln -sfn "${!var}" "$dosdevices/com$n"
  fi
done
if [ -n "${XDG_DATA_HOME:-}" ]; then
  for local_app_data in "$WINEPREFIX"/drive_c/users/*/AppData/Local; do
    case $local_app_data in */Public/*) continue ;; esac
    mkdir -p "$XDG_DATA_HOME/quorim" 2>/dev/null || true
    rm -rf "$local_app_data/quorim"
    ln -sfn "$XDG_DATA_HOME/quorim" "$local_app_data/quorim"
  done
fi
# exec: the test's Ctrl+C (SIGINT to this process) reaches Wine, which
# passes it on to the program's console handler.
exec wine "$QUORIM_WIN_BUILD/quorim.exe" "${args[@]}"
