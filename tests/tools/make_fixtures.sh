#!/bin/sh
# Makes $1/freedoom.patch, freedoom1.wad -> freedoom2.wad, with Debian's bsdiff. That takes half a
# minute, so the patch is kept while it is newer than both files.
set -eu
out=$1 freedoom=${2:-/usr/share/games/doom}
old=$freedoom/freedoom1.wad new=$freedoom/freedoom2.wad patch=$1/freedoom.patch
if [ ! -f "$old" ] || [ ! -f "$new" ]; then
  echo "make_fixtures.sh: no freedoom in $freedoom; its tests will be skipped" >&2
  exit 0
fi
[ -f "$patch" ] && [ "$patch" -nt "$old" ] && [ "$patch" -nt "$new" ] && exit 0
mkdir -p "$out"
bsdiff "$old" "$new" "$patch.part" && mv "$patch.part" "$patch"
