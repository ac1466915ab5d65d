#!/usr/bin/env bash
# Links a 32-bit program that calls delay-loaded DLLs: the link command is
# given as arguments.
#
# GNU ld for i386 PE drops the code of an import-library member when nothing
# names the member's code symbol. For an ordinary import that code is only a
# jump through the import address, which calls through __declspec(dllimport)
# never use. In a delay-import member it is the thunk that loads the DLL, and
# the member's import address refers to it: dropped, the address becomes 0
# and the first call into the DLL jumps there. So the program is linked once
# with its symbols, the delay-import thunks that the link dropped are listed,
# and it is linked again with each of them named as undefined, which keeps
# them. The second link is checked to have kept every one.
set -euo pipefail
nm=${MARROWDALE_NM:-i686-w64-mingw32-nm}

args=("$@")
output=""
delay_libraries=()
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[i]}" in
    -o) output="${args[i + 1]}" ;;
    *_delay.a) delay_libraries+=("${args[i]}") ;;
  esac
done
if [ -z "$output" ] || [ ${#delay_libraries[@]} -eq 0 ]; then exec "$@"; fi

# The same link with symbols and to another file; a stripping option (-s)
# would leave nothing to look at.
probe_link() {
  local target="$1"; shift
  local probe=()
  for ((i = 0; i < ${#args[@]}; i++)); do
    case "${args[i]}" in
      -s) ;;
      -o) probe+=(-o "$target"); i=$((i + 1)) ;;
      *) probe+=("${args[i]}") ;;
    esac
  done
  "${probe[@]}" "$@"
}
dropped_thunks() {
  comm -12 <("$nm" "$1" | awk '$2 == "A" && $1 ~ /^0+$/ {print $3}' | sort -u) <(echo "$thunks")
}

thunks=$("$nm" "${delay_libraries[@]}" 2>/dev/null |
  awk '$2 == "T" && $3 !~ /^(___tailMerge_|__DELAY_IMPORT_DESCRIPTOR_)/ {print $3}' | sort -u)
probe="$output.probe"
keep="$output.delay-thunks"
trap 'rm -f "$probe"' EXIT
probe_link "$probe"
dropped_thunks "$probe" | sed 's/^/-u /' >"$keep"
probe_link "$probe" "-Wl,@$keep"
still=$(dropped_thunks "$probe")
if [ -n "$still" ]; then
  echo "link-delay-loaded: delay-import thunks still dropped from $output:" $still >&2
  exit 1
fi
"$@" "-Wl,@$keep"
