#!/usr/bin/env bash
# A project in Japanese, Greek and Arabic made into a book by vexmar-ebc.exe
# under Wine with the Japanese (932) and the Western (1252) ANSI code page,
# which Wine takes from the locale's name, then read back through the book's
# /settings and /list.
# usage: every_script_e2e.sh CLI_FOLDER   (vexmar-ebc.exe with dmsfx.dat beside it)
set -uo pipefail
. "$(dirname "$0")/cli_e2e_lib.sh" scripts
for locale in ja_JP en_US; do
  locale -a | grep -qix "$locale.utf8" ||
    { echo "skipped: no $locale.UTF-8 locale (./run.sh test makes it)"; exit 77; }
done

title="日本の本 😀" author="Αλέξης" link="مزيد من الكتب"
for locale in ja_JP.UTF-8 en_US.UTF-8; do
  export LC_ALL=$locale
  site=$work/$locale/書籍
  mkdir -p "$site"
  printf '<meta charset="utf-8"><p>日本語</p>' >"$site/日本.htm"
  printf '<p>Καλημέρα</p>' >"$site/Ελληνικά.htm"
  printf '<p dir="rtl">مرحبا</p>' >"$site/عربي.htm"
  run "$1/vexmar-ebc.exe" new "$(win "$site")" -o "$(win "$work/$locale/p.ebc")" --title "$title" \
    --author "$author" --url-text "$link" --home 日本.htm --toc all --out-file Book
  run "$1/vexmar-ebc.exe" build "$(win "$work/$locale/p.ebc")" --yes
  book=$site/Output/Book.exe
  run "$book" /settings /out "$(win "$work/$locale/settings.txt")"
  settings=$(tr -d '\r' <"$work/$locale/settings.txt" 2>/dev/null | sed -n '1,3p;5p' | paste -sd '|')
  check "$locale: /settings gives back the title, author, index page and link text" \
    [ "$settings" = "$title|$author|日本.htm|$link" ]
  run "$book" /list /out "$(win "$work/$locale/list.txt")"
  names=$(cut -f1 "$work/$locale/list.txt" 2>/dev/null | tr -d '\r' | sort | paste -sd '|')
  check "$locale: /list names every file in its own script" \
    [ "$names" = "$(printf '%s\n' 日本.HTM ΕΛΛΗΝΙΚΆ.HTM عربي.HTM | sort | paste -sd '|')" ]
done
finish every_script_e2e
