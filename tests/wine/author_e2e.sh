#!/usr/bin/env bash
# An author's session with the real VexmarEbc.exe under Wine on a private
# Xvfb, with the mouse and the keyboard only: the splash and the hand-over to
# the main window, a help icon's press and release and the help window's
# "Close Help", the Exit question answered No, the skin turned off from the
# window menu and on again; a saved project opened through the Open button
# and the file dialog, its files checked by Select All, the book compiled with
# every question answered, and the book asked for its settings, dated by
# Windows' short date format; last, the end of the program when the main
# window closes while the help window is open. The project folder must come
# out untouched. (What the book holds, byte for byte, cli_test checks under
# Wine too.)
#
#   author_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
#
# Exit code 77 (a skip for ctest) when no X server can be had. Screenshots
# go to $VEXMAR_SHOTS, or out/screenshots/ of the tree.
set -uo pipefail
command -v iconv >/dev/null || { echo "SKIPPED: iconv is not installed"; exit 77; }
. "$(dirname "$0")/window_e2e_lib.sh" "$1" "$2"

# --- The session.
# Wine's English locale, whatever the machine's: the settings file below is
# written in its code page, Windows-1252, and the book's date comes in its
# short date format.
export LC_ALL=C.UTF-8

give_up() { fail "$*"; e2e_finish author_e2e; }

# The author's folder holds the project, its settings file and the books.
documents="$work/Documents"
garden="$documents/garden"
books="$documents/books"
mkdir -p "$books"
cp -r "$root/examples/garden" "$garden"
# The window lists the top folder's files; its pictures folder is not entered.
mapfile -t garden_files < <(cd "$garden" && ls -1p | grep -v '/$')
title="Garden Notes" author="Mathilde Café" url_text="More notes" url="www.example.org/garden"
home=index.htm out_file=Garden
ebc="$documents/garden.ebc"
book="$books/$out_file.exe"
# Thirteen lines, each ended by CR LF; the check marks are not part of the
# file, so the author checks the files again after opening it.
printf '%s\r\n' "$title" "$author" "$url_text" "$url" "$(windows_path "$garden")\\" \
  "$(IFS=:; echo "${garden_files[*]}")" "$home" 0 blank:blank "$(windows_path "$books")\\" \
  "$out_file" blank blank | iconv -f UTF-8 -t CP1252 >"$ebc"

# From the author's folder, so the file dialog opens where the settings file
# is (unless Wine remembers a folder the program opened a file from before).
start_program 250 "$documents"
wait_until 60 x_window "Starting\.\.\." >/dev/null || give_up "no splash window"
shoot splash "$(probe find "Starting...")"
wait_until 20 x_window "$main_title" >/dev/null || give_up "no main window"
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
open_help || give_up "the help icon's press and release opened no help window"
shoot frmhelp "$(probe find "Pop up Help")"
pass "the title's help icon opened the help window (which text it shows: tests/help)"
main_enabled && fail "the main window still takes input under the help window"
click_child "$(wait_until 5 children_with "Pop up Help" "Close Help")" "Close Help"
check "\"Close Help\" closed the help window" "\"Close Help\" did not close the help window" \
  wait_until 10 no_x_window "Pop up Help"

# The Exit question, answered No: the program runs on and takes input again.
wait_until 5 main_enabled || fail "the main window takes no input after the help closed"
click_child "$(main children)" "E&xit"
question=$(wait_until 10 box_children_with "Exit?" "&No") || give_up "Exit asked no question"
shoot exit-question "$(probe find "Exit?")"
main_enabled && fail "the main window takes input under the Exit question"
click_child "$question" "&No"
wait_until 10 no_shown_box "Exit?" && wait_until 5 main_enabled && ! program_ended &&
  pass "answering No keeps the program running" || fail "answering No did not keep the program"

# The window menu's "&Disable Skin" item, the program's second item, and
# again to turn the skin back on for the pictures below.
probe syscommand "$main_title" 0x120 >/dev/null
shoot frmmain-plain "$(main find)"
probe syscommand "$main_title" 0x120 >/dev/null

# Open: the tool bar's second caption-less button; the path typed, Enter.
open_button=$(main children | grep " class=Button text=$" | sort -t= -k4n | sed -n 2p)
click_line "$open_button" || give_up "no Open button in the tool bar"
dialog=$(wait_until 15 shown_box "Open Settings File") || give_up "Open showed no file dialog"
name_box() { probe class=#32770 children "Open Settings File" | grep "^child visible=1 .* class=Edit "; }
click_line "$(wait_until 5 name_box)" || give_up "the file dialog has no name box"
ebc_windows=$(windows_path "$ebc")
xdotool type --delay 10 "$ebc_windows"
# The dialog takes the key presses in its own time, on a busy machine later
# than xdotool sends them.
typed_in_full() { [ "$(name_box | sed 's/.* text=//')" = "$ebc_windows" ]; }
check "the file name box shows the path typed" "the file name box lacks the path typed" \
  wait_until 10 typed_in_full
shoot author-open-dialog "$dialog"
xdotool key Return

# The box that says the settings were loaded (its text: tests/settings).
wait_until 15 box_children_with "$main_title" OK >/dev/null || give_up "opening showed no box"
shoot author-settings-loaded "$(main find)"
xdotool key Return
wait_until 10 no_shown_box "$main_title" || give_up "Enter did not close the message"

# Every file checked (how clicks and keys check them: win32_controls_test).
click_child "$(main children)" "&Select All"
shoot author-files-checked "$(main find)"

# Compile: every question answered Yes, then the result.
date_before=$(date +%-m/%-d/%Y)
click_child "$(main children)" "&Compile"
# The next box, not the one answered last: each has a handle of its own.
answered=none
next_box() {
  local line title
  for title in Confirm "Check Links" "Compile Finished." "Compile Error" "$main_title"; do
    line=$(shown_box "$title") && [ "$(field handle "$line")" != "$answered" ] &&
      echo "$title" && return 0
  done
  return 1
}
for _ in 1 2 3 4 5; do
  box_title=$(wait_until 30 next_box) || give_up "Compile showed no further box"
  answered=$(field handle "$(shown_box "$box_title")")
  # Every box of a Compile has a button of its own: Yes for a question, OK else.
  children=$(wait_until 2 box_children_with "$box_title" "&Yes" ||
    wait_until 3 box_children_with "$box_title" OK)
  message=$(box_message "$children")
  # The window lists the top folder's pages and pictures only, so the
  # sample's style sheet is a link the check reports, with the way to list
  # it; the author builds anyway.
  if [ "$box_title" = "Check Links" ]; then
    [[ "$message" == *'"css/site.css" is a kind of file'*'--include .css'* ]] &&
      pass "Check Links names the style sheet the list does not offer, and --include" ||
      fail "Check Links says \"$message\""
  fi
  [ "$box_title" = Confirm ] || [ "$box_title" = "Check Links" ] || break
  [ -z "${shot:-}" ] && shoot author-compile-question "$(main find)" && shot=1
  click_child "$children" "&Yes"
done
date_after=$(date +%-m/%-d/%Y)
[ "$box_title" = "Compile Finished." ] || give_up "Compile showed \"$box_title\": \"$message\""
# The text breaks the line before the path; the probe shows a line break as
# question marks.
expected="Your e-book has been created.  File saved to:????$(windows_path "$book")"
[ "$message" = "$expected" ] && pass "Compile Finished.: \"$message\"" ||
  fail "the success message is \"$message\", not \"$expected\""
shoot author-compiled "$(main find)"
click_child "$children" OK
wait_until 5 main_enabled

# Closing the main window while the help window is open ends the program.
open_help || fail "no help window to close the main window under"
probe close "$main_title" >/dev/null
check "closing the main window with the help open ended the program" \
  "the program still runs after its main window closed" wait_until 10 program_ended

# The author's files, and the book.
diff -r "$root/examples/garden" "$garden" >/dev/null &&
  pass "the project folder is as it was: no file changed, none added" ||
  fail "the build changed the project folder: $(diff -rq "$root/examples/garden" "$garden")"
[ -f "$book" ] || give_up "no book at $book"
# The book's answer lands in a file beside it; line ends lose their CRs.
VEXMAR_WINE_TIMEOUT=30 "$root/tools/wine-run" "$book" /settings /out "$(windows_path "$work/out.txt")" \
  >/dev/null 2>&1 || fail "the book did not answer /settings"
settings=$(tr -d '\r' <"$work/out.txt")
for date in "$date_before" "$date_after"; do
  expected=$(printf '%s\n' "$title" "$author" "$home" "$date" "$url_text" "$url" blank blank blank)
  [ "$settings" = "$expected" ] && break
done
[ "$settings" = "$expected" ] && pass "the book's nine settings are the project's, dated $date" ||
  fail "the book's settings are \"$(paste -sd '|' <<<"$settings")\", not \"$(paste -sd '|' <<<"$expected")\""

# The reader's side: the book opens (in the default browser here, Wine
# having no HTML engine) with its contents pane, and searches its pages.
book_probe() { "$root/tools/wine-run" "$probe_exe" "$(windows_path "$books")" "$@" 2>/dev/null | tr -d '\r'; }
(cd "$books" && VEXMAR_WINE_TIMEOUT=60 exec "$root/tools/wine-run" "$book") >/dev/null 2>&1 &
wine_pid=$!
if wait_until 30 x_window "$title" >/dev/null; then
  window=$(book_probe find "$title")
  book_probe children "$title" | grep -q "class=Edit" && pass "the book's window has its search box" ||
    fail "the book's window has no search box"
  # Into the window, then Ctrl+F to the search box and a query.
  xdotool mousemove $(($(field left "$window") + $(field width "$window") * 2 / 3)) \
    $(($(field top "$window") + $(field height "$window") / 2)) click 1 sleep 0.3 \
    key ctrl+f sleep 0.3 type soil
  sleep 2
  shoot reader-search "$window"
  book_probe close "$title" >/dev/null
  check "the book closed" "the book still runs after its window closed" wait_until 10 program_ended
else
  fail "the book's window did not open"
fi
e2e_finish author_e2e
