#!/usr/bin/env bash
# Sums the fuzzing ledger: executions, runs, time and findings per target
# over every recorded run.
# Usage: ledger.sh [LEDGER]   (default: fuzz/ledger.tsv beside this script)
set -euo pipefail
ledger=${1:-$(dirname "$0")/ledger.tsv}
awk -F'\t' '
  /^#/ || NF < 8 { next }
  { execs[$3] += $5; secs[$3] += $4; runs[$3]++; found[$3] += $8; if ($6 > cov[$3]) cov[$3] = $6 }
  END {
    printf "%-12s %14s %6s %9s %8s %s\n", "target", "executions", "runs", "seconds", "max cov", "findings"
    for (t in execs) printf "%-12s %14d %6d %9d %8d %d\n", t, execs[t], runs[t], secs[t], cov[t], found[t]
  }' "$ledger"
