#!/usr/bin/env bash
# The window starts with whatever settings file it finds: a folder in its
# place, a value of 300 000 characters, a file of several megabytes. Each
# start must reach its first painted graph (the program then quits without
# saving) and leave the path as it was. Runs on the offscreen platform.
set -u
prog="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen KURVALINE_QUIT_AFTER_PAINT=1
export XDG_DATA_HOME="$dir/data" XDG_RUNTIME_DIR="$dir/run"
mkdir -m 700 "$dir/run"
fail=0

check() {  # description, condition...
  local what="$1"; shift
  if ! "$@"; then echo "FAIL: $what"; fail=1; fi
}

starts_with() {  # description, settings path
  KURVALINE_INI="$2" timeout 60 "$prog" >"$dir/out" 2>&1
  local status=$?
  check "$1: status $status, $(head -c 300 "$dir/out")" test $status -eq 0
}

mkdir "$dir/folder.ini"
starts_with "a folder" "$dir/folder.ini"
check "the folder stays" test -d "$dir/folder.ini"

{ printf '[DlgVals Function]\nTitleXAxis='; head -c 300000 /dev/zero | tr '\0' T; printf '\n'; } \
  >"$dir/long.ini"
starts_with "a 300 000-character value" "$dir/long.ini"

head -c 5000000 /dev/zero | tr '\0' ';' >"$dir/huge.ini"
cp "$dir/huge.ini" "$dir/huge.before"
starts_with "a file of 5 MB" "$dir/huge.ini"
check "the huge file stays" cmp -s "$dir/huge.ini" "$dir/huge.before"

exit $fail
