#!/bin/sh
# Runs the ceiling benchmark at a quarter, a half and the whole of its size,
# each run a process of its own with its own table, then prints one table of
# how the time of every action grows with the size, and the peak memory of
# each run.
#
#   bench_growth.sh <bench_ceiling> [divisor]
#
# With a divisor (1 to 10) the whole is the ceiling divided by it: a quick
# look at a smaller office. Fails when a run fails or leaves out an action.
set -u
bench=$1
base=${2:-1}
[ -x "$bench" ] || { echo "ERRORE: benchmark $bench non trovato" >&2; exit 1; }
case $base in
  [1-9] | 10) ;;
  *) echo "ERRORE: divisore $base fuori da 1..10" >&2; exit 1 ;;
esac
rows=$(mktemp) || exit 1
trap 'rm -f "$rows"' EXIT
trap 'exit 1' INT TERM

for part in 4 2 1; do
  divisor=$((base * part))
  echo "== VELMORA_BENCH_DIVISOR=$divisor"
  VELMORA_BENCH_DIVISOR=$divisor "$bench" "$rows" || exit 1
  echo
done

# The lines of each run: see the head of bench/bench_ceiling.cpp.
awk -F '\t' '
function size(n) {
  if (!(n in at)) { at[n] = ++sizes; across[sizes] = n }
  return at[n]
}
function ratio(a, b) { return b > 0 ? sprintf("%8.2f", a / b) : sprintf("%8s", "-") }
# The power of the size that the value follows from the smallest run to the whole.
function power(a, b,    e) {
  if (a <= 0 || b <= 0) return sprintf("%6s", "-")
  e = log(a / b) / log(across[3] / across[1])
  return sprintf("%6.2f", e > -0.005 && e < 0.005 ? 0 : e) # never -0.00
}
function row(v1, v2, v3, name) {
  printf "%9.1f %9.1f %9.1f %s %s %s  %s\n", v1, v2, v3, ratio(v3, v2), ratio(v3, v1), power(v3, v1), name
}
$1 == "azione" {
  if (!($5 in known)) { known[$5] = 1; order[++actions] = $5 }
  ms[$5, size($2)] = $3
}
$1 == "memoria" { kb[size($2)] = $3 }
END {
  if (sizes != 3) { print "ERRORE: le prove non hanno tre dimensioni" > "/dev/stderr"; exit 1 }
  printf "crescita con la dimensione: %d, %d e %d righe di risorse\n", across[1], across[2], across[3]
  printf "%9s %9s %9s %8s %8s %6s  %s\n", "1/4 ms", "1/2 ms", "1 ms", "1 : 1/2", "1 : 1/4", "esp.", "azione"
  for (i = 1; i <= actions; i++) {
    a = order[i]
    for (s = 1; s <= 3; s++)
      if (!((a, s) in ms)) { print "ERRORE: manca " a > "/dev/stderr"; exit 1 }
    row(ms[a, 1], ms[a, 2], ms[a, 3], a)
  }
  for (s = 1; s <= 3; s++)
    if (!(s in kb)) { print "ERRORE: manca la memoria di una prova" > "/dev/stderr"; exit 1 }
  row(kb[1] / 1024, kb[2] / 1024, kb[3] / 1024, "memoria massima del processo (MB)")
  print "esp.: il valore cresce come la dimensione elevata a esso, da un quarto al tutto"
  print "(1 lineare, 2 quadratico); 1 : 1/2 e 1 : 1/4 valgono 2 e 4 quando la crescita è lineare"
}' "$rows"
