#!/usr/bin/env bash
# Drives the real program under a virtual X server: a document with the
# formulas "x^2-1;r(t)=3" and "Markante Punkte" on is opened, Ctrl+K opens
# "Kurvendiskussion" with the Cartesian formula and the visible range, Enter
# computes, "Tabelle &kopieren" copies; the clipboard must hold the proven
# zeros and the minimum with the German decimal comma, and not the polar
# formula. Esc closes the window.
# Usage: e2e_discussion.sh PATH/TO/kurvaline. Exit 77 (skipped) without
# xvfb-run, xdotool or xclip. With KV_E2E_SHOTS=DIR the window and the graph
# are kept as a screenshot in DIR.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool xclip
shots=${KV_E2E_SHOTS:-}
"$bin" --export "$tmp/marks.kvl" --formula "x^2-1;r(t)=3" --x-min -2.5 --x-max 2.5 \
  --set MarkPoints=1 || { echo "FAIL: no document"; exit 1; }

cat >"$tmp/drive.sh" <<'DRIVE'
set -u
bin=$1 tmp=$2 shots=$3
source "$E2E_WINDOWS"
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$bin" "$tmp/marks.kvl" >"$tmp/out.txt" 2>&1 &
pid=$!
finish() { kill $pid 2>/dev/null; exit 0; }

main=$(wait_window "Kurvaline - marks.kvl") || { echo "no main window" >"$tmp/result"; finish; }
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool key ctrl+k
window=$(wait_window Kurvendiskussion) || { echo "no discussion window" >"$tmp/result"; finish; }
sleep 0.3
xdotool windowfocus --sync "$window"
xdotool key Return
sleep 1
xdotool key alt+k
sleep 0.3
xclip -o -selection clipboard >"$tmp/table.txt" 2>/dev/null
[ -n "$shots" ] && command -v import >/dev/null && import -window root "$shots/discussion.png"
xdotool key Escape
sleep 0.3
xdotool search --onlyvisible --name '^Kurvendiskussion$' >/dev/null 2>&1 &&
  echo "window still open after Esc" >"$tmp/open"
kill $pid
echo "done" >"$tmp/result"
DRIVE

[ -n "$shots" ] && mkdir -p "$shots"
timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp" "$shots"
result=$(cat "$tmp/result" 2>/dev/null || echo "no result")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ "$result" = "done" ] || fail "program: $result; output: $(cat "$tmp/out.txt" 2>/dev/null)"
table=$(cat "$tmp/table.txt" 2>/dev/null)
head=$(printf 'y=x^2-1\r\n\r\nArt\tx\ty\tStatus\r\n')
[ "${table#"$head"}" != "$table" ] || fail "clipboard head: $(od -c "$tmp/table.txt" | head -5)"
for row in 'Nullstelle\t-1\t0\tbewiesen' 'Tiefpunkt\t0\t-1\tbewiesen' \
           'y-Achsenabschnitt\t0\t-1\tbewiesen' 'Nullstelle\t1\t0\tbewiesen'; do
  grep -q "$(printf "$row")" "$tmp/table.txt" || fail "no row $row in: $table"
done
grep -q 'r(t)' "$tmp/table.txt" && fail "the polar formula was discussed"
[ -f "$tmp/open" ] && fail "$(cat "$tmp/open")"

[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
