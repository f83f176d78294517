#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line of the program and of its launcher: --help and --version
# answer without a display; without a display the program says so in one
# line and exits with 1, leaving no core and no folder or file behind;
# unknown options and arguments get the usage and status 2.
#   command_line_test.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "command line test: $*" >&2; failed=1; }

mkdir "$work/home" "$work/run"
cd "$work/run"
# No display of any kind; home and data folder inside the test's folder.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
      XDG_DATA_HOME="$work/home/data" XDG_RUNTIME_DIR="$work/home/runtime" \
      "$@" > "$work/out" 2> "$work/err"
}
# Core files would land in the current folder: allow them, to see none made.
ulimit -c unlimited 2> /dev/null || true

for program in zam zam-games; do
  exe=$build/$program
  for opt in --help -h; do
    run "$exe" "$opt"; status=$?
    [ $status -eq 0 ] || fail "$program $opt: status $status"
    grep -q "^Usage: " "$work/out" || fail "$program $opt: no usage on standard output"
    grep -q -- "--version" "$work/out" || fail "$program $opt: the usage does not name --version"
    [ -s "$work/err" ] && fail "$program $opt: wrote to standard error: $(cat "$work/err")"
  done
  for opt in --version -v; do
    run "$exe" "$opt"; status=$?
    [ $status -eq 0 ] || fail "$program $opt: status $status"
    grep -qx "zam 1.1" "$work/out" || fail "$program $opt: printed '$(cat "$work/out")'"
  done
  for args in --bogus "-x" "stray"; do
    run "$exe" $args; status=$?
    [ $status -eq 2 ] || fail "$program $args: status $status, not 2"
    grep -q "^Usage: " "$work/err" || fail "$program $args: no usage on standard error"
    [ -s "$work/out" ] && fail "$program $args: wrote to standard output"
  done
  # No display at all, and a display that is not there.
  for display in "" ":4711"; do
    if [ -z "$display" ]; then run "$exe"; else run env DISPLAY="$display" "$exe"; fi
    status=$?
    [ $status -eq 1 ] || fail "$program with display '$display': status $status, not 1"
    [ "$(wc -l < "$work/err")" -eq 1 ] || fail "$program with display '$display': not one line: $(cat "$work/err")"
    grep -qi "display" "$work/err" || fail "$program with display '$display': does not say what is missing"
  done
done
# Nothing made: no data folder, no score file, no core.
[ -z "$(ls -A "$work/run")" ] || fail "files left in the current folder: $(ls -A "$work/run")"
[ -e "$work/home/data" ] && fail "a data folder was made without a display"
[ $failed -eq 0 ] && echo "command line test: passed"
exit $failed
