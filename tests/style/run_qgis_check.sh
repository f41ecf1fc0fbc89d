#!/usr/bin/env bash
# The QGIS check of styled results. Converts the demo data and the real
# samples with the raw-parameter style columns, writes NAME.qml and NAME.sld
# for every result from the style model (style_fixture), .prj files carrying
# the EPSG systems of the layers that have a projection, and has a real QGIS
# draw them (qgis_render_check.py).
# Usage: run_qgis_check.sh GRIDMOOR STYLE_FIXTURE DEMO_DIR REAL_SAMPLES PYTHON
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
gridmoor=$1 fixture=$2 demo=$3 real=$4 python=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"

# Converts one source into a folder of its own (results of two sources may
# share a name), with every companion; point files once more as one layer of
# every kind of point.
# Usage: convert OUT EXPORT_PROJECTION COLOUR_LIB_FOLDER SOURCE
convert() {
  local companions
  for companions in 1 0; do
    [ "$companions" = 0 ] && [ "${4##*.}" != WT ] && continue
    mkdir -p "$1/$companions"
    "$gridmoor" convert -q --mode advanced -o "$1/$companions" --lib "$3" --on-clash overwrite --set SymbolType=2 \
      --set ExportProjection="$2" --set CodePage=0 --set ExportPolyArc=1 --set ExportNetNode=1 \
      --set ExportAnnotation="$companions" -- "$4" >"$work/convert.log" 2>&1 || { cat "$work/convert.log"; exit 1; }
  done
}

# Writes NAME.prj with the EPSG system of SOURCE's projection record and
# adds "--epsg NAME.shp:CODE" to the checks. Usage: epsg SOURCE SHP CODE
epsg_checks=()
epsg() {
  "$fixture" prj "$1" "$2" >/dev/null
  epsg_checks+=(--epsg "$2:$3")
}

# The demo data: every kind, Gauss-Kruger on Xian 1980 in zone 39.
for source in landuse.WP roads.WL sub/河流.WL 地名注记.WT pipes.WN; do
  convert "$work/demo/$source" 2 "$demo" "$demo/$source"
done
mapfile -t demo_results < <(find "$work/demo" -name '*.shp' | LC_ALL=C sort)
"$fixture" styles "$demo/Pcolor.lib" "${demo_results[@]}" >/dev/null
epsg "$demo/landuse.WP" "$work/demo/landuse.WP/1/landuse.shp" 2363
epsg "$demo/roads.WL" "$work/demo/roads.WL/1/roads.shp" 2363

# The real samples (copied: results are written next to sources otherwise).
# Those with a projection record (Beijing 1954, central meridian 105 E,
# eastings without zone number) in metres; the others as stored.
cp -r "$real" "$work/src"
samples="$work/src"
for source in frame/图框.WP frame/图框.WL frame/图例.WL frame/图例.WT; do
  convert "$work/real/$source" 2 "$samples/colour" "$samples/$source"
done
for source in frame/YZT-SLH.WL jz-project/JZ.WL jz-project/JZ.WT jz-project/JZ-FINAL.WL jz-project/I486732TK.WL \
              jz-project/I486732TK.WT; do
  convert "$work/real/$source" 0 "$samples/colour" "$samples/$source"
done
mapfile -t real_results < <(find "$work/real" -name '*.shp' | LC_ALL=C sort)
"$fixture" styles "$samples/colour/Pcolor.lib" "${real_results[@]}" >/dev/null
epsg "$samples/frame/图框.WP" "$work/real/frame/图框.WP/1/图框.shp" 2432
epsg "$samples/frame/图框.WL" "$work/real/frame/图框.WL/1/图框.shp" 2432
epsg "$samples/frame/图例.WL" "$work/real/frame/图例.WL/1/图例.shp" 2432
epsg "$samples/frame/图例.WT" "$work/real/frame/图例.WT/1/图例.shp" 2432

status=0
"$python" "$here/qgis_render_check.py" "$demo/Pcolor.lib" "${demo_results[@]}" "${epsg_checks[@]:0:4}" || status=1
"$python" "$here/qgis_render_check.py" "$samples/colour/Pcolor.lib" "${real_results[@]}" "${epsg_checks[@]:4}" || status=1
exit $status
