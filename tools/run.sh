#!/bin/sh
# Starts the built program in a working folder, as `make run` does: the
# folder is made from the example archives the first time.
#
#   run.sh <program> <folder>             the program on the screen
#   run.sh <program> <folder> <seconds>   headless for that long, then ended;
#                                         fails when it ended before by itself
set -u
program=$1
folder=$2
seconds=${3:-}
[ -x "$program" ] || { echo "ERRORE: programma $program non trovato" >&2; exit 1; }
examples=$(dirname "$0")/../data/example
if [ ! -d "$folder" ]; then
  mkdir -p "$folder" && cp "$examples"/* "$folder"/ \
    && echo "Cartella di lavoro $folder creata dagli archivi di esempio."
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
cd "$folder" || exit 1
[ -z "$seconds" ] && exec "$program"
QT_QPA_PLATFORM=offscreen timeout "$seconds" "$program"
status=$?
# timeout ends it with 124: it was still running.
[ "$status" = 124 ] && { echo "Il programma è partito ed era ancora in funzione dopo $seconds s."; exit 0; }
echo "ERRORE: il programma è terminato da solo (codice $status)" >&2
exit 1
