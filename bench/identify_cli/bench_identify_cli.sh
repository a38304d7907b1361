#!/usr/bin/env bash
# `wadwright --identify` on both Freedoom files against coreutils' md5sum on the same two files,
# alternating the two so that both meet the same load and page cache; medians and their ratio.
# Usage: bench_identify_cli.sh WADWRIGHT [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
wadwright=$1
runs=${2:-15}
files=(/usr/share/games/doom/freedoom1.wad /usr/share/games/doom/freedoom2.wad)


"$wadwright" --identify "${files[@]}" >/dev/null || true  # warms the page cache and the program
ours=() peer=()
for ((run = 0; run < runs; run++)); do
  ours+=("$(microseconds "$wadwright" --identify "${files[@]}")")
  peer+=("$(microseconds md5sum "${files[@]}")")
done
ours_ms=$(printf '%s\n' "${ours[@]}" | median)
peer_ms=$(printf '%s\n' "${peer[@]}" | median)
cpu_line
echo "freedoom1.wad + freedoom2.wad, $runs alternating runs each; medians"
echo "wadwright --identify ${ours_ms} ms   coreutils md5sum ${peer_ms} ms   ratio $(ratio "$ours_ms" "$peer_ms")"
