#!/usr/bin/env bash
# The real VexmarEbc.exe under Wine on a private Xvfb, driven with the mouse
# as an author would: the splash, the hand-over to the main window, a help
# icon's press and release, both ways of closing the help window, the Exit
# question, the skin turned off from the window menu, the end of the program
# when the main window closes while the help window is open, and a start
# without skin.bmp.
# Screenshots go to out/screenshots/.
#
#   program_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
#
# Exit code 77 (a skip for ctest) when no X server can be had.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program_folder=$1
probe_exe=$2
shots="$root/out/screenshots"

for tool in Xvfb xdotool import xdpyinfo wine; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so there is no X server to show the program on"
    exit 77
  fi
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

work=$(mktemp -d /tmp/vexmar-e2e.XXXXXX)
xvfb_pid=
wine_pid=
cleanup() {
  # Only what this script started: the prefix's Wine server serves others.
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A private display, so nothing else on the screen gets in the way.
for n in $(seq 180 220); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
done
if [ -z "$xvfb_pid" ]; then
  echo "SKIPPED: no X server could be started"
  exit 77
fi
mkdir -p "$shots"

# The program runs from a folder of its own, so the probe can tell its
# windows from those of another copy running meanwhile.
program="$work/program"
mkdir -p "$program"
cp "$program_folder/VexmarEbc.exe" "$program_folder/help.txt" "$program_folder/skin.bmp" \
  "$program_folder/dmsfx.dat" "$program/"
windows_folder="Z:${program//\//\\}"

probe() { "$root/tools/wine-run" "$probe_exe" "$windows_folder" "$@" 2>/dev/null | tr -d '\r'; }
# The value of key=value in a probe's line.
field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2" | head -1; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
# Waits up to $2 seconds for a visible X window named $1.
wait_for_x_window() {
  local end=$((SECONDS + $2)) id
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}
wait_for_gone() {
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt $end ]; do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# A screenshot of a window's rectangle from a probe line, with a margin.
shoot() {
  local line=$2 margin=12
  xdotool mousemove 2 2  # no tool tip or hot button in the picture
  local x=$(($(field left "$line") - margin)) y=$(($(field top "$line") - margin))
  local w=$(($(field width "$line") + 2 * margin)) h=$(($(field height "$line") + 2 * margin))
  [ $x -lt 0 ] && x=0
  [ $y -lt 0 ] && y=0
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$1.png" 2>/dev/null &&
    echo "screenshot: out/screenshots/$1.png"
}
# Centre of the child control whose text is $2 in a probe's children list.
child_centre() {
  local line
  line=$(grep -F " text=$2" <<<"$1" | head -1)
  [ -z "$line" ] && return 1
  echo $(($(field left "$line") + $(field width "$line") / 2)) \
    $(($(field top "$line") + $(field height "$line") / 2))
}
click_at() {
  xdotool mousemove "$1" "$2" sleep 0.1 click 1
}

main_title="Vexmar E-book Compiler"
# Entry 1 of the help file, as the title's help icon shows it.
title_help=$(tr -d '\r' <"$program/help.txt" | sed -n 's/^"\{0,1\}1=\([^"]*\)"\{0,1\}$/\1/p' | head -1)

VEXMAR_WINE_TIMEOUT=150 "$root/tools/wine-run" "$program/VexmarEbc.exe" >/dev/null 2>&1 &
wine_pid=$!

# --- the splash -----------------------------------------------------------------
if ! wait_for_x_window "Starting\.\.\." 60 >/dev/null; then
  fail "the splash window did not appear"
  exit 1
fi
splash_seen=$(now)
splash=$(probe find "Starting...")
sleep 0.3
shoot splash "$splash"
echo "splash: $splash"
w=$(field width "$splash") h=$(field height "$splash")
sw=$(field screen_width "$splash") sh=$(field screen_height "$splash")
[ "$(field caption "$splash")" = 0 ] && [ "$w" = "$(field client_width "$splash")" ] &&
  [ "$h" = "$(field client_height "$splash")" ] && pass "the splash has no frame and no caption bar" ||
  fail "the splash has a frame: $splash"
[ "$(field toolwindow "$splash")" = 1 ] && [ "$(field appwindow "$splash")" = 0 ] &&
  pass "the splash is a tool window, so it has no task-bar button" ||
  fail "the splash would get a task-bar button: $splash"
dx=$((2 * $(field left "$splash") - (sw - w))) dy=$((2 * $(field top "$splash") - (sh - h)))
[ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] && pass "the splash is centred on the ${sw}x$sh screen" ||
  fail "the splash is not centred: $splash"
label=$(probe children "Starting..." | grep "class=Static")
[ "$(grep -c . <<<"$label")" = 1 ] && [ "$(field width "$label")" = "$w" ] &&
  [ "$(field height "$label")" = "$h" ] && [ "$h" -lt 40 ] &&
  pass "the splash is exactly its one line of text: ${w}x$h pixels" ||
  fail "the splash is not the size of its label: $label"

# --- the hand-over ----------------------------------------------------------------
if ! wait_for_x_window "$main_title" 20 >/dev/null; then
  fail "the main window did not appear"
  exit 1
fi
main_seen=$(now)
after=$(elapsed "$splash_seen" "$main_seen")
awk -v t="$after" 'BEGIN { exit !(t >= 2.0 && t <= 4.5) }' &&
  pass "the main window appeared ${after}s after the splash" ||
  fail "the main window appeared ${after}s after the splash, not about 2.5s"
gone=$(probe find "Starting...")
[ "$gone" = none ] || [ "$(field visible "$gone")" = 0 ] && pass "the splash is gone" ||
  fail "the splash is still shown: $gone"
sleep 1
main=$(probe find "$main_title")
echo "main: $main"
shoot frmmain-skinned "$main"
client_left=$(field client_left "$main") client_top=$(field client_top "$main")

# --- help: a press on the title's icon, the release elsewhere, the close box -----
# Help icon 1 stands at 312, 40 in the client area and is 16 x 14 pixels.
xdotool mousemove $((client_left + 320)) $((client_top + 47)) sleep 0.1 mousedown 1 \
  sleep 0.2 mousemove $((client_left + 200)) $((client_top + 300)) sleep 0.1 mouseup 1
if wait_for_x_window "Pop up Help" 10 >/dev/null; then
  sleep 0.5
  help=$(probe find "Pop up Help")
  shoot frmhelp "$help"
  help_children=$(probe children "Pop up Help")
  grep -qF " text=$title_help" <<<"$help_children" &&
    pass "the title's help icon opened the help window with entry 1 of help.txt" ||
    fail "the help window does not show entry 1 of help.txt: $help_children"
  grep -qF " text=Create E-book - Help" <<<"$help_children" || fail "the help heading is missing"
  [ "$(field enabled "$(probe find "$main_title")")" = 0 ] &&
    pass "the main window takes no input while the help is open" ||
    fail "the main window still takes input under the help window"
  read -r cx cy < <(probe closebox "Pop up Help" | sed 's/x=\([0-9-]*\) y=\([0-9-]*\)/\1 \2/')
  if [ -n "${cx:-}" ]; then
    click_at "$cx" "$cy"
    wait_for_gone "Pop up Help" 10 && pass "the help window's close box closed it" ||
      fail "the close box did not close the help window"
  else
    fail "no close box found on the help window"
  fi
else
  fail "the help icon's press and release opened no help window"
fi

# --- help again, closed by "Close Help" ----------------------------------------------
xdotool mousemove $((client_left + 320)) $((client_top + 71)) sleep 0.1 mousedown 1 sleep 0.1 mouseup 1
if wait_for_x_window "Pop up Help" 10 >/dev/null; then
  sleep 0.3
  read -r bx by < <(child_centre "$(probe children "Pop up Help")" "Close Help")
  if [ -n "${bx:-}" ]; then
    click_at "$bx" "$by"
    wait_for_gone "Pop up Help" 10 && pass "\"Close Help\" closed the help window" ||
      fail "\"Close Help\" did not close the help window"
  else
    fail "no \"Close Help\" button in the help window"
  fi
else
  fail "the author icon opened no help window"
fi

# --- the Exit question, answered No -------------------------------------------------
sleep 0.3
read -r ex ey < <(child_centre "$(probe children "$main_title")" "E&xit")
click_at "$ex" "$ey"
if wait_for_x_window "Exit\?" 10 >/dev/null; then
  sleep 0.3
  question=$(probe children "Exit?")
  box=$(probe find "Exit?")
  shoot exit-question "$box"
  grep -qF " text=Exit E-book Creator?" <<<"$question" && grep -qF " text=&Yes" <<<"$question" &&
    grep -qF " text=&No" <<<"$question" &&
    pass "the Exit question asks \"Exit E-book Creator?\" titled \"Exit?\" with Yes and No" ||
    fail "the Exit question is not as it should be: $question"
  read -r nx ny < <(child_centre "$question" "&No")
  click_at "$nx" "$ny"
  wait_for_gone "Exit\?" 10 && sleep 0.5 && kill -0 "$wine_pid" 2>/dev/null &&
    [ "$(field visible "$(probe find "$main_title")")" = 1 ] &&
    pass "answering No keeps the program running" || fail "answering No did not keep the program"
else
  fail "Exit asked no question"
fi

# --- the skin turned off from the window menu ----------------------------------------
# The window menu's "&Disable Skin" item (the program's second item).
probe syscommand "$main_title" 0x120 >/dev/null
sleep 1
shoot frmmain-plain "$(probe find "$main_title")"

# --- closing the main window while the help window is open ends the program ----------
xdotool mousemove $((client_left + 320)) $((client_top + 47)) sleep 0.1 mousedown 1 sleep 0.1 mouseup 1
if wait_for_x_window "Pop up Help" 10 >/dev/null; then
  probe close "$main_title" >/dev/null
  ended=0
  for _ in $(seq 50); do
    kill -0 "$wine_pid" 2>/dev/null || { ended=1; break; }
    sleep 0.2
  done
  [ "$ended" = 1 ] && pass "closing the main window with the help open ended the program" ||
    fail "the program still runs after its main window closed"
else
  fail "no help window to close the main window under"
fi

# --- without skin.bmp: the plain window, and not a word about it ---------------------
wait "$wine_pid" 2>/dev/null
rm -f "$program/skin.bmp"
VEXMAR_WINE_TIMEOUT=60 "$root/tools/wine-run" "$program/VexmarEbc.exe" >/dev/null 2>&1 &
wine_pid=$!
if wait_for_x_window "$main_title" 30 >/dev/null; then
  sleep 1
  plain=$(probe find "$main_title")
  shoot frmmain-no-skin-file "$plain"
  # A message box would take the input away from the main window.
  [ "$(field enabled "$plain")" = 1 ] && [ "$(field visible "$plain")" = 1 ] &&
    pass "without skin.bmp the main window starts, with no message" ||
    fail "without skin.bmp the main window did not start plainly: $plain"
  probe close "$main_title" >/dev/null
  wait_for_gone "$main_title" 10 || fail "the program without a skin did not end"
else
  fail "without skin.bmp the main window did not appear"
fi

if [ "$failures" != 0 ]; then
  echo "program_e2e: $failures check(s) failed"
  exit 1
fi
echo "program_e2e: every check passed"
