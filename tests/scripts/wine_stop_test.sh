#!/usr/bin/env bash
# scripts/wine-stop.sh, given a relative build folder from another folder,
# leaves nothing of that build's Wine running: no wineserver, services.exe or
# winedevice.exe of its prefix, and not its Xvfb. The same check must first
# see all of them while the prefix runs.
#   wine_stop_test.sh <top of the checkout> <build folder>
set -u
top="$1"
build=$(cd "$2" && pwd)
prefix="$build/wine/prefix"

# Processes of the prefix: Wine's programs and server carry it in their
# environment. The display is the Xvfb that wine-run.sh started for it.
prefix_processes() {
  local pid
  for pid in $(pgrep -u "$(id -u)" -f 'wineserver|services\.exe|winedevice\.exe'); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
      echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
    fi
  done
}
display_process() {
  [ -n "$display" ] && pgrep -u "$(id -u)" -a -f "^Xvfb $display " || true
}

fail=0
# The build's own Xvfb, not a display of the caller's.
unset MARROWDALE_USE_DISPLAY
"$build/wine-run.sh" cmd.exe /c ver >/dev/null 2>&1 || { echo "FAIL: wine-run.sh could not run cmd.exe"; exit 1; }
display=$(cat "$build/wine/display" 2>/dev/null)
running=$(prefix_processes)
for name in wineserver services.exe winedevice.exe; do
  echo "$running" | grep -q "$name" || { echo "FAIL: the check does not see $name of a running prefix"; fail=1; }
done
[ -n "$(display_process)" ] || { echo "FAIL: the check does not see Xvfb $display of a running prefix"; fail=1; }
[ $fail -eq 0 ] || exit 1

# As scripts/run.sh gave it: a relative folder, from somewhere else.
(cd "$build/.." && bash "$top/scripts/wine-stop.sh" "$(basename "$build")")
left=$(prefix_processes; display_process)
if [ -n "$left" ]; then
  echo "FAIL: still running after wine-stop.sh:"
  echo "$left"
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1
  exit 1
fi
echo "PASS: nothing of $prefix or display $display left running"
