#!/usr/bin/env bash
# The QGIS check of styled results. Converts the demo data and the real
# samples with the raw-parameter style columns (the converter writes
# NAME.qml, NAME.sld and, for records of an EPSG system, that system's
# .prj), has a real QGIS draw them (qgis_render_check.py), and draws the
# same MapGIS files read through the GDAL plugin with their feature styles.
# Usage: run_qgis_check.sh GRIDMOOR CRS_FIXTURE PLUGIN_DIR DEMO_DIR REAL_SAMPLES PYTHON
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
gridmoor=$1 crs_fixture=$2 plugin_dir=$3 demo=$4 real=$5 python=$6
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

# The demo data: every kind, Gauss-Kruger on Xian 1980 in zone 39; its roads
# once more in degrees and with eastings without the zone, which must land
# on the same places.
for source in landuse.WP roads.WL sub/河流.WL 地名注记.WT pipes.WN; do
  convert "$work/demo/$source" 2 "$demo" "$demo/$source"
done
mkdir -p "$work/crs"
"$crs_fixture" "$demo/roads.WL" "$work/crs"
for source in roads-degrees.WL roads-cm117.WL; do
  convert "$work/demo/$source" 2 "$demo" "$work/crs/$source"
done
mapfile -t demo_results < <(find "$work/demo" -name '*.shp' | LC_ALL=C sort)
roads="$work/demo/roads.WL/1/roads.shp"
demo_checks=(--epsg "$work/demo/landuse.WP/1/landuse.shp:2363" --epsg "$roads:2363"
             --epsg "$work/demo/roads-degrees.WL/1/roads-degrees.shp:4610"
             --epsg "$work/demo/roads-cm117.WL/1/roads-cm117.shp:2384"
             --same-place "$roads,$work/demo/roads-degrees.WL/1/roads-degrees.shp,$work/demo/roads-cm117.WL/1/roads-cm117.shp")

# The real samples (copied: results are written next to sources otherwise).
# Those with a projection record (Beijing 1954, central meridian 105 E,
# eastings without zone number) in metres; the others as stored.
cp -r "$real" "$work/src"
samples="$work/src"
real_checks=()
for source in frame/图框.WP frame/图框.WL frame/图例.WL frame/图例.WT; do
  convert "$work/real/$source" 2 "$samples/colour" "$samples/$source"
  name=$(basename "${source%.*}")
  real_checks+=(--epsg "$work/real/$source/1/$name.shp:2432")
done
for source in frame/YZT-SLH.WL jz-project/JZ.WL jz-project/JZ.WT jz-project/JZ-FINAL.WL jz-project/I486732TK.WL \
              jz-project/I486732TK.WT; do
  convert "$work/real/$source" 0 "$samples/colour" "$samples/$source"
done
mapfile -t real_results < <(find "$work/real" -name '*.shp' | LC_ALL=C sort)

# The plugin: ogrinfo shows the style strings of every kind of feature.
export GDAL_DRIVER_PATH="$plugin_dir"
styles=$(for source in landuse.WP roads.WL 地名注记.WT pipes.WN; do ogrinfo -ro -al -q "$demo/$source"; done 2>/dev/null |
         grep -o 'Style = [A-Z]*(' | sort | uniq -c)
status=0
for kind in BRUSH PEN SYMBOL LABEL; do
  if ! grep -q "Style = $kind(" <<<"$styles"; then
    echo "FAIL: ogrinfo shows no $kind style string in the demo data"
    status=1
  fi
done
echo "ogrinfo style strings:" $styles
# The plugin finds the demo's Pcolor.lib beside these files (not beside sub/河流.WL).
plugin_sources=("$demo/landuse.WP" "$demo/roads.WL" "$demo/地名注记.WT" "$demo/pipes.WN")
demo_checks+=(--epsg "$demo/landuse.WP:2363")
real_checks+=(--epsg "$samples/frame/图框.WP:2432")

"$python" "$here/qgis_render_check.py" "$demo/Pcolor.lib" "${demo_results[@]}" "${demo_checks[@]}" \
  --plugin "${plugin_sources[@]}" || status=1
# The real samples lie apart from their colour library: the configuration option names it.
MAPGIS_COLOR_LIB="$samples/colour/Pcolor.lib" "$python" "$here/qgis_render_check.py" "$samples/colour/Pcolor.lib" \
  "${real_results[@]}" "${real_checks[@]}" --plugin "$samples/frame/图框.WP" "$samples/frame/图例.WT" \
  "$samples/jz-project/JZ.WL" || status=1
exit $status
