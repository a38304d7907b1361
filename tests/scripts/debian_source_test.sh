#!/usr/bin/env bash
# The Windows dependencies' sources on a Debian 12 whose installed packages are older than the
# archive's: the versions fetched are the archive's, and Qt's host tools are brought to the version
# of the Qt source the archive has, or the run says that none matches. Everything happens in a
# scratch apt: two local archives (a release and its updates), a scratch dpkg database and root.
# Usage: debian_source_test.sh SOURCE_FOLDER
set -uo pipefail
debian_source=$1/scripts/windows/debian-source
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

make_source() {  # ARCHIVE PACKAGE VERSION: a source package of one file, README, in ARCHIVE
  local tree=$scratch/build/$2-$3
  mkdir -p "$tree/debian/source" "$scratch/$1"
  echo "1.0" > "$tree/debian/source/format"
  printf '%s (%s) bookworm; urgency=medium\n\n  * Test.\n\n -- T <t@example.org>  Mon, 01 Jan 2024 00:00:00 +0000\n' \
    "$2" "$3" > "$tree/debian/changelog"
  printf 'Source: %s\nMaintainer: T <t@example.org>\n\nPackage: %s\nArchitecture: all\nDescription: t\n' "$2" "$2" \
    > "$tree/debian/control"
  echo "$2 $3" > "$tree/README"
  (cd "$scratch/$1" && dpkg-source -b "$tree" >/dev/null 2>&1)
}
control() {  # PACKAGE VERSION SOURCE
  printf 'Package: %s\nVersion: %s\nSource: %s\nArchitecture: all\nMaintainer: T <t@example.org>\nDescription: t\n' "$@"
}
make_binary() {  # ARCHIVE PACKAGE VERSION SOURCE
  local tree=$scratch/build/$2-$3.deb
  mkdir -p "$tree/DEBIAN"
  control "$2" "$3" "$4" > "$tree/DEBIAN/control"
  dpkg-deb --build "$tree" "$scratch/$1/$2_$3_all.deb" >/dev/null
}

# What each archive has, and what is installed.
# SETUP runs in the scratch folder with these functions; EXPECTED is what `versions` prints, or
# "refused: WORDS" for a run that must stop saying WORDS; then Qt's host tools' version afterwards.
check() {  # NAME SETUP EXPECTED TOOLS_AFTER
  local case=$scratch/$1
  mkdir -p "$case"/{etc/apt.conf.d,etc/preferences.d,apt,release,updates,root/var/lib/dpkg/{updates,info}}
  touch "$case/root/var/lib/dpkg/available"
  (cd "$case" && scratch=$case && eval "$2")
  for archive in release updates; do
    (cd "$case/$archive" && dpkg-scanpackages . > Packages 2>/dev/null && dpkg-scansources . > Sources 2>/dev/null)
    echo "deb [trusted=yes] file:$case/$archive ./" >> "$case/etc/sources.list"
  done
  cat > "$case/apt.conf" <<EOF
Dir::Etc "$case/etc"; Dir::State "$case/apt"; Dir::Cache "$case/apt"; Dir::Log "$case/apt";
Dir::State::status "$case/root/var/lib/dpkg/status"; Debug::NoLocking "true"; Acquire::Languages "none";
DPkg::Options { "--root=$case/root"; "--log=/dev/null"; "--force-not-root"; };
EOF
  local printed tools
  printed=$(APT_CONFIG=$case/apt.conf DPKG_ADMINDIR=$case/root/var/lib/dpkg WADWRIGHT_APT_ETC=$case/etc \
    "$debian_source" "$case/state" versions 2>"$case/err") || printed="refused: $(cat "$case/err")"
  [[ "$printed" == "$3" || ("$3" == refused:* && "$printed" == "refused: "*"${3#refused: }"*) ]] ||
    fail "$1: printed$(echo; diff <(echo "$3") <(echo "$printed"))"
  tools=$(DPKG_ADMINDIR=$case/root/var/lib/dpkg dpkg-query -W -f='${Version}' qt6-base-dev-tools)
  [[ "$tools" == "$4" ]] || fail "$1: qt6-base-dev-tools is at $tools, not $4"
}
# The machine's database: every package at the release's version, as installed from older media.
installed_release() {
  { control libbz2-dev 1.0.8-5 bzip2; echo "Status: install ok installed"; echo
    control liblzma-dev 5.4.1-1 xz-utils; echo "Status: install ok installed"; echo
    for package in qt6-base-dev-tools libqt6core6; do
      control $package 6.4.2+dfsg-10 qt6-base; echo "Status: install ok installed"; echo; done
  } > root/var/lib/dpkg/status
  make_source release bzip2 1.0.8-5
}
check updated-archive 'installed_release
  make_source updates xz-utils 5.4.1-1+deb12u1; make_source updates xz-utils 5.4.1-1+deb12u2
  make_source updates qt6-base 6.4.2+dfsg-11
  for package in qt6-base-dev-tools libqt6core6; do make_binary updates $package 6.4.2+dfsg-11 qt6-base; done' \
  'bzip2 1.0.8-5
xz-utils 5.4.1-1+deb12u2
qt6-base 6.4.2+dfsg-11' 6.4.2+dfsg-11
check installed-qt-still-there 'installed_release; make_source updates xz-utils 5.4.1-1+deb12u2
  make_source release qt6-base 6.4.2+dfsg-10; make_source updates qt6-base 6.4.2+dfsg-11' \
  'bzip2 1.0.8-5
xz-utils 5.4.1-1+deb12u2
qt6-base 6.4.2+dfsg-10' 6.4.2+dfsg-10
check no-qt-tools-match 'installed_release; make_source updates xz-utils 5.4.1-1+deb12u2
  make_source updates qt6-base 6.4.2+dfsg-11' \
  'refused: no Qt source matches the host'"'"'s moc, rcc and uic: qt6-base-dev-tools is at 6.4.2+dfsg-10, and the archive'"'"'s qt6-base is at 6.4.2+dfsg-11' \
  6.4.2+dfsg-10

# The archive's source, fetched and unpacked.
case=$scratch/updated-archive
APT_CONFIG=$case/apt.conf "$debian_source" "$case/state" fetch xz-utils 5.4.1-1+deb12u2 "$case/xz" >/dev/null 2>&1
[[ "$(cat "$case/xz/README" 2>/dev/null)" == "xz-utils 5.4.1-1+deb12u2" ]] || fail "the archive's xz-utils was not unpacked"

((failures == 0)) || { echo "$failures checks failed"; exit 1; }
