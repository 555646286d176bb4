# Helpers for the black-box tests: they drive the real window with X mouse
# and keyboard events and read only what a user could see (screenshots,
# window titles, files on disk, exit codes).

E2E_SHOTS=${E2E_SHOTS:-$root/out/screenshots}
mkdir -p "$E2E_SHOTS"

# wait_until SECONDS COMMAND...: polls COMMAND every 100 ms until it succeeds.
wait_until() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  while ! "$@" 2>/dev/null; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# The visible X window of a Windows program, by its executable's name (Wine
# sets the X class from it) and optionally a title.
window_of() {  # class [title]
  local ids id
  ids=$(xdotool search --onlyvisible --class "$1" 2>/dev/null) || return 1
  for id in $ids; do
    if [ -z "${2:-}" ] || [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$2" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
has_window() { [ -n "$(window_of "$@")" ]; }

# click WINDOW X Y: a real press and release at the window-relative point.
move_to() { xdotool mousemove --window "$1" "$2" "$3"; sleep 0.05; }
click() {
  move_to "$1" "$2" "$3"
  xdotool click 1
}

# shot NAME [WINDOW]: screenshot of the screen, or cropped to the window.
shot() {
  local file=$E2E_SHOTS/$1.png
  if [ -n "${2:-}" ]; then
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$2" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$file"
  else
    import -window root "$file"
  fi
  echo "$file"
}

# darkest FILE X Y W H: the lowest grey level (0-255) inside the rectangle.
darkest() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -format "%[fx:int(minima*255)]" info:
}

# colour FILE X Y: "r,g,b" of one pixel.
colour() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# is_blue "r,g,b": the accent blue, not white or grey.
is_blue() {
  local r g b
  IFS=, read -r r g b <<<"$1"
  [ "$b" -gt 150 ] && [ "$r" -lt 120 ]
}

pass=0 fail=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then
    echo "PASS $what"
    pass=$((pass + 1))
  else
    echo "FAIL $what"
    fail=$((fail + 1))
  fi
}
