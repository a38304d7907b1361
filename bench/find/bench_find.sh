#!/usr/bin/env bash
# `wadwright --find` over a fake home of 2,000 files laid out as the stores lay theirs out (ten
# IWADs, copies of Freedoom, among add-ons and other game files), against cat and coreutils'
# md5sum reading the same IWADs whole; alternating, so that all meet the same load and page cache;
# medians and their ratios.
# Usage: bench_find.sh WADWRIGHT [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../timing.sh"
wadwright=$1
runs=${2:-7}
freedoom=(/usr/share/games/doom/freedoom1.wad /usr/share/games/doom/freedoom2.wad)
for need in "${freedoom[@]}"; do
  [[ -e $need ]] || { echo "bench_find.sh: $need is missing" >&2; exit 1; }
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT INT TERM
steam=$home/.local/share/Steam/steamapps/common
folders=("$steam/Ultimate Doom/base" "$steam/Ultimate Doom/rerelease" "$steam/Doom 2/base" "$steam/Final Doom/base"
         "$steam/DOOM 3 BFG Edition/base/wads" "$steam/Heretic + Hexen/dos/base/heretic" "$steam/Hexen/base"
         "$home/Games/Heroic/DOOM II/dosdoom/base/doom2" "$home/Games/Heroic/Final Doom/TNT" "$home/GOG Games/DOOM/base/wads")
mkdir -p "${folders[@]}"
head -c 16384 /dev/urandom >"$home/filler"
for ((i = 0; i < 2000; i++)); do
  folder=${folders[i % ${#folders[@]}]}
  if ((i < 10)); then
    cp "${freedoom[i % 2]}" "$folder/iwad$i.wad"
  else
    case $((i % 4)) in  # add-ons begin as a PWAD; the rest is what games keep beside their WADs
      0) { printf 'PWAD'; cat "$home/filler"; } >"$folder/addon$i.wad" ;;
      1) cp "$home/filler" "$folder/music$i.ogg" ;;
      2) cp "$home/filler" "$folder/texture$i.png" ;;
      3) cp "$home/filler" "$folder/readme$i.txt" ;;
    esac
  fi
done
rm "$home/filler"
environment=(env "HOME=$home" XDG_DATA_HOME= XDG_CONFIG_HOME= "XDG_DATA_DIRS=$home/none" DOOMWADDIR= DOOMWADPATH=)


# What it finds (the system's Freedoom too) is what the peers read; this run warms the page cache.
mapfile -t found < <("${environment[@]}" "$wadwright" --find | cut -f1)
((${#found[@]} == 12)) || { echo "bench_find.sh: found ${#found[@]} IWADs, not 12" >&2; exit 1; }
bytes=$(cat "${found[@]}" | wc -c)
ours=() cats=() sums=()
for ((run = 0; run < runs; run++)); do
  ours+=("$(microseconds "${environment[@]}" "$wadwright" --find)")
  cats+=("$(microseconds cat "${found[@]}")")
  sums+=("$(microseconds md5sum "${found[@]}")")
done
ours_ms=$(printf '%s\n' "${ours[@]}" | median)
cat_ms=$(printf '%s\n' "${cats[@]}" | median)
sum_ms=$(printf '%s\n' "${sums[@]}" | median)
cpu_line
echo "a fake home of 2000 files; ${#found[@]} IWADs found, $((bytes / 1048576)) MiB; $runs alternating runs each; medians"
echo "wadwright --find ${ours_ms} ms   cat ${cat_ms} ms (ratio $(ratio "$ours_ms" "$cat_ms"))   coreutils md5sum ${sum_ms} ms (ratio $(ratio "$ours_ms" "$sum_ms"))"

# A library list near a store list's size bound (1 MiB, some 60,000 libraries, each looked in for
# every store's game folder): the search's cost, the system's Freedoom its only IWADs. The test of it keeps
# only a bound a user would call hung.
huge=$home/huge/.local/share/Steam/steamapps
mkdir -p "$huge"
awk 'BEGIN {print "\"libraryfolders\"\n{"; for (n = 0; size < 1048576 - 64; n++) {line = "\"" n "\" \"/l" n "\""; size += length(line) + 1; print line}; print "}"}' \
  >"$huge/libraryfolders.vdf"
searches=()
for ((run = 0; run < runs; run++)); do
  searches+=("$(microseconds env "HOME=$home/huge" XDG_DATA_HOME= XDG_CONFIG_HOME= "XDG_DATA_DIRS=$home/none" DOOMWADDIR= DOOMWADPATH= \
                 "$wadwright" --find)")
done
echo "a library list of $(grep -c '"/l' "$huge/libraryfolders.vdf") libraries: wadwright --find $(printf '%s\n' "${searches[@]}" | median) ms"
