#!/usr/bin/env bash
# Installs what is missing, builds, and opens the screensaver's settings (the
# /c mode) under wine64. With $DISPLAY set it shows there until closed;
# without one it runs on a private Xvfb display, saves a screenshot to
# build/run/screenshot.png and closes the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh
bash scripts/build.sh product
bash scripts/build.sh run
scr="$top/build/run/Marrowdale 3D Screensaver.scr"
if [ -n "${DISPLAY:-}" ]; then
  MARROWDALE_USE_DISPLAY=1 build/run/wine-run.sh "$scr" /c
  exit 0
fi
build/run/wine-run.sh "$scr" /c &
program=$!
# The first start of Wine makes its prefix, which takes a while: wait for the
# dialog itself rather than for a fixed time.
limit=${MARROWDALE_DIALOG_TIMEOUT:-120}
if ! build/run/wine-run.sh build/run/wait_for_settings.exe "$limit"; then
  echo "run.sh: the settings dialog did not appear within $limit s; no screenshot taken." >&2
  bash "$top/scripts/wine-stop.sh" "$top/build/run"
  wait "$program" 2>/dev/null || true
  exit 1
fi
display=$(cat build/run/wine/display)
xwd -root -display "$display" | convert xwd:- build/run/screenshot.png
echo "Screenshot of the settings: build/run/screenshot.png"
bash "$top/scripts/wine-stop.sh" "$top/build/run"
wait "$program" 2>/dev/null || true
