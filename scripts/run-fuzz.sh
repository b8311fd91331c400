#!/usr/bin/env bash
# Runs every fuzz target of a tree configured with -DVIREO_FUZZ=ON (the list
# is <build dir>/fuzz/fuzzers.txt) for the given seconds each, one after the
# other. Each starts from its seeds in fuzz/corpus (which hold every failure
# found so far, so these are re-checked first) and keeps the inputs it finds
# in <build dir>/fuzz-work/<target>/corpus; a failing input is written to
# <build dir>/fuzz-work/<target>/hallazgos.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-fuzz}
seconds=${2:-60}
list="$build_dir/fuzz/fuzzers.txt"

if [[ ! -f "$list" ]]; then
  echo "No se encontró $list: configure con -DVIREO_FUZZ=ON (make fuzz)." >&2
  exit 1
fi

status=0
while read -r name program corpus dict; do
  work="$build_dir/fuzz-work/$name"
  mkdir -p "$work/corpus" "$work/hallazgos"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$work/hallazgos/")
  if [[ -n "${dict:-}" ]]; then
    args+=(-dict="fuzz/$dict")
  fi
  echo "== $name ($seconds s)"
  if "$program" "${args[@]}" "$work/corpus" "fuzz/corpus/$corpus" >"$work/salida.txt" 2>&1; then
    ejecuciones=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/salida.txt")
    echo "   ${ejecuciones:-?} entradas, ninguna falla"
  else
    echo "   FALLA: la entrada que la produce está en $work/hallazgos/" >&2
    tail -n 30 "$work/salida.txt" >&2
    status=1
  fi
done <"$list"
exit $status
