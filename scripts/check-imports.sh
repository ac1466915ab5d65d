#!/usr/bin/env bash
# Checks that a built screensaver is a Windows GUI program of the expected
# machine type that imports system DLLs only (the program must run from a
# bare copy of the .scr file).
set -u
file="$1"; kind="$2"
[ -n "$file" ] && [ -f "$file" ] || { echo "no program to check: '$file'"; exit 1; }
case "$kind" in
  pe32) objdump=i686-w64-mingw32-objdump; format="file format pei-i386" ;;
  pe32+) objdump=x86_64-w64-mingw32-objdump; format="file format pei-x86-64" ;;
  *) echo "unknown kind $kind"; exit 1 ;;
esac
fail=0
"$objdump" -f "$file" | grep -q "$format" || { echo "not $kind: $file"; fail=1; }
"$objdump" -p "$file" | grep -qE 'Subsystem[[:space:]]+00000002' || { echo "not a GUI program"; fail=1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt|d3d9|d3d11|dxgi|shlwapi|version)\.dll$'
# The DLLs that only the dialogs and the preview use are delay-loaded, so that
# the run mode starts without them: none of them may be a load-time import.
delay_loaded='^(user32|gdi32|shell32|ole32|oleaut32|comctl32|comdlg32|d3d9|d3d11)\.dll$'
while read -r dll; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if echo "$lower" | grep -qE "$delay_loaded"; then
    echo "imports at load time a DLL that must be delay-loaded: $dll"; fail=1
  elif echo "$lower" | grep -qE "$allowed"; then
    echo "imports $dll"
  else
    echo "imports a non-system DLL: $dll"; fail=1
  fi
done < <("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
exit $fail
