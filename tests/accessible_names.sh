#!/usr/bin/env bash
# Starts the staged viewer with the accessibility modules on a private session bus
# and lets accessible_names.py read it as a screen reader would.
# Exits 77 (skipped) only when the modules are not installed.
set -euo pipefail
stage=$1
library=$2
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3  # the system's, which has the Debian accessibility module

modules=$(pkg-config --variable=libdir gtk+-2.0)/gtk-2.0/modules
if [ ! -e "$modules/libgail.so" ] || [ ! -e "$modules/libatk-bridge.so" ] || ! command -v dbus-run-session >/dev/null ||
  ! "$python" -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: the accessibility packages of scripts/install-deps are missing"; exit 77
fi

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no display; run it under xvfb-run"; exit 1; }

if [ -z "${VL_A11Y_SESSION:-}" ]; then
  VL_A11Y_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT
cp "$stage/vlapi-viewer" "$stage/RoruvUR EZU-RedIzir.ari" "$work/"
printf '\xef\xbb\xbf\ndb-path=%s/VL-LinuxAPI-Toc.xml\nLib-path=%s/\nabout=1\nCodeMarks=2\n' "$library" "$library" \
  > "$work/LinuxVL API-RuvUduviv.ini"

export GTK_MODULES=gail:atk-bridge
export VLAPI_UPDATE_URL=http://127.0.0.1:9/  # refused at once: the update window opens unanswered
unset NO_AT_BRIDGE
"$work/vlapi-viewer" 2>"$work/stderr" &
pid=$!
status=0
"$python" "$here/accessible_names.py" "$pid" || status=$?
grep -q CRITICAL "$work/stderr" && status=1
if [ "$status" -ne 0 ]; then
  echo "viewer error output:"
  cat "$work/stderr"
fi
exit "$status"
