#!/usr/bin/env bash
# End-to-end menus, as a person would use them: the real binary under Xvfb
# in a temporary copy of the run directory with a light stroke demo.
# Tapping the canvas places the context menu, Alt+C shows it, a mouse loop on
# the canvas draws the lasso (a red line), and "Erase" removes what lies
# inside: fewer components at exit than a run left alone, paper inside the
# lasso, the picture unchanged far from it. The mode keys change the corner
# menu's icons.
# Usage: menus.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
source "$(dirname "$self")/common.sh"

# The lasso: a square loop from (150, 150) to (450, 450) on the root window.
lasso() {
  xdotool mousemove 150 150 mousedown 1
  for p in "300 150" "450 150" "450 300" "450 450" "300 450" "150 450" "150 300" "150 160"; do
    set -- $p
    xdotool mousemove "$1" "$2"
    sleep 0.05
  done
  xdotool mouseup 1
}

session() {
  # Runs inside the X server. $1: "idle" (start and quit) or "menus".
  start_pictavo "$work/$1.log" || return 1
  if [ "$1" = "menus" ]; then
    import -window root "$work/before.png"
    xdotool mousemove 820 250 click 1   # the menu will open here
    sleep 0.3
    xdotool key alt+c
    sleep 0.5
    lasso
    sleep 0.5
    import -window root "$work/lasso.png"
    xdotool mousemove 820 350 click 1   # "Erase", below the centre
    sleep 2
    import -window root "$work/erased.png"
    for mode in 1 2 5; do                # create, erase, move
      xdotool key "ctrl+F$mode"
      sleep 0.5
      import -window root -crop 200x200+820+20 +repage "$work/corner$mode.png"
    done
  fi
  quit_pictavo
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session "$2"
  exit $?
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare_run "$1" "$2" 47390 0
export work
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions idle menus

# Pixels darker than the paper in a region of a picture.
dark() { convert "$1" -crop "$2" +repage -colorspace Gray -threshold 70% -negate -format '%[fx:round(mean*w*h)]' info:; }
# Red lasso pixels in a picture.
red() { convert "$1" -fx 'r>0.7 && g<0.3 && b<0.3 ? 1 : 0' -colorspace Gray -format '%[fx:round(mean*w*h)]' info:; }

n_idle=$(components "$work/idle.log")
n_menus=$(components "$work/menus.log")
echo "components at exit: left alone $n_idle, after the lasso erase $n_menus"
[ -n "$n_idle" ] && [ -n "$n_menus" ] || fail "no statistics at exit"
[ "${n_menus:-0}" -lt "$(( ${n_idle:-0} - 10 ))" ] || fail "the lasso erase removed too few components"

inside=240x240+180+180
far=300x150+500+520
lasso_red=$(red "$work/lasso.png")
dark_before=$(dark "$work/before.png" "$inside")
dark_after=$(dark "$work/erased.png" "$inside")
far_changed=$(changed "$work/before.png" "$work/erased.png" "$far")
echo "lasso line: $lasso_red red pixels; inside: $dark_before dark pixels before, $dark_after after; far: $far_changed changed"
[ "${lasso_red:-0}" -gt 500 ] || fail "the lasso was not drawn"
[ "${dark_before:-0}" -gt 2000 ] || fail "no picture inside the lasso to begin with"
[ "${dark_after:-0}" -lt 200 ] || fail "the inside of the lasso is not paper"
[ "${far_changed:-0}" -lt 300 ] || fail "the picture changed far from the lasso"

create_erase=$(compare -metric AE -fuzz 10% "$work/corner1.png" "$work/corner2.png" null: 2>&1 | cut -d' ' -f1)
erase_move=$(compare -metric AE -fuzz 10% "$work/corner2.png" "$work/corner5.png" null: 2>&1 | cut -d' ' -f1)
echo "corner menu: create/erase differ by $create_erase pixels, erase/move by $erase_move"
[ "${create_erase:-0}" -gt 150 ] || fail "the corner menu did not change from create to erase"
[ "${erase_move:-0}" -gt 150 ] || fail "the corner menu did not change from erase to move"

[ $failures -eq 0 ] && echo "menus: all checks passed"
exit $failures
