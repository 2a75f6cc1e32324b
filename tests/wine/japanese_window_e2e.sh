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
# The tool bar's caption-less buttons from the left: New, Open, Save.
tool_button() { main children | grep " class=Button text=$" | sort -t= -k4n | sed -n "$1p"; }
click_id() { click_line "$(grep " id=$2 class=Button " <<<"$1" | head -1)"; }
# The probe line of the shown box titled $1 once its button $2 is made.
box_with_button() {
  local children
  shown_box "$1" >/dev/null && children=$(probe class=#32770 children "$1") &&
    grep -q " id=$2 class=Button " <<<"$children" && echo "$children"
}
# The folder browser's title is Wine's, in the locale's language: the one
# shown window besides the main window.
other_window() {
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | grep -vx "$main_title" |
    head -1 | grep .
}
# The file dialog titled $1, opened by tool button $2, given $ebc and its
# own button pressed.
name_box() { probe class=#32770 children "$1" | grep "^child visible=1 .* class=Edit "; }
file_dialog() {
  local box
  click_line "$(tool_button "$2")"
  wait_until 15 shown_box "$1" >/dev/null && box=$(wait_until 5 name_box "$1") &&
    probe class=#32770 settext "$1" "$(field handle "$box")" "$(windows_path "$ebc")" >/dev/null &&
    click_id "$(probe class=#32770 children "$1")" $ok && wait_until 10 no_shown_box "$1"
}
# Whether the window's project folder is the site's.
chosen() { [ "$(edit_text 5)" = "$(windows_path "$site")\\" ]; }
# The book's answer to the switch $1, in the file $2; line ends keep their CRs.
ask_book() {
  VEXMAR_WINE_TIMEOUT=30 "$root/tools/wine-run" "$book" "$1" /out "$(windows_path "$2")" \
    >/dev/null 2>&1 || fail "$locale: the book did not answer $1"
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
    children=$(wait_until 3 box_with_button "$title" $yes ||
      wait_until 3 box_with_button "$title" $ok)
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
  printf '<p>%s</p>' "$title" | iconv -t CP932 >"$site/表紙.htm"
  cp -r "$site" "$here/untouched"

  start_program 200 "$here"
  wait_until 60 x_window "$main_title" >/dev/null && wait_until 10 main_enabled ||
    give_up "$locale: no main window"
  for field_text in "1 $title" "2 $author" "3 $link" "4 $url" "6 $home" "8 $out_file"; do
    set_edit "${field_text%% *}" "${field_text#* }" >/dev/null
    [ "$(edit_text "${field_text%% *}")" = "${field_text#* }" ] ||
      fail "$locale: the main window does not show \"${field_text#* }\""
  done

  # The upper of the two "..." buttons: the project folder's.
  click_line "$(main children | grep ' class=Button text=\.\.\.$' | sort -t= -k5n | head -1)"
  browser=$(wait_until 15 other_window) || give_up "$locale: the folder button showed no browser"
  wait_until 5 probe class=#32770 browse "$browser" "$(windows_path "$site")" >/dev/null ||
    fail "$locale: the browser did not take the folder $site"
  click_id "$(probe class=#32770 children "$browser")" $ok
  wait_until 10 chosen && pass "$locale: the folder browser chose 書籍" ||
    fail "$locale: the project folder is \"$(edit_text 5)\""
  click_child "$(main children)" "&Select All"
  click_child "$(main children)" "&Compile"
  result=$(answer_compile) || give_up "$locale: Compile did not end: $result"
  book=$site/Output/$out_file.exe
  # The probe shows a line break as question marks.
  [[ "$result" == *"\"図表.gif\" is no file of the project folder."* ]] &&
    pass "$locale: Check Links names 図表.gif" || fail "$locale: Check Links said no 図表.gif: $result"
  expected="Your e-book has been created.  File saved to:????$(windows_path "$book")"
  [[ "$result" == *"Compile Finished.: $expected" ]] &&
    pass "$locale: the book is saved as $out_file.exe" ||
    fail "$locale: Compile ended with \"$result\""
  wait_until 5 main_enabled

  # The settings file saved under a Japanese name, then opened again.
  ebc=$here/設定.ebc
  file_dialog "Save Settings File" 3 && wait_until 10 test -s "$ebc" ||
    fail "$locale: Save wrote no $ebc"
  # ANSI where every line fits the code page, else UTF-8 behind its mark.
  marked=no && [ "$(head -c 3 "$ebc")" = $'\xEF\xBB\xBF' ] && marked=yes
  saved=$(tail -c +4 "$ebc")
  [ "$acp" = 932 ] && saved=$(iconv -f CP932 -t UTF-8 "$ebc")
  fields=$(tr -d '\r' <<<"$saved" | sed -n '1,3p;5p;7p' | paste -sd '|')
  expected=no && [ "$acp" = 1252 ] && expected=yes
  check "$locale: the settings file is written for code page $acp" \
    "$locale: the settings file (marked: $marked) holds \"$fields\"" \
    [ "$marked|$fields" = "$expected|$title|$author|$link|$(windows_path "$site")\\|$home" ]
  set_edit 1 "" >/dev/null  # so only the file can give the title back
  file_dialog "Open Settings File" 2 || fail "$locale: Open did not take $ebc"
  click_id "$(wait_until 15 box_with_button "$main_title" $ok)" $ok
  wait_until 10 no_shown_box "$main_title" && wait_until 5 main_enabled
  opened="$(edit_text 1)|$(edit_text 5)|$(edit_text 6)"
  check "$locale: opening the settings file gives the window the Japanese texts back" \
    "$locale: the opened title, folder and index page are \"$opened\"" \
    [ "$opened" = "$title|$(windows_path "$site")\\|$home" ]
  probe close "$main_title" >/dev/null
  wait_until 10 program_ended || fail "$locale: the program still runs after its window closed"
  diff -r --exclude=Output "$here/untouched" "$site" >/dev/null ||
    fail "$locale: the build changed the project folder"

  ask_book /settings "$here/settings.txt"
  settings=$(tr -d '\r' <"$here/settings.txt" 2>/dev/null)
  date=$(sed -n 4p <<<"$settings")
  expected=$(printf '%s\n' "$title" "$author" "$home" "$date" "$link" "$url" blank blank blank)
  [ -n "$date" ] || fail "$locale: /settings gives no date"
  check "$locale: /settings gives back the nine fields as typed" \
    "$locale: /settings gives \"$(paste -sd '|' <<<"$settings")\"" [ "$settings" = "$expected" ]
  # The record: the ANSI code page's bytes where every field fits it, else
  # UTF-8 behind its mark.
  record=$(paste -sd : <<<"$expected")
  if [ "$acp" = 932 ]; then iconv -t CP932; else printf '\xEF\xBB\xBF' && cat; fi <<<"$record" |
    head -c -1 >"$here/record.expected"
  /usr/bin/python3 - "$book" >"$here/record" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    for name in kind.directory.entries if str(kind.name) == "CUSTOM" else []:
        for lang in name.directory.entries if name.id == 101 else []:
            data = lang.data.struct
            sys.stdout.buffer.write(pe.get_data(data.OffsetToData, data.Size))
PY
  check "$locale: the settings record is written for code page $acp" \
    "$locale: the settings record starts $(od -An -tx1 -N16 "$here/record")" \
    cmp -s "$here/record" "$here/record.expected"
  ask_book /list "$here/list.txt"
  names=$(cut -f1 "$here/list.txt" 2>/dev/null | tr -d '\r' | sort | paste -sd '|')
  check "$locale: /list names the Japanese pages" "$locale: /list names \"$names\"" \
    [ "$names" = "$(printf '%s\n' 索引.HTM 第一章.HTM 表紙.HTM | sort | paste -sd '|')" ]
done
e2e_finish japanese_window_e2e
