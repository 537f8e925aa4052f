# The opening every end-to-end run shares, sourced with the tools the run
# needs:   source e2e_prologue.sh TOOL...
# Exits 77 (skipped) when a tool is missing. Makes $tmp (removed at exit) and
# puts the settings file and the desktop registration there, so a run never
# touches the user's own.

# The test run defaults to the offscreen platform; these runs need the X server.
export QT_QPA_PLATFORM=xcb
for tool in "$@"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done

# No session bus runs under the virtual X server. Without an address libdbus
# forks to look for one (dbus-launch), and in the sanitizer build that child
# can hang before it execs, spinning on an allocator lock another thread held
# at the fork, and outlives the test. An address that cannot answer keeps the
# program's path without a bus and forks nothing.
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || export DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/kurvaline-test-bus"

# What the scripts run under the X server share.
export E2E_WINDOWS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/e2e_windows.sh"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export KURVALINE_INI="$tmp/kurvaline.ini"
export XDG_DATA_HOME="$tmp/data"
