#!/usr/bin/env bash
# The README's first five minutes, as a newcomer types them in the source folder after the run
# command: the folder the run command opens holds IWADs, and the examples that need nothing of
# the user's print what the README shows.
# Usage: readme_test.sh SOURCE_FOLDER BIN_FOLDER
set -uo pipefail
readme=$1/README.md
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/build" "$scratch/home" && ln -s "$2" "$scratch/build/bin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

folder=$(sed -n 's|^    \./scripts/run \(.*\)$|\1|p' "$readme")
compgen -G "$folder/*.wad" >/dev/null || fail "the run command opens '$folder', where there is no IWAD"

# An example runs from a line that begins with `$ ` to the end of its block: the `$ ` lines are
# typed, the others printed. A fresh home, with no game store's folders and no DOOMWADDIR.
for first in '$ printf hello > mystery.wad' '$ build/bin/wadwright --find'; do
  block=$(awk -v first="    $first" '$0 == first { on = 1 } on && !/^    / { exit } on { print substr($0, 5) }' "$readme")
  [[ -n "$block" ]] || { fail "the README has no example that begins '$first'"; continue; }
  printed=$(cd "$scratch" && env -u DOOMWADDIR -u DOOMWADPATH -u XDG_DATA_HOME -u XDG_DATA_DIRS HOME="$scratch/home" \
    bash -c "$(sed -n 's/^\$ //p' <<<"$block")" 2>&1)
  expected=$(grep -v '^\$ ' <<<"$block")
  [[ "$printed" == "$expected" ]] || fail "'$first' prints otherwise than the README shows:$(echo; diff <(echo "$expected") <(echo "$printed") | sed 's/^/  /')"
done
((failures == 0)) || { echo "$failures checks failed"; exit 1; }
