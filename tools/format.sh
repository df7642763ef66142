#!/bin/sh
# Formats the C++ sources with the .clang-format at the top of the tree
# (written for clang-format 14).
#
#   format.sh                 src/, tests/, bench/ and tools/, in place
#   format.sh <dir|file>...   only those
#   format.sh --check [...]   changes nothing; fails when a file would change
#
# Only the .cpp and .h files git knows; tests/fuzz/corpus is never touched.
# CLANG_FORMAT names another clang-format.
set -u
cd "$(dirname "$0")/.." || exit 1
clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" >/dev/null 2>&1 \
  || { echo "ERRORE: $clang_format non trovato" >&2; exit 1; }
mode=-i
if [ "${1:-}" = --check ]; then mode="--dry-run -Werror"; shift; fi
[ $# -eq 0 ] && set -- src tests bench tools
git ls-files -z -- "$@" ':(exclude)tests/fuzz/corpus' \
  | grep -z -E '\.(cpp|h)$' \
  | xargs -0 -r "$clang_format" --style=file $mode
