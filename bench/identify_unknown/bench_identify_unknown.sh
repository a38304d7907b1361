#!/usr/bin/env bash
# `wadwright --identify` on a file in no row, which it reads twice (MD5, then SHA-1) and then for
# its structure, against coreutils' md5sum and then sha1sum on the same file, alternating the two
# so that both meet the same load and page cache; medians and their ratio. Three files, each
# made from freedoom2.wad: with one byte more (the ratio that counts), cut to half its size, and
# with a header that claims a billion lumps. For each, the peak memory of one run of ours: the
# structure costs no more than the directory it really has.
# Usage: bench_identify_unknown.sh WADWRIGHT [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
wadwright=$1
runs=${2:-15}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source_wad=/usr/share/games/doom/freedoom2.wad
{ cat "$source_wad"; printf x; } > "$scratch/unknown.wad"
head -c $(($(stat -c %s "$source_wad") / 2)) "$source_wad" > "$scratch/half.wad"
cp "$source_wad" "$scratch/billion.wad"
printf '\x00\xca\x9a\x3b' | dd of="$scratch/billion.wad" bs=1 seek=4 conv=notrunc status=none  # 10^9 lumps

# Its exit status says what was found (1: unknown), not whether it ran.
peak_kb() { { /usr/bin/time -f %M "$@" 2>&1 >/dev/null || true; } | tail -1; }

cpu_line
for case in "unknown.wad:freedoom2.wad and one byte (in no row)" "half.wad:freedoom2.wad cut to half its size" \
            "billion.wad:freedoom2.wad claiming a billion lumps"; do
  file=$scratch/${case%%:*}
  "$wadwright" --identify "$file" >/dev/null || true  # warms the page cache and the program
  ours=() peer=()
  for ((run = 0; run < runs; run++)); do
    ours+=("$(microseconds "$wadwright" --identify "$file")")
    # The peer's two runs timed apart and added: no shell between them counts against it.
    peer+=($(($(microseconds md5sum "$file") + $(microseconds sha1sum "$file"))))
  done
  ours_ms=$(printf '%s\n' "${ours[@]}" | median)
  peer_ms=$(printf '%s\n' "${peer[@]}" | median)
  memory=""
  [[ -x /usr/bin/time ]] && memory="   peak memory $(peak_kb "$wadwright" --identify "$file") KB"
  echo "${case#*:}, $runs alternating runs each; medians"
  echo "wadwright --identify ${ours_ms} ms   coreutils md5sum + sha1sum ${peer_ms} ms   ratio $(ratio "$ours_ms" "$peer_ms")$memory"
done
