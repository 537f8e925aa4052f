#!/usr/bin/env bash
# Documents, pictures and running instances, driven as a user would under a
# virtual X server:
#  1. a document named on the command line opens (title "Kurvaline - a.kvl");
#     grid off and line width 2, then "Speichern unter..." with a name typed
#     without extension writes b.kvl; the view is changed again; "Öffnen..."
#     first asks "Datei speichern?" (answered No), then opens b.kvl, and the
#     graph is pixel for pixel the one that was saved;
#  2. "Als Bild speichern..." writes a GIF87a that shows the graph exactly as
#     the screen does;
#  3. with OneInstance=1 a second start with b.kvl ends at once and the first
#     window opens the document;
#  4. closing one of two instances and answering Yes to the question about the
#     other one ends the other too, but the other first offers its modified
#     document for saving, and Cancel keeps it open.
# Drops are tested in shell_tests: xdotool cannot drag a file.
# Usage: e2e_documents.sh PATH/TO/kurvaline. Exit 77 (skipped) without
# xvfb-run, xdotool or ImageMagick.
set -u
bin=$1
source "$(dirname "$0")/../e2e_prologue.sh" xvfb-run xdotool import convert compare
# The running instances meet in the test's own folder.
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -m 700 "$tmp/run"
QT_QPA_PLATFORM=offscreen "$bin" --export "$tmp/a.kvl" --formula "x^2;sin(3x)" || { echo "FAIL: no document to start with"; exit 1; }

cat >"$tmp/drive.sh" <<'EOF'
set -u
bin=$1 tmp=$2
log() { echo "$*" >>"$tmp/log"; }
fail() { echo "FAIL: $*" >>"$tmp/result"; }

# Waits up to 10 s for a visible window of process $1 whose title matches $2.
wait_window() {
  local w
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_gone() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
# The middle of the plot, clear of toolbars, menu bar, labels and status bar.
plot_shot() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$tmp/screen.png"
  convert "$tmp/screen.png" -crop "$((WIDTH - 160))x$((HEIGHT - 200))+$((X + 100))+$((Y + 80))" +repage "$2"
}
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
# Types a name into the file dialog of process $1 (title matching $2) and
# accepts it; the name field's completer may take the first Return. The
# dialogs open in the document's folder, so the names are short: on a busy
# machine a long typed path lost a key now and then and saved elsewhere.
# The dialog takes its keys a while after it appears: in the sanitizer build
# on a busy machine the first ones were lost after a shorter wait.
enter_name() {
  wait_window "$1" "$2" >/dev/null || { fail "no file dialog $2"; return; }
  sleep 1
  xdotool type --delay 20 "$3"
  sleep 0.3
  xdotool key Return
  sleep 0.5
  if xdotool search --onlyvisible --pid "$1" --name "$2" >/dev/null 2>&1; then
    xdotool key Return
    sleep 0.5
  fi
}

# ---- 1. open from the command line, save as, change, reopen -------------
"$bin" "$tmp/a.kvl" >"$tmp/out1.txt" 2>&1 &
p1=$!
win=$(wait_window $p1 '^Kurvaline - a\.kvl$') || { fail "a.kvl not opened from the command line"; kill $p1; exit; }
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool key ctrl+g; sleep 0.3; xdotool key 2; sleep 0.5
plot_shot "$win" "$tmp/saved.png"
xdotool key alt+d; sleep 0.3; xdotool key u
enter_name $p1 '^Speichern unter$' b
wait_window $p1 '^Kurvaline - b\.kvl$' >/dev/null || fail "title after Speichern unter is not b.kvl"
[ -f "$tmp/b.kvl" ] || fail "b.kvl not written (.kvl not appended?)"
xdotool windowfocus --sync "$win"
xdotool key ctrl+g; sleep 0.3; xdotool key 1; sleep 0.5
plot_shot "$win" "$tmp/changed.png"
same "$tmp/saved.png" "$tmp/changed.png" && fail "the change did not show"
xdotool key ctrl+o; sleep 0.8
import -window root "$tmp/question.png"
xdotool key alt+n   # "Datei speichern?" -> Nein
enter_name $p1 'ffnen$' b.kvl
sleep 1
xdotool windowfocus --sync "$win" 2>/dev/null
plot_shot "$win" "$tmp/reopened.png"
same "$tmp/saved.png" "$tmp/reopened.png" || fail "the reopened document does not show the saved graph"

# ---- 2. picture export ---------------------------------------------------
xdotool key alt+d; sleep 0.3; xdotool key b
enter_name $p1 '^Als Bild speichern$' p
for _ in $(seq 30); do [ -s "$tmp/p.gif" ] && break; sleep 0.1; done
if [ -s "$tmp/p.gif" ]; then
  [ "$(head -c 6 "$tmp/p.gif")" = "GIF87a" ] || fail "p.gif is not a GIF87a file"
  # The graph area reaches one pixel beyond the widget at the right and the
  # bottom; the rest must be the screen exactly, below the menu bar.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root "$tmp/screen.png"
  size=$(convert "$tmp/p.gif" -format '%[fx:w-1]x%[fx:h-1]' info:)
  convert "$tmp/p.gif" -crop "$size+0+0" +repage "$tmp/gif.png"
  found=no
  for dy in $(seq 10 40); do
    convert "$tmp/screen.png" -crop "$size+$((X + 26))+$((Y + dy))" +repage "$tmp/area.png"
    same "$tmp/gif.png" "$tmp/area.png" && { found=yes; break; }
  done
  [ $found = yes ] || fail "the GIF differs from the graph on the screen"
else
  fail "no picture written"
fi

xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key alt+d; sleep 0.3; xdotool key e
wait_gone $p1 || { fail "first run did not end after Beenden"; kill $p1; }

# ---- 3. hand-over to the running instance --------------------------------
sed -i 's/^OneInstance=0$/OneInstance=1/' "$KURVALINE_INI"
"$bin" >"$tmp/out3.txt" 2>&1 &
p3=$!
win=$(wait_window $p3 '^Kurvaline$') || { fail "no first instance"; kill $p3; exit; }
sleep 0.5
timeout 20 "$bin" "$tmp/b.kvl" >"$tmp/out4.txt" 2>&1
rc=$?
[ $rc -eq 0 ] || fail "the second start did not end with 0 (status $rc)"
wait_window $p3 '^Kurvaline - b\.kvl$' >/dev/null || fail "the first instance did not open the handed-over document"

# ---- 4. closing the other instance keeps its modified document -----------
sed -i 's/^OneInstance=1$/OneInstance=0/' "$KURVALINE_INI"
"$bin" >"$tmp/out5.txt" 2>&1 &
p5=$!
win5=$(wait_window $p5 '^Kurvaline$') || { fail "no second instance"; kill $p3 $p5; exit; }
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool key ctrl+g; sleep 0.3          # modifies b.kvl in the first instance
xdotool windowfocus --sync "$win5"
xdotool key alt+d; sleep 0.3; xdotool key e; sleep 1
import -window root "$tmp/others.png"
xdotool key alt+j                      # close the other one too
wait_gone $p5 || fail "the closing instance did not end"
sleep 1
import -window root "$tmp/other_save.png"
xdotool key Escape                     # the other's "Datei speichern?" -> Abbrechen
sleep 1
kill -0 $p3 2>/dev/null || fail "the instance with a modified document ended without asking"
win=$(wait_window $p3 '^Kurvaline - b\.kvl$') && xdotool windowfocus --sync "$win"
xdotool key alt+d; sleep 0.3; xdotool key e; sleep 0.8
xdotool key alt+n                      # no save, no other instance left
sleep 1; import -window root "$tmp/final.png"
wait_gone $p3 || { fail "the remaining instance did not end"; kill $p3; }
[ -f "$tmp/result" ] || echo ok >"$tmp/result"
EOF

timeout 150 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$tmp/drive.sh" "$bin" "$tmp"
result=$(cat "$tmp/result" 2>/dev/null || echo "FAIL: no result")
# KV_E2E_KEEP=folder keeps the screenshots for a look.
if [ -n "${KV_E2E_KEEP:-}" ]; then mkdir -p "$KV_E2E_KEEP" && cp "$tmp"/*.png "$KV_E2E_KEEP"/ 2>/dev/null; fi
if [ "$result" != ok ]; then
  echo "$result"
  for f in "$tmp"/out*.txt; do [ -s "$f" ] && { echo "--- $f"; cat "$f"; }; done
  exit 1
fi
echo "all checks passed"
