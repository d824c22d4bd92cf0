#!/bin/sh
# Checks the formatting (clang-format) of src/, tests/ and benchmarks/ and
# runs clang-tidy over all of src/: the portable sources as the native build
# compiles them (with tests/ and benchmarks/), and the Windows side (the
# win32/ and com/ folders) as the MinGW-w64 build compiles them, parsed by
# clang for the x86_64-w64-mingw32 target with MinGW's headers.
# Exits non-zero when either tool has a finding. The test command runs the
# three parts as tests of their own (format, tidy, tidy-windows), side by
# side with the other tests.
#
#   tools/lint.sh [all|format|tidy|tidy-windows]   uses build/native and build/windows
#   BUILD_DIR=dir WINDOWS_BUILD_DIR=dir tools/lint.sh
set -u
part=${1:-all}
case "$part" in
  all | format | tidy | tidy-windows) ;;
  *)
    echo "usage: tools/lint.sh [all|format|tidy|tidy-windows]" >&2
    exit 2
    ;;
esac
runs() { [ "$part" = all ] || [ "$part" = "$1" ]; }

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2
build_dir=${BUILD_DIR:-build/native}
windows_build_dir=${WINDOWS_BUILD_DIR:-build/windows}
clang_format=${CLANG_FORMAT:-clang-format}
clang_tidy=${CLANG_TIDY:-clang-tidy}

if runs tidy && [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "lint: $build_dir/compile_commands.json is missing; run: cmake --preset native" >&2
  exit 2
fi
if runs tidy-windows && [ ! -f "$windows_build_dir/compile_commands.json" ]; then
  echo "lint: $windows_build_dir/compile_commands.json is missing; run: cmake --preset windows" >&2
  exit 2
fi

status=0
tidy_log=$(mktemp)
windows_log=$(mktemp)
trap 'rm -f "$tidy_log" "$windows_log"' EXIT

# The files a compilation database compiles, as its "file" entries name them.
compiled_files() {
  sed -n 's/^[[:space:]]*"file":[[:space:]]*"\(.*\)",\{0,1\}[[:space:]]*$/\1/p' "$1"
}

lint_format() {
  echo "== layering"
  # The platform sits below the program: it creates whatever design it is
  # handed and never reaches up into app/.
  if grep -rn '#include "app/' src/platform; then
    echo "src/platform must not include app/ headers" >&2
    status=1
  fi

  echo "== clang-format"
  format_files=$(find src tests benchmarks -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
  if ! "$clang_format" --dry-run --Werror $format_files; then
    status=1
  fi
}

lint_tidy() {
  echo "== clang-tidy"
  # The project's own translation units of the native build (src/, tests/,
  # benchmarks/), which are exactly the ones that build without Windows headers.
  tidy_files=$(compiled_files "$build_dir/compile_commands.json" |
    grep -E "^$root/(src|tests|benchmarks)/" | grep -v -E "^$root/(.*/)?(win32|com)/" | sort -u)
  # The build's commands without GCC's precompiled header, which clang
  # cannot read: each file is parsed with its own includes.
  commands=$(mktemp -d)
  sed 's/ -Winvalid-pch -include [^ ]*cmake_pch\.hxx//g' "$build_dir/compile_commands.json" \
    >"$commands/compile_commands.json"
  # Two files at a time: one per core of a small machine.
  printf '%s\n' $tidy_files |
    xargs -P "${LINT_JOBS:-2}" -n 1 "$clang_tidy" --quiet -p "$commands" >"$tidy_log" 2>/dev/null
  rm -rf "$commands"
  if grep -q -E ': (warning|error):' "$tidy_log"; then
    cat "$tidy_log"
    echo
    status=1
  fi
}

lint_tidy_windows() {
  echo "== clang-tidy (Windows side)"
  # The files of the Windows build under win32/ and com/ in src/. Clang takes
  # MinGW's C and Windows headers for its target by itself; the C++ library
  # headers are GCC's, from the compiler the build uses (its intrinsics headers
  # are left out: clang has its own).
  windows_files=$(compiled_files "$windows_build_dir/compile_commands.json" |
    grep -E "^$root/src/(.*/)?(win32|com)/.*\.cpp$" | sort -u)
  mingw_cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$windows_build_dir/CMakeCache.txt")
  cxx_headers=$("$mingw_cxx" -E -x c++ - -v </dev/null 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./p' | sed -n 's/^ \(.*c++.*\)$/\1/p')
  set -- --extra-arg=--target=x86_64-w64-mingw32
  for dir in $cxx_headers; do
    set -- "$@" "--extra-arg=-isystem$dir"
  done
  printf '%s\n' $windows_files |
    xargs -P "${LINT_JOBS:-2}" -n 1 "$clang_tidy" --quiet -p "$windows_build_dir" "$@" \
      >"$windows_log" 2>/dev/null
  if grep -q -E ': (warning|error):' "$windows_log"; then
    cat "$windows_log"
    echo
    status=1
  fi
}

if runs format; then lint_format; fi
if runs tidy; then lint_tidy; fi
if runs tidy-windows; then lint_tidy_windows; fi

if [ $status -eq 0 ]; then
  echo "lint: clean"
else
  echo "lint: findings above" >&2
fi
exit $status
