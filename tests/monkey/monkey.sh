#!/usr/bin/env bash
# The monkey test: a seeded random user drives the real program (meant for the
# sanitized build) under a virtual X server with keys, clicks, drags, wheel
# turns, right-button gestures and formula texts, opening and closing every
# dialog and calculator. It fails on a crash, a sanitizer report, a window
# that does not answer the window system's ping within two seconds, or a
# program that does not end when its window is closed at the end.
# Usage: monkey.sh PATH/TO/kurvaline [SEED [SECONDS [STEPS]]]
# (defaults: seed 1, 60 seconds; with STEPS, that many steps however long they
# take). A failure prints the seed and the command that replays it up to the
# failing step. KV_MONKEY_WM=openbox runs a window manager first;
# KV_MONKEY_HISTORY=N lists the last N steps of a failure (25). Exit 77
# (skipped) without xvfb-run, xdotool or python3.
set -u
bin=$1 seed=${2:-1} seconds=${3:-60} steps=${4:-0}
here=$(cd "$(dirname "$0")" && pwd)
wm=${KV_MONKEY_WM:-}
source "$here/../e2e_prologue.sh" xvfb-run xdotool python3 $wm
# Nothing of the user's: home, configuration, instance sockets and the
# folder the file dialogs start in all lie in the test's own folder.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_CACHE_HOME="$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$tmp/files" "$tmp/san"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export KURVALINE_PRINT_TO_PDF="$tmp/print.pdf"
# No save question when the window closes at the end; file dialogs, should
# the monkey reach one, start in a folder of the test's own.
printf '[UserPrefs]\nAlert SaveFile=0\n[File]\nDir=%s\n' "$tmp/files" >"$KURVALINE_INI"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:log_path=$tmp/san/asan"
export LSAN_OPTIONS="suppressions=$here/../../scripts/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$tmp/san/ubsan"
cd "$tmp/files" || exit 1

replay="${wm:+KV_MONKEY_WM=$wm }bash $here/monkey.sh $bin $seed $seconds"
# xvfb-run -a can race another run for the same display number; one more try.
for attempt in 1 2; do
  timeout $((seconds + 240 + 2 * steps)) xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    python3 "$here/monkey.py" --bin "$bin" --seed "$seed" --seconds "$seconds" --steps "$steps" \
    --log "$tmp/program.log" --sanitizer-logs "$tmp/san" --replay "$replay" --wm "$wm"
  status=$?
  grep -q "could not connect to display" "$tmp/program.log" 2>/dev/null || break
done
if [ $status -ne 0 ]; then
  [ $status -eq 124 ] && echo "FAIL: the monkey run itself did not end (seed $seed)"
  echo "program output (last 40 lines):"
  tail -n 40 "$tmp/program.log" 2>/dev/null
  [ $status -eq 124 ] && echo "replay: $replay"
fi
exit $status
