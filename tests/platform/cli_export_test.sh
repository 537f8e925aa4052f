#!/usr/bin/env bash
# kurvaline --export: files by extension, sizes, and the refusals that must
# leave no file behind. Runs without a display.
set -u
prog="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unset DISPLAY WAYLAND_DISPLAY
fail=0

check() {  # description, condition...
  local what="$1"; shift
  if ! "$@"; then echo "FAIL: $what"; fail=1; fi
}

# Width and height of a PNG from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }

# Every format, each from its own magic bytes.
for panel in function integral diffequ; do
  "$prog" --export "$dir/$panel.png" --panel "$panel"
  check "$panel png status" test $? -eq 0
  check "$panel png magic" test "$(head -c 4 "$dir/$panel.png" | tail -c 3)" = "PNG"
done
check "default size" test "$(png_size "$dir/function.png")" = "716x565"

"$prog" --export "$dir/a.gif" --size 400x300
check "gif status" test $? -eq 0
check "gif magic" test "$(head -c 6 "$dir/a.gif")" = "GIF87a"
"$prog" --export "$dir/a.bmp" --size 400x300 --palette 2 --line-width 3
check "bmp magic" test "$(head -c 2 "$dir/a.bmp")" = "BM"
"$prog" --export "$dir/a.svg" --set BoxedStyle=0 Grid=0 --set XUnitsPi=1
check "svg status" test $? -eq 0
check "svg root" grep -q "<svg" "$dir/a.svg"

# Crossed axes have the smaller left margin; odd sizes become even.
"$prog" --export "$dir/crossed.png" --set BoxedStyle=0 --size 301x201
check "crossed size" test "$(png_size "$dir/crossed.png")" = "$((23 + 302 + 23))x$((21 + 202 + 24))"

# Fields as formulas, automatic y bounds, start values.
"$prog" --export "$dir/f.png" --formula "x^2" --x-min "-2pi" --x-max "pi" --y-min "" --y-max ""
check "automatic y" test $? -eq 0
"$prog" --export "$dir/d.png" --panel diffequ --formula "y''=-y" --start 0 --start 1 --start 0 --derivative
check "diffequ starts" test $? -eq 0
"$prog" --export "$dir/i.png" --panel integral --formula "1/x" --x0 "1" --abs --deg
check "integral x0" test $? -eq 0

# "Markante Punkte": off draws exactly as before, on adds the points, and a
# document keeps the option.
"$prog" --export "$dir/plain.png" --formula "x^2-1"
"$prog" --export "$dir/off.png" --formula "x^2-1" --set MarkPoints=0
"$prog" --export "$dir/on.png" --formula "x^2-1" --set MarkPoints=1
check "marks off: same picture" cmp -s "$dir/plain.png" "$dir/off.png"
check "marks on: another picture" test -n "$(cmp "$dir/plain.png" "$dir/on.png" 2>&1)"
"$prog" --export "$dir/marks.kvl" --formula "x^2-1" --set MarkPoints=1
"$prog" --export "$dir/reread.png" "$dir/marks.kvl"
check "marks from a document" cmp -s "$dir/on.png" "$dir/reread.png"

# Refusals: German message, status 2, no file.
expect_refusal() {  # message fragment, arguments...
  local msg="$1"; shift
  local out
  out=$("$prog" --export "$dir/no.png" "$@" 2>&1 >/dev/null)
  local status=$?
  check "status 2 for $*" test $status -eq 2
  check "message for $*: $out" grep -q "$msg" <<<"$out"
  check "no file for $*" test ! -e "$dir/no.png"
}
expect_refusal "Ungültiger Definitionsbereich von x" --x-min 5 --x-max 1
expect_refusal "Ungültiger Argumentbereich für Polarfunktion" --t-min 1 --t-max 0
expect_refusal "Ungültiger Wertebereich von y" --y-min 3 --y-max 2
expect_refusal "Fehlerhafte Klammerung" --formula "sin(x"
expect_refusal "Ungültiger Ausdruck" --start "" --panel diffequ --formula "y'=y"
expect_refusal "Ungültige Eingabe: ergibt undefinierten Wert" --x-min "1/0"
expect_refusal "Im \"Integrieren-Modus\"" --panel integral --formula "x;x^2"

out=$("$prog" --export "$dir/missing/dir/a.png" 2>&1)
check "unwritable status" test $? -eq 2
check "unwritable message" grep -q "Fehler beim Speichern der Datei" <<<"$out"

# Documents: written instead of a picture, loaded before the other options.
seeds="$(dirname "$0")/../../fuzz/formats/seeds"
"$prog" --export "$dir/a.kvl" --formula "x^2" --deg --palette 2
check "kvl status" test $? -eq 0
check "kvl magic" test "$(head -c 9 "$dir/a.kvl")" = "Kurvaline"
check "kvl size" test "$(stat -c %s "$dir/a.kvl")" -gt 2308
"$prog" --export "$dir/b.kvl" "$dir/a.kvl"
check "reloaded document writes the same bytes" cmp -s "$dir/a.kvl" "$dir/b.kvl"
"$prog" --export "$dir/c.KVL" "$dir/a.kvl" --palette 1
check "options apply on top" test "$(od -An -tu1 -j432 -N1 "$dir/c.KVL" | tr -d ' ')" = "1"
"$prog" --export "$dir/i.kvl" --panel integral --formula "cos(x)"
"$prog" --export "$dir/j.kvl" "$dir/i.kvl"
check "document chooses the panel" test "$(od -An -tu1 -j256 -N1 "$dir/j.kvl" | tr -d ' ')" = "1"
"$prog" --export "$dir/doc.png" "$dir/i.kvl" --size 300x200
check "document rendered" test "$(head -c 4 "$dir/doc.png" | tail -c 3)" = "PNG"
"$prog" --export "$dir/legacy.kvl" "$seeds/legacy.kvl"
check "older layout read" test $? -eq 0

# A document is drawn as opening it in the window shows it: its field texts
# are not checked (here x min's "-7.5" made "oops"), fields given beside it
# are. An automatic y bound is stored as the largest double.
"$prog" --export "$dir/t.kvl" --x-min "-7.5" --y-min ""
check "automatic y min stored" test "$(od -An -tx1 -j1332 -N8 "$dir/t.kvl" | tr -d ' ')" = "ffffffffffffef7f"
perl -0777 -pe 's/\0-7\.5\0/\0oops\0/' "$dir/t.kvl" >"$dir/oops.kvl"
check "text replaced" grep -q oops "$dir/oops.kvl"
"$prog" --export "$dir/t.png" "$dir/t.kvl"
"$prog" --export "$dir/oops.png" "$dir/oops.kvl"
check "document with a text that is no formula" test $? -eq 0
check "drawn as the window shows it" cmp -s "$dir/t.png" "$dir/oops.png"
out=$("$prog" --export "$dir/no.png" "$dir/t.kvl" --x-max "zz" 2>&1)
check "field beside a document checked" test $? -eq 2
check "field beside a document: $out" grep -q "Ungültiger Ausdruck" <<<"$out"

expect_open_refusal() {  # description, document
  local out
  out=$("$prog" --export "$dir/no.png" "$2" 2>&1 >/dev/null)
  check "status 2 for $1" test $? -eq 2
  check "message for $1: $out" grep -q "Datei konnte nicht geöffnet werden" <<<"$out"
  check "no file for $1" test ! -e "$dir/no.png"
}
printf 'x^2\n' >"$dir/text.kvl"
: >"$dir/empty.kvl"
head -c 2308 "$dir/a.kvl" >"$dir/short.kvl"
expect_open_refusal "a text file" "$dir/text.kvl"
expect_open_refusal "an empty file" "$dir/empty.kvl"
expect_open_refusal "the binary part alone" "$dir/short.kvl"
expect_open_refusal "a missing file" "$dir/missing.kvl"
expect_open_refusal "a folder" "$dir"
"$prog" --export "$dir/u.kvl" "$dir/a.kvl" --panel diffequ 2>/dev/null
check "panel beside a document" test $? -eq 1
"$prog" --export "$dir/u.kvl" "$dir/a.kvl" "$dir/i.kvl" 2>/dev/null
check "two documents" test $? -eq 1

# A FIFO is written, not replaced by a plain file.
mkfifo "$dir/pipe.gif"
timeout 20 head -c 6 "$dir/pipe.gif" >"$dir/from_pipe" &  # no hang if the FIFO was lost
reader=$!
"$prog" --export "$dir/pipe.gif" --size 60x60
check "fifo status" test $? -eq 0
wait "$reader"
check "fifo stays a fifo" test -p "$dir/pipe.gif"
check "fifo carries the picture" test "$(cat "$dir/from_pipe")" = "GIF87a"
# A full device (a copy of /dev/full, where device nodes may be made).
if mknod "$dir/full.png" c 1 7 2>/dev/null; then
  out=$("$prog" --export "$dir/full.png" --size 60x60 2>&1)
  check "full device status" test $? -eq 2
  check "full device message" grep -q "Fehler beim Speichern der Datei" <<<"$out"
  check "full device stays a device" test -c "$dir/full.png"
fi

# Usage errors are status 1: also for names without one of the four endings
# and for sizes whose picture cannot be made, found before any work.
for name in a.jpg a.txt a a.gifx png.d/a; do
  "$prog" --export "$dir/$name" 2>/dev/null
  check "ending of $name" test $? -eq 1
  check "no file $name" test ! -e "$dir/$name"
done
"$prog" --export "$dir/upper.PNG" --size 60x60
check "upper-case ending" test "$(head -c 4 "$dir/upper.PNG" | tail -c 3)" = "PNG"
# Crossed axes: 23 + plot + 23 pixels wide, the plot made even.
"$prog" --export "$dir/widest.png" --set BoxedStyle=0 --size 32720x50
check "widest picture" test "$(png_size "$dir/widest.png")" = "32766x95"
for size in 32721x50 16384x16384 50x40000 0x10 1.5x10; do
  "$prog" --export "$dir/huge.png" --set BoxedStyle=0 --size "$size" 2>/dev/null
  check "size $size refused" test $? -eq 1
done
check "no huge file" test ! -e "$dir/huge.png"

# Usage errors are status 1.
"$prog" --export "$dir/u.png" --palette 7 2>/dev/null
check "bad palette" test $? -eq 1
"$prog" --export "$dir/u.png" --set Unknown=1 2>/dev/null
check "bad option" test $? -eq 1
"$prog" --export 2>/dev/null
check "missing path" test $? -eq 1

exit $fail
