#!/usr/bin/env bash
# Shows each of the four pages of the real Windows window under Wine and
# Xvfb, and saves a screenshot of it cropped to the window into this folder:
# page0-quick.png, page1-custom.png, page2-installing.png, page3-finished.png.
#
#   docs/screenshots/take-screenshots.sh [WINDOWS_BUILD_DIR] [PRODUCT_NAME]
#
# WINDOWS_BUILD_DIR is a 64-bit Windows build (default build/win64) holding
# ui/ui_screenshot_pages.exe; PRODUCT_NAME is the window title (default VIduva).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
win=${1:-$build/win64}
title=${2:-VIduva}
program=$win/ui/ui_screenshot_pages.exe
[ -f "$program" ] || { echo "no $program: build the target ui_screenshot_pages" >&2; exit 1; }

# Xvfb first: the prefix must be booted with a display, or Wine's desktop
# process stalls every program for seconds.
start_xvfb
# A compositing manager, so the layered window's per-pixel alpha (the soft
# shadow, the rounded corners) is blended as a Windows desktop does; without
# one the X server shows the translucent band as black.
compositor=""
if command -v xcompmgr >/dev/null; then
  xcompmgr >/dev/null 2>&1 &
  compositor=$!
  sleep 0.5
fi
start_wine_session "$win/wineprefix" win64
DISPLAY=$DISPLAY /usr/lib/wine/wine64 wineboot -u >/dev/null 2>&1 </dev/null || true

names=(page0-quick page1-custom page2-installing page3-finished)
for page in 0 1 2 3; do
  /usr/lib/wine/wine64 "$program" "$page" 8 >/dev/null 2>&1 </dev/null &
  pid=$!
  id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "the window did not appear for page $page" >&2; wait "$pid" || true; exit 1; }
  sleep 1.5  # let the first frame and the backdrop settle
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$here/${names[$page]}.png"
  echo "$here/${names[$page]}.png"
  wait "$pid" || true
done
[ -n "$compositor" ] && kill "$compositor" 2>/dev/null || true
stop_xvfb
