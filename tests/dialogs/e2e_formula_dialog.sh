#!/usr/bin/env bash
# Drives the function dialog of the real program under a virtual X server:
# Ctrl+F opens it, a formula and an x range are typed, "&Graph" draws them
# (the plot must change); then a formula with a missing bracket is committed:
# the dialog must come back by itself with the message box, and the faulty
# formula must be selected, so that typing replaces it whole and the next
# "&Graph" leaves no dialog behind.
# Usage: e2e_formula_dialog.sh PATH/TO/kurvaline. Exit 77 (skipped) without
# xvfb-run, xdotool or ImageMagick.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool import convert compare

# Runs inside the X server; findings go to $tmp/result, one line each.
cat >"$tmp/drive.sh" <<'EOF2'
set -u
bin=$1 tmp=$2
note() { echo "$*" >>"$tmp/result"; }
wait_window() {  # name pattern; prints the window id
  local w=""
  for _ in $(seq 50); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  echo "$w"
}
count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

"$bin" >"$tmp/out.txt" 2>&1 &
pid=$!
main=$(wait_window '^Kurvaline$')
[ -n "$main" ] || { note "no main window"; kill $pid; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
echo "$((WIDTH - 160))x$((HEIGHT - 200))+$((X + 100))+$((Y + 80))" >"$tmp/plot_crop"
import -window root "$tmp/before.png"

xdotool key ctrl+f
dlg=$(wait_window '^Funktionsterm eingeben$')
[ -n "$dlg" ] || { note "no dialog after Ctrl+F"; kill $pid; exit 1; }
sleep 0.3
# The formula field has the focus; Tab leads on to x min.
xdotool key ctrl+a type --delay 20 'x^2/4-3'
xdotool key Tab ctrl+a minus
xdotool type --delay 20 'pi'
xdotool key alt+g
sleep 1
[ "$(count_windows '^Funktionsterm eingeben$')" -eq 0 ] || note "dialog still open after Graph"
import -window root "$tmp/drawn.png"

xdotool key ctrl+f
dlg=$(wait_window '^Funktionsterm eingeben$')
[ -n "$dlg" ] || { note "no dialog after the second Ctrl+F"; kill $pid; exit 1; }
sleep 0.3
xdotool key ctrl+a type --delay 20 'sin(x'
xdotool key alt+g
sleep 1.5
# The dialog is back, with the message box above it (caption "Kurvaline").
[ "$(count_windows '^Funktionsterm eingeben$')" -eq 1 ] || note "dialog did not come back"
[ "$(count_windows '^Kurvaline$')" -ge 2 ] || note "no message box"
import -window root "$tmp/message.png"
xdotool key Return
sleep 0.5
# The faulty text is selected: typing replaces it.
xdotool type --delay 20 'cos(x)'
xdotool key alt+g
sleep 1.5
[ "$(count_windows '^Funktionsterm eingeben$')" -eq 0 ] || note "dialog open after the corrected formula"
[ "$(count_windows '^Kurvaline$')" -eq 1 ] || note "a message box is left"
import -window root "$tmp/corrected.png"

kill $pid
wait $pid 2>/dev/null
note "done"
EOF2

timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
while read -r line; do
  [ "$line" = "done" ] || fail "$line"
done < <(cat "$tmp/result" 2>/dev/null || echo "no result")

differs() {  # number of differing pixels inside the plot
  local crop
  crop=$(cat "$tmp/plot_crop")
  convert "$1" -crop "$crop" +repage "$tmp/a.png"
  convert "$2" -crop "$crop" +repage "$tmp/b.png"
  compare -metric AE "$tmp/a.png" "$tmp/b.png" null: 2>&1 | cut -d' ' -f1
}
if [ -f "$tmp/before.png" ] && [ -f "$tmp/drawn.png" ] && [ -f "$tmp/corrected.png" ]; then
  [ "$(differs "$tmp/before.png" "$tmp/drawn.png")" -gt 200 ] || fail "the graph did not change after Graph"
  [ "$(differs "$tmp/drawn.png" "$tmp/corrected.png")" -gt 200 ] || fail "the corrected formula was not drawn"
else
  fail "no screenshots"
fi
if [ -n "${KV_E2E_KEEP:-}" ]; then cp "$tmp"/*.png "$KV_E2E_KEEP"/ 2>/dev/null; fi

[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
