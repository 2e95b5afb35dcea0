#!/usr/bin/env bash
# End-to-end painting with the mouse and fake postures, as a person would:
# the real binary under Xvfb in a temporary copy of the run directory with a
# light stroke demo. A one-finger drag must create strokes along its path
# (the picture changes there and nowhere far from it; the scene holds more
# components at exit); a hand drag over the same path must erase them again
# (the path gets back towards the paper; fewer components than after the
# creating drag).
# Usage: painting.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
source "$(dirname "$self")/common.sh"

# The surface between the menu bar and the information bar.
surface=1024x700+0+30

session() {
  # Runs inside the X server. $1: "create" or "create-erase".
  start_pictavo "$work/$1.log" || return 1
  # The picture settles after start-up before anything is compared.
  await_settled "$work/$1-surface.ppm" "$surface" || { quit_pictavo; return 1; }
  screenshot "$work/$1-before.png"
  xdotool key alt+2              # fake posture: one finger
  sleep 0.3
  drag 150 450 400
  await_settled "$work/$1-surface.ppm" "$surface" || { quit_pictavo; return 1; }
  screenshot "$work/$1-created.png"
  if [ "$1" = "create-erase" ]; then
    xdotool key alt+5            # fake posture: hand
    sleep 0.3
    drag 150 450 400
    drag 150 450 400
    # Erased strokes fade, then vanish: the picture settles after that.
    await_settled "$work/$1-surface.ppm" "$surface" || { quit_pictavo; return 1; }
    screenshot "$work/$1-erased.png"
  fi
  quit_pictavo
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session "$2"
  exit $?
fi

binary=$1
run_template=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare_run "$binary" "$run_template" 47330 0
export work
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions create create-erase

# The band the drags went over, and a band far from it.
path=320x100+140+350
far=300x100+640+650
before_path=$(changed "$work/create-before.png" "$work/create-created.png" "$path")
before_far=$(changed "$work/create-before.png" "$work/create-created.png" "$far")
echo "create: $before_path pixels changed on the path, $before_far far from it"
[ "${before_path:-0}" -gt 3000 ] || fail "a one-finger drag did not paint its path ($before_path)"
[ "${before_far:-0}" -lt 300 ] || fail "a one-finger drag changed the picture far from its path ($before_far)"

n_created=$(components "$work/create.log")
n_erased=$(components "$work/create-erase.log")
echo "components at exit: after creating $n_created, after creating and erasing $n_erased"
[ -n "$n_created" ] && [ -n "$n_erased" ] || fail "no statistics at exit"
# 200 strokes, the canvas, its brush, the palette, the build canvas and the
# stroke menu: creating adds, erasing takes away.
[ "${n_created:-0}" -gt 213 ] || fail "creating added too few components ($n_created)"
[ "${n_erased:-0}" -lt "${n_created:-0}" ] || fail "erasing did not remove components ($n_erased)"

erased_vs_before=$(changed "$work/create-erase-before.png" "$work/create-erase-erased.png" "$path")
created_vs_before=$(changed "$work/create-erase-before.png" "$work/create-erase-created.png" "$path")
echo "erase: path differs from the start by $erased_vs_before pixels after erasing, $created_vs_before before"
[ "${erased_vs_before:-0}" -lt "${created_vs_before:-0}" ] || fail "a hand drag did not erase the path"

[ $failures -eq 0 ] && echo "painting: all checks passed"
exit $failures
