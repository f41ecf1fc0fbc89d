#!/usr/bin/env bash
# make run: converts the demo data set (generated into BUILD_DIR/demo) into
# out/ with the ArcView legend style mode, standard spatial references and
# every companion output, then shows where the results are.
# Usage: scripts/run-demo.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:?usage: scripts/run-demo.sh BUILD_DIR}"
gridmoor="$build/cli/gridmoor"
demo="$build/demo"
out="out/demo"

[ -x "$gridmoor" ] || { echo "run-demo: $gridmoor is not built" >&2; exit 2; }
[ -f "$demo/demo.MPJ" ] || { echo "run-demo: no demo data in $demo" >&2; exit 2; }

rm -rf "$out"
mkdir -p "$out"

# Legend style (SymbolType 4) with the demo's colour library, coordinates in
# metres with a standard .prj (ExportProjection 2), polygon arcs, network
# nodes and annotations as separate files, and the project as a layer index.
"$gridmoor" convert --mode advanced -o "$out" --lib "$demo" --on-clash overwrite --log "$out/convert.log" \
  --list-out "$out/list.txt" --set SymbolType=4 --set ExportProjection=2 --set ExportPolyArc=1 \
  --set ExportNetNode=1 --set ExportAnnotation=1 --set ExportLayerIndex=1 "$demo"

echo
echo "results in $out:"
(cd "$out" && find . -type f \( -name '*.shp' -o -name '*.dbf' -o -name '*.avl' -o -name '*.CSV' \) | LC_ALL=C sort)
echo "log: $out/convert.log, file list: $out/list.txt"
