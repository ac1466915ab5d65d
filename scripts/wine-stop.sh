#!/usr/bin/env bash
# Ends the Wine processes and the private Xvfb display of a build folder.
set -u
build="${1:?usage: wine-stop.sh <build folder>}"
state="$build/wine"
[ -d "$state/prefix" ] && WINEPREFIX="$state/prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1
if [ -f "$state/xvfb.pid" ]; then
  kill "$(cat "$state/xvfb.pid")" >/dev/null 2>&1
  rm -f "$state/xvfb.pid" "$state/display"
fi
exit 0
