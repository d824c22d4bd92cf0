#!/usr/bin/env bash
# Builds, runs and tests Pigmentry.
#
#   ./build.sh run [ARGS...]  build Pigmentry.exe and open it (under Wine on Linux;
#                             with no display: on Xvfb, saving build/screenshot.png)
#   ./build.sh test           build everything and run every test
#   ./build.sh build          build the native and the Windows trees
#   ./build.sh package        build the release zip
#   ./build.sh screenshots    take the README's pictures of the layouts and the menu
set -euo pipefail

root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
# shellcheck source=cmake/wine-env.sh
. "$root/cmake/wine-env.sh"

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libwine-dev
  wine wine64 xvfb x11-utils imagemagick
  libbenchmark-dev
)
# Wine runs 32-bit Windows programs through wine32, a 32-bit Linux program:
# only where this kernel runs 32-bit programs. Where it does not, wine32
# would take over the `wine` command and fail, so it is left out.
if pigmentry_runs_32bit; then
  packages+=(wine32:i386)
fi

say() { printf '\n==> %s\n' "$*"; }

missing_packages() {
  local package
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s ' "$package"
    fi
  done
}

ensure_packages() {
  if ! command -v dpkg-query >/dev/null; then
    echo "Not a Debian system: install CMake, Ninja, GoogleTest, clang, MinGW-w64 (posix), Wine, Xvfb and ImageMagick."
    return
  fi
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    say "Installing: $missing"
    # 32-bit programs (the stand-in host, the 32-bit build) run on wine32.
    if [[ "$missing" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
    fi
    apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q $missing
  else
    echo "Missing packages. Install them with:"
    echo "  sudo apt-get install -y $missing"
    exit 1
  fi
}

configure_and_build() {
  local preset=$1
  shift
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" "$@"
}

build_windows() {
  configure_and_build windows "$@"
  pigmentry_wine_env "$root/build/windows"
  pigmentry_wine_prefix "$root/build/windows"
}

xvfb_pid=
stop_background() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wine "$root/build/windows/pigmentry_standin.exe" /Stop >/dev/null 2>&1 || true
    wineserver -k 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}

# A display that answers, or else one of our own on Xvfb.
ensure_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    pigmentry_start_xvfb
  fi
}

cmd_build() {
  ensure_packages
  say "Native build"
  configure_and_build native
  say "Windows build"
  build_windows
}

# The stand-in CorelDRAW host reads and writes its drawing here; a fresh copy
# of the sample drawing on every run.
use_sample_drawing() {
  local drawing="$root/build/windows/sample-drawing.txt"
  cp "$root/standin/sample-drawing.txt" "$drawing"
  # Named under the stand-in's own registry key: COM starts it, not us.
  pigmentry_standin_drawing "$drawing"
}

cmd_run() {
  ensure_packages
  say "Building Pigmentry.exe and the stand-in CorelDRAW host"
  build_windows --target Pigmentry pigmentry_standin
  use_sample_drawing
  local exe="$root/build/windows/Pigmentry.exe"
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    say "Opening $exe"
    wine "$exe" "$@"
    return
  fi
  trap stop_background EXIT
  ensure_display
  say "No display: opening Pigmentry on Xvfb $DISPLAY"
  wine "$exe" "$@" &
  local program=$! geometry="" i
  for i in $(seq 1 100); do
    geometry=$(xwininfo -root -tree 2>/dev/null | grep -m1 -E '"(Draw Pigmentry 11|Pigmentry)"' || true)
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  if [ -z "$geometry" ]; then
    echo "The window did not appear."
    kill "$program" 2>/dev/null || true
    return 1
  fi
  sleep 1
  local shot="$root/build/screenshot.png" id
  id=$(awk '{print $1}' <<<"$geometry")
  if ! import -window "$id" -frame "$shot" 2>/dev/null; then
    import -window root "$shot"
  fi
  echo "The window is open on the virtual display; screenshot saved to $shot"
  kill "$program" 2>/dev/null || true
}

# Prints the ctest summary numbers of a log as "passed failed".
ctest_counts() {
  local line total failed
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1 || true)
  if [ -z "$line" ]; then
    echo "0 1"
    return
  fi
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  echo "$((total - failed)) $failed"
}

cmd_test() {
  ensure_packages
  local logs="$root/build/logs" status=0 passed=0 failed=0 p f
  mkdir -p "$logs"
  local -a summary=()

  say "Native build and unit tests"
  configure_and_build native
  ctest --preset native -j 2 2>&1 | tee "$logs/native.log" || status=1
  read -r p f < <(ctest_counts "$logs/native.log")
  passed=$((passed + p)); failed=$((failed + f))
  summary+=("native unit tests:  $p passed, $f failed")

  if [ -f cmake/fuzz.cmake ]; then
    say "Fuzz targets (bounded runs)"
    configure_and_build fuzz
    local fuzzer name
    p=0; f=0
    for fuzzer in build/fuzz/fuzz_*; do
      [ -x "$fuzzer" ] || continue
      name=$(basename "$fuzzer")
      mkdir -p "build/fuzz/corpus/$name"
      if "$fuzzer" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=5 -rss_limit_mb=2048 \
        "build/fuzz/corpus/$name" >"$logs/$name.log" 2>&1; then
        p=$((p + 1))
        echo "$name: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$logs/$name.log" | tail -n 1)"
      else
        f=$((f + 1))
        tail -n 40 "$logs/$name.log"
        status=1
      fi
    done
    passed=$((passed + p)); failed=$((failed + f))
    summary+=("fuzz targets:       $p passed, $f failed")
  fi

  say "Windows build and end-to-end tests under Wine"
  build_windows
  trap stop_background EXIT
  ensure_display
  # One wineserver for the whole run: every Wine start is then quick. A
  # server still winding down from setting up the prefix is waited for.
  wineserver -w || true
  wineserver -p >/dev/null 2>&1 || true
  ctest --preset windows 2>&1 | tee "$logs/windows.log" || status=1
  read -r p f < <(ctest_counts "$logs/windows.log")
  passed=$((passed + p)); failed=$((failed + f))
  summary+=("windows/e2e tests:  $p passed, $f failed")

  say "Formatting and clang-tidy"
  if tools/lint.sh 2>&1 | tee "$logs/lint.log" | tail -n 20; then
    summary+=("lint:               1 passed, 0 failed")
    passed=$((passed + 1))
  else
    summary+=("lint:               0 passed, 1 failed")
    failed=$((failed + 1))
    status=1
  fi

  say "Summary"
  printf '  %s\n' "${summary[@]}"
  echo "all: $passed passed, $failed failed"
  [ "$failed" = 0 ] || status=1
  return "$status"
}

# Pictures of the real program for the README: the three layouts and the
# pop-up menu, on Xvfb.
cmd_screenshots() {
  ensure_packages
  build_windows --target Pigmentry screenshots
  trap stop_background EXIT
  ensure_display
  local shots="$root/build/windows/screenshots" name
  rm -rf "$shots"
  mkdir -p "$shots" "$root/docs"
  cmake/wine-run.sh build/windows/screenshots.exe "Z:${shots//\//\\}"
  for name in layout-1 layout-2 layout-3 menu; do
    convert "$shots/$name.bmp" "$root/docs/$name.png"
  done
  echo "Saved to docs/: layout-1.png layout-2.png layout-3.png menu.png"
}

cmd_package() {
  ensure_packages
  build_windows
  cpack --preset windows
}

verb=${1:-}
[ $# -gt 0 ] && shift
case "$verb" in
  run) cmd_run "$@" ;;
  test) cmd_test ;;
  build) cmd_build ;;
  package) cmd_package ;;
  screenshots) cmd_screenshots ;;
  *)
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
