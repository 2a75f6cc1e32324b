#!/usr/bin/env bash
# The real VexmarEbc.exe under Wine on a private Xvfb, driven with the mouse
# as an author would: the splash, the hand-over to the main window, a help
# icon's press and release, both ways of closing the help window, the Exit
# question, the skin turned off from the window menu, the end of the program
# when the main window closes while the help window is open, and a start
# without skin.bmp.
# Screenshots go to $VEXMAR_SHOTS, or out/screenshots/.
#
#   program_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
#
# Exit code 77 (a skip for ctest) when no X server can be had.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/e2e_lib.sh"

e2e_require_tools
e2e_start_display
e2e_copy_program "$program_folder"

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
main=$(probe find "$main_title")
echo "main: $main"
shoot frmmain-skinned "$main"
client_left=$(field client_left "$main") client_top=$(field client_top "$main")

# --- help: a press on the title's icon, the release elsewhere, the close box -----
# Help icon 1 stands at 312, 40 in the client area and is 16 x 14 pixels.
xdotool mousemove $((client_left + 320)) $((client_top + 47)) sleep 0.1 mousedown 1 \
  sleep 0.2 mousemove $((client_left + 200)) $((client_top + 300)) sleep 0.1 mouseup 1
if wait_for_x_window "Pop up Help" 10 >/dev/null; then
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
  help_with_button() {
    local children
    children=$(probe children "Pop up Help")
    grep -qF " text=Close Help" <<<"$children" && echo "$children"
  }
  read -r bx by < <(child_centre "$(wait_until 5 help_with_button)" "Close Help")
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
main_enabled() { [ "$(field enabled "$(probe find "$main_title")")" = 1 ]; }
wait_until 5 main_enabled || fail "the main window takes no input after the help closed"
read -r ex ey < <(child_centre "$(probe children "$main_title")" "E&xit")
click_at "$ex" "$ey"
if wait_for_x_window "Exit\?" 10 >/dev/null; then
  question=$(wait_for_box_children "Exit?" "&No" 5)
  box=$(probe find "Exit?")
  shoot exit-question "$box"
  grep -qF " text=Exit E-book Creator?" <<<"$question" && grep -qF " text=&Yes" <<<"$question" &&
    grep -qF " text=&No" <<<"$question" &&
    pass "the Exit question asks \"Exit E-book Creator?\" titled \"Exit?\" with Yes and No" ||
    fail "the Exit question is not as it should be: $question"
  read -r nx ny < <(child_centre "$question" "&No")
  click_at "$nx" "$ny"
  # The main window takes input again once the question's handler returned.
  wait_for_gone "Exit\?" 10 && wait_until 5 main_enabled && kill -0 "$wine_pid" 2>/dev/null &&
    [ "$(field visible "$(probe find "$main_title")")" = 1 ] &&
    pass "answering No keeps the program running" || fail "answering No did not keep the program"
else
  fail "Exit asked no question"
fi

# --- the skin turned off from the window menu ----------------------------------------
# The window menu's "&Disable Skin" item (the program's second item). The
# mouse leaves the window first, so no tool tip is left in the picture.
xdotool mousemove 2 2
probe syscommand "$main_title" 0x120 >/dev/null
shoot frmmain-plain "$(probe find "$main_title")"

# --- closing the main window while the help window is open ends the program ----------
xdotool mousemove $((client_left + 320)) $((client_top + 47)) sleep 0.1 mousedown 1 sleep 0.1 mouseup 1
if wait_for_x_window "Pop up Help" 10 >/dev/null; then
  probe close "$main_title" >/dev/null
  wait_for_exit 10 && pass "closing the main window with the help open ended the program" ||
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
  plain=$(probe find "$main_title")
  shoot frmmain-no-skin-file "$plain"
  plain=$(probe find "$main_title")
  # A message box would take the input away from the main window.
  [ "$(field enabled "$plain")" = 1 ] && [ "$(field visible "$plain")" = 1 ] &&
    pass "without skin.bmp the main window starts, with no message" ||
    fail "without skin.bmp the main window did not start plainly: $plain"
  probe close "$main_title" >/dev/null
  wait_for_gone "$main_title" 10 || fail "the program without a skin did not end"
else
  fail "without skin.bmp the main window did not appear"
fi

e2e_finish program_e2e
