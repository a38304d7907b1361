#!/bin/sh
# Makes the bspatch test fixtures in $1: for each case NAME, NAME.old and NAME.new, NAME.patch
# made by Debian's bsdiff, and NAME.expected, what Debian's bspatch makes of them. A case already
# complete is kept: the freedoom patch alone takes half a minute to make.
set -eu
out=$1
freedoom=${2:-/usr/share/games/doom}
for tool in bsdiff bspatch; do
  command -v "$tool" >/dev/null || { echo "make_fixtures.sh: $tool not found (apt-get install bsdiff)" >&2; exit 1; }
done
mkdir -p "$out"
cd "$out"

random() { head -c "$1" /dev/urandom; }
# piece FILE START LENGTH: LENGTH bytes of FILE from byte START.
piece() { tail -c +"$(($2 + 1))" "$1" | head -c "$3"; }

# finish NAME [OLD NEW]: makes the patch and the expected result, each under a temporary name
# first so an interrupted run leaves no half-made fixture behind.
finish() {
  old=${2:-$1.old} new=${3:-$1.new}
  bsdiff "$old" "$new" "$1.patch.part"
  bspatch "$old" "$1.expected.part" "$1.patch.part"
  mv "$1.patch.part" "$1.patch"
  mv "$1.expected.part" "$1.expected"
}

# wanted NAME: true unless the case is complete.
wanted() { [ ! -f "$1.expected" ]; }

if wanted base; then random 300000 >base.old; cp base.old base.new; finish base; fi
if wanted edits; then
  cp base.old edits.old
  cp base.old edits.new
  for at in 1000 50000 123456 299990; do
    random 7 | dd of=edits.new bs=1 seek=$at conv=notrunc status=none
  done
  finish edits
fi
if wanted insertion; then
  cp base.old insertion.old
  { piece base.old 0 100000; random 20000; piece base.old 100000 200000; } >insertion.new
  finish insertion
fi
if wanted deletion; then
  cp base.old deletion.old
  { piece base.old 0 100000; piece base.old 150000 150000; } >deletion.new
  finish deletion
fi
if wanted reordered; then
  cp base.old reordered.old
  { piece base.old 200000 100000; piece base.old 0 200000; } >reordered.new
  finish reordered
fi
if wanted smaller; then
  cp base.old smaller.old
  { piece base.old 5000 40000; random 300; piece base.old 90000 10000; } >smaller.new
  finish smaller
fi
if wanted text; then
  seq 1 60000 >text.old
  seq 1 3 90000 | sed 's/7/seven/' >text.new
  finish text
fi
if wanted unrelated; then random 50000 >unrelated.old; random 70000 >unrelated.new; finish unrelated; fi
# Debian's bsdiff cannot read empty files, so patches to and from empty files are built by the
# tests themselves; one-byte files are the nearest it gets.
if wanted tiny_old; then printf x >tiny_old.old; piece base.old 0 5000 >tiny_old.new; finish tiny_old; fi
if wanted tiny_new; then cp base.old tiny_new.old; printf x >tiny_new.new; finish tiny_new; fi

fd1=$freedoom/freedoom1.wad fd2=$freedoom/freedoom2.wad
if [ -f "$fd1" ] && [ -f "$fd2" ]; then
  if wanted freedoom || [ "$fd1" -nt freedoom.patch ] || [ "$fd2" -nt freedoom.patch ]; then
    finish freedoom "$fd1" "$fd2"
  fi
else
  echo "make_fixtures.sh: no freedoom in $freedoom; its tests will be skipped" >&2
fi
