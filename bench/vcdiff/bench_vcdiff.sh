#!/usr/bin/env bash
# Our bspatch.exe against Debian's xdelta3 -d, on the freedoom1 -> freedoom2 patches that the tests
# use (LZMA, and uncompressed), and on 1.4 million empty windows (10 MB of patch that makes nothing):
# alternating the two so that both meet the same load and page cache; median wall time and peak
# memory of each, and their ratios.
# Usage: bench_vcdiff.sh BSPATCH_EXE CACHE_DIR [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
ours=$1 cache=$2 runs=${3:-7}
old=/usr/share/games/doom/freedoom1.wad new=/usr/share/games/doom/freedoom2.wad
for need in /usr/bin/xdelta3 /usr/bin/time "$old" "$new" "$ours"; do
  [[ -e $need ]] || { echo "bench_vcdiff.sh: $need is missing" >&2; exit 1; }
done
# The tests' own fixtures: made once (a minute and a half), kept while newer than both files.
sh "$(dirname "$0")/../../tests/tools/make_fixtures.sh" "$cache"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
perl -e 'print "\xD6\xC3\xC4\0\0", "\0\x05\0\0\0\0\0" x 1400000' >"$work/empty-windows.vcdiff"

# run NAME PATCH: one run of NAME (ours or xdelta3); appends "wall_ms peak_kb" to $work/NAME.
run() {
  rm -f "$work/out"
  local start end peak
  start=$(date +%s%N)
  if [[ $1 == ours ]]; then
    /usr/bin/time -o "$work/time" -f %M "$ours" "$old" "$work/out" "$2"
  else
    /usr/bin/time -o "$work/time" -f %M xdelta3 -d -s "$old" "$2" "$work/out"
  fi
  end=$(date +%s%N)
  read -r peak <"$work/time"
  echo "$(((end - start) / 1000000)) $peak" >>"$work/$1"
}
column_median() { awk -v c="$1" '{print $c}' "$2" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

cpu_line
echo "freedoom1.wad -> freedoom2.wad ($(stat -c %s "$new") bytes) and -> nothing, $runs runs each, alternating; medians (load $(cut -d' ' -f1 /proc/loadavg))"
printf '%-32s %10s %10s %11s %11s %7s %7s\n' patch "xdelta3" "ours" "xdelta3" "ours" "time" "memory"
for patch in "$cache/freedoom-lzma.vcdiff" "$cache/freedoom-none.vcdiff" "$work/empty-windows.vcdiff"; do
  run ours "$patch"
  cp "$work/out" "$work/ours.wad"
  run xdelta3 "$patch"
  cmp -s "$work/out" "$work/ours.wad" || { echo "bench_vcdiff.sh: outputs differ" >&2; exit 1; }
  : >"$work/ours"
  : >"$work/xdelta3"
  for ((i = 0; i < runs; i++)); do
    run ours "$patch"
    run xdelta3 "$patch"
  done
  x_ms=$(column_median 1 "$work/xdelta3") o_ms=$(column_median 1 "$work/ours")
  x_kb=$(column_median 2 "$work/xdelta3") o_kb=$(column_median 2 "$work/ours")
  printf '%-32s %7d ms %7d ms %8.1f MB %8.1f MB %6sx %6sx\n' "$(basename "$patch") ($(($(stat -c %s "$patch") / 1024)) KiB)" \
    "$x_ms" "$o_ms" "$(ratio "$x_kb" 1024)" "$(ratio "$o_kb" 1024)" "$(ratio "$o_ms" "$x_ms")" "$(ratio "$o_kb" "$x_kb")"
done
echo "ratios are ours / xdelta3 -d: under 1.00 is better"
