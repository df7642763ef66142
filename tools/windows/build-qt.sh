#!/bin/sh
# Builds Qt 6.4.2 for 64-bit Windows (qtbase, then Qt Charts) with Debian's
# MinGW-w64 cross compiler, once, into a cache outside the checkout:
#
#   ${VELMORA_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora-windows}/
#     src/qtbase, src/qtcharts      the sources
#     build/qtbase, build/qtcharts  the build folders (kept: a new run resumes)
#     qt-6.4.2-mingw/               the installed Qt for Windows
#     stamps/                       one file per finished stage
#
# Each stage leaves a stamp when it is done, so running the script again skips
# what is finished and picks up a stopped build where it was. The whole takes
# tens of minutes on two cores; the compilations run at the lowest priority.
# VELMORA_WIN_JOBS (default 2) sets how many compilations run at once.

set -eu

QT_VERSION=6.4.2
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
CHARTS_TARBALL=$ROOT/third_party/qtcharts-$QT_VERSION.tar.xz

CACHE=${VELMORA_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora-windows}
PREFIX=$CACHE/qt-$QT_VERSION-mingw
SRC=$CACHE/src
BLD=$CACHE/build
STAMPS=$CACHE/stamps
JOBS=${VELMORA_WIN_JOBS:-2}
# The installed Qt remembers its toolchain file: it uses a copy in the cache,
# which stays when the checkout moves.
TOOLCHAIN=$CACHE/toolchain-mingw.cmake

PKGS="g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev perl xz-utils qt6-base-dev qt6-base-dev-tools"

SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo
NICE="nice -n 19"

say() { printf '\n== [%s] %s\n' "$(date +%H:%M:%S)" "$*"; }
done_stage() { [ -f "$STAMPS/$1" ]; }
mark_stage() { mkdir -p "$STAMPS" && printf '%s\n' "${2:-$(date)}" > "$STAMPS/$1"; }
# Runs the stage `name` once: says `text`, then runs the command that follows.
stage() {
  name=$1 text=$2
  shift 2
  done_stage "$name" && return 0
  say "$text"
  $NICE "$@"
  mark_stage "$name"
}

ensure_packages() {
  missing=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    echo "Installazione dei pacchetti mancanti:$missing"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
  fi
}

# apt-get source needs deb-src entries: they are added beside the Debian
# archive entries already configured, in a file of their own.
has_qtbase_source() { apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package: qt6-base'; }
enable_deb_src() {
  list=/etc/apt/sources.list.d/velmora-deb-src
  tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)URIs:[^\n]*debian/ && /(^|\n)Types:[^\n]*deb/ && !/(^|\n)Types:[^\n]*deb-src/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >> "$tmp"
  done
  if [ -s "$tmp" ]; then
    echo "Aggiunta delle sorgenti deb-src in $list.sources"
    $SUDO cp "$tmp" "$list.sources"
  else
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -f "$f" ] && grep -E '^deb[[:space:]].*debian' "$f" | sed 's/^deb[[:space:]]/deb-src /' >> "$tmp"
    done
    [ -s "$tmp" ] || { rm -f "$tmp"; echo "Nessuna sorgente Debian trovata in /etc/apt" >&2; exit 1; }
    echo "Aggiunta delle sorgenti deb-src in $list.list"
    $SUDO cp "$tmp" "$list.list"
  fi
  $SUDO chmod 644 "$list".*
  rm -f "$tmp"
}

say "Qt $QT_VERSION per Windows in $CACHE (richiede decine di minuti la prima volta)"
# One run at a time: a second one (make windows while a build started apart is
# going on) waits for the first, then finds its stages done.
mkdir -p "$CACHE"
exec 9> "$CACHE/build-qt.lock"
if ! flock -n 9; then
  echo "Un'altra compilazione di Qt per Windows è in corso in $CACHE: attendo che finisca"
  flock 9
fi
ensure_packages $PKGS
host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev)
case $host_qt in
  $QT_VERSION+*|$QT_VERSION-*) ;;
  *) echo "qt6-base-dev $host_qt: serve Qt $QT_VERSION sull'host" >&2; exit 1 ;;
esac
[ -f "$CHARTS_TARBALL" ] || { echo "Manca $CHARTS_TARBALL" >&2; exit 1; }
mkdir -p "$SRC" "$BLD" "$STAMPS"
cmp -s "$HERE/toolchain-mingw.cmake" "$TOOLCHAIN" || cp "$HERE/toolchain-mingw.cmake" "$TOOLCHAIN"

# 1. The qtbase source of the same Debian version as the host Qt, with
#    Debian's patches applied.
if ! done_stage qtbase-source; then
  say "Sorgente di qtbase ($host_qt) dall'archivio Debian"
  if ! has_qtbase_source; then
    $SUDO apt-get update -qq
    if ! has_qtbase_source; then
      enable_deb_src
      $SUDO apt-get update -qq
    fi
  fi
  rm -rf "$SRC/qtbase" "$SRC/qtbase.tmp"
  mkdir -p "$SRC/qtbase.tmp"
  (cd "$SRC/qtbase.tmp" && $NICE apt-get source -qq "qt6-base=$host_qt")
  mv "$SRC/qtbase.tmp"/qt6-base-*/ "$SRC/qtbase"
  rm -rf "$SRC/qtbase.tmp"
  mark_stage qtbase-source "$host_qt"
fi

# 2. Qt Charts, from the tarball kept in the project.
if ! done_stage qtcharts-source; then
  say "Sorgente di Qt Charts da $CHARTS_TARBALL"
  rm -rf "$SRC/qtcharts"
  mkdir -p "$SRC/qtcharts"
  $NICE tar -xJf "$CHARTS_TARBALL" -C "$SRC/qtcharts" --strip-components=1
  mark_stage qtcharts-source
fi

# 3. qtbase configured for MinGW: only what velmora and Qt Charts use.
#    The host tools (moc, rcc, uic) are Debian's. Tablet events are off
#    because Debian's source leaves out the third-party header the Windows
#    plugin includes for them; OpenGL stays on, the Windows plugin needs it,
#    and Direct2D stays on too (said outright, for a build folder configured
#    without it): without it Gui leaves out the DirectWrite font
#    engine that PrintSupport calls.
QTBASE_ARGS="-G Ninja
 -DCMAKE_TOOLCHAIN_FILE=$TOOLCHAIN
 -DCMAKE_BUILD_TYPE=Release
 -DCMAKE_INSTALL_PREFIX=$PREFIX
 -DQT_HOST_PATH=/usr
 -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
 -DBUILD_SHARED_LIBS=ON
 -DQT_BUILD_EXAMPLES=OFF
 -DQT_BUILD_TESTS=OFF
 -DFEATURE_network=OFF
 -DFEATURE_sql=OFF
 -DFEATURE_dbus=OFF
 -DFEATURE_xml=OFF
 -DFEATURE_vulkan=OFF
 -DFEATURE_direct2d=ON
 -DFEATURE_tabletevent=OFF"
# A change of these arguments or of the toolchain configures again (the build
# folder stays, so only what the change touches is compiled again).
QTBASE_ARGS="$QTBASE_ARGS
 # toolchain $(cksum < "$TOOLCHAIN")"
if [ "$(cat "$STAMPS/qtbase-configure" 2>/dev/null)" != "$QTBASE_ARGS" ]; then
  (cd "$STAMPS" && rm -f qtbase-build qtbase-install qtcharts-configure qtcharts-build qtcharts-install)
  say "Configurazione di qtbase per Windows"
  # shellcheck disable=SC2086
  $NICE cmake -S "$SRC/qtbase" -B "$BLD/qtbase" $(printf '%s\n' "$QTBASE_ARGS" | grep -v '^ #')
  mark_stage qtbase-configure "$QTBASE_ARGS"
fi

# 4. The long part: Core, Gui, Widgets, OpenGL, PrintSupport, Test and the
#    plugins (windows and offscreen platforms among them).
stage qtbase-build "Compilazione di qtbase con $JOBS processi (decine di minuti; ninja mostra [fatti/totale])" \
  cmake --build "$BLD/qtbase" --parallel "$JOBS"
stage qtbase-install "Installazione di qtbase in $PREFIX" cmake --install "$BLD/qtbase"

# 5. Qt Charts against the Windows Qt, installed into the same prefix.
stage qtcharts-configure "Configurazione di Qt Charts" \
  "$PREFIX/bin/qt-cmake" -S "$SRC/qtcharts" -B "$BLD/qtcharts" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
stage qtcharts-build "Compilazione di Qt Charts con $JOBS processi (alcuni minuti)" \
  cmake --build "$BLD/qtcharts" --parallel "$JOBS"
stage qtcharts-install "Installazione di Qt Charts in $PREFIX" cmake --install "$BLD/qtcharts"

say "Qt $QT_VERSION per Windows pronto in $PREFIX"
