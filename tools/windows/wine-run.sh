#!/bin/sh
# Runs a program of the Windows build under Wine, headless and quiet:
#
#   wine-run.sh <wine prefix> <Qt for Windows prefix> <program.exe> [arguments]
#
# The build's CMake gives it to ctest and to the build steps as the emulator of
# every Windows program (CMAKE_CROSSCOMPILING_EMULATOR). The Wine prefix is a
# private one (in the build folder), made the first time; the Qt DLLs and
# MinGW's runtime DLLs are found through WINEPATH. Wine leaves the host alone:
# no menu entries or file associations for what is installed in the prefix, no
# offer to download Mono or Gecko. Wine hides the host's QT_* variables from
# Windows programs and gives them WINEQT_* as QT_*: QT_QPA_PLATFORM and the
# like are passed on that way. Qt writes its messages and the test results to
# stderr and stdout, as on Linux, though no Windows console is attached.
set -eu
prefix=$1
qt=$2
shift 2

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
cxx=x86_64-w64-mingw32-g++-posix
runtime=$(dirname "$($cxx -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$($cxx -print-file-name=libwinpthread-1.dll)")

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  eval "export WINE$variable=\"\${$variable}\""
done
export WINEQT_FORCE_STDERR_LOGGING=1
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$runtime");$(windows_path "$pthread")"

# The first run makes the prefix; runs that start together wait for it.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      wineboot -i >/dev/null 2>&1
      wineserver -w
      # Documents, Desktop and the like stay in the prefix: Wine links them
      # to the host's home.
      for link in "$prefix"/drive_c/users/*/*; do
        if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
      done
    fi
  ) 9> "$prefix.lock"
fi
exec wine "$@"
