#!/usr/bin/env bash
# `wadwright --make` in two VCDIFF steps, the making players do most (a store's re-release to the
# hub release, then the hub to a historic one), against the same done by hand with coreutils and
# Debian's xdelta3: md5sum, xdelta3 -d, md5sum, xdelta3 -d, md5sum. The two alternate, so that both
# meet the same load and page cache; medians of wall time, of CPU time (user and system, of every
# process started) and of peak memory (of the largest process: for the hand's chain its largest
# step; ours keeps wadwright itself, some 11 MB, beside each tool it runs), and their ratios. On a
# busy machine the CPU time says more than the wall time.
# Three files stand for the releases: freedoom2.wad for the 2024 re-release, freedoom1.wad for
# Ultimate Doom, and for DOOM V1.9 a file made from freedoom1.wad (its first 12 MiB, 64 KiB of
# freedoom2.wad, then 12 MiB more of freedoom1.wad: a historic release is mostly its hub's bytes).
# The LZMA patches between them are made once with xdelta3 -e -S lzma and kept while newer than the
# files. Our md5sum.exe runs behind a small script that gives each the catalogue's MD5 (one sh
# start each).
# Usage: bench_make_steps.sh BIN_FOLDER CACHE_DIR [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
bin=$1 cache=$2 runs=${3:-7}
rerelease=/usr/share/games/doom/freedoom2.wad hub=/usr/share/games/doom/freedoom1.wad
for need in /usr/bin/xdelta3 /usr/bin/md5sum /usr/bin/time "$rerelease" "$hub"; do
  [[ -e $need ]] || { echo "bench_make_steps.sh: $need is missing" >&2; exit 1; }
done
mkdir -p "$cache"
historic=$cache/freedoom1-derived.wad to_hub=$cache/freedoom2-to-1-lzma.vcdiff to_historic=$cache/freedoom1-to-derived-lzma.vcdiff
# cached FILE COMMAND...: runs COMMAND with a fresh name beside FILE as its last word, then gives it
# FILE's name, unless FILE is newer than both wads. Two runs at once each write their own.
cached() {
  local file=$1 part
  shift
  [[ -f $file && $file -nt $rerelease && $file -nt $hub ]] && return 0
  part=$(mktemp "$file.XXXXXX")
  "$@" "$part" && mv "$part" "$file" || { rm -f "$part"; return 1; }
}
# (The second 12 MiB taken by head first: a head that stops early would end tail by SIGPIPE, a
# failure under pipefail.)
derive() { { head -c 12M "$hub"; head -c 64K "$rerelease"; head -c 24M "$hub" | tail -c +$((12 * 1048576 + 1)); } >"$1"; }
cached "$historic" derive
cached "$to_hub" xdelta3 -e -f -S lzma -s "$rerelease" "$hub"
cached "$to_historic" xdelta3 -e -f -S lzma -s "$hub" "$historic"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/tools" "$work/games/patches/doom.wad" "$work/peer"
cp "$bin/wadwright" "$bin/command.com" "$bin/bspatch.exe" "$bin/sha1sum.exe" "$work/tools/"
cp "$bin/md5sum.exe" "$work/tools/real-md5sum.exe"
# freedoom2, freedoom1 and the derived file pass for the 2024 re-release, Ultimate Doom and V1.9.
cat >"$work/tools/md5sum.exe" <<SCRIPT
#!/bin/sh
line=\$("\${0%/*}/real-md5sum.exe" "\$1") || exit 1
case \$line in
  $(md5sum <"$rerelease" | cut -c1-32)*) echo "4461d4511386518e784c647e3128e7bc  \$1";;
  $(md5sum <"$hub" | cut -c1-32)*) echo "c4fe9fd920207691a9f493668e0a2083  \$1";;
  $(md5sum <"$historic" | cut -c1-32)*) echo "1cd63c5ddff1bf8ce844237f580e9cf3  \$1";;
  *) echo "\$line";;
esac
SCRIPT
chmod +x "$work/tools/md5sum.exe"
cp "$rerelease" "$work/games/kex.wad"
cp "$to_hub" "$work/games/patches/doom.wad/kex-to-ud.vcdiff"
cp "$to_historic" "$work/games/patches/doom.wad/ud-to-1.9.vcdiff"

# run NAME: one run of NAME (ours or hand) from a clean start; appends "wall_ms peak_kb cpu_ms" to
# $work/NAME.
run() {
  rm -f "$work/games/d1_19.wad" "$work/peer/"*
  local start end peak user sys
  start=$(date +%s%N)
  if [[ $1 == ours ]]; then
    (cd "$work/games" && /usr/bin/time -o "$work/time" -f "%M %U %S" "$work/tools/wadwright" --make d1_19.wad kex.wad) >/dev/null
  else
    /usr/bin/time -o "$work/time" -f "%M %U %S" sh -c 'md5sum "$1" && xdelta3 -d -s "$1" "$2" "$4" && md5sum "$4" &&
      xdelta3 -d -s "$4" "$3" "$5" && md5sum "$5"' sh "$work/games/kex.wad" "$to_hub" "$to_historic" "$work/peer/ud.wad" \
      "$work/peer/d1_19.wad" >/dev/null
  fi
  end=$(date +%s%N)
  read -r peak user sys <"$work/time"
  echo "$(((end - start) / 1000000)) $peak $(awk -v u="$user" -v s="$sys" 'BEGIN {print (u + s) * 1000}')" >>"$work/$1"
}
column_median() { awk -v c="$1" '{print $c}' "$2" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

load=$(cut -d' ' -f1 /proc/loadavg)
run ours  # warms the page cache and both programs
cmp -s "$work/games/d1_19.wad" "$historic" || { echo "bench_make_steps.sh: --make made the wrong file" >&2; exit 1; }
run hand
cmp -s "$work/peer/d1_19.wad" "$historic" || { echo "bench_make_steps.sh: xdelta3 made the wrong file" >&2; exit 1; }
: >"$work/ours"
: >"$work/hand"
for ((i = 0; i < runs; i++)); do
  run ours
  run hand
done
o_ms=$(column_median 1 "$work/ours") h_ms=$(column_median 1 "$work/hand")
o_kb=$(column_median 2 "$work/ours") h_kb=$(column_median 2 "$work/hand")
o_cpu=$(column_median 3 "$work/ours") h_cpu=$(column_median 3 "$work/hand")
cpu_line
echo "freedoom2.wad -> freedoom1.wad -> derived ($(stat -c %s "$historic") bytes), LZMA patches of" \
  "$(($(stat -c %s "$to_hub") / 1024)) and $(($(stat -c %s "$to_historic") / 1024)) KiB"
echo "$runs alternating runs each; medians (load $load at the start, $(cut -d' ' -f1 /proc/loadavg) at the end)"
printf '%-48s %10s %10s %10s\n' "" wall CPU memory
printf '%-48s %7d ms %7d ms %7.1f MB\n' "md5sum, xdelta3 -d, md5sum, xdelta3 -d, md5sum" "$h_ms" "$h_cpu" "$(ratio "$h_kb" 1024)"
printf '%-48s %7d ms %7d ms %7.1f MB\n' "wadwright --make, in two steps" "$o_ms" "$o_cpu" "$(ratio "$o_kb" 1024)"
printf '%-48s %9sx %9sx %9sx\n' "ours / by hand (goal: wall <= 0.75, memory <= 1)" "$(ratio "$o_ms" "$h_ms")" \
  "$(ratio "$o_cpu" "$h_cpu")" "$(ratio "$o_kb" "$h_kb")"
