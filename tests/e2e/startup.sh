#!/usr/bin/env bash
# End-to-end start-up: the real binary under Xvfb in a temporary copy of the
# run directory. It must draw a window that is not blank and quit with exit
# code 0 on Esc; the single argument names the configuration; without OpenGL
# it must refuse to start with its message and exit code -1.
# Usage: startup.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
source "$(dirname "$self")/common.sh"

session() {
  # Runs inside the X server: start, wait for the window, screenshot, quit.
  start_pictavo "$work/out.log" "$@" || return 1
  xdotool getwindowgeometry "$win" > "$work/geometry.txt"
  import -window root "$work/shot.png"
  # Application-wide shortcuts typed at the focused window, as a person would.
  if [ -n "${KEYS:-}" ]; then
    xdotool key $KEYS
    sleep 0.5
    xdotool getwindowgeometry "$win" > "$work/geometry-after-keys.txt"
  fi
  quit_pictavo
}

# Inside the X server: `startup.sh --session [args]` runs one session.
if [ "${1:-}" = "--session" ]; then
  shift
  cd "$work/run" && session "$@"
  exit $?
fi

binary=$1
run_template=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$run_template" "$work/run"
cp "$binary" "$work/run/pictavo"
cd "$work/run"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A small windowed configuration used through the command-line argument.
cat > "$work/alt.xml" <<'XML'
<config><mainwindow width="640" height="480" fullscreen="0"/><osc receive_port="47320" send_port="47321"/></config>
XML

export work

# 1. The default configuration of the run directory.
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$self" --session > "$work/session.log" 2>&1
rc=$?
[ $rc -eq 0 ] || { cat "$work/session.log" "$work/out.log"; fail "default run exited with $rc"; }
if [ -f "$work/shot.png" ]; then
  spread=$(convert "$work/shot.png" -colorspace Gray -format '%[fx:standard_deviation*255]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 2) }' || fail "screenshot is blank (grey spread $spread)"
else
  fail "no screenshot"
fi
grep -q "Depth Buffer" "$work/out.log" || fail "no depth buffer line"

# 2. Exactly one argument names the configuration: a 640 x 480 window.
rm -f "$work/shot.png"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$self" --session "$work/alt.xml" > "$work/session.log" 2>&1
rc=$?
[ $rc -eq 0 ] || { cat "$work/session.log" "$work/out.log"; fail "run with an argument exited with $rc"; }
grep -q "Geometry: 640x" "$work/geometry.txt" || fail "argument ignored: $(cat "$work/geometry.txt")"

# Ctrl+N spans the window over the whole (single) screen, one pixel inset.
KEYS=ctrl+n xvfb-run -a -s "-screen 0 1280x1024x24" bash "$self" --session "$work/alt.xml" > "$work/session.log" 2>&1
rc=$?
[ $rc -eq 0 ] || { cat "$work/session.log"; fail "multi-monitor run exited with $rc"; }
grep -q "Geometry: 1278x1022" "$work/geometry-after-keys.txt" || fail "Ctrl+N did not span the screen: $(cat "$work/geometry-after-keys.txt")"

# 3. Two arguments: back to config.xml of the working directory.
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$self" --session "$work/alt.xml" extra > "$work/session.log" 2>&1
rc=$?
[ $rc -eq 0 ] || fail "run with two arguments exited with $rc"
grep -q "Geometry: 640x" "$work/geometry.txt" && fail "two arguments must read config.xml"

# 4. No OpenGL (Qt's minimal platform has none): message and exit code -1.
QT_QPA_PLATFORM=minimal timeout 20 ./pictavo > "$work/nogl.log" 2>&1
rc=$?
[ $rc -eq 255 ] || fail "without OpenGL the exit code is $rc, not -1"
grep -q "This system has no OpenGL support. Exiting." "$work/nogl.log" || fail "no OpenGL message"

if [ $failures -eq 0 ]; then echo "e2e startup: all checks passed"; fi
exit $failures
