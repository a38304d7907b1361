#!/usr/bin/env bash
# The Windows dependencies' private deb-src lists, made from each form of apt sources a Debian 12
# system has: the one-line sources.list of debootstrap and the installer, deb822 files of container
# images, both at once, and none. Only a scratch apt folder is read; the system's stays untouched.
# Usage: deb_src_lists_test.sh SOURCE_FOLDER
set -uo pipefail
make_lists=$1/scripts/windows/deb-src-lists
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

one_line='deb http://deb.debian.org/debian bookworm main
# deb http://deb.debian.org/debian bookworm-backports main
deb-src http://deb.debian.org/debian bookworm main
	deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://security.debian.org/debian-security bookworm-security main'
deb822='Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main'

# NAME, SETUP (run in the scratch /etc/apt), and the lines the lists made must hold, or "refused"
# where none must be made.
check() {
  local etc=$scratch/$1/etc out=$scratch/$1/out made=refused
  mkdir -p "$etc/sources.list.d"
  (cd "$etc" && eval "$2")
  "$make_lists" "$etc" "$out" 2>"$scratch/$1/err" && made=$(cat "$out"/* | grep -E "^(deb|Types)" | sort)
  [[ "$made" == "$(sort <<<"$3")" ]] || fail "$1: made$(echo; diff <(sort <<<"$3") <(echo "$made"); cat "$scratch/$1/err")"
}
check one-line 'echo "$one_line" > sources.list' 'deb-src http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://security.debian.org/debian-security bookworm-security main'
check deb822 'echo "$deb822" > sources.list.d/debian.sources' 'Types: deb-src
Types: deb-src'
check several 'echo "$one_line" | head -1 > sources.list; echo "deb http://example.org/x y z" > sources.list.d/more.list
  echo "$deb822" | head -5 > sources.list.d/debian.sources' 'deb-src http://deb.debian.org/debian bookworm main
deb-src http://example.org/x y z
Types: deb-src'
check none 'echo "# nothing yet" > sources.list' refused

((failures == 0)) || { echo "$failures checks failed"; exit 1; }

