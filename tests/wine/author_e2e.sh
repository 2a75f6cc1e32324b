#!/usr/bin/env bash
# An author's session with the real VexmarEbc.exe under Wine on a private
# Xvfb, with the mouse and the keyboard only: a saved project opened through
# the Open button and the file dialog, its files checked in the list, the book
# compiled with every question answered, the program left through Exit. Then
# the book itself is asked for its settings and its files, which must be the
# project's, byte for byte. The project folder must come out untouched.
# Screenshots for the author's guide go to $VEXMAR_SHOTS, or out/screenshots/.
#
#   author_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
#
# Exit code 77 (a skip for ctest) when no X server can be had.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/e2e_lib.sh"

e2e_require_tools
command -v iconv >/dev/null || { echo "SKIPPED: iconv is not installed"; exit 77; }
e2e_start_display
e2e_copy_program "$program_folder"
# Wine's English locale, whatever the machine's: the settings file below is
# written in its code page, Windows-1252, and the book's date comes in its
# short date format.
export LC_ALL=C.UTF-8

main_title="Vexmar E-book Compiler"
# Gives up the session: what the program shows now, then the tally.
give_up() {
  fail "$*"
  echo "the program's windows now:"
  probe windows
  e2e_finish author_e2e
}

# --- the author's project and its settings file --------------------------------------
# The author's folder holds the project, its settings file and the books.
documents="$work/Documents"
garden="$documents/garden"
books="$documents/books"
mkdir -p "$books"
cp -r "$root/examples/garden" "$garden"
mapfile -t garden_files < <(cd "$garden" && ls -1)
files_line=$(IFS=:; echo "${garden_files[*]}")
title="Garden Notes"
author="Mathilde Café"
url_text="More notes"
url="www.example.org/garden"
home=index.htm
out_file=Garden
ebc="$documents/garden.ebc"
# Thirteen lines, each ended by CR LF; the check marks are not part of the
# file, so the author checks the files again after opening it.
printf '%s\r\n' "$title" "$author" "$url_text" "$url" "$(windows_path "$garden")\\" \
  "$files_line" "$home" 0 blank:blank "$(windows_path "$books")\\" "$out_file" blank blank |
  iconv -f UTF-8 -t CP1252 >"$ebc"
book="$books/$out_file.exe"

# --- the start: the splash, then the main window ---------------------------------------
# From the author's folder, so the file dialog opens where the settings file
# is (unless Wine remembers a folder the program opened a file from before).
(cd "$documents" && VEXMAR_WINE_TIMEOUT=100 exec "$root/tools/wine-run" "$program/VexmarEbc.exe") \
  >/dev/null 2>&1 &
wine_pid=$!
wait_for_x_window "Starting\.\.\." 60 >/dev/null || give_up "the splash window did not appear"
pass "the splash window appeared"
wait_for_x_window "$main_title" 20 >/dev/null || give_up "the main window did not appear"
main() { probe class=VexmarForm "$@" "$main_title"; }
for _ in $(seq 50); do
  [ "$(field enabled "$(main find)")" = 1 ] && break
  sleep 0.1
done
pass "the main window appeared after the splash"

# --- Open: the file dialog, the path typed, Enter -----------------------------------------
read -r ox oy < <(centre_of "$(main children | grep -F " tip=Open from file text=")") ||
  give_up "no tool-bar button with the tip \"Open from file\""
click_at "$ox" "$oy"
dialog=$(wait_for_box "Open Settings File" 15) || give_up "Open showed no \"Open Settings File\" dialog"
pass "the Open button showed the \"Open Settings File\" dialog"
name_box() { probe class=#32770 children "Open Settings File" | grep "^child visible=1 .* class=Edit "; }
read -r nx ny < <(centre_of "$(wait_until 5 name_box)") || give_up "the file dialog has no file name box"
click_at "$nx" "$ny"
ebc_windows=$(windows_path "$ebc")
xdotool type --delay 10 "$ebc_windows"
# The dialog takes the key presses in its own time, on a busy machine later
# than xdotool sends them.
name_box_text() {
  probe class=#32770 children "Open Settings File" | grep "^child visible=1 .* class=Edit " |
    sed 's/.* text=//'
}
typed_in_full() { [ "$(name_box_text)" = "$ebc_windows" ]; }
wait_until 10 typed_in_full && pass "the file name box shows the path typed" ||
  fail "the file name box shows \"$(name_box_text)\", not \"$ebc_windows\""
shoot author-open-dialog "$dialog"
xdotool key Return

loaded=$(wait_for_box "$main_title" 15) || give_up "no message after the settings file was chosen"
message=$(box_message "$(wait_for_box_children "$main_title" OK 5)")
[ "$message" = "Your settings have been loaded." ] &&
  pass "the box titled \"$main_title\" says \"$message\"" ||
  fail "the box after opening says \"$message\""
shoot author-settings-loaded "$(main find)"
xdotool key Return
wait_for_box_gone "$main_title" 10 && pass "Enter closed the message" ||
  give_up "Enter did not close the message"

# --- what the window holds now ------------------------------------------------------
fields=$(main children | sed -n 's/.* class=Edit .*text=\(.*\)$/\1/p')
missing=0
for text in "$title" "$author" "$url_text" "$url" "$(windows_path "$garden")\\" "$home" \
  "$(windows_path "$books")\\" "$out_file"; do
  grep -qxF -- "$text" <<<"$fields" || {
    fail "no field of the main window shows \"$text\""
    missing=1
  }
done
[ "$missing" = 0 ] && pass "the eight text fields show the settings file's texts"
entries=$(main entries)
[ "$(sed 's/.* text=//' <<<"$entries")" = "$(printf '%s\n' "${garden_files[@]}")" ] &&
  ! grep -q " checked=1 " <<<"$entries" &&
  pass "the file list holds the settings file's ${#garden_files[@]} names in order, none checked" ||
  fail "the file list is not the settings file's, unchecked: $entries"

# --- checking the files as an author does -------------------------------------------------
# The probe line of the entry named $1.
entry() {
  local line
  while IFS= read -r line; do
    [ "${line#* text=}" = "$1" ] && { echo "$line"; return 0; }
  done < <(main entries)
  return 1
}
checked() { [ "$(field checked "$(entry "$1")")" = 1 ]; }
checked_count() { [ "$(main entries | grep -c " checked=1 ")" = "$1" ]; }
only_checked() { checked "$1" && checked_count 1; }
current_unchecked() { ! checked "$1" && [ "$(field current "$(entry "$1")")" = 1 ]; }
# A click on the home page's check box.
line=$(entry "$home")
click_at $(($(field left "$line") + 8)) $(($(field top "$line") + $(field height "$line") / 2))
wait_until 5 only_checked "$home" && pass "a click on the check box of $home checked it alone" ||
  fail "a click on the check box of $home: $(main entries)"
# A click on a name makes it the current entry; the space bar checks it.
second=${garden_files[1]}
line=$(entry "$second")
click_at $(($(field left "$line") + 60)) $(($(field top "$line") + $(field height "$line") / 2))
wait_until 5 current_unchecked "$second" &&
  pass "a click on the name $second made it current without checking it" ||
  fail "a click on the name $second: $(entry "$second")"
xdotool key space
wait_until 5 checked "$second" && pass "the space bar checked $second" ||
  fail "the space bar did not check $second: $(entry "$second")"
read -r sx sy < <(child_centre "$(main children)" "&Select All")
click_at "$sx" "$sy"
wait_until 5 checked_count "${#garden_files[@]}" &&
  pass "Select All checked all ${#garden_files[@]} files" ||
  fail "Select All left files unchecked: $(main entries)"
shoot author-files-checked "$(main find)"

# --- Compile: every question answered Yes, then the result -------------------------------
date_before=$(date +%-m/%-d/%Y)
read -r cx cy < <(child_centre "$(main children)" "&Compile")
click_at "$cx" "$cy"
answered=
finished=0
for _ in 1 2 3 4 5; do
  box=
  end=$((SECONDS + 30))
  while [ $SECONDS -lt $end ] && [ -z "$box" ]; do
    box=$(probe windows | grep " class=#32770 " | grep -vF "${answered:-no box yet}" | head -1)
    [ -z "$box" ] && sleep 0.1
  done
  [ -z "$box" ] && give_up "Compile showed no further box"
  box_title=${box#* title=}
  # Every box of a Compile has a button of its own: Yes for a question, OK else.
  box_children=$(wait_for_box_children "$box_title" "&Yes" 2 || wait_for_box_children "$box_title" OK 3)
  message=$(box_message "$box_children")
  case "$box_title" in
    Confirm)
      grep -qF " text=&Yes" <<<"$box_children" && grep -qF " text=&No" <<<"$box_children" &&
        pass "question \"$message\" with Yes and No" || fail "the question lacks Yes or No: $box"
      [ -z "$answered" ] && shoot author-compile-question "$(main find)"
      read -r yx yy < <(child_centre "$box_children" "&Yes")
      click_at "$yx" "$yy"
      ;;
    "Compile Finished.")
      # The text breaks the line before the path; the probe shows a line
      # break as question marks.
      expected="Your e-book has been created.  File saved to:????$(windows_path "$book")"
      [ "$message" = "$expected" ] && pass "Compile Finished.: \"$message\"" ||
        fail "the success message is \"$message\", not \"$expected\""
      shoot author-compiled "$(main find)"
      read -r kx ky < <(child_centre "$box_children" "OK")
      click_at "$kx" "$ky"
      finished=1
      ;;
    *)
      fail "Compile showed \"$box_title\": \"$message\""
      xdotool key Return
      ;;
  esac
  answered="${box%% enabled=*}"
  [ "$box_title" = Confirm ] || break
done
date_after=$(date +%-m/%-d/%Y)
[ "$finished" = 1 ] || give_up "the book was not compiled"
for _ in $(seq 50); do
  [ "$(field enabled "$(main find)")" = 1 ] && break
  sleep 0.1
done
grep -qF " class=Edit text=$out_file.exe" <<<"$(main children)" &&
  pass "the output file field reads $out_file.exe" ||
  fail "the output file field was not completed with .exe"

# --- Exit, answered Yes ---------------------------------------------------------------
read -r ex ey < <(child_centre "$(main children)" "E&xit")
click_at "$ex" "$ey"
if wait_for_box "Exit?" 10 >/dev/null; then
  read -r yx yy < <(child_centre "$(wait_for_box_children "Exit?" "&Yes" 5)" "&Yes")
  click_at "$yx" "$yy"
  wait_for_exit 15 && pass "Exit, answered Yes, ended the program" ||
    fail "the program still runs after Exit was answered Yes"
else
  fail "Exit asked no question"
fi

# --- the author's files, and the book ----------------------------------------------------
diff -r "$root/examples/garden" "$garden" >/dev/null &&
  pass "the project folder is as it was: no file changed, none added" ||
  fail "the build changed the project folder: $(diff -rq "$root/examples/garden" "$garden")"
[ -f "$book" ] || give_up "no book at $book"
# Asks the book: its output lands in a file beside it, without line ends' CRs.
ask_book() {
  local out="$work/$1.txt"
  shift
  VEXMAR_WINE_TIMEOUT=30 "$root/tools/wine-run" "$book" "$@" /out "$(windows_path "$out")" \
    >/dev/null 2>&1 || return 1
  tr -d '\r' <"$out"
}
if settings=$(ask_book settings /settings); then
  for date in "$date_before" "$date_after"; do
    expected=$(printf '%s\n' "$title" "$author" "$home" "$date" "$url_text" "$url" blank blank blank)
    [ "$settings" = "$expected" ] && break
  done
  [ "$settings" = "$expected" ] &&
    pass "the book's nine settings are the project's, dated $date: $(paste -sd '|' <<<"$settings")" ||
    fail "the book's settings are \"$(paste -sd '|' <<<"$settings")\", not \"$(paste -sd '|' <<<"$expected")\""
else
  fail "the book did not answer /settings"
fi
if list=$(ask_book list /list); then
  expected=$(for f in "${garden_files[@]}"; do
    printf '%s\t%s\n' "$(tr a-z A-Z <<<"$f")" "$(stat -c %s "$garden/$f")"
  done | sort)
  [ "$(sort <<<"$list")" = "$expected" ] &&
    pass "the book holds the ${#garden_files[@]} project files, upper-cased, each of its size" ||
    fail "the book's list differs from the project's files: $(diff <(sort <<<"$list") <(echo "$expected"))"
else
  fail "the book did not answer /list"
fi
extracted="$work/extracted"
if ask_book extract /extract "$(windows_path "$extracted")" >/dev/null; then
  same=0
  for f in "${garden_files[@]}"; do
    cmp -s "$garden/$f" "$extracted/$(tr a-z A-Z <<<"$f")" && same=$((same + 1)) ||
      fail "the book's copy of $f differs from the file"
  done
  [ "$same" = "${#garden_files[@]}" ] && pass "every file of the book is the project's, byte for byte"
else
  fail "the book did not answer /extract"
fi

e2e_finish author_e2e
