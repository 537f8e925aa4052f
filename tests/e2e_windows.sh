# Sourced by the scripts that the end-to-end runs start under the virtual X
# server (source "$E2E_WINDOWS"), to find the program's windows by title.

# Waits up to 10 s for a visible window whose whole title is $1 (a pattern);
# prints its id, or fails.
wait_window() {
  local w=""
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
