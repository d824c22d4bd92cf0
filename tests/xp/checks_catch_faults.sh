#!/bin/sh
# The XP checks of the 32-bit build catch what would keep the program from
# starting on Windows XP: each case below breaks one thing and expects the
# check to fail and to name it. The manifest cases are made from the real
# manifest, one change each.
#
#   tests/xp/checks_catch_faults.sh <objdump> <newer_imports.exe> <app.manifest>
set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 <objdump> <newer_imports.exe> <app.manifest>" >&2
  exit 2
fi
objdump=$1
newer_exe=$2
manifest=$3
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect_failure <name> <expected text in the output> <command...>
expect_failure() {
  name=$1
  expected=$2
  shift 2
  if "$@" >"$work/output" 2>&1; then
    echo "FAIL: $name: the check passed"
    failures=$((failures + 1))
  elif ! grep -qF -- "$expected" "$work/output"; then
    echo "FAIL: $name: the check failed without saying \"$expected\":"
    sed 's/^/    /' "$work/output"
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

# The imports of a program built for newer Windows.
for expected in "kernel32.dll GetTickCount64" "msvcrt.dll wcscpy_s" "Subsystem version is"; do
  expect_failure "newer program: $expected" "$expected" \
    sh "$tools/check_xp_imports.sh" "$objdump" "$newer_exe" "$tools/xp_exports.txt"
done

# The real program against a list that lacks one of its imports.
grep -v -E '^kernel32\.dll[[:space:]]+GetProcAddress[[:space:]]' "$tools/xp_exports.txt" >"$work/short.txt"
program=$(dirname "$newer_exe")/Pigmentry.exe
expect_failure "an import missing from the list" "kernel32.dll GetProcAddress" \
  sh "$tools/check_xp_imports.sh" "$objdump" "$program" "$work/short.txt"

# mutate <name> <sed script> <expected text>
mutate() {
  name=$1
  sed "$2" "$manifest" >"$work/$name.manifest"
  if cmp -s "$manifest" "$work/$name.manifest"; then
    echo "FAIL: $name: the change did not apply to $manifest"
    failures=$((failures + 1))
    return
  fi
  expect_failure "manifest: $name" "$3" sh "$tools/check_xp_manifest.sh" "$work/$name.manifest" x86
}
mutate trustInfo-without-namespace \
  's|<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">|<trustInfo>|' "XP refuses: trustInfo"
mutate application-without-namespace \
  's|<application xmlns="urn:schemas-microsoft-com:asm.v3">|<application>|' "XP refuses: application"
mutate two-namespaces-on-one-element \
  's|<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">|<trustInfo xmlns:ms_asmv3="urn:schemas-microsoft-com:asm.v3" xmlns="urn:schemas-microsoft-com:asm.v3">|' \
  "more than one namespace"
mutate other-processor 's|processorArchitecture="x86"|processorArchitecture="amd64"|' \
  "names processor x86"
mutate no-common-controls 's|name="Microsoft.Windows.Common-Controls"|name="Microsoft.Windows.Other"|' \
  "Common-Controls"
mutate requires-administrator 's|level="asInvoker"|level="requireAdministrator"|' "asInvoker"
mutate not-well-formed 's|</assembly>|</assembl>|' "not well-formed"

if [ "$failures" -ne 0 ]; then
  echo "$failures case(s) not caught"
  exit 1
fi
echo "every case caught"
