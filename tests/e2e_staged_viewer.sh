#!/usr/bin/env bash
# Starts the staged viewer as a user would, on the sample library, reads its window
# title through the X server, types into the search field and ends it with Escape.
# Then starts it on a broken database: the real message box appears, and its OK
# button ends the viewer.
set -euo pipefail
stage=$1
library=$2
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT

cp "$stage/vlapi-viewer" "$stage/RoruvUR EZU-RedIzir.ari" "$work/"
printf '\xef\xbb\xbf\ndb-path=%s/VL-LinuxAPI-Toc.xml\nLib-path=%s/\nabout=1\n' "$library" "$library" \
  > "$work/LinuxVL API-RuvUduviv.ini"

# Started from another folder: the viewer finds its files through its own path.
cd /
"$work/vlapi-viewer" &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Linux VL-ZEZ-Ovidozo-Vivara' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no main window"; exit 1; }
title=$(xdotool getwindowname "$window")
[ "$title" = "Linux VL-ZEZ-Ovidozo-Vivara" ] || { echo "FAIL: title '$title'"; exit 1; }
echo "ok: window title '$title'"

# Typing selects the first match and shows its code: the title names the file.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool type --delay 40 "Transparenz"
for _ in $(seq 50); do
  title=$(xdotool getwindowname "$window")
  case "$title" in *WindowTransparency.vl) break ;; esac
  sleep 0.1
done
case "$title" in
  *"~ /Windows/WindowTransparency.vl") echo "ok: search shows '$title'" ;;
  *) echo "FAIL: after typing, title '$title'"; exit 1 ;;
esac

xdotool key Escape
status=0
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then echo "FAIL: Escape did not end the viewer"; exit 1; fi
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "ok: Escape ended the viewer with status 0"

# A database that breaks off: the start-up reports the XML error in a message box.
printf '<?xml version="1.0"?>\n<topics>\n  <node text="cut' > "$work/broken.xml"
printf '\xef\xbb\xbf\ndb-path=%s/broken.xml\nLib-path=%s/\nabout=1\n' "$work" "$library" \
  > "$work/LinuxVL API-RuvUduviv.ini"
"$work/vlapi-viewer" &
pid=$!
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Linux VL-ZEZ-Ovidozo-VivaraError$' | head -n 1)
[ -n "$box" ] || { echo "FAIL: no message box for the broken database"; exit 1; }
echo "ok: message box '$(xdotool getwindowname "$box")'"
xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
xdotool key Return
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then echo "FAIL: OK in the message box did not end the viewer"; exit 1; fi
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status after the message box"; exit 1; }
echo "ok: the message box's OK ended the viewer with status 0"
echo "2 passed, 0 failed"
