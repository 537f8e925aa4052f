#!/usr/bin/env bash
# Drives the real program as a user would, under a virtual X server: Ctrl+G
# switches grid and subgrid off, "2" sets the line width, "Datei" -> "Beenden"
# quits; then the settings file must hold Grid=0 and LineWidth=2 for the
# "Function" panel, and the screenshot taken before quitting must show a
# graph without grid lines where it showed them at the start.
# Usage: e2e_main_window.sh PATH/TO/kurvaline. Exit 77 (skipped) without
# xvfb-run, xdotool or ImageMagick.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool import convert
# The running instances meet in the test's own folder.
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -m 700 "$tmp/run"

# Runs inside the X server; the result goes to $tmp/result.
cat >"$tmp/drive.sh" <<'EOF'
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
# The middle of the plot: clear of the toolbars, menu bar, labels and status bar.
echo "$((WIDTH - 160))x$((HEIGHT - 200))+$((X + 100))+$((Y + 80))" >"$tmp/plot_crop"
import -window root "$tmp/before.png"
xdotool key ctrl+g
sleep 0.3
xdotool key 2
sleep 0.5
import -window root "$tmp/after.png"
xdotool key alt+d
sleep 0.5
xdotool key e
for _ in $(seq 100); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
  echo "still running after Beenden" >"$tmp/result"
  kill $pid
  exit 1
fi
wait $pid
echo "exit $?" >"$tmp/result"
EOF

timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp"
result=$(cat "$tmp/result" 2>/dev/null || echo "no result")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ "$result" = "exit 0" ] || fail "program: $result; output: $(cat "$tmp/out.txt" 2>/dev/null)"

# Grid=0 and LineWidth=2 in the section of the "Function" panel.
section() { awk -v s="[$1]" '$0 == s {on = 1; next} /^\[/ {on = 0} on' "$KURVALINE_INI"; }
if [ -f "$KURVALINE_INI" ]; then
  prefs=$(section "UserPrefs Function")
  grep -qx 'Grid=0' <<<"$prefs" || fail "no Grid=0 in [UserPrefs Function]"
  grep -qx 'LineWidth=2' <<<"$prefs" || fail "no LineWidth=2 in [UserPrefs Function]"
else
  fail "no settings file written"
fi

# Grid lines are dotted in 0x999999 (first colour scheme).
grid_pixels() {
  convert "$1" -crop "$(cat "$tmp/plot_crop")" +repage -fill black +opaque '#999999' \
    -fill white -opaque '#999999' -format '%[fx:round(mean*w*h)]' info:
}
if [ -f "$tmp/before.png" ] && [ -f "$tmp/after.png" ]; then
  before=$(grid_pixels "$tmp/before.png")
  after=$(grid_pixels "$tmp/after.png")
  [ "$before" -gt 500 ] || fail "no grid in the start picture ($before grid pixels)"
  [ "$after" -eq 0 ] || fail "grid still shown after Ctrl+G ($after grid pixels)"
else
  fail "no screenshots"
fi

[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
