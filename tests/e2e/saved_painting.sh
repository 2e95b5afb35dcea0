#!/usr/bin/env bash
# End-to-end saved paintings, as a new user would try them: paint, save,
# quit, start again and open: the same picture and primitive count; the
# exported image at twice the window size shrinks back to the screen's
# picture; killed (kill -9) after an autosave, started again and restored:
# the painting comes back. The real binary under Xvfb in a temporary copy
# of the run directory; save, open and export use PICTAVO_PAINTING_FILE
# and PICTAVO_EXPORT_FILE instead of the file dialog.
# Usage: saved_painting.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
source "$(dirname "$self")/common.sh"

surface=1024x700+0+30

# Waits until file $1 exists (or log $1 holds $2 more lines matching $3).
await_file() {
  for _ in $(seq 100); do [ -s "$1" ] && return 0; sleep 0.1; done
  echo "no $1"
  return 1
}
await_lines() {
  for _ in $(seq 150); do
    [ "$(grep -c "$3" "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  echo "no line '$3' number $2 in $1"
  return 1
}

paint_path() {
  xdotool key alt+2
  sleep 0.3
  drag 150 450 400
  drag 200 600 250
}

session() {
  local log="$work/$1.log"
  start_pictavo "$log" || return 1
  await_settled "$work/$1-surface.ppm" "$surface" || { quit_pictavo; return 1; }
  case $1 in
    save)
      paint_path
      await_settled "$work/$1-surface.ppm" "$surface"
      screenshot "$work/painted.png"
      xdotool key ctrl+shift+s
      await_file "$PICTAVO_PAINTING_FILE"
      xdotool key ctrl+shift+e
      await_lines "$log" 1 "image exported"
      ;;
    open)
      xdotool key ctrl+shift+o
      await_lines "$log" 1 "opened"
      await_settled "$work/$1-surface.ppm" "$surface"
      screenshot "$work/opened.png"
      ;;
    crash)
      paint_path
      await_settled "$work/$1-surface.ppm" "$surface"
      screenshot "$work/before-crash.png"
      # An autosave that starts after the painting settled.
      local saves; saves=$(grep -c "autosaved" "$log")
      await_lines "$log" $((saves + 2)) "autosaved"
      kill -9 $pid
      wait $pid 2>/dev/null
      return 0
      ;;
    restore)
      xdotool key ctrl+shift+r
      await_lines "$log" 1 "opened"
      await_settled "$work/$1-surface.ppm" "$surface"
      screenshot "$work/restored.png"
      ;;
  esac
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
prepare_run "$binary" "$run_template" 47500 0
# Autosaves every 2 seconds, so the crash session need not wait long.
sed -i -e '/<painting /d' -e 's|</pictavo>|  <painting autosave_seconds="2"/>\n</pictavo>|' "$work/run/config.xml"
export work
export PICTAVO_PAINTING_FILE="$work/saved.pictavo" PICTAVO_EXPORT_FILE="$work/export.png" PICTAVO_EXPORT_SCALE=2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions save open crash restore

n_saved=$(components "$work/save.log")
n_opened=$(components "$work/open.log")
echo "components at exit: painted and saved $n_saved, opened $n_opened"
[ -n "$n_saved" ] && [ "$n_saved" = "$n_opened" ] || fail "the opened painting has another count ($n_saved, $n_opened)"
diff_open=$(changed "$work/painted.png" "$work/opened.png" "$surface" 10)
echo "opened: $diff_open of 716800 pixels differ from the saved picture"
[ "${diff_open:-999999}" -lt 7000 ] || fail "the opened painting looks different ($diff_open pixels)"
sqlite3 "$PICTAVO_PAINTING_FILE" 'SELECT count(*) FROM primitives' > "$work/rows.txt" || fail "sqlite3 cannot read the file"
echo "sqlite3 counts $(cat "$work/rows.txt") primitive rows"

# The export at twice the window's size against the screen, both shrunk to
# 64 x 45 blocks (resampling moves single pixels at every stroke's edge,
# not whole blocks); the surface starts below the menu bar, at the offset
# where they match best.
size=$(identify -format '%wx%h' "$PICTAVO_EXPORT_FILE" 2>/dev/null)
echo "exported image: $size"
width=${size%x*}
height=${size#*x}
[ "${width:-0}" = 2048 ] && [ $((height % 2)) = 0 ] || fail "the export is not twice the window's size ($size)"
convert "$PICTAVO_EXPORT_FILE" -alpha off -filter box -resize '64x45!' "$work/export-blocks.png"
best=2880
for top in $(seq 10 40); do
  convert "$work/painted.png" -alpha off -crop "1024x$((height / 2))+0+$top" +repage -filter box \
          -resize '64x45!' "$work/screen-blocks.png"
  d=$(compare -metric AE -fuzz 5% "$work/screen-blocks.png" "$work/export-blocks.png" null: 2>&1 | cut -d' ' -f1)
  [[ "$d" =~ ^[0-9]+$ ]] && [ "$d" -lt "$best" ] && best=$d
done
echo "export: $best of 2880 blocks of the shrunk export differ from the screen"
[ "$best" -lt 29 ] || fail "the shrunk export does not match the screen ($best blocks)"

n_autosaved=$(grep -o 'autosaved [0-9]*' "$work/crash.log" | tail -n 1 | cut -d' ' -f2)
n_restored=$(grep -o 'opened autosave[-a-z]*.pictavo ([0-9]*' "$work/restore.log" | grep -o '[0-9]*$')
echo "autosave before kill -9: $n_autosaved primitives; restored: $n_restored"
[ -n "$n_autosaved" ] && [ "$n_autosaved" = "$n_restored" ] || fail "the restored autosave has another count"
diff_restore=$(changed "$work/before-crash.png" "$work/restored.png" "$surface" 10)
echo "restored: $diff_restore pixels differ from the picture before the kill"
[ "${diff_restore:-999999}" -lt 7000 ] || fail "the restored painting looks different ($diff_restore pixels)"

[ -n "${KEEP_PICTURES:-}" ] && cp "$work"/*.png "$KEEP_PICTURES"/
[ $failures -eq 0 ] && echo "saved painting: all checks passed"
exit $failures
