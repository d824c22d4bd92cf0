# Shell functions shared by build.sh and the Wine wrapper: the build's own
# Wine prefix, created once, and an Xvfb display when there is none.

# The prefix of a build folder is BUILD/wineprefix, or a folder named after
# the build under PIGMENTRY_PREFIX_ROOT when that is set (the 32-bit test
# machine keeps its prefixes in memory).
#
# ctest runs the Windows tests in lanes side by side (the resource "wine" of
# cmake/wine-lanes.json). Each lane has a prefix of its own beside the
# build's (wineprefix-laneN): no test's registry, stand-in or windows ever
# meet another's. A new lane's prefix is unpacked from the prefix cache.
pigmentry_wine_env() {
  lane_suffix=
  if [ -n "${2:-}" ]; then
    lane_suffix="-lane$2"
  fi
  if [ -n "${PIGMENTRY_PREFIX_ROOT:-}" ]; then
    export WINEPREFIX="$PIGMENTRY_PREFIX_ROOT/$(basename "$1")$lane_suffix"
  else
    export WINEPREFIX="$1/wineprefix$lane_suffix"
  fi
  : "${PIGMENTRY_PREFIX_CACHE:=$(dirname "$1")/wineprefix-cache}"
  export PIGMENTRY_PREFIX_CACHE
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  pigmentry_wine64_loader "$1"
}

# Where wine32 is installed but this kernel cannot run it, Debian's `wine`
# wrapper (and wineboot, winepath and the like, which go through
# `wine-stable`) still picks the 32-bit loader and fails with "Exec format
# error". Two small scripts first on PATH send them to the 64-bit loader.
pigmentry_wine64_loader() {
  [ -x /usr/lib/wine/wine ] && [ -x /usr/lib/wine/wine64 ] || return 0
  pigmentry_runs_32bit && return 0
  shims="$1/wine64-loader"
  mkdir -p "$shims"
  for name in wine wine-stable; do
    if [ ! -x "$shims/$name" ]; then
      printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
        >"$shims/$name"
      chmod +x "$shims/$name"
    fi
  done
  case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
}

# True when this machine runs 32-bit x86 Linux programs (and so wine32, and
# through it 32-bit Windows programs). Some kernels have that switched off:
# try a 93-byte 32-bit program that only exits. PIGMENTRY_NO_32BIT=1 takes
# this machine for one that does not, to try the other path here.
pigmentry_runs_32bit() {
  [ "${PIGMENTRY_NO_32BIT:-}" != 1 ] || return 1
  probe=$(mktemp)
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0'\
'\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10'\
'\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\61\333\315\200' >"$probe"
  chmod +x "$probe"
  status=0
  "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return "$status"
}

# True when Wine here runs 32-bit Windows programs: wine32 is installed and
# the kernel runs it.
pigmentry_wine_runs_32bit() {
  [ -x /usr/lib/wine/wine ] && pigmentry_runs_32bit
}

# Creates the prefix on first use (under a lock: parallel first starts race),
# tells Wine not to wait for a window manager, and registers the stand-in
# host when it has been built.
pigmentry_wine_prefix() {
  build=$1
  mkdir -p "$build" "$(dirname "$WINEPREFIX")"
  (
    flock 9
    # A prefix made before wine32 could run has no working 32-bit side
    # ("could not load kernel32.dll"): the marker says which kind it is.
    kind=win64
    if pigmentry_wine_runs_32bit; then
      kind=wow64
    fi
    if [ "$(cat "$WINEPREFIX/.pigmentry-ready" 2>/dev/null)" != "$kind" ]; then
      rm -rf "$WINEPREFIX"
      if ! pigmentry_restore_prefix "$kind"; then
        wineboot -i >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        wineserver -w || true
        pigmentry_install_wine_fonts
        echo "$kind" >"$WINEPREFIX/.pigmentry-ready"
        pigmentry_keep_prefix "$kind"
      fi
    fi
    pigmentry_install_wine_fonts
    pigmentry_register_standin "$build"
  ) 9>"$WINEPREFIX.lock"
}

# A new prefix takes a few seconds here and minutes inside the 32-bit test
# machine, whose programs run emulated. Where PIGMENTRY_PREFIX_CACHE names a
# folder, a new prefix is kept there as a tar, once per kind of prefix and
# version of Wine, and later ones are unpacked from it.
pigmentry_prefix_tar() {
  echo "$PIGMENTRY_PREFIX_CACHE/wineprefix-$1-$(wine --version 2>/dev/null | sed 's/[^A-Za-z0-9.]\{1,\}/-/g').tar"
}

pigmentry_restore_prefix() {
  [ -n "${PIGMENTRY_PREFIX_CACHE:-}" ] || return 1
  tar=$(pigmentry_prefix_tar "$1")
  [ -f "$tar" ] || return 1
  mkdir -p "$WINEPREFIX"
  tar -xf "$tar" -C "$WINEPREFIX" && [ "$(cat "$WINEPREFIX/.pigmentry-ready")" = "$1" ]
}

pigmentry_keep_prefix() {
  [ -n "${PIGMENTRY_PREFIX_CACHE:-}" ] || return 0
  tar=$(pigmentry_prefix_tar "$1")
  mkdir -p "$PIGMENTRY_PREFIX_CACHE"
  pigmentry_link_wine_files
  tar -cf "$tar.part$$" -C "$WINEPREFIX" . && mv "$tar.part$$" "$tar"
}

# Most of a new prefix (1.3 GB) is copies of Wine's own DLLs and code pages,
# made because the prefix is on another filesystem than Wine. Each copy that
# is the same as its source becomes a link to it, which Wine loads the same.
pigmentry_link_wine_files() {
  windows="$WINEPREFIX/drive_c/windows"
  pigmentry_link_same_files "$windows/system32" /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
  pigmentry_link_same_files "$windows/syswow64" /usr/lib/i386-linux-gnu/wine/i386-windows
  pigmentry_link_same_files "$windows/system32" /usr/share/wine/nls
  pigmentry_link_same_files "$windows/syswow64" /usr/share/wine/nls
}

pigmentry_link_same_files() {
  [ -d "$1" ] && [ -d "$2" ] || return 0
  for file in "$1"/*; do
    source="$2/${file##*/}"
    if [ -f "$file" ] && [ ! -L "$file" ] && [ -f "$source" ] && cmp -s "$file" "$source"; then
      ln -sf "$source" "$file"
    fi
  done
}

# Wine's own TrueType fonts, where its programs find them: this Wine does not
# list the ones in its data folder, so windows fall back to bitmap fonts, the
# caption buttons (drawn with Marlett) show letters, and "MS Shell Dlg 2"
# finds no Tahoma. Copied into the prefix's Fonts folder, they are used as
# on Windows.
pigmentry_install_wine_fonts() {
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
    if [ -f "/usr/share/wine/fonts/$font" ] && [ -d "$fonts" ] && [ ! -f "$fonts/$font" ]; then
      cp "/usr/share/wine/fonts/$font" "$fonts/"
    fi
  done
}

# The host's class identifiers ("{...}" as the registry writes them), one a line, from the
# identifier file generated from its interface file.
pigmentry_host_classes() {
  [ -f "$1" ] || return 0
  awk -F'[(), ]+' '/^MIDL_DEFINE_GUID\(CLSID,/ {
    printf "{%s-%s-%s-", substr($4, 3), substr($5, 3), substr($6, 3)
    printf "%s%s-", substr($7, 3), substr($8, 3)
    for (i = 9; i <= 14; i++) printf "%s", substr($i, 3)
    printf "}\n"
  }' "$1"
}

# Registers the stand-in host as the real host's 32-bit installer leaves it:
# its own /RegServer writes LocalServer32 and the ProgID in the 32-bit
# registry view and registers its type library as a win32 one. The 32-bit
# stand-in where Wine runs 32-bit programs, else the 64-bit one, built from
# the same sources (a 64-bit client finds either through the 32-bit view).
pigmentry_register_standin() {
  build=$1
  server="$build/pigmentry_standin.exe"
  if pigmentry_wine_runs_32bit && [ -f "$build/pigmentry_standin32.exe" ]; then
    server="$build/pigmentry_standin32.exe"
  fi
  marker="$WINEPREFIX/.standin-registered"
  [ -f "$server" ] || return 0
  if [ -f "$marker" ] && [ "$(cat "$marker")" = "$server" ] && [ ! "$server" -nt "$marker" ] &&
    [ ! "$build/pigmentry_binding.tlb" -nt "$marker" ]; then
    return 0
  fi
  # An in-process server left by an older build would be found first. The
  # classes as the build generated them from the host's interface file.
  for class in $(pigmentry_host_classes "$build/host_interfaces/host_interfaces_i.c"); do
    wine reg delete "HKCR\\CLSID\\$class\\InprocServer32" /reg:64 /f >/dev/null 2>&1 || true
  done
  wine "$server" /RegServer >/dev/null 2>&1 || true
  wineserver -w || true
  echo "$server" >"$marker"
}

# Names the stand-in's drawing file under its own registry key (a Unix path).
pigmentry_standin_drawing() {
  drawing=$1
  wine reg add 'HKCU\Software\Pigmentry\Stand-in host' /v Drawing /d "Z:${drawing//\//\\}" /f \
    >/dev/null 2>&1
}

# The lane ctest gave the test that runs now, from its resource allocation
# ("id:N,slots:1"); prints nothing outside a lane.
pigmentry_ctest_lane() {
  [ -n "${CTEST_RESOURCE_GROUP_COUNT:-}" ] || return 0
  echo "${CTEST_RESOURCE_GROUP_0_WINE:-}" | sed -n 's/^id:\([0-9]*\),.*/\1/p'
}

# The display and the wineserver of a lane, started by its first test and
# kept for the lane's later ones (a Wine start is then quick); exports
# DISPLAY. pigmentry_stop_lanes ends them.
pigmentry_lane_session() {
  build=$1
  lane=$2
  state="$build/lanes/$lane"
  mkdir -p "$state"
  (
    flock 8
    display=$(cat "$state/display" 2>/dev/null || true)
    if [ -z "$display" ] || ! DISPLAY="$display" xdpyinfo >/dev/null 2>&1; then
      # Xvfb outlives this lock: it must not hold it.
      pigmentry_start_xvfb </dev/null 8>&-
      echo "$DISPLAY" >"$state/display"
      echo "$xvfb_pid" >"$state/xvfb.pid"
    fi
  ) 8>"$state/lock"
  DISPLAY=$(cat "$state/display")
  export DISPLAY
  wineserver -p >/dev/null 2>&1 </dev/null || true
}

# Ends every lane's wineserver and display in a build folder.
pigmentry_stop_lanes() {
  build=$1
  for state in "$build"/lanes/*; do
    [ -d "$state" ] || continue
    lane=${state##*/}
    (
      pigmentry_wine_env "$build" "$lane"
      wineserver -k 2>/dev/null || true
    )
    pid=$(cat "$state/xvfb.pid" 2>/dev/null || true)
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -f "$state/display" "$state/xvfb.pid"
  done
}

# Starts Xvfb on a free display and exports DISPLAY; sets xvfb_pid.
pigmentry_start_xvfb() {
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$fifo" 2>/dev/null &
  xvfb_pid=$!
  read -r -t 30 number <"$fifo" || number=""
  rm -f "$fifo"
  export DISPLAY=":$number"
}
