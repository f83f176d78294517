#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks the installed tree:
# the desktop entry and the metadata validate and carry Dutch names, the
# icons are square PNGs of every size, the manual pages are there, and the
# launcher runs the program in the user's data folder, whatever folder it is
# started from. Run on a private X server (xvfb_run.sh), so that the test
# can wait for the window itself. The menu entry names the window's class,
# and the metadata's screenshots are the tree's own pictures.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
src=$2
id=net.zamspelen.ZamGames
work=$(mktemp -d)
pid=0
trap '[ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache"
mkdir -p "$HOME"

cmake --install "$build" --prefix "$work/prefix" > /dev/null
prefix=$work/prefix
entry=$prefix/share/applications/$id.desktop
desktop-file-validate "$entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" > /dev/null
for page in man/man6/zam-games.6.gz man/man6/zam.6.gz man/nl/man6/zam-games.6.gz; do
  gzip -t "$prefix/share/$page" 2> /dev/null || fail "no compressed manual page $page"
done
[ -x "$prefix/games/zam" ] || fail "no program"
[ -x "$prefix/games/zam-games" ] || fail "no launcher"
grep -q '^Exec=zam-games$' "$entry" || fail "the entry does not start the launcher"
grep -q '^Name\[nl\]=.' "$entry" || fail "the entry has no Dutch name"
grep -q '^Comment\[nl\]=.' "$entry" || fail "the entry has no Dutch comment"
for tag in name summary p; do
  grep -q "<$tag xml:lang=\"nl\">" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata has no Dutch $tag"
done
# The size of a PNG file as WIDTHxHEIGHT; fails when it is no PNG.
png_size() {
  # The signature, then the IHDR chunk: width and height, 4 bytes each.
  [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$1 is no PNG"
  set -- $(od -An -tu1 -j16 -N8 "$1")
  echo "$(( ($1 << 24) | ($2 << 16) | ($3 << 8) | $4 ))x$(( ($5 << 24) | ($6 << 16) | ($7 << 8) | $8 ))"
}
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "no icon of $size"
  [ "$(png_size "$png")" = "${size}x${size}" ] || fail "icon $size is $(png_size "$png")"
done
# The metadata: both programs, and screenshots that are the tree's pictures
# (data/screenshots) of the size it gives, at https addresses.
meta=$prefix/share/metainfo/$id.metainfo.xml
for program in zam zam-games; do
  grep -q "<binary>$program</binary>" "$meta" || fail "the metadata does not provide $program"
done
sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">\(.*\)</image>.*|\1x\2 \3|p' \
  "$meta" > "$work/shots"
[ "$(wc -l < "$work/shots")" -ge 4 ] || fail "fewer than four screenshots in the metadata"
while read -r size url; do
  case $url in https://*/screenshots/*.png) ;; *) fail "screenshot address $url" ;; esac
  png=$src/data/screenshots/${url##*/}
  [ -f "$png" ] || fail "no picture $png for $url"
  [ "$(png_size "$png")" = "$size" ] || fail "$png is $(png_size "$png"), the metadata says $size"
done < "$work/shots"
wmclass=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wmclass" ] || fail "the entry names no StartupWMClass"

# The launcher, started from another folder with its own XDG_DATA_HOME.
mkdir -p "$work/elsewhere" "$work/data"
cd "$work/elsewhere"
XDG_DATA_HOME="$work/data" "$prefix/games/zam-games" &
pid=$!
# The launcher replaces itself by the program, which enters the data folder:
# wait for both, however busy the machine is (at most a minute).
tries=0
until [ "$(basename "$(readlink "/proc/$pid/exe" 2>/dev/null || true)")" = zam ] &&
      [ "$(readlink "/proc/$pid/cwd" 2>/dev/null || true)" = "$work/data/$id" ]; do
  kill -0 "$pid" 2> /dev/null || fail "the program ended early"
  tries=$((tries + 1))
  [ $tries -lt 1200 ] || fail "the program does not run in $work/data/$id"
  sleep 0.05
done
# Its window up; then it ends as on logging out, saving.
window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name '^Zam games V1\.1$' |
         head -n 1) || fail "no window shown"
[ -n "$window" ] || fail "no window shown"
# A desktop matches the window to its menu entry by the window's class: the
# second of the two names in WM_CLASS, exactly.
class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
[ "$class" = "$wmclass" ] || fail "the window's class is \"$class\", the entry names \"$wmclass\""
kill -TERM "$pid"
wait "$pid" || fail "the program did not end cleanly"
pid=0
[ -f "$work/data/$id/ZamScores" ] || fail "no score file in the data folder"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "files in the folder it was started from"
echo "install test: passed"
