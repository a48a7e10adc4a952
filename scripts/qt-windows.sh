#!/usr/bin/env bash
# Qt for the Windows window programs, built once from Debian's own source of
# qt6-base (the Linux build's version) with MinGW-w64 and kept in a cache
# outside the repository:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/quorim/qt-VERSION-mingw-KEY
# where KEY is a hash of the configure options below. With the cache in place
# the script only prints its path (seconds). The Linux Qt serves as the host
# tools (moc, rcc, uic). About 35 minutes on two idle cores; 90 MB installed.
#   scripts/qt-windows.sh          build when missing, print the prefix
#   scripts/qt-windows.sh --path   print the prefix, build nothing (exit 1 if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=6.4.2
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_tabletevent=OFF
  # The Windows platform plugin does not build without OpenGL.
  -DINPUT_opengl=desktop
)
key=$( (printf '%s\n' "${options[@]}"; cat cmake/mingw-w64-x86_64.cmake) | sha256sum | cut -c1-10)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorim
prefix=$cache/qt-$version-mingw-$key

if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
if [ "${1:-}" = --path ]; then
  echo "qt-windows.sh: no Qt for Windows in $prefix (run scripts/qt-windows.sh)" >&2
  exit 1
fi

# Packages: the cross compilers, the host Qt (tools and translations), and
# the source tools.
packages=(g++-mingw-w64-x86-64-posix dpkg-dev cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The source comes from the same archive as the machine's packages: a
# deb-src entry made from its own deb entries.
src_dir=$cache/src-$version
if ! ls "$src_dir"/qt6-base_"$version"*.dsc >/dev/null 2>&1; then
  list=/etc/apt/sources.list.d/quorim-deb-src.sources
  if [ ! -f "$list" ]; then
    tmp=$(mktemp)
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && [ "$f" != "$list" ] || continue
      sed -e 's/^Types:.*$/Types: deb-src/' "$f" >>"$tmp"
      echo >>"$tmp"
    done
    if [ -f /etc/apt/sources.list ]; then
      # One-line entries become a stanza each.
      sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) \([^ ]*\) \(.*\)$/Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4\n/p' \
        /etc/apt/sources.list >>"$tmp"
    fi
    $sudo install -m 644 "$tmp" "$list"
    rm -f "$tmp"
  fi
  $sudo apt-get update -qq
  mkdir -p "$src_dir"
  (cd "$src_dir" && apt-get source --download-only -qq "qt6-base=$version*" 2>/dev/null ||
    apt-get source --download-only -qq qt6-base)
fi
dsc=$(ls "$src_dir"/qt6-base_"$version"*.dsc | head -1)
tree=$src_dir/tree
if [ ! -f "$tree/CMakeLists.txt" ]; then
  rm -rf "$tree"
  dpkg-source --no-check -x "$dsc" "$tree" >/dev/null
fi

work=$cache/qt-build-$key
echo "== Qt $version for Windows: configuring in $work =="
mkdir -p "$work"
cmake -S "$tree" -B "$work" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${options[@]}" >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
echo "== Qt $version for Windows: building (about 35 minutes on two cores) =="
start=$(date +%s)
cmake --build "$work" --parallel "$(nproc)" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2; exit 1; }
cmake --install "$work" >"$work/install.log" 2>&1 || { tail -20 "$work/install.log" >&2; exit 1; }
# Qt's own dialogs in Chinese: the translations Debian ships for Linux.
mkdir -p "$prefix/translations"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$prefix/translations/" 2>/dev/null || true
date -u +%FT%TZ >"$prefix/.complete"
echo "== Qt $version for Windows built in $(($(date +%s) - start)) s =="
rm -rf "$work"
echo "$prefix"
