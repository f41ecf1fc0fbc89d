#!/usr/bin/env bash
# The short fuzz run of the tests: every target for SECONDS (two at a time),
# then, once each under the sanitizers, every kept crasher through the
# target named by its file name and damaged copies of the real samples and
# the demo data through the end-to-end target and the driver's target.
# Fails on any finding.
# Usage: smoke.sh BUILD SECONDS REAL_SAMPLES DEMO
set -uo pipefail
build=$1 seconds=$2 real=$3 demo=$4
here=$(cd "$(dirname "$0")" && pwd)
fuzz=$build/fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=10}
status=0

JOBS=${JOBS:-2} bash "$here/run_fuzzers.sh" "$build" "$seconds" || status=1

# Runs target $1 once over the files that follow.
replay() {
  local t=$1 log=$fuzz/logs/replay-$1.log
  shift
  [ $# -gt 0 ] || return 0
  if ! "$fuzz/fuzz_$t" -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=30 "$@" >"$log" 2>&1; then
    echo "replay through $t failed:"
    grep -a -E 'ERROR: |SUMMARY: |runtime error|HeapBound|Running: ' "$log" | tail -5 | sed 's/^/    /'
    status=1
  else
    echo "replay through $t: $# inputs, no finding"
  fi
}

# Crashers are named <target>-<what it broke>.bin.
for bin in "$fuzz"/fuzz_*; do
  t=${bin##*/fuzz_}
  mapfile -t files < <(find "$here/../tests/data/crashers" -name "$t-*.bin" | sort)
  replay "$t" "${files[@]}"
done

bash "$here/hostile_inputs.sh" "$fuzz/hostile" "$real" "$demo" >/dev/null
mapfile -t files < <(find "$fuzz/hostile" -type f | sort)
replay convert "${files[@]}"
# The same damaged files, without their two option bytes, through the driver.
if [ -x "$fuzz/fuzz_ogr" ]; then
  rm -rf "$fuzz/hostile-files"
  mkdir -p "$fuzz/hostile-files"
  for f in "${files[@]}"; do tail -c +3 "$f" >"$fuzz/hostile-files/${f##*/}"; done
  mapfile -t files < <(find "$fuzz/hostile-files" -type f | sort)
  replay ogr "${files[@]}"
fi
exit $status
