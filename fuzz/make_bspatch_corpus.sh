#!/bin/sh
# Makes the seed patches of bspatch_fuzzer with Debian's bsdiff: each turns the old file the fuzz
# target patches (below; bspatch_fuzzer.cpp makes the same bytes) into a new file made from it.
# Usage: fuzz/make_bspatch_corpus.sh [FOLDER]   (default fuzz/corpus/bspatch_fuzzer)
set -eu
out=${1:-$(dirname "$0")/corpus/bspatch_fuzzer}
mkdir -p "$out"
out=$(realpath "$out")
command -v bsdiff >/dev/null || { echo "make_bspatch_corpus.sh: bsdiff not found (apt-get install bsdiff)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

i=0
while [ $i -lt 1500 ]; do printf 'line %05d of the old file\n' $i; i=$((i + 1)); done >old

# seed NAME: patches old into new.
seed() { bsdiff old new "$out/$1"; }

cp old new; seed same
sed -e 's/^line 0012/LINE 0012/' -e '/5 of/s/old/new/' old >new; seed edits
{ head -n 700 old; seq -f 'inserted line %g' 1 300; tail -n +701 old; } >new; seed insertion
sed -e '400,900d' old >new; seed deletion
{ tail -n 750 old; head -n 750 old; } >new; seed reordered
{ head -c 20000 old; seq 1 2000 | tr '\n' ' '; tail -c 10000 old; } >new; seed extra_block
cat old old >new; seed doubled
head -c 1000 old >new; seed truncated
printf x >new; seed one_byte  # bsdiff cannot make an empty file
printf 'BSDIFF40' >new; seed unrelated
ls -l "$out"
