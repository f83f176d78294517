#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private X server of the given density: Xvfb at DPI
# dots per inch with Xft.dpi set to the same, so Qt scales as a desktop at
# that density does. The server picks a free display number and listens
# only on the abstract socket, so it makes no lock or socket file; as root
# it runs in a private mount namespace where the folder it compiles keymaps
# into (/var/lib/xkb) is the test's own. Exits 77 (skipped) when Xvfb or
# xrdb is not installed.
#   xvfb_run.sh DPI COMMAND [ARG...]
set -u
dpi=$1; shift
for tool in Xvfb xrdb; do
  if ! command -v "$tool" > /dev/null 2>&1; then
    echo "skipped: $tool is not installed (Debian packages xvfb and x11-xserver-utils)"
    exit 77
  fi
done
work=$(mktemp -d)
server=0
trap '[ "$server" -gt 0 ] && kill "$server" 2> /dev/null; rm -rf "$work"' EXIT
mkfifo "$work/display"
mkdir "$work/xkb"
start_server() {
  Xvfb -displayfd 3 -nolock -noreset -nolisten tcp -nolisten unix -dpi "$dpi" \
       -screen 0 2400x1600x24 3> "$work/display" 2> "$work/xvfb.log"
}
if [ "$(id -u)" -eq 0 ] && [ -d /var/lib/xkb ] &&
   unshare --mount --propagation private true 2> /dev/null; then
  # unshare and sh hand their process on: $! is the server's.
  unshare --mount --propagation private sh -c \
    'mount --bind "$1" /var/lib/xkb && exec Xvfb -displayfd 3 -nolock -noreset \
       -nolisten tcp -nolisten unix -dpi "$2" -screen 0 2400x1600x24' \
    sh "$work/xkb" "$dpi" 3> "$work/display" 2> "$work/xvfb.log" &
else
  start_server &
fi
server=$!
# The server writes its display number once it accepts connections; the
# read ends when it does, or at once when the server fails to start.
number=$(timeout 60 head -n 1 "$work/display")
if [ -z "$number" ]; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$number"
echo "Xft.dpi: $dpi" > "$work/resources"
xrdb -nocpp -merge "$work/resources" || exit 1
export QT_QPA_PLATFORM=xcb
# In a sanitizer build: what the X11 platform's libraries keep is not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp"
export HOME="$work" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"
"$@"
