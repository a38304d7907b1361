#!/bin/sh
# Times our bspatch.exe against Debian's bspatch on the freedoom1 -> freedoom2 patch, alternating
# the two so that both meet the same load, and prints the median wall time and peak memory of each.
# usage: bench_bspatch.sh BSPATCH_EXE CACHE_DIR [RUNS]
set -eu
ours=$1 cache=$2 runs=${3:-7}
debian=/usr/bin/bspatch
old=/usr/share/games/doom/freedoom1.wad new=/usr/share/games/doom/freedoom2.wad
for need in "$debian" /usr/bin/bsdiff /usr/bin/time "$old" "$new" "$ours"; do
  [ -e "$need" ] || { echo "bench_bspatch.sh: $need is missing" >&2; exit 1; }
done

# The tests' own fixture: made once with bsdiff (half a minute), kept while it is newer than both.
patch=$cache/freedoom.patch
sh "$(dirname "$0")/../../tests/tools/make_fixtures.sh" "$cache"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# measure NAME TOOL: one run; appends "wall_seconds cpu_seconds peak_kb" to $work/NAME.
measure() {
  rm -f "$work/out"
  start=$(date +%s%N)
  /usr/bin/time -o "$work/time" -f "%U %S %M" "$2" "$old" "$work/out" "$patch"
  end=$(date +%s%N)
  read -r user sys peak <"$work/time"
  echo "$(( (end - start) / 1000000 )) $user $sys $peak" >>"$work/$1"
}

measure ours "$ours"
cp "$work/out" "$work/ours.wad"
measure debian "$debian"
cmp -s "$work/out" "$work/ours.wad" || { echo "bench_bspatch.sh: outputs differ" >&2; exit 1; }
: >"$work/ours"
: >"$work/debian"
i=0
while [ "$i" -lt "$runs" ]; do
  measure ours "$ours"
  measure debian "$debian"
  i=$((i + 1))
done

# median FILE: the median of each column of FILE, as "wall_ms cpu_s peak_kb".
median() {
  for column in 1 2 3 4; do
    awk -v c="$column" '{ print $c }' "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
  done | tr '\n' ' '
}
read -r d_wall d_user d_sys d_peak <<EOF_D
$(median "$work/debian")
EOF_D
read -r o_wall o_user o_sys o_peak <<EOF_O
$(median "$work/ours")
EOF_O

echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1) ($(nproc) cores)"
echo "CPU flags: $(sed -n 's/^flags[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "freedoom1.wad -> freedoom2.wad: patch $(stat -c %s "$patch") bytes, result $(stat -c %s "$new") bytes"
echo "$runs runs each, alternating; medians (load $(cut -d' ' -f1 /proc/loadavg))"
awk -v dw="$d_wall" -v du="$d_user" -v ds="$d_sys" -v dp="$d_peak" \
    -v ow="$o_wall" -v ou="$o_user" -v os="$o_sys" -v op="$o_peak" 'BEGIN {
  printf "%-16s %9s %9s %9s %11s\n", "", "wall", "user", "sys", "peak RSS"
  printf "%-16s %6d ms %7.2f s %7.2f s %8.1f MB\n", "Debian bspatch", dw, du, ds, dp / 1024
  printf "%-16s %6d ms %7.2f s %7.2f s %8.1f MB\n", "bspatch.exe", ow, ou, os, op / 1024
  printf "time ratio (ours / Debian):   %.2f\n", ow / dw
  printf "cpu ratio (ours / Debian):    %.2f  (user + sys)\n", (ou + os) / (du + ds)
  printf "memory ratio (ours / Debian): %.2f\n", op / dp
}'
