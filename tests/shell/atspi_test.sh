#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a screen reader meets it: a private session bus and the
# accessibility bus (at-spi-bus-launcher, which starts the registry), the
# program on the private X server xvfb_run.sh gives, and a real AT-SPI client
# (atspi_test.py, pyatspi) that plays with keys sent by xdotool and checks
# what it finds and is told. Everything lives in the test's own folder and
# ends with it. Exits 77 (skipped) only where AT-SPI is not installed.
#   xvfb_run.sh 96 sh atspi_test.sh ZAM_BINARY
set -u
zam=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3
skip() {
  echo "skipped: $1 (Debian packages at-spi2-core, python3-pyatspi, dbus, xdotool)"
  exit 77
}
command -v dbus-daemon > /dev/null 2>&1 || skip "dbus-daemon is not installed"
command -v xdotool > /dev/null 2>&1 || skip "xdotool is not installed"
[ -x "$launcher" ] || skip "at-spi-bus-launcher is not installed"
[ -x "$python" ] && "$python" -c 'import pyatspi' 2> /dev/null || skip "pyatspi is not installed"

work=$(mktemp -d)
bus=0
a11y=0
finish() {
  [ "$a11y" -gt 0 ] && kill "$a11y" 2> /dev/null
  [ "$bus" -gt 0 ] && kill "$bus" 2> /dev/null
  wait
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 1' INT TERM HUP

# The session bus: its socket in the test's folder, no services of the
# machine started on it.
cat > "$work/session.conf" << EOF
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
mkfifo "$work/address"
dbus-daemon --config-file="$work/session.conf" --nofork --print-address=3 \
  3> "$work/address" 2> "$work/dbus.log" &
bus=$!
# The bus writes its address once it accepts connections.
address=$(timeout 60 head -n 1 "$work/address")
if [ -z "$address" ]; then
  echo "the session bus did not start:" >&2
  cat "$work/dbus.log" >&2
  exit 1
fi
export DBUS_SESSION_BUS_ADDRESS="$address"
# The accessibility bus, in the runtime folder xvfb_run.sh made; the
# launcher ends the bus it started when it ends itself.
"$launcher" --launch-immediately > "$work/launcher.log" 2>&1 &
a11y=$!
# Where the program keeps its scores: the test's folder.
cd "$work" || exit 1
"$python" "$here/atspi_test.py" "$zam"
