#!/usr/bin/env bash
# `wadwright --demo` on a 10 MB demo against `cat` reading the same bytes, alternating the two so
# that both meet the same load and page cache; medians and their ratio. The IWAD it is given is
# not there, so that no checksum is made: what is measured is reading the demo. A demo of one tic
# is timed too: what the 10 MB add to it is the reading alone, without the start of either program.
# Usage: bench_demo.sh WADWRIGHT [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
wadwright=$1
runs=${2:-21}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/demos"
demo=$work/demos/long.lmp
# V1.9, skill 4, E1M1, one player; then 10 MB of tics whose moves are never the end marker; then it.
short=$work/demos/short.lmp
python3 - "$demo" "$short" <<'SCRIPT'
import random, sys
random.seed(1)
tics = bytes(random.randrange(0, 0x7f) for _ in range(1 << 16)) * 160
with open(sys.argv[1], "wb") as demo:
    demo.write(bytes([109, 3, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0]) + tics + b"\x80")
with open(sys.argv[2], "wb") as demo:
    demo.write(bytes([109, 3, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0]) + b"\x80")
SCRIPT


first=$("$wadwright" --demo "$demo" "$work/none.wad" 2>/dev/null | head -1 || true)  # warms the page cache and the program
[[ $first == *$'\tdemo\tV1.9\t'* ]] || { echo "bench_demo.sh: --demo did not read the demo: $first" >&2; exit 1; }
ours=() peer=() ours_short=() peer_short=()
for ((run = 0; run < runs; run++)); do
  ours+=("$(microseconds "$wadwright" --demo "$demo" "$work/none.wad")")
  peer+=("$(microseconds cat "$demo")")
  ours_short+=("$(microseconds "$wadwright" --demo "$short" "$work/none.wad")")
  peer_short+=("$(microseconds cat "$short")")
done
ours_ms=$(printf '%s\n' "${ours[@]}" | median)
peer_ms=$(printf '%s\n' "${peer[@]}" | median)
ours_short_ms=$(printf '%s\n' "${ours_short[@]}" | median)
peer_short_ms=$(printf '%s\n' "${peer_short[@]}" | median)
cpu_line
echo "a demo of $(stat -c %s "$demo") bytes, $runs alternating runs each; medians (load $(cut -d' ' -f1 /proc/loadavg))"
echo "wadwright --demo ${ours_ms} ms   cat ${peer_ms} ms   ratio $(ratio "$ours_ms" "$peer_ms") (goal <= 1.5)"
echo "one tic: wadwright --demo ${ours_short_ms} ms   cat ${peer_short_ms} ms; the 10 MB alone: $(awk -v a="$ours_ms" -v b="$ours_short_ms" \
  'BEGIN {printf "%.1f", a - b}') ms against $(awk -v a="$peer_ms" -v b="$peer_short_ms" 'BEGIN {printf "%.1f", a - b}') ms"
