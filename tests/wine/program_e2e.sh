#!/usr/bin/env bash
# The real VexmarEbc.exe under Wine on a private Xvfb, driven with the mouse
# as an author would: the splash and the hand-over to the main window, a help
# icon's press and release, the help window's "Close Help", the Exit
# question, the skin turned off from the window menu, and the end of the
# program when the main window closes while the help window is open.
#
#   program_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/e2e_lib.sh"

# Entry 1 of the help file, as the title's help icon shows it.
title_help=$(tr -d '\r' <"$program/help.txt" | sed -n 's/^"\{0,1\}1=\([^"]*\)"\{0,1\}$/\1/p' | head -1)
start_program 150

wait_until 60 x_window "Starting\.\.\." >/dev/null || { fail "no splash window"; e2e_finish program_e2e; }
shoot splash "$(probe find "Starting...")"
wait_until 20 x_window "$main_title" >/dev/null || { fail "no main window"; e2e_finish program_e2e; }
splash=$(probe find "Starting...")
[ "$splash" = none ] || [ "$(field visible "$splash")" = 0 ] &&
  pass "the splash handed over to the main window" || fail "the splash is still shown: $splash"
wait_until 5 main_enabled
shoot frmmain-skinned "$(main find)"
read -r left top < <(main find | sed 's/.*client_left=\([0-9-]*\) client_top=\([0-9-]*\).*/\1 \2/')

# Presses the title's help icon (at 312, 40 in the client area, 16 x 14) and
# releases the button far from it, as the capture allows.
open_help() {
  xdotool mousemove $((left + 320)) $((top + 47)) sleep 0.1 mousedown 1 sleep 0.2 \
    mousemove $((left + 200)) $((top + 300)) sleep 0.1 mouseup 1
  wait_until 10 x_window "Pop up Help" >/dev/null
}
help_with() { children_with "Pop up Help" "$1"; }

if open_help; then
  shoot frmhelp "$(probe find "Pop up Help")"
  wait_until 5 help_with "$title_help" >/dev/null && help_with "Create E-book - Help" >/dev/null &&
    pass "the title's help icon opened the help window with entry 1 of help.txt" ||
    fail "the help window does not show entry 1 of help.txt: $(probe children "Pop up Help")"
  main_enabled && fail "the main window still takes input under the help window"
  click_child "$(wait_until 5 help_with "Close Help")" "Close Help"
  check "\"Close Help\" closed the help window" "\"Close Help\" did not close the help window" \
    wait_until 10 no_x_window "Pop up Help"
else
  fail "the help icon's press and release opened no help window"
fi

# The Exit question, answered No: the program runs on and takes input again.
wait_until 5 main_enabled || fail "the main window takes no input after the help closed"
click_child "$(main children)" "E&xit"
if question=$(wait_until 10 box_children_with "Exit?" "&No"); then
  shoot exit-question "$(probe find "Exit?")"
  main_enabled && fail "the main window takes input under the Exit question"
  click_child "$question" "&No"
  wait_until 10 no_shown_box "Exit?" && wait_until 5 main_enabled && ! program_ended &&
    pass "answering No keeps the program running" || fail "answering No did not keep the program"
else
  fail "Exit asked no question"
fi

# The window menu's "&Disable Skin" item, the program's second item.
probe syscommand "$main_title" 0x120 >/dev/null
shoot frmmain-plain "$(main find)"

# Closing the main window while the help window is open ends the program.
if open_help; then
  probe close "$main_title" >/dev/null
  check "closing the main window with the help open ended the program" \
    "the program still runs after its main window closed" wait_until 10 program_ended
else
  fail "no help window to close the main window under"
fi
e2e_finish program_e2e
