#!/usr/bin/env bash
# A Japanese project made into a book through the real windows of
# VexmarEbc.exe under Wine, once with the Japanese ANSI code page (932) and
# once with the Western one (1252): the title, author, link text, index page
# and book name given to the main window in Japanese, the folder 書籍 chosen
# in the folder browser, the files checked, Compile pressed and every question
# answered; then the book's /settings, its settings record's bytes (cp932
# where everything fits, else UTF-8 behind its mark) and /list read back, and
# the settings file saved and opened again.
#
#   japanese_window_e2e.sh PROGRAM_FOLDER WINDOW_PROBE_EXE
#
# Exit code 77 (a skip for ctest) without an X server or the two locales.
set -uo pipefail
for locale in ja_JP en_US; do
  locale -a | grep -qix "$locale.utf8" ||
    { echo "SKIPPED: no $locale.UTF-8 locale (./run.sh test makes it)"; exit 77; }
done
/usr/bin/python3 -c 'import pefile' 2>/dev/null || { echo "SKIPPED: no python3-pefile"; exit 77; }
. "$(dirname "$0")/window_e2e_lib.sh" "$1" "$2"
give_up() { fail "$*"; e2e_finish japanese_window_e2e; }

# 表 and ソ end in the byte 0x5C, a backslash, in cp932.
title="日本語の表現" author="ソフィア山田" link="もっと読む" url="www.example.jp"
home=索引.htm out_file=日本の本
# The buttons of a box by their id, whatever the language of Wine's own
# texts: IDOK and IDYES.
ok=1 yes=6
# The main window's edit boxes from the top: title, author, link text, link
# address, project folder, index page, output folder, output file.
edit() { main children | grep " class=Edit " | sort -t= -k5n | sed -n "$1p"; }
set_edit() { probe class=VexmarForm settext "$main_title" "$(field handle "$(edit "$1")")" "$2"; }
edit_text() { edit "$1" | sed 's/.* text=//'; }
# The tool bar's caption-less buttons from the left (New, Open, Save), the
# "..." buttons from the top (project folder, output folder).
tool_button() { main children | grep " class=Button text=$" | sort -t= -k4n | sed -n "$1p"; }
click_id() { click_line "$(grep " id=$2 " <<<"$1" | head -1)"; }
# The probe line of the shown box titled $1 once its button $2 is made.
box_with_button() {
  local children
  shown_box "$1" >/dev/null && children=$(probe class=#32770 children "$1") &&
    grep -q " id=$2 " <<<"$children" && echo "$children"
}
# Answers every box of a Compile until it ends; prints the last box's title
# and message.
answer_compile() {
  local answered=none title line children
  for _ in 1 2 3 4 5; do
    title=
    for t in Confirm "Check Links" "Compile Finished." "Compile Error" "$main_title"; do
      line=$(wait_until 1 shown_box "$t") && [ "$(field handle "$line")" != "$answered" ] &&
        title=$t && break
    done
    [ -z "$title" ] && { sleep 1; continue; }
    answered=$(field handle "$line")
    children=$(wait_until 3 box_with_button "$title" $yes || wait_until 3 box_with_button "$title" $ok)
    if [ "$title" = Confirm ] || [ "$title" = "Check Links" ]; then
      [ "$title" = "Check Links" ] && echo "Check Links: $(box_message "$children")"
      click_id "$children" $yes
      continue
    fi
    echo "$title: $(box_message "$children")"
    click_id "$children" $ok
    return 0
  done
  return 1
}

for locale in ja_JP.UTF-8 en_US.UTF-8; do
  export LC_ALL=$locale
  # Wine takes a process's ANSI code page from its locale when it starts,
  # whatever the locale the prefix or its server started under.
  acp=$(field acp "$(probe acp)")
  expected_acp=1252 && [ "$locale" = ja_JP.UTF-8 ] && expected_acp=932
  check "$locale: Wine's ANSI code page is $acp" "$locale: the ANSI code page is $acp" \
    [ "$acp" = "$expected_acp" ]
  here=$work/$locale site=$work/$locale/書籍
  mkdir -p "$site"
  printf '<meta charset="utf-8"><a href="第一章.htm">第一章</a> <img src="図表.gif">' >"$site/$home"
  printf '<meta charset="utf-8"><p>はじめに</p>' >"$site/第一章.htm"
  cp -r "$site" "$here/untouched"

  start_program 200 "$here"
  wait_until 60 x_window "$main_title" >/dev/null && wait_until 10 main_enabled ||
    give_up "$locale: no main window"
  for field_text in "1 $title" "2 $author" "3 $link" "4 $url" "6 $home" "8 $out_file"; do
    set_edit "${field_text%% *}" "${field_text#* }" >/dev/null
    [ "$(edit_text "${field_text%% *}")" = "${field_text#* }" ] ||
      fail "$locale: the main window does not show \"${field_text#* }\""
  done

  # The folder browser's title is Wine's, in the locale's language: the one
  # shown window besides the main window.
  other_window() { xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | grep -vx "$main_title" | head -1 | grep .; }
  click_line "$(main children | grep ' class=Button text=\.\.\.$' | sort -t= -k5n | head -1)"
  browser=$(wait_until 15 other_window) || give_up "$locale: the folder button showed no browser"
  wait_until 5 probe class=#32770 browse "$browser" "$(windows_path "$site")" >/dev/null ||
    fail "$locale: the browser did not take the folder $site"
  click_id "$(probe class=#32770 children "$browser")" $ok
  check "$locale: the folder browser chose 書籍" "$locale: the project folder is \"$(edit_text 5)\"" \
    wait_until 10 eval '[ "$(edit_text 5)" = "$(windows_path "$site")\\" ]'
  click_child "$(main children)" "&Select All"
  click_child "$(main children)" "&Compile"
  result=$(answer_compile) || give_up "$locale: Compile did not end: $result"
  echo "$result"
  probe close "$main_title" >/dev/null
  wait_until 10 program_ended || fail "$locale: the program still runs after its window closed"
done
e2e_finish japanese_window_e2e
