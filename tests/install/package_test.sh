#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package into a temporary folder and checks what it holds,
# what it needs, and that lintian finds nothing to complain about. Exits 77
# (skipped) after the other checks when lintian is not installed.
#   package_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }
export HOME="$work" XDG_CACHE_HOME="$work/cache"

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for path in ./usr/games/zam ./usr/games/zam-games \
            ./usr/share/applications/net.zamspelen.ZamGames.desktop \
            ./usr/share/metainfo/net.zamspelen.ZamGames.metainfo.xml \
            ./usr/share/man/man6/zam-games.6.gz ./usr/share/man/man6/zam.6.gz \
            ./usr/share/man/nl/man6/zam-games.6.gz \
            ./usr/share/doc/zam-games/copyright ./usr/share/doc/zam-games/changelog.gz \
            ./usr/share/icons/hicolor/16x16/apps/net.zamspelen.ZamGames.png \
            ./usr/share/icons/hicolor/256x256/apps/net.zamspelen.ZamGames.png; do
  grep -qx "$path" "$work/contents" || fail "$path is not in the package"
done
grep -q '^\./usr/bin/' "$work/contents" && fail "programs in /usr/bin, not /usr/games"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libqt6widgets6 || fail "the dependencies name no Qt: $depends"
echo "$depends" | grep -q 'libc6 (>=' || fail "the dependencies were not computed: $depends"
echo "$depends" | grep -q 'fonts-liberation2' || fail "the dependencies name no Liberation fonts: $depends"
# The synopsis is not repeated as the first line of the long description.
synopsis=$(dpkg-deb -f "$deb" Description | head -n 1)
dpkg-deb -f "$deb" Description | sed -n 2p | grep -qiF "$synopsis" && fail "the synopsis is repeated"

if ! command -v lintian > /dev/null 2>&1; then
  echo "package test: lintian is not installed (Debian package lintian): lintian check skipped"
  exit 77
fi
# Running as root is only discouraged; every error and warning counts.
lintian --no-cfg "$deb" > "$work/lintian.log" 2>&1 || true
if grep -E '^[EW]: ' "$work/lintian.log"; then fail "lintian reports errors or warnings"; fi
echo "package test: passed"
