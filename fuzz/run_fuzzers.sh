#!/usr/bin/env bash
# Runs every fuzz target of BUILD for SECONDS each, JOBS targets at a time,
# and reports executions, coverage and findings per target.
# Each target starts from the corpus kept in the source tree (fuzz/corpus),
# the seeds and what earlier runs in BUILD found; new inputs land in
# BUILD/fuzz/corpus/<target>, findings in BUILD/fuzz/findings/<target>-*.
# A giant allocation is a finding too. When LEDGER names a file, one line
# per target run is appended to it (see fuzz/ledger.sh).
# Usage: run_fuzzers.sh BUILD SECONDS [TARGET...]
# Environment: JOBS processes at a time (default 1); PROCESSES per target
# (default 1; they share the target's corpus); LEDGER (default none).
set -uo pipefail
build=$1 seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fast_reader mem_reader reader project colorlib legend convert ogr)
jobs=${JOBS:-1}
processes=${PROCESSES:-1}
ledger=${LEDGER:-}
here=$(cd "$(dirname "$0")" && pwd)

fuzz=$build/fuzz
# ASan's default 256 MB quarantine of freed blocks alone would fill most of
# the RSS limit; a smaller one still catches uses after free.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=10}
mkdir -p "$fuzz/findings" "$fuzz/logs"

# Layer files, colour libraries and converter inputs are cut to this length:
# the real samples run to 200 KB, and every structure of the formats fits in
# far less, so small inputs buy many more executions per second.
max_len() {
  case $1 in
    fast_reader|mem_reader|reader|colorlib|convert|ogr) echo 32768 ;;
    *) echo 0 ;;
  esac
}

# The driver's target calls into GDAL, PROJ and SQLite, built without frame
# pointers: ASan's fast unwinder reads garbage frames there and keeps every
# such stack for good, so the process grows by megabytes a minute. Its
# allocations keep only their two innermost frames.
asan_options() {
  case $1 in
    ogr) echo "$ASAN_OPTIONS:malloc_context_size=2" ;;
    *) echo "$ASAN_OPTIONS" ;;
  esac
}

# Runs process $2 of target $1 and writes its result line to
# $fuzz/logs/$1.$2.result.
run_one() {
  local t=$1 bin=$fuzz/fuzz_$1 log=$fuzz/logs/$1.$2.log
  mkdir -p "$fuzz/corpus/$t"
  local before after found rc execs last cov ft
  before=$(ls "$fuzz/findings" | grep -c "^$t-" || true)
  local dirs=("$fuzz/corpus/$t")
  [ -d "$here/corpus/$t" ] && dirs+=("$here/corpus/$t")
  [ -d "$fuzz/seeds/$t" ] && dirs+=("$fuzz/seeds/$t")
  ASAN_OPTIONS=$(asan_options "$t") "$bin" "${dirs[@]}" -max_total_time="$seconds" -max_len="$(max_len "$t")" \
    -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$fuzz/findings/$t-" >"$log" 2>&1
  rc=$?
  execs=$(grep -a -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  last=$(grep -a -E '^#[0-9]+' "$log" | tail -1)
  cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*')
  ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*')
  after=$(ls "$fuzz/findings" | grep -c "^$t-" || true)
  found=$((after - before))
  printf '%s %s %s %s %s %s %s\n' "$t" "${execs:-0}" "${cov:-0}" "${ft:-0}" "$found" "$rc" "$log" \
    >"$fuzz/logs/$t.$2.result"
}

running=0
for t in "${targets[@]}"; do
  if [ ! -x "$fuzz/fuzz_$t" ]; then
    echo "$t: not built"
    continue
  fi
  for ((p = 1; p <= processes; p++)); do
    rm -f "$fuzz/logs/$t.$p.result"
    run_one "$t" "$p" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n
      running=$((running - 1))
    fi
  done
done
wait

status=0
commit=$(git -C "$here" rev-parse --short HEAD 2>/dev/null || echo unknown)
printf '%-12s %12s %8s %8s %s\n' target executions cov ft findings
for t in "${targets[@]}"; do
  for ((p = 1; p <= processes; p++)); do
    [ -f "$fuzz/logs/$t.$p.result" ] || continue
    read -r name execs cov ft found rc log <"$fuzz/logs/$t.$p.result"
    printf '%-12s %12s %8s %8s %s\n' "$name" "$execs" "$cov" "$ft" "$found"
    if [ -n "$ledger" ]; then
      printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%Y-%m-%dT%H:%M:%SZ)" "$commit" "$name" "$seconds" \
        "$execs" "$cov" "$ft" "$found" >>"$ledger"
    fi
    if [ "$rc" -ne 0 ] || [ "$found" -gt 0 ]; then
      status=1
      grep -a -E 'ERROR: |SUMMARY: |runtime error|HeapBound|Test unit written' "$log" | head -5 | sed 's/^/    /'
    fi
  done
done
exit $status
