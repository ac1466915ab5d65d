#!/usr/bin/env bash
# Makes a delay-import library for one system DLL from the toolchain's own
# import library: every export that the import library names is listed, so
# that no hand-kept list goes stale.
#   make-delay-import-lib.sh <nm> <dlltool> <machine> <import lib> <dll name> <output>
# machine: i386 or i386:x86-64.
set -euo pipefail
nm="$1"; dlltool="$2"; machine="$3"; import_lib="$4"; dll="$5"; output="$6"
def="${output%.a}.def"
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  # i686 C names carry a leading underscore that the .def form leaves out;
  # stdcall names keep their @n, which --kill-at drops from the imported name.
  "$nm" "$import_lib" | sed -n 's/^[0-9a-f]* I __imp_//p' |
    if [ "$machine" = i386 ]; then sed 's/^_//'; else cat; fi | sort -u
} >"$def"
"$dlltool" -m "$machine" --kill-at -d "$def" -D "$dll" -y "$output"
