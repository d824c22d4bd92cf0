#!/bin/sh
# Checks the formatting (clang-format) of src/, tests/ and benchmarks/ and
# runs clang-tidy over the portable sources (the native build's files in
# src/, tests/ and benchmarks/, with the headers of src/ they include). Files
# under win32/ and com/ folders need the Windows headers and are skipped.
# Exits non-zero when either tool has a finding.
#
#   tools/lint.sh            uses build/native/compile_commands.json
#   BUILD_DIR=dir tools/lint.sh
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2
build_dir=${BUILD_DIR:-build/native}
clang_format=${CLANG_FORMAT:-clang-format}
clang_tidy=${CLANG_TIDY:-clang-tidy}

if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "lint: $build_dir/compile_commands.json is missing; run: cmake --preset native" >&2
  exit 2
fi

status=0

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

echo "== clang-tidy"
# The project's own translation units of the native build (src/, tests/,
# benchmarks/), which are exactly the ones that build without Windows headers.
tidy_files=$(sed -n 's/^[[:space:]]*"file":[[:space:]]*"\(.*\)",\{0,1\}[[:space:]]*$/\1/p' \
  "$build_dir/compile_commands.json" | grep -E "^$root/(src|tests|benchmarks)/" |
  grep -v -E "^$root/(.*/)?(win32|com)/" | sort -u)
tidy_log=$(mktemp)
trap 'rm -f "$tidy_log"' EXIT
# Two files at a time: one per core of a small machine.
printf '%s\n' $tidy_files |
  xargs -P "${LINT_JOBS:-2}" -n 1 "$clang_tidy" --quiet -p "$build_dir" >"$tidy_log" 2>/dev/null
if grep -q -E ': (warning|error):' "$tidy_log"; then
  cat "$tidy_log"
  echo
  status=1
fi

if [ $status -eq 0 ]; then
  echo "lint: clean"
else
  echo "lint: findings above" >&2
fi
exit $status
