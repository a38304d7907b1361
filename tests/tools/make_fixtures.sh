#!/bin/sh
# Makes $1/freedoom.patch, freedoom1.wad -> freedoom2.wad, with Debian's bsdiff. That takes half a
# minute, so the patch is kept while it is newer than both files.
set -eu
old=/usr/share/games/doom/freedoom1.wad new=/usr/share/games/doom/freedoom2.wad patch=$1/freedoom.patch
[ -f "$old" ] && [ -f "$new" ] || { echo "make_fixtures.sh: no freedoom; its tests will be skipped" >&2; exit 0; }
[ -f "$patch" ] && [ "$patch" -nt "$old" ] && [ "$patch" -nt "$new" ] && exit 0
mkdir -p "$1"
bsdiff "$old" "$new" "$patch.part" && mv "$patch.part" "$patch"
