#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, in the private prefix of the
# build folder it lives in. Starts Xvfb when there is no display. Used as
# CMAKE_CROSSCOMPILING_EMULATOR, so plain ctest runs the Windows tests; a test
# that ctest runs in a lane gets the lane's own prefix and display.
set -euo pipefail

program=$1
shift

# The build folder: the nearest parent of the program with a CMakeCache.txt.
build=$(cd "$(dirname "$program")" && pwd)
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do
  build=$(dirname "$build")
done

here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
lane=$(pigmentry_ctest_lane)
pigmentry_wine_env "$build" "$lane"
pigmentry_wine_prefix "$build"

xvfb_pid=
if [ -n "$lane" ]; then
  pigmentry_lane_session "$build" "$lane"
elif [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  pigmentry_start_xvfb
fi
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT INT TERM

# Wine's own background processes inherit the output descriptors and outlive
# the program; give them a file, not the caller's pipe, or the caller would
# wait for them.
output=$(mktemp)
status=0
wine "$program" "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
rm -f "$output"
exit "$status"
