#!/bin/sh
# Makes the bspatch test fixtures in $1: for each case NAME, NAME.old and NAME.new, NAME.patch
# made by Debian's bsdiff, and NAME.expected, what Debian's bspatch makes of them. A case already
# complete is kept: the freedoom patch alone takes half a minute to make.
set -eu
out=$1 freedoom=${2:-/usr/share/games/doom}
command -v bsdiff >/dev/null && command -v bspatch >/dev/null ||
  { echo "make_fixtures.sh: bsdiff or bspatch not found (apt-get install bsdiff)" >&2; exit 1; }
mkdir -p "$out"
cd "$out"

random() { head -c "$1" /dev/urandom; }
# piece START LENGTH: LENGTH bytes of base.old from byte START.
piece() { tail -c +"$(($1 + 1))" base.old | head -c "$2"; }
# finish NAME: makes the patch and the expected result under temporary names first, so an
# interrupted run leaves no half-made case behind.
finish() {
  bsdiff "$1.old" "$1.new" "$1.patch.part"
  bspatch "$1.old" "$1.expected.part" "$1.patch.part"
  mv "$1.patch.part" "$1.patch" && mv "$1.expected.part" "$1.expected"
}
# generated NAME COMMAND...: NAME.new is what COMMAND writes, NAME.old a copy of base.old.
generated() {
  name=$1; shift
  [ -f "$name.expected" ] && return
  cp base.old "$name.old" && "$@" >"$name.new" && finish "$name"
}

[ -f base.old ] || { random 300000 >base.old.part && mv base.old.part base.old; }
# The malformed-patch tests count on edits.new being 300000 bytes.
edits() { piece 0 1000; random 7; piece 1007 122449; random 7; piece 123463 176537; }
insertion() { piece 0 100000; random 20000; piece 100000 200000; }
deletion() { piece 0 100000; piece 150000 150000; }
reordered() { piece 200000 100000; piece 0 200000; }
smaller() { piece 5000 40000; random 300; piece 90000 10000; }
for name in edits insertion deletion reordered smaller; do generated $name $name; done
generated unrelated random 70000
if [ ! -f text.expected ]; then
  seq 1 60000 >text.old && seq 1 3 90000 | sed 's/7/seven/' >text.new && finish text
fi

fd1=$freedoom/freedoom1.wad fd2=$freedoom/freedoom2.wad
if [ -f "$fd1" ] && [ -f "$fd2" ]; then
  ln -sf "$fd1" freedoom.old && ln -sf "$fd2" freedoom.new
  if [ ! -f freedoom.expected ] || [ "$fd1" -nt freedoom.patch ] || [ "$fd2" -nt freedoom.patch ]; then
    finish freedoom
  fi
else
  echo "make_fixtures.sh: no freedoom in $freedoom; its tests will be skipped" >&2
fi
