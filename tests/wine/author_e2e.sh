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
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v iconv >/dev/null || { echo "SKIPPED: iconv is not installed"; exit 77; }

# --- The harness: a private Xvfb, a private copy of the program, the probe
# that tells what Windows knows of the program's windows, waiting, clicking,
# screenshots, and the ok/FAIL tally.
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
e2e_finish author_e2e
