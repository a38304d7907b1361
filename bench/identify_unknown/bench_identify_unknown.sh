#!/usr/bin/env bash
# `wadwright --identify` on a file in no row, which it reads twice (MD5, then SHA-1), against
# coreutils' md5sum and then sha1sum on the same file, alternating the two so that both meet the
# same load and page cache; medians and their ratio. The file is freedoom2.wad with one byte more.
# Usage: bench_identify_unknown.sh WADWRIGHT [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
wadwright=$1
runs=${2:-15}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
file=$scratch/unknown.wad
{ cat /usr/share/games/doom/freedoom2.wad; printf x; } > "$file"

"$wadwright" --identify "$file" >/dev/null || true  # warms the page cache and the program
ours=() peer=()
for ((run = 0; run < runs; run++)); do
  ours+=("$(microseconds "$wadwright" --identify "$file")")
  # The peer's two runs timed apart and added: no shell between them counts against it.
  peer+=($(($(microseconds md5sum "$file") + $(microseconds sha1sum "$file"))))
done
ours_ms=$(printf '%s\n' "${ours[@]}" | median)
peer_ms=$(printf '%s\n' "${peer[@]}" | median)
cpu_line
echo "freedoom2.wad and one byte (in no row), $runs alternating runs each; medians"
echo "wadwright --identify ${ours_ms} ms   coreutils md5sum + sha1sum ${peer_ms} ms   ratio $(ratio "$ours_ms" "$peer_ms")"
