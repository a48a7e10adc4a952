#!/usr/bin/env bash
# Checks a built package as a user's machine would take it: lintian and
# AppStream on the package, then installs it, tries the installed programs,
# their man page, desktop entries and data file type, and removes it again.
# Usage: scripts/check_package.sh quorim_VERSION_ARCH.deb   (as root, or with sudo)
set -euo pipefail
deb=$(realpath "$1")
SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

echo "-- lintian (fails on errors; warnings are listed)"
lintian --fail-on error "$deb"

echo "-- AppStream"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml

echo "-- udev rule"
rule="$unpacked/usr/lib/udev/rules.d/70-quorim.rules"
[ -f "$rule" ]
for id in 1a86:7523 1a86:5523 067b:2303 067b:23a3 10c4:ea60 0403:6001 0403:6015; do
    grep -q "ATTRS{idVendor}==\"${id%:*}\", ATTRS{idProduct}==\"${id#*:}\", TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"" "$rule"
done
if command -v udevadm >/dev/null && udevadm verify --help >/dev/null 2>&1; then
    udevadm verify "$rule"
fi

echo "-- install"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -qq "$deb" >/dev/null
trap '$SUDO apt-get remove -y -qq quorim >/dev/null; rm -rf "$unpacked"' EXIT

quorim --version
Quorim_CH --version
man -w quorim Quorim_CH Tarvolin quorim-radio tarvolin_EN.DLL
[ -f /usr/lib/udev/rules.d/70-quorim.rules ]
desktop-file-validate /usr/share/applications/quorim-ch.desktop /usr/share/applications/tarvolin.desktop
type=application/x-szt-ch.document
default=$(xdg-mime query default "$type")
echo "$type opens with: $default"
[ "$default" = quorim-ch.desktop ]
# The shared MIME database (what file managers ask) maps *.szt to the type.
grep -qx "50:$type:\*\.szt" /usr/share/mime/globs2

# The installed launcher, run by a user who may not write /usr/bin, keeps its
# choice under the user's configuration folder and nothing where it started.
if command -v setpriv >/dev/null && [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
    home=$(mktemp -d)
    run=$(mktemp -d)
    chown nobody "$home" "$run"
    (cd "$home" && setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$run" QT_QPA_PLATFORM=offscreen \
        QUORIM_QUIT_WHEN_SHOWN=1 Tarvolin >/dev/null)
    ls "$home/cfg/quorim/MAIN.ini"
    [ "$(ls -A "$home")" = cfg ]
    rm -rf "$home" "$run"
else
    echo "(launcher as an unprivileged user: skipped, needs root and setpriv)"
fi
echo "package checks passed"
