#!/bin/sh
# The folders of src/ and the includes between them form no cycle, apart
# from the association register reaching vehicles and equipment (renaming
# or deleting an association carries over to its vehicles and equipment,
# whose windows offer the associations). Prints the edges of a cycle and
# fails when there is one.
src=${1:-$(dirname "$0")/../src}
cd "$src" || exit 2
edges=$(for f in */*.h */*.cpp; do
  from=${f%%/*}
  sed -n 's/^#include "\([a-z]*\)\/[^"]*".*/\1/p' "$f" | while read -r to; do
    [ "$to" != "$from" ] && echo "$from $to"
  done
done | sort -u | grep -v -E '^(vehicles|equipment) associations$')
# tsort names the folders of a loop on its error output.
echo "$edges" | tsort >/dev/null || exit 1
echo "$edges" | tsort | tac | tr '\n' ' '
echo
