#!/usr/bin/env bash
# Converts the demo data and copies of the real samples under a fixed matrix
# of settings, each run into its own folder of OUT, with its log. Run it with
# two builds and compare the trees with bench/same_outputs.py to prove that a
# change keeps every output byte. With BENCH_INPUTS (a folder made by
# bench_inputs, e.g. `build/bench/bench_inputs DIR 0.01`) the benchmark's
# inputs are converted too, in both code pages. MATRIX_EXTRA_ARGS is added to
# every run (e.g. "--set PrjEpsg=0 --set ExportStyleFile=0" for a build that
# knows settings an older one does not).
# Usage: bench/conversion_matrix.sh GRIDMOOR DEMO_DIR REAL_SAMPLES OUT [BENCH_INPUTS]
set -uo pipefail

gridmoor="${1:?usage: conversion_matrix.sh GRIDMOOR DEMO_DIR REAL_SAMPLES OUT}"
demo="${2:?}"
real="${3:?}"
out="${4:?}"
bench="${5:-}"
extra="${MATRIX_EXTRA_ARGS:-}"

rm -rf "$out"
mkdir -p "$out/src"
cp -r "$demo" "$out/src/demo"
cp -r "$real" "$out/src/real"
chmod -R u+w "$out/src"

all_sets="--set ExportPolyArc=1 --set ExportNetNode=1 --set ExportAnnotation=1 --set ExportLayerIndex=1"
runs=(
  "quick|--mode quick"
  "labels|--mode labels --set SymbolType=2"
  "s0p0|--set SymbolType=0 --set ExportProjection=0 $all_sets"
  "s1p1|--set SymbolType=1 --set ExportProjection=1 $all_sets"
  "s2p2|--set SymbolType=2 --set ExportProjection=2 $all_sets"
  "s3p1c2|--set SymbolType=3 --set ExportProjection=1 --set ColorModel=2 --set RotateType=1 $all_sets"
  "s3p2c1|--set SymbolType=3 --set ExportProjection=2 --set ColorModel=1 $all_sets"
  "s4p2|--set SymbolType=4 --set ExportProjection=2 $all_sets"
  "s5p1|--set SymbolType=5 --set ExportProjection=1 --set AffixType=2 $all_sets"
  "s4ansi|--set SymbolType=4 --set ExportProjection=0 --encoding ansi $all_sets"
  "s2keep|--set SymbolType=2 --set ExportEmptyFile=1 --set ExportProjection=0"
)
for run in "${runs[@]}"; do
  name="${run%%|*}"
  args="${run#*|}"
  for set in demo real; do
    lib="$out/src/$set"
    [ "$set" = real ] && lib="$out/src/real/colour"
    dest="$out/$name/$set"
    mkdir -p "$dest"
    # shellcheck disable=SC2086
    "$gridmoor" convert -q -o "$dest" --lib "$lib" --on-clash rename --log "$dest/convert.log" \
      --list-out "$dest/list.txt" $args $extra "$out/src/$set" >/dev/null 2>&1
    echo "$?" >"$dest/exit-status"
  done
done

# The benchmark's inputs with its own settings, in UTF-8 and GBK tables.
if [ -n "$bench" ]; then
  for encoding in utf-8 ansi; do
    for input in points.WT notes.WT lines.WL polygons.WP table.WB; do
      dest="$out/bench-$encoding/${input%.*}"
      mkdir -p "$dest"
      notes=""
      [ "$input" = notes.WT ] && notes="--set ExportAnnotation=1"
      # shellcheck disable=SC2086
      "$gridmoor" convert -q -o "$dest" --lib "$out/src/demo" --on-clash rename --log "$dest/convert.log" \
        --set SymbolType=2 --set ExportProjection=1 --encoding "$encoding" $notes $extra "$bench/$input" >/dev/null 2>&1
      echo "$?" >"$dest/exit-status"
    done
  done
fi
