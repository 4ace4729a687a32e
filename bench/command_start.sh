#!/usr/bin/env bash
# The start of a command that draws nothing: `vantor list machines` beside the sqlite3 shell reading
# the same rows from the same database. Runs alternate in pairs (each pair starting with the other
# program than the last), so both see the same load; prints each one's median and their ratio.
#   bench/command_start.sh [BUILD_DIR] [PAIRS]
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
pairs="${2:-40}"
vantor="$build/cli/vantor"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
export VANTOR_COMMON_APPDATA="$root/common" VANTOR_USER_APPDATA="$root/user"
export XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/xdg-data"

"$vantor" init >/dev/null 2>&1
for i in $(seq 1 20); do "$vantor" machine add "Machine $i" >/dev/null 2>&1; done
db="$(find "$root" -name VantorV1.mdb -path '*Database*' -not -path '*Empty*' | head -n 1)"
[[ -n "$db" ]] || { echo "no database under $root" >&2; exit 1; }

run_vantor() { "$vantor" list machines >/dev/null 2>&1; }
run_sqlite() { sqlite3 "$db" 'SELECT * FROM tblMachines ORDER BY fOrder' >/dev/null; }

# Microseconds one run takes ($EPOCHREALTIME needs no extra process).
elapsed() {
  local start="$EPOCHREALTIME"
  "$1"
  local end="$EPOCHREALTIME"
  echo $(( (${end/./} - ${start/./}) ))
}

run_vantor; run_sqlite # warm the page cache
vantor_times=()
sqlite_times=()
for ((i = 0; i < pairs; i++)); do
  if ((i % 2 == 0)); then
    vantor_times+=("$(elapsed run_vantor)"); sqlite_times+=("$(elapsed run_sqlite)")
  else
    sqlite_times+=("$(elapsed run_sqlite)"); vantor_times+=("$(elapsed run_vantor)")
  fi
done

median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
v="$(median "${vantor_times[@]}")"
s="$(median "${sqlite_times[@]}")"
libs="$(ldd "$vantor" | wc -l)"
awk -v v="$v" -v s="$s" -v n="$pairs" -v libs="$libs" 'BEGIN {
  printf "pairs %d\nvantor list machines  median %8.1f ms  (%d shared libraries linked)\n", n, v / 1000, libs
  printf "sqlite3 same rows     median %8.1f ms\nratio %.2f\n", s / 1000, v / s
}'
