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
# Set-up has stopped, saying why, where 32-bit programs cannot run at all.
echo "run.sh: $(bash scripts/i386-host.sh describe)"
if [ -n "${DISPLAY:-}" ]; then
  MARROWDALE_USE_DISPLAY=1 "$build/wine-run.sh" "$scr" /c
  exit 0
fi
# The first start of Wine makes its prefix, and fails there when no 32-bit
# program runs in it: made before the program starts, so that failure is
# told as it is.
if ! "$build/wine-run.sh" cmd.exe /c ver >/dev/null; then
  echo "run.sh: Wine cannot run the shipped program here (see above); no screenshot taken." >&2
  bash "$top/scripts/wine-stop.sh" "$build"
  exit 1
fi
log="$build/run.log"
rm -f "$log.status"
# In a subshell with its errors silenced: the program is ended with its Wine
# below, and the shell would report the killed job.
( "$build/wine-run.sh" "$scr" /c >"$log" 2>&1; echo $? >"$log.status" ) 2>/dev/null &
program=$!
limit=${MARROWDALE_DIALOG_TIMEOUT:-120}
"$build/wine-run.sh" "$build/wait_for_settings.exe" "$limit" >/dev/null 2>&1 &
waiter=$!
# A program that ends before its dialog appears is told at once, with what
# it printed, instead of after the whole wait.
while kill -0 "$waiter" 2>/dev/null; do
  if ! kill -0 "$program" 2>/dev/null; then
    echo "run.sh: the program ended before its settings dialog appeared (exit code $(cat "$log.status" 2>/dev/null || echo unknown)):" >&2
    sed 's/^/  /' "$log" >&2
    bash "$top/scripts/wine-stop.sh" "$build"
    exit 1
  fi
  sleep 0.2
done
if ! wait "$waiter"; then
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
