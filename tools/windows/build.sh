#!/bin/sh
# Builds velmora and its tests for 64-bit Windows with the Qt of build-qt.sh,
# and with `installer` also the installer velmora-<version>-setup.exe, copied
# into the checkout:
#
#   build.sh [installer]
#
# The build folder is VELMORA_WIN_BUILD (default build-win in the checkout);
# the installer's files are gathered in <build folder>/installa first, and
# every DLL a program or plugin there needs must be there or be one of the
# system's. The compilations run at the lowest priority, VELMORA_WIN_JOBS
# (default 2) at once.
set -eu

QT_VERSION=6.4.2
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
CACHE=${VELMORA_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora-windows}
QT=$CACHE/qt-$QT_VERSION-mingw
BUILD=${VELMORA_WIN_BUILD:-$ROOT/build-win}
JOBS=${VELMORA_WIN_JOBS:-2}
NICE="nice -n 19"
LAUNCHER=
command -v ccache >/dev/null && LAUNCHER=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache

say() { printf '\n== [%s] %s\n' "$(date +%H:%M:%S)" "$*"; }

[ -x "$QT/bin/qt-cmake" ] || { echo "Manca Qt per Windows in $QT: make windows-qt" >&2; exit 1; }

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  say "Configurazione di velmora per Windows in $BUILD"
  $NICE "$QT/bin/qt-cmake" -S "$ROOT" -B "$BUILD" -G Ninja \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$HERE/toolchain-mingw.cmake" \
    -DVELMORA_WIN_QT_PREFIX="$QT" -DCMAKE_BUILD_TYPE=Release $LAUNCHER
fi
say "Compilazione di velmora e dei test per Windows con $JOBS processi"
$NICE cmake --build "$BUILD" --parallel "$JOBS"

[ "${1:-}" = installer ] || exit 0

STAGE=$BUILD/installa
say "File dell'installatore in $STAGE"
rm -rf "$STAGE"
cmake --install "$BUILD" --prefix "$STAGE" >/dev/null
# Without the debugging sections (MinGW's libstdc++ DLL is mostly those).
find "$STAGE" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-debug

# Every DLL the programs and plugins import is installed or the system's.
system_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
missing=$(find "$STAGE" -name '*.exe' -o -name '*.dll' | while read -r f; do
  x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^[[:space:]]*DLL Name: //p'
done | sort -u | while read -r dll; do
  [ -n "$(find "$STAGE" -maxdepth 1 -iname "$dll")" ] && continue
  [ -n "$(find "$system_dlls" -maxdepth 1 -iname "$dll")" ] && continue
  case $dll in api-ms-win-*|API-MS-WIN-*) continue ;; esac
  echo "$dll"
done)
[ -z "$missing" ] || { echo "DLL mancanti nell'installatore:" $missing >&2; exit 1; }

# What the uninstaller removes: the installed files, then their folders,
# the deepest first.
(cd "$STAGE" && {
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
}) > "$BUILD/uninstall-files.nsh"

VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
SETUP=velmora-$VERSION-setup.exe
say "Installatore $SETUP"
$NICE makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DSTAGE="$STAGE" \
  -DUNINSTALL_LIST="$BUILD/uninstall-files.nsh" -DOUTFILE="$BUILD/$SETUP" "$ROOT/packaging/windows/velmora.nsi"
cp "$BUILD/$SETUP" "$ROOT/$SETUP"
ls -l "$ROOT/$SETUP"
