#!/usr/bin/env bash
# Starts the staged viewer as a user would, on the sample library, reads its window
# title through the X server, types into the search field, drags an entry onto the
# code view, chooses an entry from the match list and ends it with Escape.
# Then starts it on a broken database: the real message box appears, and its OK
# button ends the viewer. Last, a first start without any database: the real file
# chooser asks for it, and cancelling it ends the viewer with its message.
set -euo pipefail
stage=$1
library=$2
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT

cp "$stage/vlapi-viewer" "$stage/RoruvUR EZU-RedIzir.ari" "$work/"
printf '\xef\xbb\xbf\ndb-path=%s/VL-LinuxAPI-Toc.xml\nLib-path=%s/\nabout=1\n' "$library" "$library" \
  > "$work/LinuxVL API-RuvUduviv.ini"

# Waits until the viewer has ended, checks its status and its error output.
expectEnded() {
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then echo "FAIL: $1 did not end the viewer"; exit 1; fi
  local status=0
  wait "$pid" || status=$?
  pid=
  [ "$status" -eq 0 ] || { echo "FAIL: exit status $status after $1"; exit 1; }
  if grep -q CRITICAL "$work/stderr"; then echo "FAIL: toolkit complaints:"; cat "$work/stderr"; exit 1; fi
}

# Starts the staged viewer in the background; its error output goes to a file.
startViewer() {
  "$work/vlapi-viewer" 2>"$work/stderr" &
  pid=$!
}

# shellcheck source=scripts/x-windows.sh
. "$(dirname "$0")/../scripts/x-windows.sh"
waitForWindow() { findWindow "$1" || { echo "FAIL: no $2" >&2; exit 1; }; }

# Waits up to 5 s for the main window's title to match the glob pattern; fails with $2.
expectTitle() {
  for _ in $(seq 50); do
    title=$(xdotool getwindowname "$window")
    # shellcheck disable=SC2254 # the pattern is a glob on purpose
    case "$title" in $1) return ;; esac
    sleep 0.1
  done
  echo "FAIL: $2, title '$title'"
  exit 1
}

# Started from another folder: the viewer finds its files through its own path.
cd /
startViewer

window=$(waitForWindow '^Linux VL-ZEZ-Ovidozo-Vivara' "main window")
title=$(xdotool getwindowname "$window")
[ "$title" = "Linux VL-ZEZ-Ovidozo-Vivara" ] || { echo "FAIL: title '$title'"; exit 1; }
echo "ok: window title '$title'"

# Typing selects the first match and shows its code: the title names the file.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool type --delay 40 "Transparenz"
expectTitle '*~ /Windows/WindowTransparency.vl' "after typing"
echo "ok: search shows '$title'"

# Typing opened the match list over the tree; Escape closes it and the viewer runs on.
sleep 0.3
xdotool key Escape
sleep 0.5
kill -0 "$pid" 2>/dev/null || { echo "FAIL: Escape on the open match list ended the viewer"; exit 1; }
echo "ok: Escape closed the match list, the viewer runs on"

# Dragging an index entry onto the code view loads its file as an external file:
# the drag hands out a file URI and the read-only code view accepts the drop.
xdotool mousemove --window "$window" 160 298 mousedown 1
sleep 0.3
for x in 170 180 200 250 300 400 500; do
  xdotool mousemove --window "$window" "$x" 300
  sleep 0.05
done
sleep 0.3
xdotool mouseup 1
expectTitle '*~ [!/]*.vl' "after the drag"
echo "ok: dragged entry dropped on the code view: '$title'"

# The match list under the search field: Down walks into it and Return shows the
# chosen entry.
xdotool mousemove --window "$window" 120 16 click 1
xdotool key ctrl+a
xdotool type --delay 40 "text mit"
expectTitle '*~ /Text/TextViewTags.vl' "after typing the list's term"
xdotool key Down Down Return
expectTitle '*~ /Drawing/CairoText.vl' "after Down, Down and Return in the match list"
echo "ok: match list entry chosen with Down and Return: '$title'"
xdotool key Escape
expectEnded "Escape"
echo "ok: Escape ended the viewer with status 0"

# A database that breaks off: the start-up reports the XML error in a message box.
printf '<?xml version="1.0"?>\n<topics>\n  <node text="cut' > "$work/broken.xml"
printf '\xef\xbb\xbf\ndb-path=%s/broken.xml\nLib-path=%s/\nabout=1\n' "$work" "$library" \
  > "$work/LinuxVL API-RuvUduviv.ini"
startViewer
box=$(waitForWindow '^Linux VL-ZEZ-Ovidozo-VivaraError$' "message box for the broken database")
echo "ok: message box '$(xdotool getwindowname "$box")'"
pressIn "$box" Return
expectEnded "OK in the message box"
echo "ok: the message box's OK ended the viewer with status 0"

# First start in a folder without settings and without a database.
rm -f "$work/LinuxVL API-RuvUduviv.ini" "$work/broken.xml"
startViewer
chooser=$(waitForWindow "^Choose database 'VL-LinuxAPI-Toc.xml' \.\.\.$" "file chooser for the database")
echo "ok: file chooser '$(xdotool getwindowname "$chooser")'"
pressIn "$chooser" Escape
box=$(waitForWindow '^Linux VL-ZEZ-Ovidozo-Vivara-Error$' "message box after cancelling the chooser")
pressIn "$box" Return
expectEnded "cancelling the database chooser"
[ ! -e "$work/LinuxVL API-RuvUduviv.ini" ] || { echo "FAIL: a cancelled first start wrote settings"; exit 1; }
echo "ok: cancelled chooser, message box, status 0, no settings file written"
echo "5 passed, 0 failed"
