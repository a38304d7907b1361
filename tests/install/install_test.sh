#!/usr/bin/env bash
# Installs the built program into a scratch root and builds its Debian package, and checks what
# each holds: the files and their modes, the launcher, the desktop entry, the manual
# page, what --version says, and the package's name and version; and what lintian says of the
# package (which also finds a binary packed without its library dependencies).
# Usage: install_test.sh BUILD_FOLDER VERSION
set -uo pipefail
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# A step that must work at all; its output only when it did not.
run() { "$@" >"$scratch/step.log" 2>&1 || { cat "$scratch/step.log"; echo "FAIL: $*"; exit 1; }; }

expected_files=$(printf '%s\n' usr/bin/wadwright usr/lib/wadwright/{bspatch.exe,command.com,explorer,fetch.exe,md5sum.exe,sha1sum.exe,wadwright,wadwright-window} \
  usr/share/applications/org.example.wadwright.desktop usr/share/doc/wadwright/{changelog.gz,copyright} \
  usr/share/icons/hicolor/32x32/apps/wadwright.png usr/share/lintian/overrides/wadwright usr/share/man/man1/wadwright.1.gz \
  usr/share/metainfo/org.example.wadwright.metainfo.xml)

# --- The installed tree ---
root=$scratch/root
DESTDIR=$root run cmake --install "$build" --prefix /usr
files=$(cd "$root" && find . -mindepth 1 ! -type d | sed 's|^\./||' | sort)
[[ "$files" == "$expected_files" ]] || fail "installed files differ:$(diff <(echo "$expected_files") <(echo "$files") | sed 's/^/\n  /')"

desktop=$root/usr/share/applications/org.example.wadwright.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
for line in "Exec=wadwright %f" "MimeType=application/x-doom-wad;" "Icon=wadwright" "Type=Application" "Version=1.4" "X-Wadwright-Version=$version"; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done

# What software centres read: valid without a hint (offline, so the screenshot is not fetched),
# naming the desktop entry beside it, the type it opens and the release the changelog names.
metainfo=$root/usr/share/metainfo/org.example.wadwright.metainfo.xml
said=$(appstreamcli validate --no-net --strict --pedantic "$metainfo" 2>&1) || fail "the metainfo does not validate: $said"
grep -q 'Validation was successful\.$' <<<"$said" || fail "appstreamcli has hints for the metainfo: $said"
for line in "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "<mediatype>application/x-doom-wad</mediatype>" \
  "<release version=\"$version\" date=\"$(zcat "$root/usr/share/doc/wadwright/changelog.gz" | dpkg-parsechangelog -l - -S Date | date -u -f - +%F)\"/>"; do
  grep -qF "$line" "$metainfo" || fail "the metainfo lacks $line"
done

# In every locale, the C one of a shell with no LANG too: groff warns of a character it lacks.
for locale in C.UTF-8 ""; do
  page=$(env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE ${locale:+LANG=$locale} MANWIDTH=80 \
    man -l "$root/usr/share/man/man1/wadwright.1.gz" 2>&1)
  grep -q '^NAME$' <<<"$page" && grep -qE '^ +wadwright +- ' <<<"$page" && ! grep -qi 'warning' <<<"$page" ||
    fail "the manual page renders with LANG='$locale' as: $page"
done
newest=$(zcat "$root/usr/share/doc/wadwright/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[[ "$newest" == "$version" ]] || fail "the changelog's newest entry is for $newest"

# The launcher, with a stand-in for the program that says where it runs, as what and with which
# words: started through a link from another folder, with a blank in a word.
fake=$scratch/fake
install -D "$root/usr/bin/wadwright" "$fake/usr/bin/wadwright"
printf '#!/bin/sh\necho "$0|$(pwd)|$#|$1|$2"\n' | install -D /dev/stdin "$fake/usr/lib/wadwright/wadwright"
mkdir -p "$scratch/iwads here" "$scratch/links" && ln -s "$fake/usr/bin/wadwright" "$scratch/links/wadwright"
said=$(cd "$scratch/iwads here" && "$scratch/links/wadwright" "two words" -x)
[[ "$said" == "$fake/usr/bin/../lib/wadwright/wadwright|$scratch/iwads here|2|two words|-x" ]] || fail "the launcher started: $said"

# Installed, it runs without a display and finds its libraries where the system keeps them.
said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/wadwright" --version 2>&1)
[[ "$said" == "Wadwright $version" ]] || fail "wadwright --version says: $said"

# --- The Debian package ---
run cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package"
deb=$scratch/package/wadwright_${version}_$(dpkg --print-architecture).deb
# Named from its control fields: the name says its package name and version.
[[ -f "$deb" ]] || { fail "no $(basename "$deb") among: $(ls "$scratch/package")"; echo "$failures failed"; exit 1; }

contents=$(dpkg-deb -c "$deb")
packed=$(awk '$1 !~ /^d/ { print substr($6, 3) }' <<<"$contents" | sort)
[[ "$packed" == "$expected_files" ]] || fail "packed files differ:$(diff <(echo "$expected_files") <(echo "$packed") | sed 's/^/\n  /')"
awk '$6 ~ /^\.\/usr\/(bin|lib)\// && $1 !~ /^d/ && $1 !~ /^-rwxr-xr-x/ { print }' <<<"$contents" | grep . &&
  fail "programs above are packed without execute rights"

# Debian's package checker: no error, no warning (a library search path kept in a binary is an
# error), and none of the notes that say a binary lost its hardening or kept sections a stripped
# binary should not have.
said=$(TMPDIR="$scratch" lintian -I "$deb" 2>/dev/null)  # its cache files go with the scratch folder
echo "lintian: ${said:-nothing to say}"
grep -E '^[EW]: |hardening-|binary-has-unneeded-section' <<<"$said" && fail "lintian objects to the package"

((failures == 0)) || { echo "$failures checks failed"; exit 1; }
