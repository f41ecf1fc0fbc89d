#!/usr/bin/env bash
# make run: reports what gridmoor reads in copies of the real MapGIS samples.
# Usage: scripts/run-demo.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:?usage: scripts/run-demo.sh BUILD_DIR}"
gridmoor="$build/cli/gridmoor"
samples="../shared/samples/real"
copies="out/samples"
report="out/info.txt"

[ -x "$gridmoor" ] || { echo "run-demo: $gridmoor is not built" >&2; exit 2; }
[ -d "$samples" ] || { echo "run-demo: no samples in $samples" >&2; exit 2; }

# The samples are read-only and results land beside their sources: work on copies.
rm -rf "$copies"
mkdir -p "$copies"
cp -R "$samples"/. "$copies"/
chmod -R u+w "$copies"

# File names include Chinese: collect them NUL-separated, in a fixed order.
mapfile -d '' files < <(find "$copies" -type f ! -name 'README*' -print0 | LC_ALL=C sort -z)
[ "${#files[@]}" -gt 0 ] || { echo "run-demo: no sample files found" >&2; exit 2; }

# 0: every file read; 1: some were refused (the samples include files that
# must be refused); anything else is a real failure.
status=0
"$gridmoor" info --records 3 "${files[@]}" > "$report" || status=$?
if [ "$status" -gt 1 ]; then
  echo "run-demo: gridmoor info failed with status $status" >&2
  exit "$status"
fi

# The colour library once more with its first colours resolved.
library="$copies/colour/Pcolor.lib"
if [ -f "$library" ]; then
  echo >> "$report"
  colours=0
  "$gridmoor" info --colors --records 8 "$library" >> "$report" || colours=$?
  if [ "$colours" -ne 0 ]; then
    echo "run-demo: gridmoor info --colors failed with status $colours" >&2
    exit "$colours"
  fi
fi

echo "gridmoor info --records 3 on ${#files[@]} sample files, then --colors on the colour library:"
grep -E '^(file:|  status:|  kind:|  (points|nodes|lines|polygons|items|colours):|files:)' "$report" || true
echo "full report: $report"
