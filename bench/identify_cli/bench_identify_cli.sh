#!/usr/bin/env bash
# `wadwright --identify` on both Freedoom files against coreutils' md5sum on the same two files,
# alternating the two so that both meet the same load and page cache; medians and their ratio.
# Usage: bench_identify_cli.sh WADWRIGHT [RUNS]
set -euo pipefail
wadwright=$1
runs=${2:-15}
files=(/usr/share/games/doom/freedoom1.wad /usr/share/games/doom/freedoom2.wad)

milliseconds() {  # of running "$@" once, its output discarded
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null || true  # the exit status says what was found, not whether it ran
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{v[NR] = $1} END {printf "%.1f", v[int((NR + 1) / 2)] / 1000}'; }

"$wadwright" --identify "${files[@]}" >/dev/null || true  # warms the page cache and the program
ours=() peer=()
for ((run = 0; run < runs; run++)); do
  ours+=("$(milliseconds "$wadwright" --identify "${files[@]}")")
  peer+=("$(milliseconds md5sum "${files[@]}")")
done
ours_ms=$(printf '%s\n' "${ours[@]}" | median)
peer_ms=$(printf '%s\n' "${peer[@]}" | median)
echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //') ($(nproc) cores)"
echo "freedoom1.wad + freedoom2.wad, $runs alternating runs each; medians"
echo "wadwright --identify ${ours_ms} ms   coreutils md5sum ${peer_ms} ms   ratio $(awk -v a="$ours_ms" -v b="$peer_ms" 'BEGIN {printf "%.2f", a / b}')"
