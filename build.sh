#!/usr/bin/env bash
# Builds, runs and tests Pigmentry.
#
#   ./build.sh run [ARGS...]  build Pigmentry.exe and open it (under Wine on Linux;
#                             with no display: on Xvfb, saving build/screenshot.png)
#   ./build.sh test           build everything and run every test
#   ./build.sh test32         every test that needs 32-bit programs (where this kernel
#                             runs none, inside the 32-bit test machine: slow)
#   ./build.sh build          build the native and the Windows trees (64-bit and 32-bit)
#   ./build.sh package        build the release zip with both Windows builds
#   ./build.sh screenshots    take the README's pictures of the layouts and the menu
#   ./build.sh fuzz [SECONDS] run every fuzz target that long (default 180 s each)
#                             from its seeds, then keep the minimised corpus
#   ./build.sh soak [STEPS]   a random session with the real window under Wine
#                             (default about ten minutes; SOAK_SEED=N to replay)
#   ./build.sh bench [--compare OLD.json]
#                             every figure in one table (optimised builds), also as
#                             data in build/bench/figures.json; prints what moved
#                             since OLD.json or the run before
set -euo pipefail

root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
# shellcheck source=cmake/wine-env.sh
. "$root/cmake/wine-env.sh"

# What the native tree needs (its unit tests, the fuzz targets, the lint),
# and what the Windows trees need besides (cross compilers, Wine, Xvfb).
native_packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev clang-format clang-tidy libxml2-utils
  libbenchmark-dev
)
windows_packages=(
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools libwine-dev
  wine wine64 xvfb x11-utils imagemagick
)
# Wine runs 32-bit Windows programs through wine32, a 32-bit Linux program.
# Where this kernel runs no 32-bit code, wine32 runs inside the 32-bit test
# machine (tools/vm/), which QEMU and busybox make from this machine's own
# files; here the build's Wine calls go to the 64-bit loader.
windows_packages+=(wine32:i386)
if ! pigmentry_runs_32bit; then
  windows_packages+=(qemu-system-x86 busybox-static)
fi
packages=("${native_packages[@]}" "${windows_packages[@]}")

say() { printf '\n==> %s\n' "$*"; }

missing_packages() {
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s ' "$package"
    fi
  done
}

# Installs what is missing of the named packages (all of them by default).
ensure_packages() {
  [ $# -gt 0 ] || set -- "${packages[@]}"
  if ! command -v dpkg-query >/dev/null; then
    echo "Not a Debian system: install CMake, Ninja, GoogleTest, clang, MinGW-w64 (posix), Wine, Xvfb and ImageMagick."
    return
  fi
  local missing
  missing=$(missing_packages "$@")
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

# The 32-bit build (Windows XP SP3 and later) in build/windows32. Its Wine
# prefix is made only where Wine here runs 32-bit programs.
build_windows32() {
  configure_and_build windows32 "$@"
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
  say "Windows 32-bit build"
  build_windows32
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
  local exe="$root/build/windows/Pigmentry.exe"
  # Setting up the prefix ran Wine without a display; a Wine session that
  # started so cannot open windows, so it is waited for to end first.
  wineserver -w || true
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    use_sample_drawing
    say "Opening $exe"
    wine "$exe" "$@"
    return
  fi
  trap stop_background EXIT
  ensure_display
  use_sample_drawing
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

# The inputs kept in the repository for a fuzz target: hand-written seeds
# (tests/fuzz/seeds/, kept as they are) and the minimised corpus of earlier
# runs (tests/fuzz/corpus/, rewritten by ./build.sh fuzz).
fuzz_seeds() {
  local folder
  for folder in "tests/fuzz/seeds/$1" "tests/fuzz/corpus/$1"; do
    [ -d "$folder" ] && echo "$folder"
  done
  return 0
}

# The dictionary of a fuzz target's tokens, if it has one.
fuzz_dictionary() {
  local dict="tests/fuzz/${1#fuzz_}.dict"
  [ -f "$dict" ] && echo "-dict=$dict"
  return 0
}

# Runs every fuzz target for SECONDS from its seeds and the corpus of earlier
# runs, prints executions, executions per second and coverage, and then
# keeps a minimised corpus (a small set of units with the same coverage) in
# tests/fuzz/corpus/ for the next run.
cmd_fuzz() {
  local seconds=${1:-180}
  ensure_packages
  say "Fuzz targets, $seconds s each"
  configure_and_build fuzz
  local logs="$root/build/logs" fuzzer name status=0 runs rate cov features
  mkdir -p "$logs"
  local -a summary=()
  for fuzzer in build/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    mkdir -p "build/fuzz/corpus/$name" "tests/fuzz/corpus/$name"
    say "$name"
    # shellcheck disable=SC2046
    if ! nice -n 10 "$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -print_final_stats=1 $(fuzz_dictionary "$name") \
      "build/fuzz/corpus/$name" $(fuzz_seeds "$name") >"$logs/$name.long.log" 2>&1; then
      tail -n 40 "$logs/$name.long.log"
      summary+=("$name: FAILED (see build/logs/$name.long.log; the input is in the current folder)")
      status=1
      continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$name.long.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$logs/$name.long.log")
    cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$logs/$name.long.log" | tail -n 1)
    local merged="build/fuzz/merged/$name"
    rm -rf "$merged"
    mkdir -p "$merged"
    nice -n 10 "$fuzzer" -set_cover_merge=1 -timeout=5 -rss_limit_mb=2048 "$merged" \
      "tests/fuzz/corpus/$name" "build/fuzz/corpus/$name" >"$logs/$name.merge.log" 2>&1
    features=$(find "$merged" -type f | wc -l)
    if [ "$features" -gt 0 ]; then
      rm -f "tests/fuzz/corpus/$name"/*
      cp "$merged"/* "tests/fuzz/corpus/$name/"
    fi
    summary+=("$name: $runs executions in $seconds s, $rate exec/s, $cov, $features corpus units kept")
  done
  say "Fuzz summary"
  printf '  %s\n' "${summary[@]}"
  return "$status"
}

# A soak of the real program: STEPS random user actions (or about ten
# minutes) from a printed seed, checked after every step.
cmd_soak() {
  ensure_packages
  build_windows --target soak Pigmentry pigmentry_standin
  pigmentry_wine_prefix "$root/build/windows"
  trap stop_background EXIT
  ensure_display
  wineserver -w || true
  wineserver -p >/dev/null 2>&1 || true
  local -a options=(--seed "${SOAK_SEED:-$(date +%s)}")
  if [ -n "${1:-}" ]; then
    options+=(--steps "$1")
  else
    options+=(--seconds 600)
  fi
  say "Soak: ${options[*]}"
  nice -n 10 wine build/windows/soak.exe "${options[@]}" </dev/null
}

# Every figure in one table, in an optimised build: the keystroke chains on
# the in-memory platform (Google Benchmark), the host calls of the buttons,
# and under Wine the keystroke latency of the real window beside its floor (a
# plain edit), the start-up next to a minimal window and Notepad with the
# cost of each step of both, the buttons against the stand-in host in its
# own process (BRIDGE_LARGEST shapes at most, 10000 unless set), and the size
# of Pigmentry.exe with what makes it up. Every figure is also written as
# data to build/bench/figures.json (tools/bench_figures.py; the keystroke
# chains in Google Benchmark's form in build/bench/keystrokes.json). The
# figures of the run before are kept as build/bench/figures.previous.json,
# and what moved beyond the noise since then is printed, or since OLD.json
# with --compare OLD.json.
cmd_bench() {
  local out="$root/build/bench" largest=${BRIDGE_LARGEST:-10000} baseline=
  case "${1:-}" in
    --compare)
      baseline=$(realpath "${2:?--compare needs a figures.json}")
      [ -f "$baseline" ] || { echo "No such file: $2"; exit 2; }
      ;;
    "") ;;
    *)
      echo "Usage: ./build.sh bench [--compare OLD.json]"
      exit 2
      ;;
  esac
  ensure_packages
  say "Native benchmarks (Release, no sanitizers)"
  configure_and_build bench
  build/bench/keystroke_bench --benchmark_out="$out/keystrokes.json" \
    --benchmark_out_format=json --benchmark_min_time=0.5 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true | tee "$out/keystrokes.txt"
  build/bench/bridge_bench | tee "$out/bridge-memory.txt"

  say "Windows benchmarks under Wine"
  build_windows --target Pigmentry startup_bench keystroke_latency bridge_bench_win
  trap stop_background EXIT
  ensure_display
  wineserver -w || true
  wineserver -p >/dev/null 2>&1 || true
  cmake/wine-run.sh build/windows/keystroke_latency.exe 1000 | tee "$out/keystroke-wine.txt"
  cmake/wine-run.sh build/windows/startup_bench.exe "Z:${root//\//\\}\\build\\windows\\Pigmentry.exe" 20 |
    tee "$out/startup.txt"
  cmake/wine-run.sh build/windows/bridge_bench_win.exe "$largest" | tee "$out/bridge-wine.txt"
  local exe=build/windows/Pigmentry.exe bytes budget
  bytes=$(wc -c <"$exe")
  budget=$(cat build/windows/exe-size-budget-kib.txt)
  {
    echo "Pigmentry.exe (64-bit): $bytes bytes ($(((bytes + 1023) / 1024)) KiB), budget $budget KiB"
    echo "figure size.pigmentry_exe $bytes bytes budget=$((budget * 1024))"
    echo "Largest contributors (from the link map):"
    sh benchmarks/size/size_report.sh build/windows/Pigmentry.map 10 |
      awk -F '\t' '{printf "  %-7s %-60s %7d\n", $1, $2, $3}'
  } | tee "$out/size.txt"

  say "All figures"
  cat "$out/keystrokes.txt" "$out/bridge-memory.txt" "$out/keystroke-wine.txt" \
    "$out/startup.txt" "$out/bridge-wine.txt" "$out/size.txt" |
    grep -v -e '^\*\*\*WARNING' -e '^figure '
  if [ -z "$baseline" ] && [ -f "$out/figures.json" ]; then
    mv "$out/figures.json" "$out/figures.previous.json"
    baseline="$out/figures.previous.json"
  fi
  python3 tools/bench_figures.py collect "$out/figures.json" "$out/bridge-memory.txt" \
    "$out/keystroke-wine.txt" "$out/startup.txt" "$out/bridge-wine.txt" "$out/size.txt" \
    --google-benchmark "$out/keystrokes.json"
  echo "Written: build/bench/figures.json, build/bench/keystrokes.json"
  if [ -n "$baseline" ]; then
    python3 tools/bench_figures.py compare "$baseline" "$out/figures.json"
  fi
}

# The value of an XPath expression over a JUnit file that ctest wrote.
junit_xpath() {
  xmllint --xpath "$2" "$1" 2>/dev/null || echo 0
}

# Counts of the test cases of a JUnit file that match a condition, as
# "passed failed skipped".
junit_select() {
  local total failed skipped
  total=$(junit_xpath "$1" "count(//testcase[$2])")
  failed=$(junit_xpath "$1" "count(//testcase[$2][@status='fail'])")
  skipped=$(junit_xpath "$1" "count(//testcase[$2][@status='notrun' or @status='disabled' or skipped])")
  echo "$((total - failed - skipped)) $failed $skipped"
}

# Counts of a tree's tests from the JUnit file ctest wrote, as "passed failed
# skipped". A test that ran a group inside the 32-bit test machine stands
# for the tests it ran there (MACHINE_JUNIT); the lanes' clean-up is no
# test. No file is one failure: the tree's tests did not run.
junit_counts() {
  local junit=$1 machine=${2:-} p f s mp mf ms
  if [ ! -f "$junit" ]; then
    echo "0 1 0"
    return
  fi
  read -r p f s < <(junit_select "$junit" \
    'not(@name="wine.lanes_stop") and not(@name="e2e.in_32bit_machine")')
  if [ "$(junit_xpath "$junit" 'count(//testcase[@name="e2e.in_32bit_machine"])')" != 0 ]; then
    if [ -n "$machine" ] && [ -f "$machine" ]; then
      read -r mp mf ms < <(junit_select "$machine" 'not(@name="wine.lanes_stop")')
      if [ "$mf" = 0 ] && [ "$(junit_xpath "$junit" \
        'count(//testcase[@name="e2e.in_32bit_machine"][@status="fail"])')" != 0 ]; then
        mf=1
      fi
      p=$((p + mp)); f=$((f + mf)); s=$((s + ms))
    else
      f=$((f + 1))
    fi
  fi
  echo "$p $f $s"
}

# Seconds the tests of a group (their names' first part) took in a JUnit
# file, summed: tests in lanes side by side add up to more than the wall.
junit_group_seconds() {
  local seconds
  seconds=$(junit_xpath "$1" "sum(//testcase[starts-with(@name, '$2.')]/@time)")
  printf '%.0f' "${seconds:-0}"
}

# Runs a tree's workflow preset (configure, build, test). Its output goes to
# build/logs/TREE.log and, each line led by the tree's name, to the
# terminal; "STATUS START END TEST_SECONDS" to build/logs/TREE.times.
run_tree() {
  local tree=$1 start=$SECONDS status=0 tested=0
  rm -f "build/$tree/junit.xml" "build/$tree/machine-junit.xml"
  if ! cmake --workflow --preset "$tree" 2>&1 | tee "$logs/$tree.log" | sed -u "s/^/[$tree] /"; then
    status=1
  fi
  if [ -f "build/$tree/junit.xml" ]; then
    tested=$(junit_xpath "build/$tree/junit.xml" 'string(/testsuite/@time)')
  fi
  echo "$status $start $SECONDS ${tested:-0}" >"$logs/$tree.times"
}

# One line of the summary for a tree: its build and test times and counts.
tree_summary() {
  local tree=$1 status start end tested p f s
  if [ ! -f "$logs/$tree.times" ]; then
    printf '  %-10s did not run\n' "$tree"
    failed=$((failed + 1))
    return
  fi
  read -r status start end tested <"$logs/$tree.times"
  read -r p f s < <(junit_counts "build/$tree/junit.xml" "build/$tree/machine-junit.xml")
  [ "$status" = 0 ] || [ "$f" != 0 ] || f=1
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
  printf '  %-10s %3d-%3d s: build %3d s, tests %3d s; %d passed, %d failed, %d skipped\n' \
    "$tree" "$start" "$end" "$((end - start - tested))" "$tested" "$p" "$f" "$s"
}

# Every test of every tree: the native tree (unit tests, lint) on one side;
# the two Windows trees (the end-to-end tests in Wine lanes, the Windows
# side's lint, the XP checks) and then the fuzz targets on the other, side
# by side: the Windows trees' tests mostly wait for Wine, and the native
# side's work fills the time. The Windows packages install while the native
# tree builds.
cmd_test() {
  logs="$root/build/logs"
  mkdir -p "$logs"
  local status=0 native_side windows_side
  passed=0 failed=0 skipped=0
  ensure_packages "${native_packages[@]}"
  local packages_took=$SECONDS
  (
    ensure_packages "${windows_packages[@]}" >"$logs/packages.log" 2>&1
    echo "$SECONDS" >"$logs/packages.done"
    run_tree windows
    run_tree windows32
    run_tree fuzz
  ) &
  windows_side=$!
  (
    # Behind the end-to-end tests on the processor: their timing matters.
    renice -n 5 "$BASHPID" >/dev/null
    run_tree native
  ) &
  native_side=$!
  trap 'kill $windows_side $native_side 2>/dev/null; stop_lanes' EXIT
  wait "$native_side" || status=1
  wait "$windows_side" || status=1
  trap - EXIT

  say "Summary (seconds since the start)"
  echo "  packages   native tools $packages_took s; Windows tools by $(cat "$logs/packages.done" 2>/dev/null || echo '?') s, beside the native tree"
  local tree
  for tree in native fuzz windows windows32; do
    tree_summary "$tree"
  done
  local groups="" group seconds junits
  junits=$(ls build/{native,fuzz,windows,windows32}/junit.xml 2>/dev/null || true)
  for group in unit lint fuzz e2e soak release xp; do
    seconds=0
    for junit in $junits; do
      seconds=$((seconds + $(junit_group_seconds "$junit" "$group")))
    done
    [ "$seconds" = 0 ] || groups+="$group $seconds s, "
  done
  echo "  test groups (each group's tests' own times added up): ${groups%, }"
  for tree in windows windows32; do
    if [ -f "build/$tree/junit.xml" ] &&
      [ "$(junit_xpath "build/$tree/junit.xml" 'count(//testcase[@name="e2e.in_32bit_machine"])')" != 0 ]; then
      echo "  $tree: $(printf '%.0f' "$(junit_xpath "build/$tree/junit.xml" \
        'string(//testcase[@name="e2e.in_32bit_machine"]/@time)')") s of its tests inside the 32-bit test machine"
    fi
  done
  echo "  total time: $SECONDS s"
  echo "all: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" = 0 ] || status=1
  return "$status"
}

stop_lanes() {
  local tree
  for tree in windows windows32; do
    [ -d "build/$tree/lanes" ] && pigmentry_stop_lanes "$root/build/$tree"
  done
  return 0
}

# Every end-to-end test of the 32-bit Pigmentry.exe, and every Get and Set
# test of the 64-bit one against the 32-bit stand-in host. Where this kernel
# runs 32-bit programs, ./build.sh test runs them all already; where it does
# not, it runs a part of them inside the 32-bit test machine, whose
# emulated programs are slow, and this runs the rest there too.
cmd_test32() {
  ensure_packages
  local logs="$root/build/logs" status=0 p f s tree
  mkdir -p "$logs"
  build_windows
  build_windows32
  for tree in windows windows32; do
    say "$tree: the tests that need 32-bit programs"
    rm -f "build/$tree/junit.xml" "build/$tree/machine-junit.xml"
    if pigmentry_wine_runs_32bit; then
      [ "$tree" = windows32 ] || continue
      tools/vm/ctest-under-wine "build/$tree" --output-on-failure --timeout 120 -R '^e2e\.' \
        --output-junit "$root/build/$tree/junit.xml" 2>&1 | tee "$logs/$tree-32bit.log" || status=1
    else
      PIGMENTRY_MACHINE_TESTS=full ctest --preset "$tree" -R '^e2e\.in_32bit_machine$' \
        2>&1 | tee "$logs/$tree-32bit.log" || status=1
    fi
    read -r p f s < <(junit_counts "build/$tree/junit.xml" "build/$tree/machine-junit.xml")
    echo "$tree: $p passed, $f failed, $s skipped"
  done
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
  say "Windows 32-bit build"
  build_windows32 --target Pigmentry
  say "Windows build and the release zip"
  build_windows
  cpack --preset windows
}

verb=${1:-}
[ $# -gt 0 ] && shift
case "$verb" in
  run) cmd_run "$@" ;;
  test) cmd_test ;;
  test32) cmd_test32 ;;
  build) cmd_build ;;
  package) cmd_package ;;
  screenshots) cmd_screenshots ;;
  fuzz) cmd_fuzz "$@" ;;
  soak) cmd_soak "$@" ;;
  bench) cmd_bench "$@" ;;
  *)
    sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
