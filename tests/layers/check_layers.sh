#!/usr/bin/env bash
# The layers of the code hold: mapgis/ (brindle) <- output/ <- convert/ (the
# engine) <- cli/, app/; the GDAL plugin sits on brindle and output/ only.
# Fails when output/ includes a header of the engine, or when the plugin
# holds code of the engine.
# Usage: check_layers.sh SOURCE_DIR PLUGIN_FILE
set -uo pipefail
src="${1:?usage: check_layers.sh SOURCE_DIR PLUGIN_FILE}"
plugin="${2:?}"
status=0

engine_headers=$(cd "$src/convert" && find . -name '*.h' -printf '%f\n' | sort -u)
for header in $engine_headers; do
  if grep -l "#include \"$header\"" "$src"/output/*.h "$src"/output/*.cpp 2>/dev/null; then
    echo "output/ includes the engine header $header" >&2
    status=1
  fi
done

# Units of the engine that the plugin must not contain.
if nm -C "$plugin" | grep -E 'BatchRunner|LayerConverter|EntryScheduler|ShapefileWriter|ConversionLog' >&2; then
  echo "the plugin $plugin links the conversion engine" >&2
  status=1
fi
exit $status
