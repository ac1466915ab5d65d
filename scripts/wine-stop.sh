#!/usr/bin/env bash
# Ends the Wine processes and the private Xvfb display of a build folder,
# given from any folder. Returns once the prefix's server and the display
# have gone.
set -u
given="${1:?usage: wine-stop.sh <build folder>}"
[ -d "$given" ] || exit 0
# Wine refuses a relative WINEPREFIX, and wineserver -k would then never
# reach the server of the prefix.
build=$(cd "$given" && pwd)
state="$build/wine"
if [ -d "$state/prefix" ]; then
  WINEPREFIX="$state/prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1
  WINEPREFIX="$state/prefix" /usr/lib/wine/wineserver -w >/dev/null 2>&1
fi
if [ -f "$state/xvfb.pid" ]; then
  xvfb=$(cat "$state/xvfb.pid")
  if kill "$xvfb" >/dev/null 2>&1; then
    for _ in $(seq 1 50); do kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$state/xvfb.pid" "$state/display"
fi
exit 0
