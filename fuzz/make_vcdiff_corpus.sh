#!/bin/sh
# Makes the seed patches of vcdiff_fuzzer with Debian's xdelta3: each turns the old file the fuzz
# target patches (below; vcdiff_fuzzer.cpp makes the same bytes) into a new file made from it.
# Usage: fuzz/make_vcdiff_corpus.sh [FOLDER]   (default fuzz/corpus/vcdiff_fuzzer)
set -eu
out=${1:-$(dirname "$0")/corpus/vcdiff_fuzzer}
mkdir -p "$out"
out=$(realpath "$out")
command -v xdelta3 >/dev/null || { echo "make_vcdiff_corpus.sh: xdelta3 not found (apt-get install xdelta3)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

i=0
while [ $i -lt 1500 ]; do printf 'line %05d of the old file\n' $i; i=$((i + 1)); done >old

# seed NAME OPTION...: patches old into new.
seed() {
  name=$1
  shift
  xdelta3 -e -f "$@" -s old new "$out/$name"
}

sed -e 's/^line 0012/LINE 0012/' -e '/5 of/s/old/new/' old >new
seed edits_lzma -S lzma
seed edits_none -S none
seed edits_no_header -A -S lzma
{ head -n 700 old; seq -f 'inserted line %g' 1 300; tail -n +701 old; } >new; seed insertion -S lzma
{ tail -n 750 old; head -n 750 old; } >new; seed reordered_windows -S lzma -W 16384
{ head -c 20000 old; seq 1 4000 | tr '\n' ' '; printf 'abc%.0s' $(seq 1 500); } >new; seed repeats -S none
head -c 1000 old >new; seed truncated -S lzma
: >new; seed empty -S none
ls -l "$out"
