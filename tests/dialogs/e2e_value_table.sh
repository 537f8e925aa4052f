#!/usr/bin/env bash
# Drives the real program under a virtual X server: "Be&rechnung" ->
# "Werte&tabelle" opens the value table, a formula and its range are typed,
# Enter computes, "Tabelle &kopieren" copies; the clipboard must hold the
# table with the decimal comma of a German locale, and the formula with its
# point. Then "&Einzelwert" opens the single value, Alt+B computes and its
# result is copied too. Each calculator must take the keyboard focus itself.
# Usage: e2e_value_table.sh PATH/TO/kurvaline. Exit 77 (skipped) without
# xvfb-run, xdotool or xclip. With KV_E2E_SHOTS=DIR the two windows are
# kept as screenshots in DIR.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool xclip
shots=${KV_E2E_SHOTS:-}

cat >"$tmp/drive.sh" <<'DRIVE'
set -u
bin=$1 tmp=$2 shots=$3
source "$E2E_WINDOWS"
# The toolkit takes the decimal separator from these names alone; the C
# library need not know the locale.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$bin" >"$tmp/out.txt" 2>&1 &
pid=$!
# A newly opened calculator takes the keyboard focus itself, also without a
# window manager; what is typed next goes there.
takes_focus() {  # window id, name
  for _ in $(seq 20); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "$2 opened without the keyboard focus" >>"$tmp/unfocused"
  xdotool windowfocus --sync "$1"
}
shot() { [ -n "$shots" ] && command -v import >/dev/null && import -window "$1" "$shots/$2.png"; }
finish() { kill $pid 2>/dev/null; exit 0; }

main=$(wait_window Kurvaline) || { echo "no main window" >"$tmp/result"; finish; }
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool key alt+r
sleep 0.3
xdotool key t
table=$(wait_window "Funktionsrechner - Wertetabelle") || { echo "no table window" >"$tmp/result"; finish; }
takes_focus "$table" "value table"
# The formula field has the focus with its text selected; Tab selects each field.
xdotool type --delay 20 'x*x/4'
xdotool key Tab; xdotool type --delay 20 '0'
xdotool key Tab; xdotool type --delay 20 '1'
xdotool key Tab; xdotool type --delay 20 '0.25'
xdotool key Return
sleep 0.3
xdotool key alt+k
sleep 0.3
xclip -o -selection clipboard >"$tmp/table.txt" 2>/dev/null
shot "$table" table

xdotool windowfocus --sync "$main"
xdotool key alt+r
sleep 0.3
xdotool key e
value=$(wait_window "Funktionsrechner Einzelwert") || { echo "no value window" >"$tmp/result"; finish; }
takes_focus "$value" "single value"
xdotool key alt+b
sleep 0.3
xdotool key alt+k
sleep 0.3
xclip -o -selection clipboard >"$tmp/value.txt" 2>/dev/null
shot "$value" value
xdotool key Escape
sleep 0.3
xdotool search --onlyvisible --name '^Funktionsrechner Einzelwert$' >/dev/null 2>&1 &&
  echo "value window still open after Esc" >"$tmp/value_open"

xdotool windowfocus --sync "$main"
xdotool key alt+d
sleep 0.3
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
DRIVE

[ -n "$shots" ] && mkdir -p "$shots"
timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp" "$shots"
result=$(cat "$tmp/result" 2>/dev/null || echo "no result")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ "$result" = "exit 0" ] || fail "program: $result; output: $(cat "$tmp/out.txt" 2>/dev/null)"
expected=$(printf 'y=x*x/4\r\n\r\nx\ty\ty'"'"'\r\n0\t0\t0\r\n0,25\t0,015625\t0,125\r\n0,5\t0,0625\t0,25\r\n0,75\t0,140625\t0,375\r\n1\t0,25\t0,5\r\n.')
actual=$(cat "$tmp/table.txt" 2>/dev/null; printf .)
[ "$actual" = "$expected" ] || fail "table clipboard: $(od -c "$tmp/table.txt" 2>/dev/null | head -20)"
# x*cos(x) at 7.2, the single value's start.
expected=$(printf 'y=x*cos(x)\r\n\r\nx\ty\ty'"'"'\r\n7,2\t4,38013\t-5,10606\r\n.')
actual=$(cat "$tmp/value.txt" 2>/dev/null; printf .)
[ "$actual" = "$expected" ] || fail "value clipboard: $(od -c "$tmp/value.txt" 2>/dev/null | head -10)"
[ -f "$tmp/value_open" ] && fail "$(cat "$tmp/value_open")"
[ -f "$tmp/unfocused" ] && fail "$(cat "$tmp/unfocused")"

[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
