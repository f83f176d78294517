#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the screenshots a software centre shows (data/screenshots/*.png) from
# the program as built: it runs on a private X server with a small hall of
# fame of its own, and is driven with xdotool as a player would, one click
# at a time.
#   scripts/screenshots.sh [BUILD_DIR [OUTPUT_DIR]]   (default: build, data/screenshots)
# Needs Xvfb (xvfb), xdotool and import (imagemagick).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/data/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
for tool in Xvfb xdotool import; do
  command -v "$tool" > /dev/null 2>&1 || { echo "screenshots: $tool is not installed" >&2; exit 1; }
done
[ -x "$build/zam" ] || { echo "screenshots: no program in $build (build the target zam first)" >&2; exit 1; }

work=$(mktemp -d)
server=0 program=0
trap '[ "$program" -gt 0 ] && kill "$program" 2> /dev/null
      [ "$server" -gt 0 ] && kill "$server" 2> /dev/null
      rm -rf "$work"' EXIT

# ---- a hall of fame of five players -----------------------------------------------
# One 56-byte record: name length and name (10 bytes), password length and
# scrambled password (20 bytes; none here), levels (three bits per game),
# a reserved word, the playing date (days since 30-12-1899 as a little-endian
# double, given as its bytes), the record's checksum and a reserved word.
checksum=0
checksum_byte() {
  local b=$1 i
  for i in 0 1 2 3 4 5 6 7; do
    checksum=$(( ((checksum << 1) | (checksum >> 31)) & 0xFFFFFFFF ))
    if (( (b >> i) & 1 )); then checksum=$(( checksum ^ 0x11203045 )); fi
  done
}
le32() {  # a 32-bit number as four little-endian bytes, printf escapes
  printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(( $1 & 255 )) $(( ($1 >> 8) & 255 )) \
         $(( ($1 >> 16) & 255 )) $(( ($1 >> 24) & 255 ))
}
record() {  # NAME LEVELS(nine digits, game 1 first) DATE_BYTES(16 hex digits)
  local name=$1 digits=$2 date=$3 levels=0 t bytes='' i
  for t in 0 1 2 3 4 5 6 7 8; do levels=$(( levels | (${digits:t:1} << (3 * t)) )); done
  checksum=0
  for (( i = 0; i < ${#name}; i++ )); do checksum_byte "$(printf '%d' "'${name:i:1}")"; done
  # The level word as the checksum reads it: its low byte, then three zeros.
  for i in $(( levels & 255 )) 0 0 0 0x83 0xC4 0xE8 0x8D 0x44 0x24 0x08 0x50; do
    checksum_byte $(( i ))
  done
  bytes+=$(printf '\\x%02x' "${#name}")
  for (( i = 0; i < 10; i++ )); do
    if (( i < ${#name} )); then bytes+=$(printf '\\x%02x' "'${name:i:1}"); else bytes+='\x00'; fi
  done
  for (( i = 0; i < 21; i++ )); do bytes+='\x00'; done
  bytes+=$(le32 "$levels")$(le32 0)
  for (( i = 0; i < 16; i += 2 )); do bytes+="\\x${date:i:2}"; done
  bytes+=$(le32 "$checksum")$(le32 0)
  printf '%b' "$bytes"
}
mkdir "$work/play"
{
  record Anna 555554433 00000000c0a3e640   # 10-12-2026
  record Daan 555443210 00000000a0a3e640   # 09-12-2026
  record Sophie 554432100 0000000060a3e640 # 07-12-2026
  record Lucas 543210000 0000000000a3e640  # 04-12-2026
  record Emma 321000000 00000000a0a2e640   # 01-12-2026
} > "$work/play/ZamScores"

# ---- the X server and the program -------------------------------------------------
mkfifo "$work/display"
Xvfb -displayfd 3 -nolock -noreset -nolisten tcp -nolisten unix -dpi 96 \
     -screen 0 1024x768x24 3> "$work/display" 2> "$work/xvfb.log" &
server=$!
number=$(timeout 60 head -n 1 "$work/display")
[ -n "$number" ] || { cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
(cd "$work/play" && exec "$build/zam") &
program=$!
main=$(timeout 60 xdotool search --sync --onlyvisible --pid "$program" --name '^Zam games V1\.1$' | head -n 1)

# Clicks at a point of a window, given in its own pixels.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
shot() {  # WINDOW NAME
  sleep 0.6
  import -window "$1" "$work/shot.png"
  # Without the time stamps the tool writes, so the same picture gives the same file.
  import -window "$1" -strip "$out/$2.png"
  echo "screenshots: $out/$2.png"
}
dialog() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# A key to a window (there is no window manager to give it the focus).
key() { xdotool windowfocus --sync "$1"; xdotool key "$2"; sleep 0.4; }
# The pointer out of the way (over the help it marks a link).
away() { xdotool mousemove 1023 767; }

# The start picture.
shot "$main" start
# The help, one page on.
click "$main" 805 76
help=$(dialog '^Zam9 help$')
key "$help" Next
away
shot "$help" help
key "$help" Escape
# The hall of fame, its rows shown one by one.
click "$main" 764 583
hall=$(dialog '^Zam : Ere - Galerij$')
sleep 2
shot "$hall" halloffame
key "$hall" Escape
# Game 5 (two O and two X coins on a circular track) for a player with
# levels: Daan, the second name of the list, the game's button, "start" and
# "computer begint".
click "$main" 838 500
xdotool key Down Return
sleep 0.4
click "$main" 705 287
click "$main" 728 664
click "$main" 764 623
sleep 3
shot "$main" game
kill -TERM "$program"
wait "$program" || true
program=0
