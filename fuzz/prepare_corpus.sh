#!/usr/bin/env bash
# Builds the seed corpus of every fuzz target in OUT/<target>/ from copies of
# the real sample files and the demo data set, plus a few small legend files
# written here (there is no legend sample).
# Usage: prepare_corpus.sh OUT REAL_SAMPLES_DIR DEMO_DIR
set -euo pipefail
out=$1 real=$2 demo=$3

rm -rf "$out"
for t in fast_reader mem_reader reader project colorlib legend convert ogr; do mkdir -p "$out/$t"; done

n=0
# Copies FILE into target folder DIR under a plain numbered name.
seed() { n=$((n + 1)); cp "$2" "$out/$1/seed-$n-$(basename "$2" | tr -c 'A-Za-z0-9.\n' '_')"; }

mapfile -t layers < <(find "$real" "$demo" -type f \( -iname '*.wt' -o -iname '*.wl' -o -iname '*.wp' \
  -o -iname '*.wn' -o -iname '*.wb' \) 2>/dev/null | sort)
mapfile -t projects < <(find "$real" "$demo" -type f -iname '*.mpj' 2>/dev/null | sort)
mapfile -t colours < <(find "$real" "$demo" -type f -iname 'pcolor.lib' 2>/dev/null | sort)

for f in "${layers[@]}"; do
  for t in fast_reader mem_reader reader; do seed "$t" "$f"; done
done
for f in "${projects[@]}"; do seed project "$f"; done
# The driver reads layers, tables and projects alike.
for f in "${layers[@]}" "${projects[@]}"; do seed ogr "$f"; done
for f in "${colours[@]}"; do seed colorlib "$f"; done

# Legend files: magic, 4 bytes, item count, items of 333 bytes (name, kind at
# 256, parameter offset at 257), then the parameter blocks.
perl -e '
  my ($dir) = @ARGV;
  sub item { my ($name, $kind, $off) = @_; pack("a256 c l< a72", $name, $kind, $off, "") }
  my @sets = (
    [[ "point", 1, 0 ], [ "line", 0, 94 ], [ "region", 2, 161 ], [ "other", 5, 0 ]],
    [[ "one", 0, 0 ]],
    [],
  );
  my $k = 0;
  for my $set (@sets) {
    my $body = join("", map { item(@$_) } @$set);
    my $params = pack("C94", map { $_ % 256 } 1 .. 94) . pack("C67", 1 .. 67) . pack("C63", 1 .. 63);
    open(my $fh, ">:raw", "$dir/legend-$k.lib") or die;
    print $fh "WMAP`D2>", pack("l< l<", 0, scalar(@$set)), $body, $params;
    close($fh);
    $k++;
  }' "$out/legend"

# Converter seeds: two option bytes, then the file, under a few option sets
# (style mode, projection mode, code page in byte 0; byte 1 see ConvertWalk.h).
for f in "${layers[@]}" "${projects[@]}"; do
  [ "$(stat -c %s "$f")" -le 65536 ] || continue
  for opts in '\x00\x00' '\x19\x03' '\x0a\x0c' '\x22\x05'; do
    n=$((n + 1))
    { printf "$opts"; cat "$f"; } > "$out/convert/seed-$n"
  done
done

for t in "$out"/*; do echo "$(basename "$t"): $(ls "$t" | wc -l) seeds"; done
