#!/usr/bin/env bash
# An author's session with the real VexmarEbc.exe under Wine on a private
# Xvfb, with the mouse and the keyboard only: a saved project opened through
# the Open button and the file dialog, its files checked in the list, the book
# compiled with every question answered, the program left through Exit. Then
# the book itself is asked for its settings and its files, which must be the
# project's, byte for byte. The project folder must come out untouched.
#
#   author_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v iconv >/dev/null || { echo "SKIPPED: iconv is not installed"; exit 77; }
. "$root/tests/wine/e2e_lib.sh"
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
start_program 100 "$documents"
wait_until 60 x_window "Starting\.\.\." >/dev/null || give_up "the splash window did not appear"
wait_until 20 x_window "$main_title" >/dev/null || give_up "the main window did not appear"
wait_until 5 main_enabled
pass "the main window appeared after the splash"

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

message=$(box_message "$(wait_until 15 box_children_with "$main_title" OK)")
[ "$message" = "Your settings have been loaded." ] && pass "opening says \"$message\"" ||
  give_up "the box after opening says \"$message\""
shoot author-settings-loaded "$(main find)"
xdotool key Return
wait_until 10 no_shown_box "$main_title" || give_up "Enter did not close the message"

# The texts the boxes show reach the book, read back below.
edit_texts() { main children | sed -n 's/.* class=Edit text=\(.*\)$/\1/p'; }
entries=$(main entries)
[ "$(sed 's/.* text=//' <<<"$entries")" = "$(printf '%s\n' "${garden_files[@]}")" ] &&
  ! grep -q " checked=1 " <<<"$entries" &&
  pass "the window holds the settings file's ${#garden_files[@]} names, unchecked" ||
  fail "the file list is not the settings file's, unchecked: $entries"

# Checking the files as an author does. The probe line of the entry named $1:
entry() { main entries | awk -F' text=' -v name="$1" '$2 == name { print; exit }'; }
checked() { [ "$(field checked "$(entry "$1")")" = 1 ]; }
checked_count() { [ "$(main entries | grep -c " checked=1 ")" = "$1" ]; }
only_checked() { checked "$1" && checked_count 1; }
current_unchecked() { ! checked "$1" && [ "$(field current "$(entry "$1")")" = 1 ]; }
# A click $2 pixels into the entry named $1: 8 is its check box, 60 its name.
click_entry() {
  local line
  line=$(entry "$1")
  click_at $(($(field left "$line") + $2)) $(($(field top "$line") + $(field height "$line") / 2))
}
click_entry "$home" 8
check "a click on the check box of $home checked it alone" "a click on the check box of $home" \
  wait_until 5 only_checked "$home"
second=${garden_files[1]}
click_entry "$second" 60
check "a click on the name $second made it current, unchecked" "a click on the name $second" \
  wait_until 5 current_unchecked "$second"
xdotool key space
check "the space bar checked $second" "the space bar did not check $second" \
  wait_until 5 checked "$second"
# A double click on a name makes it the home page: the box shows $1, none $2.
home_now() { edit_texts | grep -qxF -- "$1" && ! edit_texts | grep -qxF -- "$2"; }
click_entry "$second" 60 && xdotool click 1
check "a double click on $second made it the home page" "a double click on $second" \
  wait_until 5 home_now "$second" "$home"
click_entry "$home" 60 && xdotool click 1
wait_until 5 home_now "$home" "$second" || fail "a double click on $home"
unchecked() { ! checked "$1"; }
# Three quick clicks on a box: a double click toggles twice, the third once.
click_entry "$home" 8 && xdotool click --repeat 2 --delay 80 1
check "three quick clicks on its box unchecked $home" "three quick clicks on the box of $home" \
  wait_until 5 unchecked "$home"
click_child "$(main children)" "&Select All"
check "Select All checked every file" "Select All left files unchecked" \
  wait_until 5 checked_count "${#garden_files[@]}"
shoot author-files-checked "$(main find)"

# Compile: every question answered Yes, then the result.
date_before=$(date +%-m/%-d/%Y)
click_child "$(main children)" "&Compile"
# The next box, not the one answered last: each has a handle of its own.
answered=none
next_box() {
  local line title
  for title in Confirm "Compile Finished." "Compile Error" "$main_title"; do
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
  [ "$box_title" = Confirm ] || break
  grep -qF " text=&No" <<<"$children" && pass "question \"$message\" with Yes and No" ||
    fail "the question lacks No: $children"
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

click_child "$(main children)" "E&xit"
question=$(wait_until 10 box_children_with "Exit?" "&Yes") || fail "Exit asked no question"
click_child "$question" "&Yes"
check "Exit, answered Yes, ended the program" "the program runs on after Exit answered Yes" \
  wait_until 15 program_ended

# The author's files, and the book.
diff -r "$root/examples/garden" "$garden" >/dev/null &&
  pass "the project folder is as it was: no file changed, none added" ||
  fail "the build changed the project folder: $(diff -rq "$root/examples/garden" "$garden")"
[ -f "$book" ] || give_up "no book at $book"
# Asks the book: its output lands in a file beside it, without line ends' CRs.
ask_book() {
  VEXMAR_WINE_TIMEOUT=30 "$root/tools/wine-run" "$book" "$@" /out "$(windows_path "$work/out.txt")" \
    >/dev/null 2>&1 && tr -d '\r' <"$work/out.txt"
}
settings=$(ask_book /settings) || fail "the book did not answer /settings"
for date in "$date_before" "$date_after"; do
  expected=$(printf '%s\n' "$title" "$author" "$home" "$date" "$url_text" "$url" blank blank blank)
  [ "$settings" = "$expected" ] && break
done
[ "$settings" = "$expected" ] && pass "the book's nine settings are the project's, dated $date" ||
  fail "the book's settings are \"$(paste -sd '|' <<<"$settings")\", not \"$(paste -sd '|' <<<"$expected")\""
extracted="$work/extracted"
ask_book /extract "$(windows_path "$extracted")" >/dev/null || fail "the book did not answer /extract"
# The book holds each project file under its upper-cased name, and no other.
same=0
for f in "${garden_files[@]}"; do
  cmp -s "$garden/$f" "$extracted/$(tr a-z A-Z <<<"$f")" && same=$((same + 1)) ||
    fail "the book's copy of $f differs from the file"
done
[ "$same" = "${#garden_files[@]}" ] && [ "$(ls "$extracted" | wc -l)" = "$same" ] &&
  pass "the book holds the project's ${#garden_files[@]} files, byte for byte, and no other"
e2e_finish author_e2e
