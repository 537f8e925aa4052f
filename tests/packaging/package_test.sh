#!/usr/bin/env bash
# Builds the Debian package with CPack in an existing build folder (into a
# temporary folder, so the build folder keeps no package) and checks it:
# the file list with owners and modes (and that cmake --install installs the
# same files), the control fields, the desktop entry,
# the AppStream metadata and lintian; then that the manual page and the bash
# completion know every option of --help and the completion its panels.
#   package_test.sh BUILD_FOLDER PROJECT_VERSION PROGRAM
# Exits 77 (skipped) when a packaging tool is missing.
set -euo pipefail
build=$1 version=$2 program=$3

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli file gzip; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! (cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out") >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$tmp/out/kurvaline_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$tmp/out"; echo "FAIL: no $deb"; exit 1; }

# Every file, with its mode and owner; folders are left out.
expected="-rwxr-xr-x root/root ./usr/bin/kurvaline
-rw-r--r-- root/root ./usr/share/applications/kurvaline.desktop
-rw-r--r-- root/root ./usr/share/bash-completion/completions/kurvaline
-rw-r--r-- root/root ./usr/share/doc/kurvaline/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/kurvaline/copyright"
for size in 128 16 256 32 48 64; do
  expected+=$'\n'"-rw-r--r-- root/root ./usr/share/icons/hicolor/${size}x${size}/apps/kurvaline.png"
done
expected+="
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/kurvaline.svg
-rw-r--r-- root/root ./usr/share/man/man1/kurvaline.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/org.example.kurvaline.metainfo.xml
-rw-r--r-- root/root ./usr/share/mime/packages/kurvaline-mime.xml"
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $2, $6}' | sort -k3)
[ "$actual" = "$expected" ] || fail "file list differs:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

# cmake --install puts the same files in the same places.
DESTDIR="$tmp/installed" cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log"; fail "cmake --install"; }
installed=$(cd "$tmp/installed" && find . ! -type d | sort)
[ "$installed" = "$(cut -d' ' -f3 <<<"$expected" | sort)" ] ||
  fail "cmake --install differs:"$'\n'"$(diff <(cut -d' ' -f3 <<<"$expected" | sort) <(echo "$installed"))"

# No maintainer scripts: the triggers of desktop-file-utils, shared-mime-info
# and the icon theme bring the caches up to date.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -v '/$' | sort | tr '\n' ' ')
[ "$control" = "./control ./md5sums " ] || fail "control archive holds $control"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kurvaline ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), the project says $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = math ] || fail "Section: $(field Section)"
# Computed from the binary, beside the plugin and fonts named by hand.
for dep in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-dejavu-core \
           fonts-liberation; do
  field Depends | tr ',' '\n' | grep -q "^ *$dep\b" || fail "Depends lacks $dep: $(field Depends)"
done
description=$(field Description)
for words in "function plotter" "Kurvaline draws exact curves" "Kurvaline zeichnet exakte Kurven"; do
  grep -qF "$words" <<<"$description" || fail "Description lacks \"$words\""
done
zcat_first=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/kurvaline/changelog.gz | gzip -dc | head -1 || true)
[ "$zcat_first" = "kurvaline ($version) unstable; urgency=medium" ] || fail "changelog: $zcat_first"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
# Hints count too: one of them says that more than one main category makes
# menus list the program twice.
validation=$(desktop-file-validate "$root/usr/share/applications/kurvaline.desktop" 2>&1) &&
  [ -z "$validation" ] || fail "desktop-file-validate: $validation"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.kurvaline.metainfo.xml" >"$tmp/as.log" 2>&1 ||
  { cat "$tmp/as.log"; fail "appstreamcli validate"; }
for size in 16 32 48 64 128 256; do
  file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/kurvaline.png" |
    grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" || fail "icon ${size}x${size} is not a $size px PNG"
done

# No warning is kept: any warning or error fails.
lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 || { cat "$tmp/lintian.log"; fail "lintian"; }

# Every option of --help, in the manual page and in the completion.
man_text=$(gzip -dc "$root/usr/share/man/man1/kurvaline.1.gz" | sed 's/\\-/-/g')
completion="$root/usr/share/bash-completion/completions/kurvaline"
options=$("$program" --help | grep -oE -- '(^|[^a-z-])--?[a-z][a-z0-9-]*' | sed 's/^[^-]*//; s/-*$//' | sort -u)
[ -n "$options" ] || fail "--help names no options"
for option in $options; do
  grep -qE -- "(^|[^a-z-])$option([^a-z0-9-]|\$)" <<<"$man_text" || fail "the manual page lacks $option"
  [ "$option" = -h ] && continue
  grep -qE -- "(^|[^a-z-])$option([^a-z0-9-]|\$)" "$completion" || fail "the completion lacks $option"
done

# The completion in use: the panels as --help lists them, pictures and
# documents for --export, documents alone as the window's argument.
mkdir -p "$tmp/files/sub" && touch "$tmp/files/"{a.kvl,B.PNG,c.txt,d.svg,e.GIF,f.bmp}
complete_words() {
  (cd "$tmp/files" && bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kurvaline
                               printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' _ "$completion" "$@")
}
panels=$("$program" --help | grep -oE -- '--panel [a-z|]+' | head -1 | cut -d' ' -f2 | tr '|' '\n' | sort | tr '\n' ' ')
[ "$(complete_words kurvaline --panel '')" = "$panels" ] || fail "--panel completes $(complete_words kurvaline --panel '')"
[ "$(complete_words kurvaline --export '')" = "B.PNG a.kvl d.svg e.GIF f.bmp sub/ " ] ||
  fail "--export completes $(complete_words kurvaline --export '')"
[ "$(complete_words kurvaline '')" = "a.kvl sub/ " ] || fail "a document completes $(complete_words kurvaline '')"
[ "$(complete_words kurvaline --no-l)" = "--no-length-limit " ] || fail "--no-l completes $(complete_words kurvaline --no-l)"

[ "$failures" -eq 0 ] || exit 1
echo "package $deb checked"
