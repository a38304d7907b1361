#!/usr/bin/env bash
# `wadwright --make` against what it stands for done by hand with Debian's tools: md5sum of the
# source, bspatch, md5sum of the result, on the freedoom1 -> freedoom2 patch; alternating the two
# so that both meet the same load and page cache; medians and their ratio.
# A release needs a catalogue checksum, which no Freedoom file has: our md5sum.exe runs behind a
# small script that names freedoom1 Ultimate Doom and freedoom2 DOOM V1.1 (one sh start each).
# Usage: bench_make.sh BIN_FOLDER CACHE_DIR [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
bin=$1 cache=$2 runs=${3:-7}
old=/usr/share/games/doom/freedoom1.wad new=/usr/share/games/doom/freedoom2.wad
for need in /usr/bin/bspatch /usr/bin/bsdiff /usr/bin/md5sum "$old" "$new"; do
  [[ -e $need ]] || { echo "bench_make.sh: $need is missing" >&2; exit 1; }
done
# The tests' own fixture: made once with bsdiff (half a minute), kept while it is newer than both.
patch=$cache/freedoom.patch
sh "$(dirname "$0")/../../tests/tools/make_fixtures.sh" "$cache"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/tools" "$work/games/patches" "$work/peer"
cp "$bin/wadwright" "$bin/command.com" "$bin/bspatch.exe" "$work/tools/"
cp "$bin/md5sum.exe" "$work/tools/real-md5sum.exe"
cat >"$work/tools/md5sum.exe" <<'SCRIPT'
#!/bin/sh
line=$("$(dirname "$0")/real-md5sum.exe" "$1") || exit 1
case $line in
  c19685bd160b1bb842501063130fb0e7*) echo "c4fe9fd920207691a9f493668e0a2083  $1";;
  7b247eeb6a15ce9deeb652b82eb73f7b*) echo "981b03e6d1dc033301aa3095acc437ce  $1";;
  *) echo "$line";;
esac
SCRIPT
chmod +x "$work/tools/md5sum.exe"
cp "$old" "$work/games/doom.wad"
cp "$patch" "$work/games/patches/d1_ud_11"

ours() {
  rm -f "$work/games/d1_11.wad"
  "$work/tools/wadwright" --make d1_11.wad "$work/games/doom.wad"
}
peer() {
  rm -f "$work/peer/out"
  md5sum "$work/games/doom.wad" && bspatch "$work/games/doom.wad" "$work/peer/out" "$patch" && md5sum "$work/peer/out"
}

ours >/dev/null && peer >/dev/null  # warms the page cache and both programs
cmp -s "$work/games/d1_11.wad" "$new" || { echo "bench_make.sh: --make made the wrong file" >&2; exit 1; }
ours_runs=() peer_runs=()
for ((run = 0; run < runs; run++)); do
  ours_runs+=("$(microseconds ours)")
  peer_runs+=("$(microseconds peer)")
done
ours_ms=$(printf '%s\n' "${ours_runs[@]}" | median)
peer_ms=$(printf '%s\n' "${peer_runs[@]}" | median)
cpu_line
echo "freedoom1.wad -> freedoom2.wad: patch $(stat -c %s "$patch") bytes, result $(stat -c %s "$new") bytes"
echo "$runs alternating runs each; medians (load $(cut -d' ' -f1 /proc/loadavg))"
echo "wadwright --make ${ours_ms} ms   md5sum + Debian bspatch + md5sum ${peer_ms} ms   ratio $(ratio "$ours_ms" "$peer_ms") (goal <= 0.6)"
