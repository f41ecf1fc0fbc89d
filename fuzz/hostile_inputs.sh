#!/usr/bin/env bash
# Writes damaged copies of every layer and project file under the given
# folders (cut short at several points, a few bytes flipped) as inputs of the
# end-to-end fuzz target: two option bytes, then the damaged file. The same
# folders give the same inputs on every run.
# Usage: hostile_inputs.sh OUT DIR...
set -euo pipefail
out=$1
shift
rm -rf "$out"
mkdir -p "$out"
find "$@" -type f \( -iname '*.wt' -o -iname '*.wl' -o -iname '*.wp' -o -iname '*.wn' -o -iname '*.wb' \
  -o -iname '*.mpj' \) -print0 2>/dev/null | sort -z | perl -0 -e '
  my $out = shift;
  my $n = 0;
  while (my $path = <STDIN>) {
    chomp $path;
    open(my $fh, "<:raw", $path) or next;
    local $/;
    my $bytes = <$fh>;
    close $fh;
    my $size = length $bytes;
    next if $size == 0;
    $n++;
    srand($n);
    my @copies;
    for my $cut (0, 9, 11, 255, 256, int($size / 7), int($size / 3), int($size / 2), $size - 1) {
      push @copies, substr($bytes, 0, $cut) if $cut < $size;
    }
    for my $copy (0 .. 15) {
      my $b = $bytes;
      for my $k (0 .. $copy % 6) {
        my $span = ($k % 2 == 0 && $size > 4096) ? 4096 : $size;
        my $at = int(rand($span));
        substr($b, $at, 1) = chr(ord(substr($b, $at, 1)) ^ (1 << int(rand(8))));
      }
      push @copies, $b;
    }
    my $k = 0;
    for my $copy (@copies) {
      # Byte 1 below 16: every converter of the kind runs.
      my $options = pack("CC", ($n * 7 + $k) % 36, ($n + $k) % 16);
      open(my $oh, ">:raw", sprintf("%s/hostile-%03d-%02d", $out, $n, $k)) or die;
      print $oh $options, $copy;
      close $oh;
      $k++;
    }
  }
  print "$n files, damaged copies written\n";' "$out"
