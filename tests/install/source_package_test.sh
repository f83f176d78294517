#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as a distribution builds it, from debian/ with
# dpkg-buildpackage -us -uc -b, in a copy of the source tree in a temporary
# folder (the tree itself is only read), and checks the result: what it
# holds, its version and dependencies, file dates from the changelog, and
# that lintian (pedantic, with information tags) reports no error or
# warning. Exits 77 (skipped) when debhelper or lintian is not installed.
#   source_package_test.sh SOURCE_DIR
set -eu
src=$(cd "$1" && pwd)
for tool in dh:debhelper dpkg-buildpackage:dpkg-dev lintian:lintian; do
  if ! command -v "${tool%%:*}" > /dev/null 2>&1; then
    echo "source package test: ${tool%%:*} is not installed (Debian package ${tool#*:}): skipped"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "source package test: $*" >&2; exit 1; }
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache"
mkdir -p "$HOME" "$work/zam-games"

# The tree as a clean clone has it: tracked files and new ones not ignored
# (no build folders, no score files).
if git -C "$src" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  (cd "$src" && git ls-files -z --cached --others --exclude-standard |
     xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\n" "$f"; done' sh |
     tar -cf - -T -) | tar -C "$work/zam-games" -xf -
else
  tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/zam-games" -xf -
fi

(cd "$work/zam-games" &&
   DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc -b > "$work/build.log" 2>&1) ||
  { tail -n 60 "$work/build.log"; fail "dpkg-buildpackage failed"; }
deb=$(ls "$work"/zam-games_*.deb)
changes=$(ls "$work"/*.changes)

dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for path in ./usr/games/zam ./usr/games/zam-games \
            ./usr/share/applications/net.zamspelen.ZamGames.desktop \
            ./usr/share/metainfo/net.zamspelen.ZamGames.metainfo.xml \
            ./usr/share/man/man6/zam-games.6.gz ./usr/share/man/nl/man6/zam-games.6.gz \
            ./usr/share/doc/zam-games/copyright ./usr/share/doc/zam-games/changelog.Debian.gz \
            ./usr/share/icons/hicolor/16x16/apps/net.zamspelen.ZamGames.png \
            ./usr/share/icons/hicolor/256x256/apps/net.zamspelen.ZamGames.png; do
  grep -qx "$path" "$work/contents" || fail "$path is not in the package"
done
# The copyright is the packaging's machine-readable one, naming the licence.
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/zam-games/copyright > "$work/copyright"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$work/copyright" || fail "the copyright is not machine-readable"
grep -q '^License: GPL-3+$' "$work/copyright" || fail "the copyright names no GPL-3+"

# The version: the upstream one of CMakeLists.txt with a Debian revision.
upstream=$(sed -n 's/^project(Zam VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
version=$(dpkg-deb -f "$deb" Version)
case $version in
  "$upstream"-[0-9]*) ;;
  *) fail "version $version is not $upstream with a Debian revision" ;;
esac
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for want in 'libqt6widgets6' 'libc6 (>=' 'fonts-liberation2'; do
  echo "$depends" | grep -qF "$want" || fail "the dependencies name no $want: $depends"
done
dpkg-deb -f "$deb" Description | grep -q 'mouse or the keyboard' ||
  fail "the description does not say mouse or keyboard"

# Every file dated by the changelog's last entry, not by the build.
stamp=$(cd "$work/zam-games" && date -u -d "@$(dpkg-parsechangelog -S Timestamp)" '+%Y-%m-%d %H:%M')
dpkg-deb --fsys-tarfile "$deb" | tar -tvf - --utc | awk '{print $4, $5}' | sort -u > "$work/dates"
[ "$(cat "$work/dates")" = "$stamp" ] || fail "file dates $(tr '\n' ' ' < "$work/dates")not $stamp"

# Running as root is only discouraged; every error and warning counts.
lintian -I --pedantic --no-cfg "$changes" > "$work/lintian.log" 2>&1 || true
if grep -E '^[EW]: ' "$work/lintian.log"; then fail "lintian reports errors or warnings"; fi
grep -E '^[IPX]: ' "$work/lintian.log" || true
echo "source package test: passed"
