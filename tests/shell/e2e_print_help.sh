#!/usr/bin/env bash
# Drives the real program under a virtual X server: F1 opens the help window
# and Esc closes it; "Bild &kopieren" (Ctrl+C) puts the graph on the
# clipboard, where xclip reads it as PNG; "&Drucken" (Ctrl+P) prints one page
# whose rendering shows the graph. The printout goes to a PDF file without
# the print dialog through KURVALINE_PRINT_TO_PDF.
# Usage: e2e_print_help.sh PATH/TO/kurvaline. Exit 77 (skipped) when
# xvfb-run, xdotool, xclip, ImageMagick or poppler-utils are missing.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool xclip convert identify pdfinfo pdftoppm
export KURVALINE_PRINT_TO_PDF="$tmp/print.pdf"

# Runs inside the X server; findings go to $tmp/result, one line each.
cat >"$tmp/drive.sh" <<'EOF2'
set -u
bin=$1 tmp=$2
note() { echo "$*" >>"$tmp/result"; }
find_window() {  # name pattern; prints the window id or nothing
  for _ in $(seq 50); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return; }
    sleep 0.1
  done
}
"$bin" >"$tmp/out.txt" 2>&1 &
pid=$!
win=$(find_window '^Kurvaline$')
[ -n "$win" ] || { note "no main window"; kill $pid; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$win"

xdotool key F1
help=$(find_window '^Kurvaline Hilfe$')
if [ -n "$help" ]; then
  note "help opened"
  sleep 0.3
  import -window root "$tmp/help.png"
  xdotool windowfocus --sync "$help"
  xdotool key Escape
  sleep 0.5
  xdotool search --onlyvisible --name '^Kurvaline Hilfe$' >/dev/null 2>&1 || note "help closed"
fi

xdotool windowfocus --sync "$win"
xdotool key ctrl+c
sleep 0.5
xclip -o -selection clipboard -t image/png >"$tmp/clip.png" 2>/dev/null

xdotool key ctrl+p
for _ in $(seq 50); do [ -s "$tmp/print.pdf" ] && break; sleep 0.1; done
sleep 0.5
kill $pid
wait $pid 2>/dev/null
note "done"
EOF2

timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
has() { grep -qx "$1" "$tmp/result" 2>/dev/null; }

has "done" || fail "the run did not finish: $(cat "$tmp/result" 2>/dev/null); $(cat "$tmp/out.txt" 2>/dev/null)"
has "help opened" || fail "F1 opened no window \"Kurvaline Hilfe\""
has "help closed" || fail "Esc did not close the help window"

# The clipboard picture: the graph area with the grid of the first colour
# scheme (0x999999).
grid_pixels() {
  convert "$1" -fill black +opaque '#999999' -fill white -opaque '#999999' \
    -format '%[fx:round(mean*w*h)]' info:
}
if [ -s "$tmp/clip.png" ] && identify "$tmp/clip.png" >/dev/null 2>&1; then
  size=$(identify -format '%w %h' "$tmp/clip.png")
  read -r w h <<<"$size"
  [ "$w" -ge 400 ] && [ "$h" -ge 300 ] || fail "clipboard picture only $size"
  [ "$(grid_pixels "$tmp/clip.png")" -gt 500 ] || fail "no grid in the clipboard picture"
else
  fail "no PNG picture on the clipboard"
fi

# The printout: one page, and its rendering has the dark axes and labels
# in the upper part of the page (the picture sits at the top margin).
if [ -s "$tmp/print.pdf" ]; then
  pages=$(pdfinfo "$tmp/print.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  [ "$pages" = "1" ] || fail "printout has ${pages:-no} pages"
  pdftoppm -png -r 72 -singlefile "$tmp/print.pdf" "$tmp/page"
  dark() {  # dark pixels in a band of the page, given as height percentages
    convert "$tmp/page.png" -gravity north -crop "100%x$1%+0+0" +repage -threshold 50% -negate \
      -format '%[fx:round(mean*w*h)]' info:
  }
  top=$(dark 60)
  all=$(dark 100)
  [ "$top" -gt 1000 ] || fail "the printed page shows no graph ($top dark pixels)"
  [ "$all" -lt $((top + 50)) ] || fail "the printout reaches below the graph's place ($all vs $top)"
else
  fail "no printout written"
fi

[ $failures -eq 0 ] && echo "all checks passed"
[ $failures -eq 0 ]
