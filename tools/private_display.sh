# Sourced: starts an Xvfb of our own on the first free display number in a
# range, so nothing else on a screen gets in the way of a program under Wine.
#
#   start_private_display FIRST LAST
#
# On success DISPLAY is exported and PRIVATE_XVFB_PID names the server, which
# the caller stops; 1 when no display in the range could be started.
PRIVATE_XVFB_PID=
start_private_display() {
  local n
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    PRIVATE_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$PRIVATE_XVFB_PID" 2>/dev/null || true
    PRIVATE_XVFB_PID=
  done
  unset DISPLAY
  return 1
}

# Saves a picture of the screen (GEOMETRY as WxH+X+Y, or "" for all of it)
# to FILE once it has stopped changing: two grabs a tenth of a second apart
# that are the same, so a window is shown painted, whatever the machine's
# speed. After five seconds of change the last grab is saved.
grab_when_still() {
  local geometry=$1 file=$2 scratch previous current crop=()
  [ -n "$geometry" ] && crop=(-crop "$geometry" +repage)
  scratch=$(mktemp -d /tmp/vexmar-grab.XXXXXX) || return 1
  previous="$scratch/a.ppm" current="$scratch/b.ppm"
  import -window root "${crop[@]}" "$previous" 2>/dev/null || { rm -rf "$scratch"; return 1; }
  for _ in $(seq 50); do
    sleep 0.1
    import -window root "${crop[@]}" "$current" 2>/dev/null || break
    cmp -s "$previous" "$current" && break
    mv "$current" "$previous"
  done
  [ -f "$current" ] || current=$previous
  convert "$current" "$file" 2>/dev/null
  local status=$?
  rm -rf "$scratch"
  return $status
}
