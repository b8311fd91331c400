#!/usr/bin/env bash
# Runs every benchmark program (bench/bench_*.cpp, built as
# <build dir>/bench/bench_*) one after the other and shows what each reports.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

shopt -s nullglob
programs=("$build_dir"/bench/bench_*)
if [[ ${#programs[@]} -eq 0 ]]; then
  echo "No hay programas de medición en $build_dir/bench."
  exit 0
fi

status=0
for program in "${programs[@]}"; do
  [[ -x "$program" && -f "$program" ]] || continue
  echo "== $(basename "$program")"
  "$program" || { echo "   $(basename "$program") terminó con error" >&2; status=1; }
done
exit $status
