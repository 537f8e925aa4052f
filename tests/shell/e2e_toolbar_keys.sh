#!/usr/bin/env bash
# The arrow keys after a click on a toolbar button, under a real window
# manager (openbox): whoever held the keyboard before (the graph, or the
# menu bar after Alt alone or after a menu closed with Escape), the click
# gives it back to the graph, so Right scrolls the plot and leaves the menu
# bar as it was. Each case starts the program afresh.
# Usage: e2e_toolbar_keys.sh PATH/TO/kurvaline. Exit 77 (skipped) without
# xvfb-run, openbox, xdotool, xprop, xwininfo or ImageMagick.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run openbox xdotool xprop xwininfo import convert compare
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -m 700 "$tmp/run"

cat >"$tmp/drive.sh" <<'DRIVE'
set -u
bin=$1 tmp=$2
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
# Two pictures differ in how many pixels.
differ() { compare -metric AE "$1" "$2" null: 2>&1; }
case_() {  # label before button(left|right) row
  local label=$1 before=$2 side=$3 row=$4 win="" X Y W
  rm -f "$KURVALINE_INI"
  "$bin" >>"$tmp/out.txt" 2>&1 &
  local pid=$!
  for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name '^Kurvaline$' 2>/dev/null | head -1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { echo "$label: no window" >>"$tmp/problems"; kill $pid; return; }
  sleep 1
  read -r X Y W <<<"$(xwininfo -id "$win" |
    sed -n 's/^ *\(Absolute upper-left [XY]\|Width\): *//p' | tr '\n' ' ')"
  case $before in
    alt) xdotool key alt ;;
    menu) xdotool key alt+d; sleep 0.5; xdotool key Escape ;;
  esac
  sleep 0.4
  # The buttons are 26 pixels apart below a menu bar of about 20.
  local bx=$((X + 13)); [ "$side" = right ] && bx=$((X + W - 13))
  xdotool mousemove $bx $((Y + 32 + 26 * row)) click 1
  sleep 0.5
  xdotool mousemove 1 1
  sleep 0.4
  import -window root -crop "${W}x560+$X+$Y" +repage "$tmp/before.png"
  xdotool key Right
  sleep 0.5
  import -window root -crop "${W}x560+$X+$Y" +repage "$tmp/after.png"
  convert "$tmp/before.png" -crop "${W}x20+0+0" +repage "$tmp/bar0.png"
  convert "$tmp/after.png" -crop "${W}x20+0+0" +repage "$tmp/bar1.png"
  convert "$tmp/before.png" -crop "$((W - 120))x500+60+40" +repage "$tmp/plot0.png"
  convert "$tmp/after.png" -crop "$((W - 120))x500+60+40" +repage "$tmp/plot1.png"
  [ "$(differ "$tmp/plot0.png" "$tmp/plot1.png")" != 0 ] || echo "$label: Right did not scroll" >>"$tmp/problems"
  [ "$(differ "$tmp/bar0.png" "$tmp/bar1.png")" = 0 ] || echo "$label: Right changed the menu bar" >>"$tmp/problems"
  echo "$label" >>"$tmp/done"
  kill $pid
  wait $pid 2>/dev/null
}
# Rows: 4 is "zoom in" on the left; 1 is the grid check button on the right.
case_ "zoom button" none left 4
case_ "Alt, zoom button" alt left 4
case_ "Alt, grid check button" alt right 1
case_ "menu closed with Escape, zoom button" menu left 4
case_ "menu closed with Escape, grid check button" menu right 1
DRIVE

timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp"
failures=0
[ -f "$tmp/problems" ] && while read -r line; do echo "FAIL: $line"; failures=$((failures + 1)); done <"$tmp/problems"
[ "$(wc -l <"$tmp/done" 2>/dev/null)" = 5 ] || { echo "FAIL: not every case ran"; failures=$((failures + 1)); }
[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
