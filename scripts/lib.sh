# Shared by the scripts: where things are, which Windows build can run here,
# and the Wine and Xvfb sessions.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_ROOT:-$root/build}

# The product is a 32-bit program. Some sandboxes cannot execute 32-bit code
# at all (the kernel answers "Exec format error"); there the Windows tests and
# the demo run a 64-bit build of the same sources under 64-bit Wine.
can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
if [ -z "${WIN_TEST_ARCH:-}" ]; then
  if can_run_32bit; then WIN_TEST_ARCH=win32; else WIN_TEST_ARCH=win64; fi
fi
win_build=$build/$WIN_TEST_ARCH

# Starts a persistent wineserver and boots the prefix once, with their output
# sent away: otherwise Wine's service processes inherit CTest's pipes and hang
# it, and every program pays the server start-up.
start_wine_session() {
  local prefix=$1 arch=$2 loader=wine
  [ "$arch" = win64 ] && loader=/usr/lib/wine/wine64
  export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine links the user's Desktop and Documents to folders of $HOME; a home
  # of the prefix's own keeps shortcuts the tests write out of the real one.
  export HOME=$prefix.home
  mkdir -p "$prefix" "$HOME/Desktop" "$HOME/Documents"
  wineserver -p >/dev/null 2>&1 </dev/null || true
  $loader wineboot -i >/dev/null 2>&1 </dev/null || true
  link_cjk_font "$loader"
  # A hidden window keeps Wine's desktop process alive between test programs
  # (otherwise each program that opens a window waits for it to start again).
  local keepalive=$build/$arch/tools/wine_keepalive.exe
  if [ -n "${DISPLAY:-}" ] && [ -f "$keepalive" ]; then
    $loader "$keepalive" >/dev/null 2>&1 </dev/null &
  fi
}

# Wine's dialog fonts have no Chinese glyphs; a Chinese Windows links them to
# a CJK font. Do the same with the WenQuanYi font, once per prefix, so the
# message boxes read as they would there.
link_cjk_font() {
  local loader=$1 face
  [ -f "$WINEPREFIX/.cjk-font-linked" ] && return 0
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    $loader reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 </dev/null
  done
  touch "$WINEPREFIX/.cjk-font-linked"
}

stop_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display unless DISPLAY is already usable.
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=${XVFB_DISPLAY:-$((90 + RANDOM % 100))}
  while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
