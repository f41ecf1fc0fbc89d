#!/usr/bin/env bash
# Runs every fuzz target of BUILD for SECONDS each, one after the other on
# one job, and reports executions, coverage and findings per target.
# Corpora grow in BUILD/fuzz/corpus/<target>; findings land in
# BUILD/fuzz/findings/<target>-*. A giant allocation is a finding too.
# Usage: run_fuzzers.sh BUILD SECONDS [TARGET...]
set -uo pipefail
build=$1 seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fast_reader mem_reader reader project colorlib legend convert)

fuzz=$build/fuzz
# ASan's default 256 MB quarantine of freed blocks alone would fill most of
# the RSS limit; a smaller one still catches uses after free.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64}
mkdir -p "$fuzz/findings" "$fuzz/logs"
status=0
printf '%-12s %12s %8s %8s %s\n' target executions cov ft findings
for t in "${targets[@]}"; do
  bin=$fuzz/fuzz_$t
  [ -x "$bin" ] || { echo "$t: not built"; continue; }
  mkdir -p "$fuzz/corpus/$t"
  before=$(ls "$fuzz/findings" | grep -c "^$t-" || true)
  log=$fuzz/logs/$t.log
  "$bin" "$fuzz/corpus/$t" "$fuzz/seeds/$t" -max_total_time="$seconds" \
    -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$fuzz/findings/$t-" >"$log" 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*')
  ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*')
  after=$(ls "$fuzz/findings" | grep -c "^$t-" || true)
  found=$((after - before))
  printf '%-12s %12s %8s %8s %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$found"
  if [ "$rc" -ne 0 ] || [ "$found" -gt 0 ]; then
    status=1
    grep -E 'ERROR: |SUMMARY: |runtime error|Test unit written' "$log" | head -5 | sed 's/^/    /'
  fi
done
exit $status
