# Shell functions shared by build.sh and the Wine wrapper: the build's own
# Wine prefix, created once, and an Xvfb display when there is none.

pigmentry_wine_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
}

# Creates the prefix on first use (under a lock: parallel first starts race),
# tells Wine not to wait for a window manager, and registers the stand-in
# host when it has been built.
pigmentry_wine_prefix() {
  build=$1
  mkdir -p "$build"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.pigmentry-ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i >/dev/null 2>&1 || true
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      wineserver -w || true
      touch "$WINEPREFIX/.pigmentry-ready"
    fi
    standin="$build/pigmentry_standin.dll"
    if [ -f "$standin" ] && { [ ! -f "$WINEPREFIX/.standin-registered" ] ||
      [ "$standin" -nt "$WINEPREFIX/.standin-registered" ]; }; then
      wine regsvr32 /s "$standin" >/dev/null 2>&1 || true
      wineserver -w || true
      touch "$WINEPREFIX/.standin-registered"
    fi
  ) 9>"$build/.wineprefix.lock"
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
