#!/bin/sh
# Installs the build into a temporary prefix and checks the installed tree:
# the desktop entry and the metadata validate, the icons are square PNGs of
# every size, the manual page is there, and the launcher runs the program in
# the user's data folder, whatever folder it is started from.
#   install_test.sh BUILD_DIR
set -eu
build=$1
id=net.zamspelen.ZamGames
work=$(mktemp -d)
trap '[ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
pid=0
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > /dev/null
prefix=$work/prefix
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" > /dev/null
[ -s "$prefix/share/man/man6/zam-games.6" ] || fail "no manual page"
[ -x "$prefix/bin/zam" ] || fail "no program"
grep -q '^Exec=zam-games$' "$prefix/share/applications/$id.desktop" || fail "the entry does not start the launcher"
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "no icon of $size"
  # The signature, then the IHDR chunk: width and height, 4 bytes each.
  [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "icon $size is no PNG"
  set -- $(od -An -tu1 -j16 -N8 "$png")
  w=$(( ($1 << 24) | ($2 << 16) | ($3 << 8) | $4 ))
  h=$(( ($5 << 24) | ($6 << 16) | ($7 << 8) | $8 ))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $size is ${w}x${h}"
done

# The launcher, started from another folder with its own XDG_DATA_HOME.
mkdir -p "$work/elsewhere" "$work/data"
cd "$work/elsewhere"
QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" "$prefix/bin/zam-games" &
pid=$!
tries=0
while [ "$(readlink "/proc/$pid/cwd" 2>/dev/null || true)" != "$work/data/$id" ]; do
  tries=$((tries + 1))
  [ $tries -lt 200 ] || fail "the program does not run in $work/data/$id"
  sleep 0.05
done
[ "$(basename "$(readlink "/proc/$pid/exe")")" = zam ] || fail "the launcher did not start the program"
sleep 1.5  # its window up; then it ends as on logging out, saving
kill -TERM "$pid"
wait "$pid" || fail "the program did not end cleanly"
pid=0
[ -f "$work/data/$id/ZamScores" ] || fail "no score file in the data folder"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "files in the folder it was started from"
echo "install test: passed"
