#!/bin/sh
# Checks the application manifest of Pigmentry.exe against what the loader of
# Windows XP SP3 accepts. XP refuses to start a program ("the application
# configuration is incorrect") whose manifest has a child of <assembly> in
# the asm.v1 namespace that it does not know, such as a trustInfo or an
# application element without a namespace of its own; entries in other
# namespaces (asm.v2, asm.v3, compatibility.v1) it skips. XP SP2 without
# KB921337 restarted the machine on an element that declares two namespaces.
# Also checked: the processor the manifest names, the Common-Controls 6
# dependency (the subclassing functions are imported by name from it), the
# asInvoker execution level and the DPI entry that later systems read.
#
#   tools/check_xp_manifest.sh <Pigmentry.exe or a .manifest> <x86|amd64>
set -eu

if [ $# -ne 2 ]; then
  echo "usage: $0 <exe-or-manifest> <processor-architecture>" >&2
  exit 2
fi
input=$1
architecture=$2
if [ ! -f "$input" ]; then
  echo "FAIL: $input does not exist" >&2
  exit 1
fi
if ! command -v xmllint >/dev/null; then
  echo "FAIL: xmllint (libxml2-utils) is needed to read the manifest" >&2
  exit 1
fi

manifest=$(mktemp)
trap 'rm -f "$manifest"' EXIT
case "$input" in
  *.manifest) cp "$input" "$manifest" ;;
  # The manifest resource is the UTF-8 text itself.
  *) strings -a -w -n 8 "$input" | sed -n '/<?xml/,/<\/assembly>/p' >"$manifest" ;;
esac
if [ ! -s "$manifest" ]; then
  echo "FAIL: no manifest found in $input"
  exit 1
fi
if ! xmllint --noout "$manifest"; then
  echo "FAIL: the manifest of $input is not well-formed XML"
  exit 1
fi

status=0
v1='urn:schemas-microsoft-com:asm.v1'
query() {
  xmllint --xpath "$1" "$manifest" 2>/dev/null || true
}
expect() {
  description=$1
  xpath=$2
  if [ "$(query "boolean($xpath)")" = true ]; then
    echo "ok: $description"
  else
    echo "FAIL: $description"
    status=1
  fi
}

expect "the root is <assembly> of asm.v1, manifestVersion 1.0" \
  "/*[local-name()='assembly' and namespace-uri()='$v1' and @manifestVersion='1.0']"

# The children of <assembly> that XP's own schema has.
known="local-name()='assemblyIdentity' or local-name()='description' or
  local-name()='dependency' or local-name()='file' or local-name()='noInherit' or
  local-name()='noInheritable' or local-name()='comInterfaceExternalProxyStub'"
refused="/*/*[namespace-uri()='$v1' and not($known)]"
unknown=
count=$(query "count($refused)")
i=1
while [ "$i" -le "${count:-0}" ]; do
  unknown="$unknown$(query "local-name(($refused)[$i])") "
  i=$((i + 1))
done
if [ -z "$unknown" ]; then
  echo "ok: every asm.v1 child of <assembly> is one that XP knows"
else
  echo "FAIL: asm.v1 children of <assembly> that XP refuses: $unknown(each needs a namespace of its own)"
  status=1
fi

doubled=$(tr '\n' ' ' <"$manifest" | grep -o '<[A-Za-z][^>]*>' |
  awk '{ n = gsub(/[[:space:]]xmlns(:[A-Za-z0-9_]+)?=/, "&"); if (n > 1) print }')
if [ -z "$doubled" ]; then
  echo "ok: no element declares more than one namespace"
else
  echo "FAIL: elements declaring more than one namespace: $doubled"
  status=1
fi

expect "the program's identity names processor $architecture" \
  "/*/*[local-name()='assemblyIdentity' and namespace-uri()='$v1' and @type='win32' and @processorArchitecture='$architecture']"
expect "it depends on Microsoft.Windows.Common-Controls 6.0.0.0" \
  "/*/*[local-name()='dependency' and namespace-uri()='$v1']/*[local-name()='dependentAssembly']/*[local-name()='assemblyIdentity' and @name='Microsoft.Windows.Common-Controls' and @version='6.0.0.0' and @publicKeyToken='6595b64144ccf1df' and @type='win32']"
expect "it runs asInvoker, from a trustInfo in asm.v2 or asm.v3" \
  "/*/*[local-name()='trustInfo' and (namespace-uri()='urn:schemas-microsoft-com:asm.v2' or namespace-uri()='urn:schemas-microsoft-com:asm.v3')]//*[local-name()='requestedExecutionLevel' and @level='asInvoker']"
expect "later systems read dpiAware from an application in asm.v3" \
  "/*/*[local-name()='application' and namespace-uri()='urn:schemas-microsoft-com:asm.v3']/*[local-name()='windowsSettings']/*[local-name()='dpiAware' and namespace-uri()='http://schemas.microsoft.com/SMI/2005/WindowsSettings']"
exit $status
