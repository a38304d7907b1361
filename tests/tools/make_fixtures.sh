#!/bin/sh
# Makes in $1, from freedoom1.wad to freedoom2.wad, freedoom.patch with Debian's bsdiff and
# freedoom-*.vcdiff with Debian's xdelta3. That takes a minute and a half, so each is kept while it
# is newer than both files.
set -eu
old=/usr/share/games/doom/freedoom1.wad new=/usr/share/games/doom/freedoom2.wad
[ -f "$old" ] && [ -f "$new" ] || { echo "make_fixtures.sh: no freedoom; its tests will be skipped" >&2; exit 0; }
mkdir -p "$1"
# fixture FOLDER NAME COMMAND...: runs COMMAND OLD NEW into a scratch name unless NAME is up to
# date. Every build folder shares FOLDER, so two runs may make the same patch at once: each writes
# its own scratch file, and the rename puts a whole one in place.
fixture() {
  patch=$1/$2
  shift 2
  [ -f "$patch" ] && [ "$patch" -nt "$old" ] && [ "$patch" -nt "$new" ] && return 0
  part=$(mktemp "$patch.part.XXXXXX")
  "$@" "$old" "$new" "$part" && mv "$part" "$patch" || { rm -f "$part"; return 1; }
}
fixture "$1" freedoom.patch bsdiff
fixture "$1" freedoom-lzma.vcdiff xdelta3 -e -f -S lzma -s
fixture "$1" freedoom-none.vcdiff xdelta3 -e -f -S none -s
# Many windows, each with a small source segment, through one LZMA stream.
fixture "$1" freedoom-windows.vcdiff xdelta3 -e -f -S lzma -W 65536 -B 1048576 -s
