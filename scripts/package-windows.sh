#!/usr/bin/env bash
# The Windows installer and folder, from the cross build (scripts/windows.sh
# build makes it):
#   build-win/quorim-VERSION-win64-setup.exe   NSIS installer (per user or all users)
#   build-win/quorim-VERSION-win64.zip         the same folder, for those who do not install
# The folder holds the programs, the Qt and MinGW runtime libraries they load
# (found with objdump -p, nothing else), the platform and style plugins, the
# translations of Qt's own dialogs and the user guide.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
win=$(realpath -m "${QUORIM_WIN_BUILD:-build-win}")

packages=(nsis zip binutils-mingw-w64-x86-64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

for f in Quorim_CH.exe Tarvolin.exe quorim.exe; do
  [ -f "$win/$f" ] || { echo "package-windows.sh: $win/$f is missing (run scripts/windows.sh build)" >&2; exit 1; }
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
name=quorim-$version-win64
stage=$win/package/$name
rm -rf "$win/package"
mkdir -p "$stage"

programs=(Tarvolin.exe Quorim_CH.exe tarvolin_CH.DLL tarvolin_EN.DLL Quorim_EN.exe quorim.exe)
for f in "${programs[@]}"; do cp "$win/$f" "$stage/"; done
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations" "$stage/help"
cp "$win/platforms/qwindows.dll" "$stage/platforms/"
cp "$win"/styles/*.dll "$stage/styles/"
cp "$win"/translations/*.qm "$stage/translations/"
cp "$win"/help/* "$stage/help/"
cp "$win/qt.conf" "$stage/"
cp resources/copyright "$stage/copyright.txt"

# The libraries: what the programs and plugins import, and what those
# import in turn, wherever the build tree has it (system libraries are not
# in the build tree and stay out).
queue=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
declare -A seen=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  while read -r dll; do
    key=${dll,,}
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    if [ -f "$win/$dll" ]; then
      cp "$win/$dll" "$stage/"
      queue+=("$stage/$dll")
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done

# What the installer puts down and takes away again, file by file.
install_nsh=$stage.install.nsh
uninstall_nsh=$stage.uninstall.nsh
: >"$install_nsh"
: >"$uninstall_nsh"
(cd "$stage" && find . -type d | sort) | while read -r d; do
  d=${d#./}
  [ "$d" = . ] && continue
  echo "CreateDirectory \"\$INSTDIR\\${d//\//\\}\"" >>"$install_nsh"
done
(cd "$stage" && find . -type f | sort) | while read -r f; do
  f=${f#./}
  dir=$(dirname "$f")
  out='$INSTDIR'
  [ "$dir" != . ] && out="\$INSTDIR\\${dir//\//\\}"
  echo "SetOutPath \"$out\"" >>"$install_nsh"
  echo "File \"$stage/$f\"" >>"$install_nsh"
  echo "Delete \"\$INSTDIR\\${f//\//\\}\"" >>"$uninstall_nsh"
done
echo 'SetOutPath "$INSTDIR"' >>"$install_nsh"
(cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
  d=${d#./}
  echo "RMDir \"\$INSTDIR\\${d//\//\\}\"" >>"$uninstall_nsh"
done

setup=$win/$name-setup.exe
icon=()
[ -f "$win/win32/icon128.ico" ] && icon=(-DICON="$win/win32/icon128.ico")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" "${icon[@]}" \
  "$root/resources/windows/quorim.nsi"
(cd "$win/package" && rm -f "$win/$name.zip" && zip -qr9 "$win/$name.zip" "$name")
echo "$setup"
echo "$win/$name.zip"
