#!/bin/sh
# Builds the Debian package and checks what it holds and what it needs.
#   package_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for path in ./usr/bin/zam ./usr/bin/zam-games \
            ./usr/share/applications/net.zamspelen.ZamGames.desktop \
            ./usr/share/metainfo/net.zamspelen.ZamGames.metainfo.xml \
            ./usr/share/man/man6/zam-games.6 \
            ./usr/share/icons/hicolor/16x16/apps/net.zamspelen.ZamGames.png \
            ./usr/share/icons/hicolor/256x256/apps/net.zamspelen.ZamGames.png; do
  grep -qx "$path" "$work/contents" || fail "$path is not in the package"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libqt6widgets6 || fail "the dependencies name no Qt: $depends"
echo "$depends" | grep -q 'libc6 (>=' || fail "the dependencies were not computed: $depends"
echo "package test: passed"
