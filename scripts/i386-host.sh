#!/usr/bin/env bash
# How this host runs 32-bit x86 programs, which the shipped program needs (the
# 32-bit Wine loader is one). Some kernels run them natively; others refuse
# them ("Exec format error"), and there qemu's user-mode emulator, registered
# with binfmt_misc for i386 ELF files, runs them instead.
#
#   i386-host.sh describe   prints one line saying which way they run
#   i386-host.sh set-up [--emulate|--native]
#       makes them run: natively where the kernel can, otherwise through the
#       emulator, which it installs and registers. --emulate registers the
#       emulator on a host that runs them natively too (to try the emulated
#       path there); --native undoes that. Fails, saying why, when neither
#       way works.
#
# The emulator is qemu 10 from bookworm-backports: bookworm's own qemu 7.2
# ignores MAP_FIXED_NOREPLACE, and Wine's address-space reservation then takes
# some 45 s at every process start.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

binfmt=/proc/sys/fs/binfmt_misc
entry="$binfmt/qemu-i386"
emulator=/usr/bin/qemu-i386
# The usual binfmt_misc line for i386 executables and shared objects (the
# Wine loader is position-independent). F opens the emulator now, so it is
# found inside any root; O and C let it read unreadable and set-uid files as
# the kernel would.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
backports_list=/etc/apt/sources.list.d/marrowdale-bookworm-backports.sources
backports_pin=/etc/apt/preferences.d/marrowdale-qemu-user

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

probe_dir="$top/build/host"
probe="$probe_dir/i386-probe"
probe_expected="i386 code runs"

build_probe() {
  [ "$probe" -nt "$top/scripts/i386-probe.s" ] && return 0
  mkdir -p "$probe_dir"
  as --32 -o "$probe.o" "$top/scripts/i386-probe.s" && ld -m elf_i386 -o "$probe" "$probe.o" ||
    { probe_error="it cannot be assembled (binutils)"; echo "i386-host: $probe_error" >&2; return 1; }
  rm -f "$probe.o"
}
# Runs the probe; the kernel's or the emulator's complaint goes to $probe_error.
probe_error=""
probe_runs() {
  local output
  output=$("$probe" 2>&1)
  local status=$?
  if [ $status -eq 0 ] && [ "$output" = "$probe_expected" ]; then return 0; fi
  probe_error="exit code $status${output:+: $output}"
  return 1
}
handler_enabled() { [ -f "$entry" ] && head -n 1 "$entry" | grep -qx enabled; }
handler_emulator() { sed -n 's/^interpreter //p' "$entry" 2>/dev/null; }
emulator_version() { "${1:-$emulator}" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9][0-9.]*\).*/\1/p'; }

# Sets $kind to native, emulated or none.
kind=""
find_kind() {
  if ! build_probe || ! probe_runs; then kind=none
  elif handler_enabled; then kind=emulated
  else kind=native
  fi
}
describe() {
  find_kind
  case "$kind" in
    native) echo "32-bit programs run natively on this host" ;;
    emulated) echo "32-bit programs run under emulation on this host (qemu-i386 $(emulator_version "$(handler_emulator)"), registered with binfmt_misc)" ;;
    *) echo "32-bit programs cannot run on this host (the 32-bit probe failed: $probe_error)" ;;
  esac
}

# qemu-user from bookworm-backports, and nothing else from that suite.
install_emulator() {
  local version
  version=$(emulator_version)
  if [ -n "$version" ] && [ "${version%%.*}" -ge 10 ]; then return 0; fi
  local uris
  uris=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | grep -v security | head -n 1)
  [ -n "$uris" ] || uris=http://deb.debian.org/debian
  if [ ! -f "$backports_list" ]; then
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uris" | "${sudo_cmd[@]}" tee "$backports_list" >/dev/null
  fi
  if [ ! -f "$backports_pin" ]; then
    printf 'Package: *\nPin: release n=bookworm-backports\nPin-Priority: -1\n\nPackage: qemu-user\nPin: release n=bookworm-backports\nPin-Priority: 990\n' |
      "${sudo_cmd[@]}" tee "$backports_pin" >/dev/null
  fi
  "${sudo_cmd[@]}" apt-get update -qq ||
    echo "i386-host: apt-get update reported a failure; going on with the indexes there are" >&2
  echo "Installing: qemu-user (bookworm-backports)" >&2
  # Without its recommended qemu-user-binfmt, which would register handlers
  # for every architecture at boot: only i386 is registered, here.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    -t bookworm-backports qemu-user >/dev/null || return 1
  version=$(emulator_version)
  [ -n "$version" ] && [ "${version%%.*}" -ge 10 ] ||
    { echo "i386-host: $emulator is '${version:-missing}', not qemu 10 from bookworm-backports" >&2; return 1; }
}
mount_binfmt() {
  [ -e "$binfmt/register" ] && return 0
  "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null
  [ -e "$binfmt/register" ] ||
    { echo "i386-host: binfmt_misc is not available here and cannot be mounted on $binfmt" >&2; return 1; }
}
unregister() {
  [ -f "$entry" ] || return 0
  echo -1 | "${sudo_cmd[@]}" tee "$entry" >/dev/null
}
register() {
  mount_binfmt || return 1
  # A handler registered with another emulator (bookworm's slow one, say) is replaced.
  if [ -f "$entry" ] && [ "$(handler_emulator)" != "$emulator" ]; then unregister; fi
  if [ ! -f "$entry" ]; then
    printf ':qemu-i386:M::%s:%s:%s:FOC' "$magic" "$mask" "$emulator" |
      "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null ||
      { echo "i386-host: the kernel refused the binfmt_misc handler for i386" >&2; return 1; }
  fi
  handler_enabled || echo 1 | "${sudo_cmd[@]}" tee "$entry" >/dev/null
}

emulate() {
  install_emulator || { echo "i386-host: qemu-user from bookworm-backports could not be installed" >&2; return 1; }
  register || return 1
  probe_runs ||
    { echo "i386-host: even under qemu-i386 the 32-bit probe does not run ($probe_error)" >&2; return 1; }
}

set_up() {
  local want="${1:-}"
  build_probe || return 1
  case "$want" in
    --emulate) emulate || return 1 ;;
    --native)
      unregister
      if ! probe_runs; then
        echo "i386-host: this host does not run 32-bit programs natively ($probe_error); the emulator stays" >&2
        emulate || return 1
      fi ;;
    "")
      # A handler already there (this script's, or one forced with --emulate)
      # is kept; a host that runs the probe natively is never given one.
      if ! probe_runs; then
        local native_error=$probe_error
        emulate || {
          echo "i386-host: this host cannot run 32-bit x86 programs: natively the probe gives $native_error, and emulation failed as said above" >&2
          return 1
        }
      elif handler_enabled && [ "$(handler_emulator)" != "$emulator" ]; then
        emulate || return 1
      fi ;;
    *) echo "i386-host: unknown option $want" >&2; return 2 ;;
  esac
  describe
}

case "${1:-}" in
  describe) describe ;;
  set-up) shift; set_up "$@" ;;
  *) echo "usage: i386-host.sh describe|set-up [--emulate|--native]" >&2; exit 2 ;;
esac
