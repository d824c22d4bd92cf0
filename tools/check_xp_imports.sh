#!/bin/sh
# Checks that a 32-bit Pigmentry.exe can load on Windows XP SP3, as far as
# its file shows it: an i386 executable whose header asks for Windows 5.01
# (XP) as system and subsystem version, and whose every import, by name,
# is on the list of what XP's system DLLs export (tools/xp_exports.txt).
# The loader of XP refuses to start a program with one import it cannot
# find, so any function missing from the list fails the check.
#
#   tools/check_xp_imports.sh <objdump> <Pigmentry.exe> <xp_exports.txt>
set -eu

if [ $# -ne 3 ]; then
  echo "usage: $0 <objdump> <exe> <xp-exports-list>" >&2
  exit 2
fi
objdump=$1
exe=$2
list=$3

for file in "$exe" "$list"; do
  if [ ! -f "$file" ]; then
    echo "FAIL: $file does not exist" >&2
    exit 1
  fi
done

headers=$("$objdump" -p "$exe")
status=0

# The header.
format=$(printf '%s\n' "$headers" | sed -n 's/.*file format \([^ ]*\).*/\1/p' | head -n 1)
if [ "$format" != pei-i386 ]; then
  echo "FAIL: $exe is $format, not a 32-bit (pei-i386) executable"
  status=1
fi
field() {
  printf '%s\n' "$headers" | awk -v name="$1" '$1 == name { print $2; exit }'
}
for kind in OSystem Subsystem; do
  major=$(field "Major${kind}Version")
  minor=$(field "Minor${kind}Version")
  if [ "$major.$minor" = 5.1 ]; then
    echo "ok: $kind version 5.1"
  else
    echo "FAIL: $kind version is ${major:-?}.${minor:-?}, not 5.1 (Windows XP)"
    status=1
  fi
done

# Imports that go past the import table: delay-loaded DLLs are looked up on
# first call and would fail only then, so they are not allowed either.
if printf '%s\n' "$headers" |
  awk '/Delay Import Directory/ && $4 != "00000000" { found = 1 } END { exit !found }'; then
  echo "FAIL: $exe has delay-loaded imports; load newer functions with GetProcAddress"
  status=1
fi

# The import table: "dll function" a line, the DLL in lower case; an import
# by ordinal shows as "<ordinal N>".
imports=$(printf '%s\n' "$headers" | awk '
  /^The Import Tables/ { inside = 1; next }
  inside && /^The / { inside = 0 }
  !inside { next }
  /DLL Name:/ { dll = tolower($3); next }
  dll != "" && /^\t[0-9a-f]+\t/ {
    if (NF >= 3) print dll, $3; else print dll, "<ordinal " $2 ">"
  }')
if [ -z "$imports" ]; then
  echo "FAIL: no imports found in $exe"
  exit 1
fi

known=$(awk '!/^[[:space:]]*#/ && NF >= 2 { print tolower($1), $2 }' "$list")
count=0
missing=0
while read -r dll function; do
  count=$((count + 1))
  if ! printf '%s\n' "$known" | grep -qxF "$dll $function"; then
    echo "FAIL: $dll $function is not on the list of what Windows XP exports"
    missing=$((missing + 1))
  fi
done <<IMPORTS
$imports
IMPORTS
echo "Imports of $(basename "$exe"): $count from $(printf '%s\n' "$imports" | awk '{print $1}' | sort -u | wc -l | tr -d ' ') DLLs, $missing not on the list"
[ "$missing" = 0 ] || status=1
exit $status
