#!/usr/bin/env bash
# Drives the view changes of the real program under a virtual X server:
# "+", a wheel notch, a dragged zoom rectangle and a downward right-button
# gesture must each change the plot; then Ctrl+Z, step by step, must bring
# back each earlier picture pixel for pixel. EqualScales is off in the
# settings file, since the zoom rectangle switches it off and undo leaves it.
# Screenshots of the running rectangle and of the coordinate tooltip are kept
# in $KV_E2E_SHOTS when that is set.
# Usage: e2e_view.sh PATH/TO/kurvaline. Exit 77 (skipped) without xvfb-run,
# xdotool or ImageMagick.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool import convert compare
printf '[UserPrefs Function]\nEqualScales=0\n' >"$KURVALINE_INI"

cat >"$tmp/drive.sh" <<'DRIVE'
set -u
bin=$1 tmp=$2
"$bin" >"$tmp/out.txt" 2>&1 &
pid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^Kurvaline$' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "no window" >"$tmp/result"; kill $pid; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$win"
eval "$(xdotool getwindowgeometry --shell "$win")"   # X, Y, WIDTH, HEIGHT
crop="$((WIDTH - 160))x$((HEIGHT - 200))+$((X + 100))+$((Y + 80))"
cx=$((X + WIDTH / 2)) cy=$((Y + HEIGHT / 2))
# Away from the graph, so neither the tooltip nor the cursor is in the picture.
shot() {
  xdotool mousemove 1 1
  sleep 0.4
  import -window root -crop "$crop" +repage "$tmp/$1.png"
}
drag() {  # button x0 y0 x1 y1, in ten steps
  xdotool mousemove "$2" "$3" mousedown "$1"
  for i in $(seq 10); do
    xdotool mousemove $(($2 + ($4 - $2) * i / 10)) $(($3 + ($5 - $3) * i / 10))
    sleep 0.02
  done
}
shot s0
xdotool key plus
shot s1
xdotool mousemove $((cx + 40)) $((cy - 30))
sleep 0.3
import -window root "$tmp/tooltip.png"
xdotool click 4
shot s2
drag 1 $((cx - 150)) $((cy - 100)) $((cx + 120)) $((cy + 90))
sleep 0.3
import -window root "$tmp/rectangle.png"
xdotool mouseup 1
shot s3
drag 3 $cx $cy $cx $((cy + 40))
xdotool mouseup 3
shot s4
for i in 3 2 1 0; do
  xdotool key ctrl+z
  shot "u$i"
done
kill $pid
wait $pid 2>/dev/null
echo done >"$tmp/result"
DRIVE

# xvfb-run -a can race another run for the same display number; one more try.
for attempt in 1 2; do
  rm -f "$tmp/result"
  timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp"
  grep -q "could not connect to display" "$tmp/out.txt" 2>/dev/null || break
done
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
result=$(cat "$tmp/result" 2>/dev/null || echo "no result")
[ "$result" = "done" ] || fail "program: $result; output: $(cat "$tmp/out.txt" 2>/dev/null)"

# Differing pixels of two screenshots.
differ() { compare -metric AE "$tmp/$1.png" "$tmp/$2.png" null: 2>&1 | cut -d' ' -f1; }
if [ "$failures" -eq 0 ]; then
  steps=("" "+" "wheel" "zoom rectangle" "gesture")
  for i in 1 2 3 4; do
    n=$(differ "s$((i - 1))" "s$i")
    [ "$n" != "0" ] || fail "${steps[$i]} did not change the picture"
  done
  for i in 3 2 1 0; do
    n=$(differ "s$i" "u$i")
    [ "$n" = "0" ] || fail "undo to step $i: $n pixels differ"
  done
fi
if [ -n "${KV_E2E_SHOTS:-}" ]; then
  mkdir -p "$KV_E2E_SHOTS" && cp "$tmp"/*.png "$KV_E2E_SHOTS"/ 2>/dev/null
fi

[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
