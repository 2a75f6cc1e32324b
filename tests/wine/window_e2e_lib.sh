# shellcheck shell=bash
# What the sessions with the real VexmarEbc.exe under Wine share: a private
# Xvfb, a private copy of the program, the probe that tells what Windows
# knows of the program's windows, waiting, clicking, screenshots, and the
# ok/FAIL tally. Sourced by a script under set -u:
#
#   . window_e2e_lib.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
#
# Exits 77 (a skip for ctest) when no X server can be had.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program_folder=$1
probe_exe=$2
main_title="Vexmar E-book Compiler"

for tool in Xvfb xdotool import xdpyinfo wine; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed, so no X server"; exit 77; }
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
# Passes $1 when the rest of the line, a command, succeeds; fails $2 else.
check() {
  local good=$1 bad=$2
  shift 2
  "$@" && pass "$good" || fail "$bad"
}
e2e_finish() {
  [ "$failures" = 0 ] && { echo "$1: every check passed"; exit 0; }
  echo "$1: $failures check(s) failed"
  exit 1
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
mkdir -p "$shots"
. "$root/tools/private_display.sh"
start_private_display 180 220 || { echo "SKIPPED: no X server could be started"; exit 77; }
xvfb_pid=$PRIVATE_XVFB_PID

# The Windows name of a Linux path, through Wine's Z: drive.
windows_path() { echo "Z:${1//\//\\}"; }
# The program runs from a folder of its own, so the probe can tell its
# windows from those of another copy running meanwhile.
program="$work/program"
mkdir -p "$program"
cp "$program_folder"/{VexmarEbc.exe,help.txt,skin.bmp,dmsfx.dat} "$program/"
windows_folder=$(windows_path "$program")

probe() { "$root/tools/wine-run" "$probe_exe" "$windows_folder" "$@" 2>/dev/null | tr -d '\r'; }
main() { probe class=VexmarForm "$@" "$main_title"; }
# The value of key=value in a probe's line.
field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2" | head -1; }
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
main_enabled() { [ "$(field enabled "$(main find)")" = 1 ]; }
# The probe line of a shown dialog box (a message box, a file dialog) of the
# program titled $1.
shown_box() {
  local line
  line=$(probe class=#32770 find "$1")
  [ "$(field visible "$line")" = 1 ] && echo "$line"
}
no_shown_box() { ! shown_box "$1" >/dev/null; }
# The children of the window titled $1 once one of them reads $2 (the rest:
# probe options): a box's labels and buttons are made after its frame shows.
children_with() {
  local title=$1 text=$2 children
  shift 2
  children=$(probe "$@" children "$title")
  grep -qF " text=$text" <<<"$children" && echo "$children"
}
box_children_with() { children_with "$1" "$2" class=#32770; }
# The message of a box from its children list: the texts of its labels.
box_message() { sed -n 's/.* class=Static text=\(..*\)$/\1/p' <<<"$1" | paste -sd ' '; }
# A screenshot of a window's rectangle from a probe line, with a margin,
# taken once the window has been painted and stopped changing.
shoot() {
  local line=$2 m=12
  xdotool mousemove 2 2  # no tool tip or hot button in the picture
  local x=$(($(field left "$line") - m)) y=$(($(field top "$line") - m))
  ((x < 0)) && x=0; ((y < 0)) && y=0
  grab_when_still "$(($(field width "$line") + 2 * m))x$(($(field height "$line") + 2 * m))+$x+$y" \
    "$shots/$1.png" && echo "screenshot: $shots/$1.png"
}
# Clicks the middle of the probe line $1.
click_line() {
  [ -n "$1" ] && xdotool mousemove $(($(field left "$1") + $(field width "$1") / 2)) \
    $(($(field top "$1") + $(field height "$1") / 2)) sleep 0.1 click 1
}
# Clicks the child whose text is $2 in the children list $1.
click_child() { click_line "$(grep -F " text=$2" <<<"$1" | head -1)"; }
# Starts the program with a time limit of $1 seconds, in the folder $2.
start_program() {
  (cd "${2:-.}" && VEXMAR_WINE_TIMEOUT=$1 exec "$root/tools/wine-run" "$program/VexmarEbc.exe") \
    >/dev/null 2>&1 &
  wine_pid=$!
}
