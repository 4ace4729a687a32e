#!/usr/bin/env bash
# Regenerates docs/architecture.svg, the picture of the project's own libraries and programs and
# the links between them, from the build's own description: CMake configures a throw-away tree
# (nothing is compiled) and writes its target graph (--graphviz); Qt, GoogleTest, system
# libraries, test programs, benchmarks, fuzz targets and examples are left out; Graphviz draws it.
#
#   scripts/architecture-graph.sh [OUTPUT.svg|OUTPUT.png]     (default: docs/architecture.svg)
#
# Edges: solid a PUBLIC link, dotted a PRIVATE one, dashed an INTERFACE one (CMake's own styles).
# A link implied by two others (app -> store beside app -> analysis -> store) is dropped (tred),
# so the picture shows the layers; CMakeLists.txt files name every direct link.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
output="${1:-$root/docs/architecture.svg}"
for tool in cmake dot tred; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (Debian: cmake, graphviz)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# CMake reads these options from the build tree before it writes the graph. Targets left out are
# named by regular expressions; external libraries (Qt, GTest, FFTW, ...) are left out wholesale.
cat >"$work/CMakeGraphVizOptions.cmake" <<'EOF'
set(GRAPHVIZ_GRAPH_NAME "Vantor")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS
    "_tests$" "_bench$" "^vantor_bench_" "_fuzz$" "_example$" "^vantor_testing$"
    "^vantor_libpq_headers$")
EOF

cmake -S "$root" -B "$work" -G Ninja -DVANTOR_FUZZ=OFF --graphviz="$work/graph.dot" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log" >&2; exit 1; }

# CMake's legend cluster goes; the programs are drawn as filled boxes so they stand apart, and an
# edge into a program (a build-order dependency: `vantor` builds `vantor-full` first) is no link
# and goes. Arrows point from a target to what it links; the programs stand at the top.
awk '
  /^subgraph clusterLegend/ { skip = 1 }
  skip && /^}/ { skip = 0; next }
  skip { next }
  /^digraph/ { print; print "node [ fontname = \"Helvetica\" ];"; next }
  /shape = egg/ {
    split($0, id, "\""); program[id[2]] = 1
    sub(/shape = egg/, "shape = box, style = \"rounded,filled\", fillcolor = \"#e8eef7\"")
  }
  / -> / { split($0, ids, "\""); if (ids[4] in program) next }
  { print }
' "$work/graph.dot" | tred >"$work/reduced.dot"

mkdir -p "$(dirname "$output")"
dot -T"${output##*.}" "$work/reduced.dot" -o "$output"
echo "$output"
