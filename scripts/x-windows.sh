# Steps of the scripts that drive the viewer's windows through the X server with
# xdotool; sourced by scripts/check-install and tests/e2e_staged_viewer.sh.

# Prints the first visible window whose name matches the pattern, within 20 s;
# fails when none came. A search walks every window and gives up when one of them
# goes away meanwhile (X error BadWindow), as windows do at start-up: it is asked
# again.
findWindow() {
  local found="" end=$((SECONDS + 20))
  while [ -z "$found" ] && [ "$SECONDS" -lt "$end" ]; do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$found" ] || sleep 0.1
  done
  [ -n "$found" ] && echo "$found"
}

# Gives the window the keyboard focus and presses the key there.
pressIn() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  xdotool key "$2"
}
