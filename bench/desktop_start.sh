#!/usr/bin/env bash
# The desktop's start to its painted machine tree, as a whole process, beside a minimal Qt window
# whose tree shows the same machines and points from one query (bench/MinimalWindow.cpp), on plants
# of 10, 100 and 1,000 machines × 10 vibration points × 20 readings. Runs alternate in pairs, so
# both see the same load; prints each one's median and their ratio per size.
#   bench/desktop_start.sh [BUILD_DIR] [PAIRS] [SIZES...]
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
pairs="${2:-10}"
shift $(($# > 2 ? 2 : $#))
sizes=("${@:-10 100 1000}")
read -r -a sizes <<<"${sizes[*]}"
desktop="$(find "$build/ui" -maxdepth 1 -type f -executable | head -n 1)"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
export QT_QPA_PLATFORM=offscreen

elapsed() {
  local start="$EPOCHREALTIME"
  "$@" >/dev/null 2>&1
  local end="$EPOCHREALTIME"
  echo $(( (${end/./} - ${start/./}) ))
}
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

for size in "${sizes[@]}"; do
  plant="$root/plant-$size"
  mkdir -p "$plant"
  while IFS='=' read -r name value; do export "$name=$value"; done < <("$build/bench/make_large_plant" "$plant" "$size" 2>/dev/null)
  db="$(find "$plant" -name VantorV1.mdb -path '*Database*' -not -path '*Empty*' | head -n 1)"
  [[ -n "$db" ]] || { echo "no database under $plant" >&2; exit 1; }
  run_desktop() { VANTOR_EXIT_WHEN_SHOWN=1 "$desktop"; }
  run_minimal() { "$build/bench/minimal_window" "$db"; }
  run_desktop >/dev/null 2>&1; run_minimal >/dev/null 2>&1 # warm the page cache
  desktop_times=()
  minimal_times=()
  for ((i = 0; i < pairs; i++)); do
    if ((i % 2 == 0)); then
      desktop_times+=("$(elapsed run_desktop)"); minimal_times+=("$(elapsed run_minimal)")
    else
      minimal_times+=("$(elapsed run_minimal)"); desktop_times+=("$(elapsed run_desktop)")
    fi
  done
  d="$(median "${desktop_times[@]}")"
  m="$(median "${minimal_times[@]}")"
  awk -v size="$size" -v d="$d" -v m="$m" 'BEGIN {
    printf "%5d machines  desktop %7.1f ms  minimal window with the one query %7.1f ms  ratio %.2f\n", size, d / 1000, m / 1000, d / m
  }'
done
