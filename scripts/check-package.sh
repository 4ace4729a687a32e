#!/usr/bin/env bash
# Checks the packages in dist/ as a user and another program's developer meet them: unpacked into a
# fresh root (as apt would place them), the programs run from there, no installed text file names
# the build or source tree, and an outside CMake project builds against the graph control with
# find_package(VantorGraph) and paints a trend into a PNG.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

shopt -s nullglob
debs=("$root"/dist/*.deb)
((${#debs[@]} == 3)) || fail "expected the three packages in dist/, found ${#debs[@]} (run ./run package)"
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$work/root"; done

libdir="$(find "$work/root/usr/lib" -name 'libVantorGraph.so.*' -printf '%h\n' | head -n 1)"
[[ -n "$libdir" ]] || fail "libVantorGraph is not in the packages"
export LD_LIBRARY_PATH="$libdir"

version="$("$work/root/usr/bin/vantor" --version)"
expected="$(sed -n 's/^project(Vantor VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[[ "$version" == "vantor $expected" ]] || fail "vantor --version says '$version', expected 'vantor $expected'"
echo "vantor --version: $version"

VANTOR_COMMON_APPDATA="$work/data" VANTOR_USER_APPDATA="$work/user" "$work/root/usr/bin/vantor" init
[[ -f "$(find "$work/data" -name 'VantorV1.mdb' | head -n 1)" ]] || fail "vantor init made no database"
echo "vantor init: a database in a fresh data root"

german="$(VANTOR_COMMON_APPDATA="$work/data" VANTOR_USER_APPDATA="$work/user" "$work/root/usr/bin/vantor" texts --language Deutsch | sed -n 2p)"
[[ "$german" == $'1\tAbbrechen' ]] || fail "vantor texts --language Deutsch says '$german' for text 1"
[[ -f "$work/root/usr/share/vantor/guide/index.html" ]] || fail "the user guide is not installed"
echo "language packs installed into the data root; the user guide installed"

# No installed text file may name the folders the packages were built from.
if grep -rIl -e "$root/build" -e "$root/" "$work/root" >"$work/leaks"; then
    cat "$work/leaks" >&2
    fail "installed files name the build or source tree"
fi
echo "no installed text file names the build or source tree"

cmake -S "$root/packaging/consumer" -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$work/root/usr" \
      >/dev/null
cmake --build "$work/consumer" >/dev/null
QT_QPA_PLATFORM=offscreen "$work/consumer/trend_png" "$work/trend.png"
[[ -s "$work/trend.png" ]] || fail "the outside project painted no trend"
echo "outside project: find_package(VantorGraph), trend painted ($(stat -c %s "$work/trend.png") bytes)"

PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --exists --print-errors vantorgraph vantorlabel
flags="$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs vantorlabel)"
linkdir="$(sed -n 's/.*-L\([^ ]*\).*/\1/p' <<<"$flags")"
[[ -n "$linkdir" && "$(realpath "$linkdir")" == "$(realpath "$libdir")" ]] ||
    fail "pkg-config gives '$flags', which does not point into the unpacked root"
echo "pkg-config: $flags"
