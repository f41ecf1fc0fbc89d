#!/usr/bin/env bash
# Replaces the corpus kept in the source tree (fuzz/corpus/<target>) with a
# minimal set of inputs covering everything the kept corpus, the seeds and
# the corpus grown in BUILD cover, so that later runs and the smoke run of
# make test start where earlier runs stopped.
# Usage: keep_corpus.sh BUILD [TARGET...]
set -euo pipefail
build=$1
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fast_reader mem_reader reader project colorlib legend convert ogr)
here=$(cd "$(dirname "$0")" && pwd)
fuzz=$build/fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=10}

for t in "${targets[@]}"; do
  [ -x "$fuzz/fuzz_$t" ] || { echo "$t: not built"; continue; }
  kept=$here/corpus/$t
  merged=$fuzz/merged/$t
  rm -rf "$merged"
  mkdir -p "$merged" "$kept"
  dirs=("$kept")
  for d in "$fuzz/corpus/$t" "$fuzz/seeds/$t"; do [ -d "$d" ] && dirs+=("$d"); done
  "$fuzz/fuzz_$t" -merge=1 -max_len=32768 -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=10 \
    "$merged" "${dirs[@]}" >"$fuzz/logs/merge-$t.log" 2>&1
  rm -rf "$kept"
  mv "$merged" "$kept"
  echo "$t: $(ls "$kept" | wc -l) inputs, $(du -sk "$kept" | cut -f1) KB"
done
