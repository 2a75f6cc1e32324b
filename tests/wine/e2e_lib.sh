# What the end-to-end scripts share: a private Xvfb, a private copy of the
# program, the probe that tells what Windows knows of the program's windows,
# waiting for windows, clicking, screenshots, and the ok/FAIL tally.
#
# Sourced by a script that has set `root` (the source tree), with the
# script's own arguments: PROGRAM_FOLDER WINDOW_PROBE_EXE.
# Screenshots go to $VEXMAR_SHOTS, or out/screenshots/ of the tree.
program_folder=$1
probe_exe=$2

# Exit code 77 (a skip for ctest) when no X server can be had.
e2e_require_tools() {
  local tool
  for tool in Xvfb xdotool import xdpyinfo wine; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed, so there is no X server to show the program on"
      exit 77
    fi
  done
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Ends the script with the tally of its checks.
e2e_finish() {
  if [ "$failures" != 0 ]; then
    echo "$1: $failures check(s) failed"
    exit 1
  fi
  echo "$1: every check passed"
  exit 0
}

work=$(mktemp -d /tmp/vexmar-e2e.XXXXXX)
xvfb_pid=
wine_pid=
e2e_cleanup() {
  # Only what this script started: the prefix's Wine server serves others.
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap e2e_cleanup EXIT

shots="${VEXMAR_SHOTS:-$root/out/screenshots}"
case "$shots" in /*) ;; *) shots="$PWD/$shots" ;; esac

. "$root/tools/private_display.sh"
e2e_start_display() {
  if ! start_private_display 180 220; then
    echo "SKIPPED: no X server could be started"
    exit 77
  fi
  xvfb_pid=$PRIVATE_XVFB_PID
  mkdir -p "$shots"
}

# The program runs from a folder of its own, so the probe can tell its
# windows from those of another copy running meanwhile.
e2e_copy_program() {
  program="$work/program"
  mkdir -p "$program"
  cp "$1/VexmarEbc.exe" "$1/help.txt" "$1/skin.bmp" "$1/dmsfx.dat" "$program/"
  windows_folder=$(windows_path "$program")
}

# The Windows name of a Linux path, through Wine's Z: drive.
windows_path() { echo "Z:${1//\//\\}"; }

probe() { "$root/tools/wine-run" "$probe_exe" "$windows_folder" "$@" 2>/dev/null | tr -d '\r'; }
# The value of key=value in a probe's line.
field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2" | head -1; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
# Runs a check every tenth of a second until it succeeds, for up to $1
# seconds; what the successful check prints is the answer.
wait_until() {
  local end=$((SECONDS + $1))
  shift
  while [ $SECONDS -lt $end ]; do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
x_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep .; }
no_x_window() { ! x_window "$1" >/dev/null; }
program_ended() { ! kill -0 "$wine_pid" 2>/dev/null; }
# The probe line of a shown dialog box (a message box, a file dialog) of the
# program titled $1.
shown_box() {
  local line
  line=$(probe class=#32770 find "$1")
  [ "$(field visible "$line")" = 1 ] && echo "$line"
}
no_shown_box() { ! shown_box "$1" >/dev/null; }
# Waits up to $2 seconds for a visible X window named $1 (a pattern) and
# prints its id.
wait_for_x_window() { wait_until "$2" x_window "$1"; }
wait_for_gone() { wait_until "$2" no_x_window "$1"; }
# Waits up to $1 seconds for the program's process to end.
wait_for_exit() { wait_until "$1" program_ended; }
# A screenshot of a window's rectangle from a probe line, with a margin,
# taken once the window has been painted and stopped changing.
shoot() {
  local line=$2 margin=12
  xdotool mousemove 2 2  # no tool tip or hot button in the picture
  local x=$(($(field left "$line") - margin)) y=$(($(field top "$line") - margin))
  local w=$(($(field width "$line") + 2 * margin)) h=$(($(field height "$line") + 2 * margin))
  [ $x -lt 0 ] && x=0
  [ $y -lt 0 ] && y=0
  grab_when_still "${w}x${h}+${x}+${y}" "$shots/$1.png" && echo "screenshot: $shots/$1.png"
}
# Centre of the child control whose text is $2 in a probe's children list.
child_centre() {
  local line
  line=$(grep -F " text=$2" <<<"$1" | head -1)
  [ -z "$line" ] && return 1
  centre_of "$line"
}
# Centre of the rectangle of a probe line.
centre_of() {
  echo $(($(field left "$1") + $(field width "$1") / 2)) \
    $(($(field top "$1") + $(field height "$1") / 2))
}
click_at() {
  xdotool mousemove "$1" "$2" sleep 0.1 click 1
}
# The children of the dialog box titled $1 once one of them reads $2: a
# box's labels and buttons are made after its frame is shown.
box_children_with() {
  local children
  children=$(probe class=#32770 children "$1")
  grep -qF " text=$2" <<<"$children" && echo "$children"
}
# Waits up to $3 seconds for box_children_with.
wait_for_box_children() { wait_until "$3" box_children_with "$1" "$2"; }
# Waits up to $2 seconds for the box titled $1 and prints its probe line.
wait_for_box() { wait_until "$2" shown_box "$1"; }
wait_for_box_gone() { wait_until "$2" no_shown_box "$1"; }
# The message of a box from its children list: the texts of its labels.
box_message() { sed -n 's/.* class=Static text=\(..*\)$/\1/p' <<<"$1" | paste -sd ' '; }
