#!/usr/bin/env bash
# Installs what is missing, builds both toolchains and runs the whole test
# suite under wine64. Ends with ctest's summary and its exit status.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh || exit 1
bash scripts/build.sh product || exit 1
bash scripts/build.sh tests || exit 1
cd build/tests
ctest --output-on-failure "$@"
status=$?
bash "$top/scripts/wine-stop.sh" "$top/build/tests"
exit $status
