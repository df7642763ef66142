#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program
# headless in an empty working folder. The program has no way to end by
# itself: it must still be running when the test ends it.
#
#   installed_program.sh <cmake> <build folder>
set -u
cmake="$1"
build="$2"
tmp="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "ERRORE: $*" >&2; exit 1; }
# Watches the program $pid for three seconds: it must not end by itself.
stays_up() {
  for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null || { cat "$1" >&2; fail "$2 si è chiuso da solo"; }
}

prefix="$tmp/prefisso"
"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 \
  || { cat "$tmp/install.log" >&2; fail "cmake --install non riuscito"; }

for f in bin/velmora bin/velmora-ufficio; do
  [ -x "$prefix/$f" ] || fail "$f manca o non è eseguibile"
done
desktop="$prefix/share/applications/velmora.desktop"
[ -f "$desktop" ] || fail "voce del menu velmora.desktop mancante"
grep -qx 'Type=Application' "$desktop" || fail "velmora.desktop: Type"
grep -qx 'Exec=velmora-ufficio' "$desktop" || fail "velmora.desktop: Exec"
grep -qx 'Icon=velmora' "$desktop" || fail "velmora.desktop: Icon"
grep -q '^Name=velmora$' "$desktop" || fail "velmora.desktop: Name"
grep -q '^Comment=.*protezione civile' "$desktop" || fail "velmora.desktop: Comment in italiano"
grep -q '^Categories=.*Office;' "$desktop" || fail "velmora.desktop: Categories"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "velmora.desktop non valido"
fi
[ -f "$prefix/share/icons/hicolor/scalable/apps/velmora.svg" ] || fail "icona SVG mancante"
for size in 48 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/velmora.png"
  [ -s "$png" ] || fail "icona ${size}x${size} mancante"
  head -c 8 "$png" | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a' || fail "icona ${size}: non è un PNG"
done
# The help window looks in ../share/velmora beside the program.
help="$prefix/bin/../share/velmora/velmora.hlp"
[ -f "$help" ] || fail "guida velmora.hlp non installata in share/velmora"
grep -q 'name="indice"' "$help" || fail "la guida installata non ha l'indice"
[ -f "$prefix/share/velmora/esempio/associazioni.csv" ] || fail "archivi di esempio non installati"

# The installed program, started headless in an empty working folder.
work="$tmp/lavoro"
mkdir "$work"
(cd "$work" && exec env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$tmp/config" "$prefix/bin/velmora" >"$tmp/out.log" 2>&1) &
pid=$!
stays_up "$tmp/out.log" "il programma installato"
# It writes in the working folder as a desk, which its own file names.
grep -q "^postazione	.*	$pid	" "$work"/sospese-*-"$pid".dat 2>/dev/null \
  || fail "il programma non si presenta come postazione (sospese-…-$pid.dat)"
kill "$pid"
wait "$pid"
status=$?
desk=$pid
pid=""
[ "$status" -eq 143 ] || { cat "$tmp/out.log" >&2; fail "uscita inattesa $status"; }
# Starting writes nothing into the working folder but the desk's file (left
# behind by the kill, removed by the next start).
[ "$(ls -A "$work")" = "$(cd "$work" && ls sospese-*-"$desk".dat)" ] \
  || fail "l'avvio ha scritto nella cartella di lavoro: $(ls -A "$work")"

# The desktop launcher works in its own folder, created when missing.
cartella="$tmp/casa/velmora"
(env HOME="$tmp/casa" XDG_CONFIG_HOME="$tmp/casa/.config" QT_QPA_PLATFORM=offscreen "$prefix/bin/velmora-ufficio" >"$tmp/ufficio.log" 2>&1) &
pid=$!
stays_up "$tmp/ufficio.log" "velmora-ufficio"
[ -d "$cartella" ] || fail "velmora-ufficio non ha creato $cartella"
kill "$pid"; wait "$pid" 2>/dev/null; pid=""
echo "installazione in $prefix verificata"
