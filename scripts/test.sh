#!/usr/bin/env bash
# Installs what is missing, builds the shipped program and both test builds,
# and runs the whole test suite under Wine in a WoW64 prefix: first the i686
# tests, which start the shipped program itself, then the same tests built
# for x86_64. Then each native fuzz target for 15 s. Fails when a test fails
# or a fuzz target finds something.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh || exit 1
bash scripts/build.sh product || exit 1
bash scripts/build.sh tests || exit 1
bash scripts/build.sh tests64 || exit 1
status=0
for build in tests tests64; do
  echo "== ctest in build/$build ($( [ $build = tests ] && echo i686, the shipped program || echo x86_64))"
  cd "$top/build/$build"
  # The first start of Wine makes its prefix (about half a minute); done here
  # so that no test's time limit pays for it. Where it fails, its reason is
  # the one worth reading, before the tests that then fail.
  ./wine-run.sh cmd.exe /c ver >/dev/null || status=1
  # Serially: the tests share the prefix's registry and desktop.
  started=$SECONDS
  ctest --output-on-failure --parallel 1 "$@" || status=1
  # Under emulation every 32-bit process takes about a second to start: the
  # i686 suite takes minutes longer, and its times are not the program's.
  echo "== build/$build: $((SECONDS - started)) s"
  bash "$top/scripts/wine-stop.sh" "$top/build/$build"
done
cd "$top"
# Then each native fuzz target for a short while; a finding fails the run.
bash "$top/scripts/fuzz.sh" -t 15 || status=1
exit $status
