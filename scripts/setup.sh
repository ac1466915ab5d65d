#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12, and unpacks
# pugixml's sources from Debian's source package into third_party/ (ignored).
# Safe to run again: it only does what is still missing.
#
# The shipped program is 32-bit. Where this host's kernel refuses 32-bit code,
# set-up registers qemu's user-mode emulator for it (scripts/i386-host.sh).
#   --emulate-i386  uses the emulator even where 32-bit code runs natively,
#                   to try that path on such a host
#   --native-i386   undoes --emulate-i386
set -euo pipefail

i386_option=()
for argument in "$@"; do
  case "$argument" in
    --emulate-i386) i386_option=(--emulate) ;;
    --native-i386) i386_option=(--native) ;;
    *) echo "setup: unknown option $argument (known: --emulate-i386, --native-i386)" >&2; exit 2 ;;
  esac
done

top=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make ninja-build binutils g++
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 xvfb xauth x11-apps imagemagick
  googletest libxml2-utils dpkg-dev
  clang-14 libclang-rt-14-dev
  locales
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

pugi_dir="$top/third_party/pugixml"
need_source=0
[ -f "$pugi_dir/src/pugixml.cpp" ] || need_source=1

# Enable Debian's source entries (deb-src) once, for the pugixml source package.
enable_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null; then
    return 1
  fi
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    "${sudo_cmd[@]}" sed -i -E 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  else
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/deb-src.list >/dev/null
  fi
  return 0
}

if [ ${#missing[@]} -gt 0 ] || [ $need_source -eq 1 ]; then
  changed=0
  if [ $need_source -eq 1 ] && enable_deb_src; then changed=1; fi
  if [ ${#missing[@]} -gt 0 ] || [ $changed -eq 1 ] || [ $need_source -eq 1 ]; then
    # A mirror in the middle of a sync refuses an index now and then (the
    # i386 one, seen here); the indexes that did come are used all the same.
    "${sudo_cmd[@]}" apt-get update -qq ||
      echo "setup: apt-get update reported a failure; going on with the indexes there are" >&2
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi

if [ $need_source -eq 1 ]; then
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq pugixml >/dev/null)
  src=$(find "$tmp" -maxdepth 1 -mindepth 1 -type d -name 'pugixml-*' | head -n 1)
  [ -n "$src" ] || { echo "pugixml source package not found" >&2; exit 1; }
  mkdir -p "$top/third_party"
  rm -rf "$pugi_dir"
  mkdir -p "$pugi_dir"
  cp -r "$src/src" "$src/LICENSE.md" "$pugi_dir/" 2>/dev/null || cp -r "$src/src" "$pugi_dir/"
  rm -rf "$tmp"
fi
# The shipped program is 32-bit: the tests run it under Debian's 32-bit Wine,
# whose loader is itself a 32-bit program, and so are some of the i386
# packages' own install scripts. So the host runs 32-bit code first.
host_line=$(bash "$top/scripts/i386-host.sh" set-up "${i386_option[@]}") || {
  echo "setup: the shipped 32-bit program cannot run or be tested on this host (see above)" >&2
  exit 1
}
# An i386 package whose install script could not run before (on a host
# without 32-bit support) is left half-configured: finished now.
if [ -n "$(dpkg --audit 2>/dev/null)" ]; then "${sudo_cmd[@]}" dpkg --configure -a; fi
bash "$top/scripts/install-wine32.sh"
echo "setup: $host_line"
echo "Set-up complete."
