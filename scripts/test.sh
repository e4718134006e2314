#!/usr/bin/env bash
# One command from a fresh clone: installs what is missing, builds everything and runs the whole
# test suite under Wine. Exits non-zero when anything fails. The full output of the set-up, the
# build and the suite goes to logs (scripts/log.sh says where); the terminal gets a few lines, the
# tests that fail as they fail, and CTest's closing summary.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

source "$root/scripts/arch.sh"
source "$root/scripts/log.sh"
logs=$(launcher_log_dir "$build")
echo "test: logs in $logs"

bash "$root/scripts/setup.sh" --log "$logs/setup.log"
arch=$(launcher_test_arch)
if [ "$arch" = x86_64 ]; then
  echo "test: this machine runs no 32-bit programs, so Wine cannot run the 32-bit launcher here;"
  echo "test: the suite runs on the 64-bit build of the same sources, and the 32-bit launcher is"
  echo "test: built and checked beside it (tests that need a 32-bit process report themselves skipped)"
fi
: >"$logs/build.log"
run_logged "$logs/build.log" "test: configuring $build ($arch)" configure_launcher_build "$root" "$build" "$arch"
run_logged "$logs/build.log" "test: building (a few minutes on a fresh clone; log: $logs/build.log)" \
  cmake --build "$build" -j"$(nproc)"

echo "test: running the suite under Wine (log: $logs/test.log)"
cd "$build"
status=0
# Failures are shown as they happen; from CTest's summary line on, everything is shown.
ctest -j"$(nproc)" --output-on-failure 2>&1 | tee "$logs/test.log" |
  awk '/tests passed, .* tests failed out of/ { summary = 1 }
       summary || /\*\*\*(Failed|Timeout|Exception)|\*\*\*Not Run|Could not find executable/ { print; fflush() }' ||
  status=$?
if [ "$status" -ne 0 ]; then
  echo "test: the suite failed; the whole output, with each failing test's output, is in $logs/test.log" >&2
fi
exit "$status"
