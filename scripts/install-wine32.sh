#!/usr/bin/env bash
# Installs Debian's 32-bit Wine loader (wine32:i386) beside wine64, Wine's own
# fonts and the 32-bit libraries Wine draws with, so that the shipped 32-bit
# program runs in a WoW64 prefix.
#
# Every "Multi-Arch: same" library must have one version in both
# architectures. A machine's amd64 libraries may be at versions (a point
# release, a security update) that the i386 index lacks, or the i386 security
# index may not be fetched at all; a plain install then fails with "held
# broken packages". So each such library that wine32 needs and that is
# installed for amd64 is asked for at the amd64 version when i386 has it, and
# otherwise both architectures are moved to the newest version both have,
# together with the installed packages built from the same source. Fails
# naming the package when no version fits, or when either loader is missing
# afterwards.
set -uo pipefail

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
apt_install=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
# Beside the loaders, the 32-bit libraries that the 64-bit side has through
# libwine's recommendations: OpenGL with Mesa's software driver (Direct3D in
# 32-bit programs) and the X extensions (display modes, monitors, cursors).
wanted=(wine64 wine32:i386 fonts-wine
  libgl1:i386 libgl1-mesa-dri:i386 libxcomposite1:i386 libxcursor1:i386 libxfixes3:i386 libxi6:i386
  libxinerama1:i386 libxrandr2:i386 libxrender1:i386 libxxf86vm1:i386)
all_installed() { local p; for p in "${wanted[@]}"; do installed "$p" || return 1; done; }

if all_installed; then exit 0; fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
# A mirror in the middle of a sync refuses an index now and then ("File has
# unexpected size"); the indexes that did come are used all the same.
"${sudo_cmd[@]}" apt-get update -qq ||
  echo "install-wine32: apt-get update reported a failure; going on with the indexes there are" >&2

versions_of() { apt-cache madison "$1" 2>/dev/null | awk -F'|' '{gsub(/ /, "", $2); print $2}' | sort -u; }
newest() {
  local best="" v
  while read -r v; do
    [ -n "$v" ] || continue
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  echo "$best"
}

pins=()
unmatched=()
needed=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
  --no-replaces --no-enhances "${wanted[@]}" 2>/dev/null | grep -E '^[a-z0-9][^ ]*:i386$' | sort -u)
installed_amd64=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}:${Architecture} ${source:Package}\n' 2>/dev/null |
  awk '$1 == "ii" && $2 ~ /:(amd64|all)$/ {sub(/:(amd64|all)$/, "", $2); print $2, $3}')
for p in $needed; do
  name=${p%:i386}
  apt-cache show "$p" 2>/dev/null | grep -q '^Multi-Arch: same' || continue
  installed "$name:amd64" || continue
  have=$(dpkg-query -W -f='${Version}' "$name:amd64")
  i386_versions=$(versions_of "$p")
  if grep -qxF -- "$have" <<<"$i386_versions"; then
    pins+=("$p=$have")
    continue
  fi
  common=$(comm -12 <(echo "$i386_versions") <(versions_of "$name:amd64") | newest)
  if [ -z "$common" ]; then
    unmatched+=("$name (amd64 $have; i386 has: $(echo $i386_versions))")
    continue
  fi
  echo "install-wine32: $name: amd64 $have has no i386 twin; both go to $common"
  pins+=("$name:amd64=$common" "$p=$common")
  source=$(dpkg-query -W -f='${source:Package}' "$name:amd64")
  while read -r sibling sibling_source; do
    [ "$sibling" != "$name" ] && [ "$sibling_source" = "$source" ] || continue
    grep -qxF -- "$common" <<<"$(versions_of "$sibling:amd64")" && pins+=("$sibling:amd64=$common")
  done <<<"$installed_amd64"
done
if [ ${#unmatched[@]} -gt 0 ]; then
  echo "install-wine32: no version of these libraries is available for both amd64 and i386:" >&2
  printf '  %s\n' "${unmatched[@]}" >&2
  echo "install-wine32: cannot install wine32:i386 beside wine64" >&2
  exit 1
fi
mapfile -t pins < <(printf '%s\n' "${pins[@]}" | sort -u)

echo "Installing: ${wanted[*]} (with ${#pins[@]} matched library versions)"
"${apt_install[@]}" --allow-downgrades "${wanted[@]}" "${pins[@]}" || true

missing=()
for p in "${wanted[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-wine32: not installed: ${missing[*]}; the 32-bit program cannot be run or tested" >&2
  exit 1
fi
echo "wine64 and wine32:i386 installed."
