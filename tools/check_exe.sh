#!/bin/sh
# Checks a built Pigmentry.exe: it imports only DLLs that Windows itself
# ships, and it is no larger than its budget. Prints the imports and the
# size next to the budget.
#
#   tools/check_exe.sh <objdump> <Pigmentry.exe> <size budget in KiB>
set -eu

if [ $# -ne 3 ]; then
  echo "usage: $0 <objdump> <exe> <max-KiB>" >&2
  exit 2
fi
objdump=$1
exe=$2
max_kib=$3

if [ ! -f "$exe" ]; then
  echo "FAIL: $exe does not exist" >&2
  exit 1
fi

status=0

imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr 'A-Z' 'a-z' | tr -d '\r')
if [ -z "$imports" ]; then
  echo "FAIL: no import table found in $exe" >&2
  exit 1
fi

echo "Imports of $(basename "$exe"):"
for dll in $imports; do
  case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | ole32.dll | \
      oleaut32.dll | advapi32.dll | shell32.dll | shlwapi.dll | oleacc.dll | uxtheme.dll | \
      shcore.dll | dwmapi.dll | version.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll)
      echo "  $dll"
      ;;
    *)
      echo "  $dll  <- not a DLL that Windows ships" >&2
      status=1
      ;;
  esac
done

bytes=$(wc -c <"$exe" | tr -d ' ')
limit=$((max_kib * 1024))
kib=$(((bytes + 1023) / 1024))
echo "Size of $(basename "$exe"): $bytes bytes ($kib KiB), budget $max_kib KiB"
if [ "$bytes" -gt "$limit" ]; then
  echo "FAIL: $(basename "$exe") is over its size budget of $max_kib KiB;" \
    "benchmarks/size/size_report.sh on its link map names what grew" >&2
  status=1
fi

exit $status
