#!/bin/sh
# Where the bytes of a linked program come from, read from its GNU ld link
# map: the bytes each library and each of its members put into the image,
# largest first. Debug sections are left out (the program is stripped).
#
#   benchmarks/size/size_report.sh <program.map> [members to list]
#
# Prints "group<TAB>bytes" lines: first one per library ("lib" rows), then
# one per library member ("member" rows).
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 <map> [count]" >&2
  exit 2
fi
map=$1
count=${2:-8}

awk -v count="$count" '
  # Names an input file by what a reader recognises: the archive and its
  # member ("libstdc++.a(string-inst.o)"), or this project'"'"'s object.
  function library(file,   name) {
    name = file
    sub(/\(.*$/, "", name)
    sub(/^.*\//, "", name)
    if (name ~ /\.obj$/) {
      return "Pigmentry objects"
    }
    return name
  }
  function member(file,   name) {
    name = file
    sub(/^.*\//, "", name)
    return name
  }
  # Plain awk has no hexadecimal numbers.
  function hex(text,   value, i, digit) {
    value = 0
    text = tolower(substr(text, 3))
    for (i = 1; i <= length(text); i++) {
      digit = index("0123456789abcdef", substr(text, i, 1)) - 1
      value = value * 16 + digit
    }
    return value
  }
  function add(section, size, file) {
    if (section ~ /^\.debug/ || section ~ /^\.gnu_debuglink/ || size ~ /^0x0+$/) {
      return
    }
    bytes = hex(size)
    lib[library(file)] += bytes
    mem[member(file)] += bytes
  }
  /^Linker script and memory map/ { inmap = 1; next }
  !inmap { next }
  # " .text.name   0xADDR   0xSIZE   file"
  /^ \.[^ ]+[ ]+0x[0-9a-f]+[ ]+0x[0-9a-f]+[ ]+[^ ]/ {
    add($1, $3, $4)
    pending = ""
    next
  }
  # A long section name, with its address, size and file on the next line.
  /^ \.[^ ]+$/ { pending = $1; next }
  pending != "" && /^[ ]+0x[0-9a-f]+[ ]+0x[0-9a-f]+[ ]+[^ ]/ {
    add(pending, $2, $3)
    pending = ""
    next
  }
  { pending = "" }
  END {
    for (name in lib) {
      printf "lib\t%s\t%d\n", name, lib[name]
    }
    for (name in mem) {
      printf "member\t%s\t%d\n", name, mem[name]
    }
  }
' "$map" | sort -t "$(printf '\t')" -k1,1 -k3,3nr | awk -F '\t' -v count="$count" '
  $1 == "lib" { print; next }
  $1 == "member" && shown < count { print; shown++ }
'
