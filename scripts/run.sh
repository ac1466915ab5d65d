#!/usr/bin/env bash
# Installs what is missing, builds, and opens the settings (the /c mode) of
# the shipped 32-bit program under Wine. With $DISPLAY set it shows there
# until closed; without one it runs on a private Xvfb display, saves a
# screenshot to build/product/screenshot.png and closes the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh
bash scripts/build.sh product
build="$top/build/product"
scr="$build/Marrowdale 3D Screensaver.scr"
if [ -n "${DISPLAY:-}" ]; then
  MARROWDALE_USE_DISPLAY=1 "$build/wine-run.sh" "$scr" /c
  exit 0
fi
# In a subshell with its errors silenced: the program is ended with its Wine
# below, and the shell would report the killed job.
( "$build/wine-run.sh" "$scr" /c >/dev/null 2>&1 || true ) 2>/dev/null &
program=$!
# The first start of Wine makes its prefix, which takes a while: wait for the
# dialog itself rather than for a fixed time.
limit=${MARROWDALE_DIALOG_TIMEOUT:-120}
if ! "$build/wine-run.sh" "$build/wait_for_settings.exe" "$limit"; then
  echo "run.sh: the settings dialog did not appear within $limit s; no screenshot taken." >&2
  bash "$top/scripts/wine-stop.sh" "$build"
  wait "$program" 2>/dev/null || true
  exit 1
fi
display=$(cat "$build/wine/display")
xwd -root -display "$display" | convert xwd:- "$build/screenshot.png"
echo "Screenshot of the settings: build/product/screenshot.png"
bash "$top/scripts/wine-stop.sh" "$build"
wait "$program" 2>/dev/null || true
